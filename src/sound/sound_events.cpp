#include "sound/sound_events.h"

#include <string_view>
#include <unordered_map>

namespace zv {

const std::array<SoundEvent, kSoundEventCount>& SoundEvents() {
    static const std::array<SoundEvent, kSoundEventCount> events = {{
        {"sound_tumo", "TumoButton", "ツモ", "tumo.wav"},
        {"sound_ron", "RonButton", "ロン", "ron.wav"},
        {"sound_reach", "ReachButton", "リーチ", "reach.wav"},
        {"sound_kan", "KanButton", "カン", "kan.wav"},
        {"sound_pon", "PonButton", "ボン", "pon.wav"},
        {"sound_tie", "TieButton", "チー", "tie.wav"},
        {"sound_advice", "AdviceButton", "お助け", "advice.wav"},
        {"sound_choice", "HandMode", "手牌ﾓｰﾄﾞ", "choice.wav"},
        {"sound_choiceend", "HandModeEnd", "手牌ﾓｰﾄﾞ終了", "choiceend.wav"},
        {"sound_res", "SelectMode", "選択ﾓｰﾄﾞ", "res.wav"},
        {"sound_resend", "SelectModeEnd", "選択ﾓｰﾄﾞ終了", "resend.wav"},
        {"sound_declron", "RonDecl", "ロン宣言", "declron.wav"},
        {"sound_decltumo", "TumoDecl", "ツモ宣言", "decltumo.wav"},
        {"sound_declreach", "ReachDecl", "リーチ宣言", "declreach.wav"},
        {"sound_declpon", "PonDecl", "ボン宣言", "declpon.wav"},
        {"sound_decltie", "TieDecl", "チー宣言", "decltie.wav"},
        {"sound_declkan", "KanDecl", "カン宣言", "declkan.wav"},
        {"sound_gameend", "GameEnd", "ゲーム終了", "gameend.wav"},
        {"sound_1st", "_1st", "一位になったとき", "1st.wav"},
        {"sound_2nd", "_2nd", "二位になったとき", "2nd.wav"},
        {"sound_3rd", "_3rd", "三位になったとき", "3rd.wav"},
        {"sound_4th", "_4th", "四位になったとき", "4th.wav"},
        {"sound_yaku", "Yaku", "一局終了", "yaku.wav"},
        {"sound_cmdbutton", "CmdButton", "その他のｺﾏﾝﾄﾞ", "cmdbutton.wav"},
        {"sound_info", "InfoButton", "インフォボタン", "info.wav"},
        {"sound_color", "ColorButton", "カラー変更ボタン", "color.wav"},
        {"sound_openning", "openning", "オープニング", "openning.wav"},
        {"sound_rank", "RankButton", "ランクボタン", "rank.wav"},
        {"sound_tumogiri", "Tumogiri", "ツモぎり", "tumogiri.wav"},
        {"sound_quicklog", "quicklog", "クイックログボタン", "quicklog.wav"},
        {"sound_cancel", "cancelbutton", "キャンセルボタン", "cancel.wav"},
        {"sound_furi", "Furi", "放銃したとき", "furi.wav"},
        {"sound_mangan", "Mangan", "12000点以上", "mangan.wav"},
        {"sound_ryukyoku1", "Ryukyoku1", "流局のとき(1)", "ryukyoku1.wav"},
        {"sound_ryukyoku2", "Ryukyoku2", "流局のとき(2)", "ryukyoku2.wav"},
        {"sound_pai", "Pai", "牌を選択したとき", "pai.wav"},
    }};
    return events;
}

int SoundEventIndex(const std::string& key) {
    static const std::unordered_map<std::string_view, int> byKey = [] {
        std::unordered_map<std::string_view, int> map;
        const auto& events = SoundEvents();
        for (std::size_t i = 0; i < events.size(); ++i) map.emplace(events[i].key, static_cast<int>(i));
        return map;
    }();
    auto found = byKey.find(key);
    return found == byKey.end() ? -1 : found->second;
}

const std::vector<SoundPage>& SoundPages() {
    // Rows are numbered from 1 in file order; the vectors hold indices.
    static const std::vector<SoundPage> pages = {
        {"アクション", "アクションボタンをクリックしたときの設定を行います", {0, 1, 2, 3, 4, 5, 6}},
        {"モード", "指定のモードになったとき", {7, 8, 9, 10}},
        {"宣言", "宣言をおこなったとき", {11, 12, 13, 14, 15, 16}},
        {"コマンド", "コマンドボタンをクリックしたとき", {35, 28, 25, 27, 24, 29, 30, 23}},
        {"その他1", "その他のイベントが発生したとき", {26, 22, 18, 19, 20, 21, 17}},
        {"その他2", "", {31, 32, 33, 34}},
    };
    return pages;
}

SoundValues DefaultSoundValues() {
    SoundValues values;
    for (std::size_t i = 0; i < kSoundEventCount; ++i) values[i] = SoundEvents()[i].fallback;
    return values;
}

}  // namespace zv
