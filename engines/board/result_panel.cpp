#include "board/result_panel.h"
#include "riichi/game.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

namespace zv::board {
namespace {

using riichi::HandEnd;
using riichi::TileId;

std::size_t Idx(int i) { return static_cast<std::size_t>(i); }

QString Signed(int value) { return value > 0 ? "+" + QString::number(value) : QString::number(value); }

QString Escape(const QString& text) { return text.toHtmlEscaped(); }

}  // namespace

QString LimitName(riichi::Limit limit) {
    switch (limit) {
        case riichi::Limit::Mangan:
            return QString::fromUtf8("満貫");
        case riichi::Limit::Haneman:
            return QString::fromUtf8("跳満");
        case riichi::Limit::Baiman:
            return QString::fromUtf8("倍満");
        case riichi::Limit::Sanbaiman:
            return QString::fromUtf8("三倍満");
        case riichi::Limit::Yakuman:
            return QString::fromUtf8("役満");
        case riichi::Limit::None:
            break;
    }
    return {};
}

QString EndName(HandEnd end) {
    switch (end) {
        case HandEnd::Tsumo:
            return QString::fromUtf8("ツモ");
        case HandEnd::Ron:
            return QString::fromUtf8("ロン");
        case HandEnd::Exhaustive:
            return QString::fromUtf8("流局");
        case HandEnd::NagashiMangan:
            return QString::fromUtf8("流し満貫");
        case HandEnd::NineTerminals:
            return QString::fromUtf8("九種九牌");
        case HandEnd::FourWinds:
            return QString::fromUtf8("四風連打");
        case HandEnd::FourKans:
            return QString::fromUtf8("四槓散了");
        case HandEnd::FourRiichi:
            return QString::fromUtf8("四家立直");
        case HandEnd::TripleRon:
            return QString::fromUtf8("三家和");
    }
    return {};
}

ResultPanel::ResultPanel(TileLook look, QWidget* parent) : QFrame(parent), painter_(look) {
    setObjectName("ResultPanel");
    setFrameShape(QFrame::Box);
    setLineWidth(2);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xfb, 0xf9, 0xf1));
    setPalette(palette);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    scroll_ = new QScrollArea(this);
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    outer->addWidget(scroll_, 1);
    buttonRow_ = new QWidget(this);
    auto* row = new QHBoxLayout(buttonRow_);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    outer->addWidget(buttonRow_);
    hide();
}

QString ResultPanel::Name(int seat) const { return seat >= 0 && seat < 4 ? names_[Idx(seat)] : QString("-"); }

QString ResultPanel::text() const { return text_; }

void ResultPanel::Clear() {
    text_.clear();
    content_ = new QWidget;
    content_->setAutoFillBackground(false);
    layout_ = new QVBoxLayout(content_);
    layout_->setContentsMargins(4, 4, 4, 4);
    layout_->setSpacing(4);
    scroll_->setWidget(content_);  // deletes the previous content
    scroll_->viewport()->setAutoFillBackground(false);
    auto* row = static_cast<QHBoxLayout*>(buttonRow_->layout());
    while (row->count() > 1) {
        QLayoutItem* item = row->takeAt(1);
        delete item->widget();
        delete item;
    }
    int height = parentWidget() != nullptr ? parentWidget()->height() : 480;
    tileHeight_ = std::clamp(height / 14, 28, 52);
    // Text grows with the window: the large layouts are read from further away.
    QFont font = this->font();
    font.setPixelSize(std::clamp(height / 40, 12, 17));
    content_->setFont(font);
    buttonRow_->setFont(font);
}

QLabel* ResultPanel::AddText(const QString& html) {
    auto* label = new QLabel(html, content_);
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    layout_->addWidget(label);
    QTextDocument document;
    document.setHtml(html);
    text_ += document.toPlainText() + "\n";
    return label;
}

void ResultPanel::AddTiles(const std::vector<TileId>& tiles, const std::vector<int>& gaps,
                           const QString& name, bool captioned) {
    auto* pictures = new QLabel(content_);
    pictures->setPixmap(
        painter_.Row(tiles, captioned ? std::max(24, tileHeight_ * 3 / 4) : tileHeight_, gaps));
    pictures->setAccessibleName(name);
    if (captioned) {
        auto* row = new QWidget(content_);
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(0, 0, 0, 0);
        line->addWidget(new QLabel(name, row));
        pictures->setParent(row);
        line->addWidget(pictures);
        line->addStretch(1);
        layout_->addWidget(row);
    } else {
        layout_->addWidget(pictures);
    }
    QString spoken;
    for (TileId t : tiles) spoken += TileSpokenName(t) + " ";
    pictures->setAccessibleDescription(spoken.trimmed());
    text_ += name + ": " + spoken.trimmed() + "\n";
}

void ResultPanel::AddIndicators(const std::vector<TileId>& dora, const std::vector<TileId>& ura) {
    if (dora.empty()) return;
    auto* row = new QWidget(content_);
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    int height = std::max(24, tileHeight_ * 3 / 4);
    auto add = [&](const std::vector<TileId>& tiles, const QString& caption) {
        line->addWidget(new QLabel(caption, row));
        auto* pictures = new QLabel(row);
        pictures->setPixmap(painter_.Row(tiles, height));
        pictures->setAccessibleName(caption);
        line->addWidget(pictures);
        line->addSpacing(12);
        QString spoken;
        for (TileId t : tiles) spoken += " " + TileSpokenName(t);
        pictures->setAccessibleDescription(spoken.trimmed());
        text_ += caption + ":" + spoken + "\n";
    };
    add(dora, QString::fromUtf8("ドラ表示牌"));
    if (!ura.empty()) add(ura, QString::fromUtf8("裏ドラ表示牌"));
    line->addStretch(1);
    layout_->addWidget(row);
}

QPushButton* ResultPanel::AddButton(const QString& caption, const char* objectName) {
    auto* button = new QPushButton(caption, buttonRow_);
    button->setObjectName(objectName);
    button->setAccessibleName(caption);
    button->setMinimumWidth(96);
    QFont font = button->font();
    font.setBold(true);
    button->setFont(font);
    buttonRow_->layout()->addWidget(button);
    return button;
}

int ResultPanel::preferredHeight() const {
    if (content_ == nullptr) return 0;
    int width =
        std::max(200, (parentWidget() != nullptr ? std::min(parentWidget()->width() - 30, 640) : 600) - 40);
    layout_->activate();
    int content = layout_->hasHeightForWidth() ? layout_->totalHeightForWidth(width)
                                               : layout_->totalSizeHint().height();
    return content + buttonRow_->sizeHint().height() + 80;
}

void ResultPanel::Finish() {
    layout_->addStretch(1);
    setAccessibleDescription(text_);
    show();
    raise();
    auto* row = buttonRow_->layout();
    if (row->count() > 1) row->itemAt(1)->widget()->setFocus(Qt::OtherFocusReason);
}

void ResultPanel::ShowHand(const riichi::HandResult& r,
                           const std::array<std::vector<riichi::Meld>, 4>& melds) {
    Clear();
    static const char* rounds[] = {"東", "南", "西", "北"};
    int roundIndex = std::clamp(static_cast<int>(r.roundWind - riichi::kEast), 0, 3);
    QString where = QString::fromUtf8("%1%2局 %3本場  ")
                        .arg(QString::fromUtf8(rounds[roundIndex]))
                        .arg(r.dealer + 1)
                        .arg(r.honba);
    AddText("<b style='font-size:large'>" + Escape(where + EndName(r.end)) + "</b>");
    setAccessibleName(QString::fromUtf8("局の結果"));

    for (const riichi::WinResult& w : r.winners) {
        QString how = r.end == HandEnd::Tsumo
                          ? QString::fromUtf8("ツモ和了")
                          : QString::fromUtf8("ロン和了 (放銃: %1)").arg(Escape(Name(r.loser)));
        AddText("<b>" + Escape(Name(w.seat)) + "</b> " + how);
        // The hand: concealed tiles sorted, the melds, then the winning tile.
        std::vector<TileId> concealed = w.concealed;
        auto win = std::find(concealed.begin(), concealed.end(), w.winTile);
        if (win != concealed.end()) concealed.erase(win);
        std::sort(concealed.begin(), concealed.end());
        std::vector<TileId> row = concealed;
        std::vector<int> gaps;
        for (const riichi::Meld& m : w.melds) {
            gaps.push_back(static_cast<int>(row.size()));
            for (int i = 0; i < m.size; ++i) row.push_back(m.tiles[Idx(i)]);
        }
        gaps.push_back(static_cast<int>(row.size()));
        row.push_back(w.winTile);
        AddTiles(row, gaps, QString::fromUtf8("和了形"));

        QString yaku = "<table cellspacing='0' cellpadding='1'>";
        for (const riichi::YakuScore& y : w.score.yaku) {
            QString value = y.yakuman > 1   ? QString::fromUtf8("%1倍役満").arg(y.yakuman)
                            : y.yakuman > 0 ? QString::fromUtf8("役満")
                                            : QString::fromUtf8("%1翻").arg(y.han);
            yaku += "<tr><td>" + Escape(QString::fromStdString(y.name)) +
                    "</td><td align='right'>&nbsp;&nbsp;" + value + "</td></tr>";
        }
        yaku += "</table>";
        AddText(yaku);
        QString total;
        if (w.score.yakuman > 0 && w.score.han == 0)
            total = w.score.yakuman > 1 ? QString::fromUtf8("%1倍役満").arg(w.score.yakuman)
                                        : QString::fromUtf8("役満");
        else
            total = QString::fromUtf8("%1符 %2翻").arg(w.score.fu).arg(w.score.han);
        QString limit = LimitName(w.score.limit);
        if (w.score.limit == riichi::Limit::Yakuman && w.score.han > 0) limit = QString::fromUtf8("数え役満");
        if (!limit.isEmpty() && !(w.score.yakuman > 0 && w.score.han == 0)) total += "  " + limit;
        QString pay;
        if (r.end == HandEnd::Ron)
            pay = QString::fromUtf8("%1点").arg(w.score.ronPayment);
        else if (w.score.dealer)
            pay = QString::fromUtf8("%1点オール").arg(w.score.tsumoOthersPay);
        else
            pay = QString::fromUtf8("%1・%2点").arg(w.score.tsumoOthersPay).arg(w.score.tsumoDealerPays);
        AddText("<b>" + total + "  " + QString::fromUtf8("%1点").arg(w.score.points) + "</b>  (" + pay + ")");
        if (w.liable >= 0) AddText(QString::fromUtf8("責任払い: ") + Escape(Name(w.liable)));
    }
    AddIndicators(r.doraIndicators, r.uraIndicators);

    if (r.winners.empty()) {
        if (r.end == HandEnd::Exhaustive || r.end == HandEnd::NagashiMangan) {
            QStringList ready, notReady;
            for (int s = 0; s < players_; ++s) (r.ready[Idx(s)] ? ready : notReady) << Name(s);
            AddText(QString::fromUtf8("聴牌: ") +
                    Escape(ready.isEmpty() ? QString::fromUtf8("なし") : ready.join("、")) + "<br>" +
                    QString::fromUtf8("不聴: ") +
                    Escape(notReady.isEmpty() ? QString::fromUtf8("なし") : notReady.join("、")));
            // The ready hands are shown, their melds set apart as a winner's are.
            for (int s = 0; s < players_; ++s)
                if (r.ready[Idx(s)] && !r.revealed[Idx(s)].empty()) {
                    std::vector<TileId> hand = r.revealed[Idx(s)];
                    std::sort(hand.begin(), hand.end());
                    std::vector<int> gaps;
                    for (const riichi::Meld& m : melds[Idx(s)]) {
                        gaps.push_back(static_cast<int>(hand.size()));
                        for (int i = 0; i < m.size; ++i) hand.push_back(m.tiles[Idx(i)]);
                    }
                    AddTiles(hand, gaps, Name(s), true);
                }
            for (int s = 0; s < players_; ++s)
                if (r.nagashi[Idx(s)]) AddText(Escape(Name(s)) + QString::fromUtf8(" 流し満貫"));
        } else if (r.end == HandEnd::NineTerminals) {
            AddText(QString::fromUtf8("宣言: ") + Escape(Name(r.declarer)));
        }
    }

    QString table = "<table cellspacing='0' cellpadding='2'>";
    for (int s = 0; s < players_; ++s) {
        table += "<tr><td>" + Escape(Name(s)) + "</td><td align='right'>&nbsp;" +
                 Signed(r.scoreDelta[Idx(s)]) + "</td><td align='right'>&nbsp;&nbsp;" +
                 QString::number(r.scoresAfter[Idx(s)]) + QString::fromUtf8("点</td>");
        if (r.chipDelta[Idx(s)] != 0)
            table += QString::fromUtf8("<td>&nbsp;&nbsp;チップ %1</td>").arg(Signed(r.chipDelta[Idx(s)]));
        table += "</tr>";
    }
    table += "</table>";
    AddText(table);
    QPushButton* ok = AddButton("OK", "ResultOkButton");
    connect(ok, &QPushButton::clicked, this, [this] {
        hide();
        if (onOk) onOk();
    });
    Finish();
}

void ResultPanel::ShowGame(const riichi::Game& finished) {
    ShowStandings(finished.GameRules(), finished.Totals(), finished.BustOut(), finished.LeftoverSticks());
}

void ResultPanel::ShowStandings(const riichi::Rules& rules, const std::array<riichi::SeatTotals, 4>& totals,
                                bool bustOut, int leftoverSticks) {
    Clear();
    const int players = rules.Players();
    int sinking = 0;
    for (int s = 0; s < players; ++s) {
        int score = totals[Idx(s)].finalScore;
        int counted = rules.under ? score : std::max(score, 0);
        sinking += counted < rules.startPoint ? 1 : 0;
    }
    std::array<int, 4> uma = riichi::UmaForPlaces(rules.uma, sinking, players);
    setAccessibleName(QString::fromUtf8("対局の結果"));
    AddText(QString::fromUtf8("<b style='font-size:large'>対局終了</b>") +
            (bustOut ? QString::fromUtf8(" (飛び)") : QString()));
    QString table = QString::fromUtf8(
        "<table cellspacing='0' cellpadding='3'><tr><th>順位</th><th>名前</th><th>点数</th>"
        "<th>ウマ</th><th>チップ</th><th>ポイント</th></tr>");
    for (int place = 1; place <= players; ++place)
        for (int s = 0; s < players; ++s) {
            const auto& t = totals[Idx(s)];
            if (t.place != place) continue;
            table += QString::fromUtf8(
                         "<tr><td align='center'>%1位</td><td>%2</td><td align='right'>%3</td>"
                         "<td align='right'>%4</td><td align='right'>%5</td>"
                         "<td align='right'><b>%6</b></td></tr>")
                         .arg(place)
                         .arg(Escape(Name(s)))
                         .arg(t.finalScore)
                         .arg(Signed(uma[Idx(place - 1)]))
                         .arg(Signed(t.chips))
                         .arg(Signed(t.points));
        }
    table += "</table>";
    AddText(table);
    if (leftoverSticks > 0) AddText(QString::fromUtf8("供託 %1本はトップへ").arg(leftoverSticks));
    QPushButton* again = AddButton(QString::fromUtf8("もう一度"), "AgainButton");
    QPushButton* quit = AddButton(QString::fromUtf8("終了"), "QuitButton");
    connect(again, &QPushButton::clicked, this, [this] {
        hide();
        if (onAgain) onAgain();
    });
    connect(quit, &QPushButton::clicked, this, [this] {
        if (onQuit) onQuit();
    });
    Finish();
}

void ResultPanel::CenterOver(const QWidget& table) {
    int w = std::min(table.width() - 30, 640);
    int h = std::min({table.height() - 20, 600, std::max(preferredHeight(), 200)});
    setGeometry((table.width() - w) / 2, (table.height() - h) / 2, w, h);
}

}  // namespace zv::board
