#include "start/startup_tip.h"

namespace zv {

std::optional<std::string> StartupTip(int count, bool hiColor) {
    switch (count) {
        case 0:
            if (hiColor) return "ボタン２でツモぎりです。";
            return "ボタン２でツモぎりです。カラーは、65535色以上同時発色であることが望まれます。"
                   "そうでない場合は色化けを避けることはできません。";
        case 100:
            return "どうですか？操作しにくいところはありませんか？";
        case 200:
            return "牌譜を採られているならば、そろそろ牌譜の分析をなさるとよいかもしれません。";
        case 300:
            return "御購入されてからどれぐらいたちましたか？";
        case 400:
            return "さて、そろそろ飽きられているころではありませんか？"
                   "インターネットでサービスされているはず（？）の麻雀ゲームサーバに接続してみてください。";
        case 500:
            return "バグがあったら、できればご報告をお願いします。";
        case 600:
            return "基本的に、メンタンピンを狙うことが勝利への近道です。";
        case 700:
            return "いそがばまわれと申します。";
        case 800:
            return "今度遊ぼうね。";
        case 900:
            return "御購入されてからどれぐらいたちましたか？二年以上たっているのではないかと思います。"
                   "どうもご利用ありがとうございます。";
        case 5000:
            return "起動回数が5000回になりました。このメッセージをご覧になったことを、"
                   "ぜひ support@zelvan.example までお知らせください。";
        default:
            return std::nullopt;
    }
}

}  // namespace zv
