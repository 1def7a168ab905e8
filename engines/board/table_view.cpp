#include "board/table_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>

#include "board/table_style.h"

namespace zv::board {

using riichi::Action;
using riichi::ActionType;
using riichi::Kind;
using riichi::TileId;
using table_style::Idx;
using table_style::WindName;

namespace {

const char* const kRelativeNames[] = {"自分", "下家", "対面", "上家"};

// A transparent stand-in for a painted part, so that assistive tools can
// name and read it; clicks go through to the table.
QWidget* ReadableArea(QWidget* parent, const QString& objectName) {
    auto* area = new QWidget(parent);
    area->setObjectName(objectName);
    area->setAttribute(Qt::WA_TransparentForMouseEvents);
    area->setFocusPolicy(Qt::NoFocus);
    return area;
}

QString TileNames(const std::vector<TileId>& tiles) {
    QStringList names;
    for (TileId t : tiles) names << TileSpokenName(t);
    return names.join(" ");
}

}  // namespace

TableView::TableView(TileLook look, QWidget* parent) : QWidget(parent), painter_(look) {
    setObjectName("TableView");
    setMinimumSize(600, 400);
    for (int i = 0; i < 4; ++i) {
        auto* card = new QWidget(this);
        card->setObjectName(QString("SeatCard%1").arg(i));
        card->setAutoFillBackground(true);
        cards_[Idx(i)] = card;
        cardFaces_[Idx(i)] = new QLabel(card);
        cardFaces_[Idx(i)]->setObjectName(QString("SeatFace%1").arg(i));
        cardNames_[Idx(i)] = new QLabel(card);
        cardNames_[Idx(i)]->setObjectName(QString("SeatName%1").arg(i));
        cardScores_[Idx(i)] = new QLabel(card);
        cardScores_[Idx(i)]->setObjectName(QString("SeatScore%1").arg(i));
        riverAreas_[Idx(i)] = ReadableArea(this, QString("RiverArea%1").arg(i));
        meldAreas_[Idx(i)] = ReadableArea(this, QString("MeldArea%1").arg(i));
    }
    waitsArea_ = ReadableArea(this, "WaitsStrip");
    waitsArea_->setAccessibleName(QString::fromUtf8("待ち"));
    furitenArea_ = ReadableArea(this, "FuritenMark");
    furitenArea_->setAccessibleName(QString::fromUtf8("フリテン"));
    furitenArea_->setAccessibleDescription(QString::fromUtf8("待ち牌を捨てているため、ロンできません"));
    furitenArea_->hide();
}

void TableView::SetToggleButtons(const std::vector<QAbstractButton*>& buttons) {
    toggles_ = buttons;
    for (QAbstractButton* b : toggles_) {
        b->setParent(this);
        b->show();
    }
    Layout();
}

std::vector<QWidget*> TableView::readableAreas() const {
    std::vector<QWidget*> areas(riverAreas_.begin(), riverAreas_.end());
    areas.insert(areas.end(), meldAreas_.begin(), meldAreas_.end());
    areas.push_back(waitsArea_);
    areas.push_back(furitenArea_);
    return areas;
}

void TableView::UpdateReadableAreas() {
    for (int seat = 0; seat < 4; ++seat) {
        int rel = Relative(seat);
        riverAreas_[Idx(rel)]->setVisible(Plays(seat));
        meldAreas_[Idx(rel)]->setVisible(Plays(seat));
        if (!Plays(seat)) continue;
        QString who = QString::fromUtf8(kRelativeNames[rel]);
        std::vector<TileId> river;
        for (const riichi::RiverTile& r : view_.rivers[Idx(seat)]) river.push_back(r.tile);
        QWidget* riverArea = riverAreas_[Idx(rel)];
        riverArea->setAccessibleName(who + QString::fromUtf8("の捨て牌"));
        riverArea->setAccessibleDescription(river.empty() ? QString::fromUtf8("なし") : TileNames(river));
        QStringList melds;
        for (const riichi::Meld& m : view_.melds[Idx(seat)])
            melds << TileNames(std::vector<TileId>(m.tiles.begin(), m.tiles.begin() + m.size));
        if (!view_.north[Idx(seat)].empty())
            melds << QString::fromUtf8("抜きドラ ") + TileNames(view_.north[Idx(seat)]);
        QWidget* meldArea = meldAreas_[Idx(rel)];
        meldArea->setAccessibleName(who + QString::fromUtf8("の鳴き"));
        meldArea->setAccessibleDescription(melds.isEmpty() ? QString::fromUtf8("なし")
                                                           : melds.join(QString::fromUtf8("、")));
    }
    QString waits = waitsText();
    waitsArea_->setVisible(!waits.isEmpty());
    waitsArea_->setAccessibleDescription(waits);
    furitenArea_->setVisible(!waits.isEmpty() && view_.furiten);
}

QString TableView::ScoreDifferences(int seat) const {
    if (!hasView_) return {};
    QStringList lines;
    for (int other = 0; other < 4; ++other) {
        if (other == seat || !Plays(other)) continue;
        int diff = view_.scores[Idx(seat)] - view_.scores[Idx(other)];
        lines << QString::fromUtf8("%1 %2: %3")
                     .arg(QString::fromUtf8(kRelativeNames[Relative(other)]), seats_[Idx(other)].name)
                     .arg(diff > 0 ? "+" + QString::number(diff) : QString::number(diff));
    }
    return seats_[Idx(seat)].name + QString::fromUtf8(" との点差\n") + lines.join("\n");
}

bool TableView::SkipCall() {
    if (!deciding_ || view_.phase != riichi::Phase::Claims) return false;
    for (const Action& a : view_.legal)
        if (a.type == ActionType::Pass) {
            if (onSound) onSound("sound_cmdbutton");
            Choose(a);
            return true;
        }
    return false;
}

bool TableView::DiscardDrawn() {
    if (!deciding_ || view_.phase != riichi::Phase::Turn || view_.drawn < 0) return false;
    ActionType wanted = riichiMode_ ? ActionType::Riichi : ActionType::Discard;
    for (const Action& a : view_.legal)
        if (a.type == wanted && a.tile == view_.drawn) {
            Choose(a);
            return true;
        }
    return false;
}

void TableView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && (SkipCall() || DiscardDrawn())) {
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void TableView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (choosing_) {
            if (onSound) onSound("sound_cancel");
            RebuildActions();
            event->accept();
            return;
        }
        if (SkipCall()) {
            event->accept();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void TableView::SetSeats(const std::array<SeatCard, 4>& seats) {
    seats_ = seats;
    faceSeat_.fill(-1);
    Layout();
    UpdateCards();
}

void TableView::Show(const riichi::SeatView& view, bool decide) {
    view_ = view;
    hasView_ = true;
    deciding_ = decide && !view.legal.empty();
    riichiMode_ = false;
    RebuildHand();
    RebuildActions();
    UpdateCards();
    Layout();
    update();
    setAccessibleDescription(Summary());
    UpdateReadableAreas();
    // The keyboard follows the game: a decision puts the focus on the first
    // button of a claim, or on the tile to discard, unless it already rests
    // on a control that can be used now.
    if (deciding_ && window()->isActiveWindow()) {
        // A call offered: the focus waits on スキップ, so that Enter or Space
        // never takes a call by accident.
        QPushButton* skip = buttons_.empty() ? nullptr : buttons_.back();
        if (view_.phase == riichi::Phase::Claims && skip != nullptr &&
            skip->objectName() == QLatin1String("SkipButton")) {
            skip->setFocus(Qt::OtherFocusReason);
            return;
        }
        QWidget* focus = QApplication::focusWidget();
        bool usable = focus != nullptr && isAncestorOf(focus) && focus->isVisible() && focus->isEnabled() &&
                      focus != this;
        if (!usable) {
            QWidget* target = nullptr;
            if (view_.phase == riichi::Phase::Claims && !buttons_.empty()) target = buttons_.front();
            for (auto it = tiles_.rbegin(); target == nullptr && it != tiles_.rend(); ++it)
                if ((*it)->isEnabled()) target = *it;
            if (target == nullptr && !buttons_.empty()) target = buttons_.front();
            if (target != nullptr) target->setFocus(Qt::OtherFocusReason);
        }
    }
}

void TableView::StopDeciding() {
    deciding_ = false;
    riichiMode_ = false;
    RebuildHand();
    RebuildActions();
    update();
}

void TableView::SetSortHand(bool sort) {
    sortHand_ = sort;
    if (hasView_) {
        RebuildHand();
        Layout();
    }
}

void TableView::SetShowWaits(bool show) {
    showWaits_ = show;
    update();
}

std::vector<HandTile*> TableView::handTiles() const { return tiles_; }
std::vector<QPushButton*> TableView::actionButtons() const { return buttons_; }

QString TableView::Summary() const {
    static const char* rounds[] = {"東", "南", "西", "北"};
    int roundIndex = std::clamp(static_cast<int>(view_.roundWind - riichi::kEast), 0, 3);
    QString text = QString::fromUtf8("%1%2局 %3本場 残り%4 ドラ表示牌")
                       .arg(QString::fromUtf8(rounds[roundIndex]))
                       .arg(view_.dealer + 1)
                       .arg(view_.honba)
                       .arg(view_.liveTiles);
    for (TileId t : view_.doraIndicators) text += " " + TileSpokenName(t);
    if (view_.phase != riichi::Phase::Over) {
        text += QString::fromUtf8("。手番: ") + seats_[Idx(view_.turn)].name;
        const auto& river = view_.rivers[Idx(view_.turn)];
        if (view_.phase == riichi::Phase::Claims && !river.empty())
            text += QString::fromUtf8("、捨て牌: ") + TileSpokenName(river.back().tile);
    }
    return text;
}

QString TableView::waitsText() const {
    if (!hasView_ || !showWaits_ || view_.waits == 0) return {};
    QString text = QString::fromUtf8("待ち:");
    for (Kind k = 0; k < riichi::kKinds; ++k)
        if (view_.waits & (std::uint64_t{1} << k)) text += " " + KindSpokenName(k);
    if (view_.furiten) text += QString::fromUtf8("  (フリテン)");
    return text;
}

void TableView::RebuildHand() {
    // The order of the concealed tiles: sorted, or as they came, new tiles
    // joining at the right.
    std::vector<TileId> next;
    if (sortHand_) {
        next = view_.concealed;
    } else {
        for (TileId t : order_)
            if (std::find(view_.concealed.begin(), view_.concealed.end(), t) != view_.concealed.end())
                next.push_back(t);
        for (TileId t : view_.concealed)
            if (std::find(next.begin(), next.end(), t) == next.end()) next.push_back(t);
    }
    order_ = next;
    std::vector<TileId> shown = order_;
    if (view_.drawn >= 0) shown.push_back(view_.drawn);
    while (tiles_.size() > shown.size()) {
        // The tile may be the one whose click led here: let it finish first.
        tiles_.back()->hide();
        tiles_.back()->deleteLater();
        tiles_.pop_back();
    }
    while (tiles_.size() < shown.size()) {
        auto* tile = new HandTile(painter_, this);
        connect(tile, &QAbstractButton::clicked, this, [this, tile] { TileClicked(tile); });
        tile->show();
        tiles_.push_back(tile);
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
        HandTile* tile = tiles_[i];
        tile->SetTile(shown[i]);
        tile->setAccessibleDescription(view_.drawn >= 0 && i + 1 == shown.size() ? QString::fromUtf8("ツモ牌")
                                                                                 : QString());
        bool playable = false;
        if (deciding_)
            for (const Action& a : view_.legal)
                if (a.tile == shown[i] &&
                    (riichiMode_ ? a.type == ActionType::Riichi : a.type == ActionType::Discard))
                    playable = true;
        tile->setEnabled(playable);
        tile->SetDimmed(deciding_ && view_.phase == riichi::Phase::Turn && view_.turn == view_.seat &&
                        !playable);
    }
}

void TableView::UpdateCards() {
    for (int seat = 0; seat < 4; ++seat) {
        int rel = hasView_ ? Relative(seat) : seat;
        QWidget* card = cards_[Idx(rel)];
        // The empty seat of a three-player game has no card.
        card->setVisible(Plays(seat));
        if (!Plays(seat)) continue;
        const SeatCard& info = seats_[Idx(seat)];
        QLabel* faceLabel = cardFaces_[Idx(rel)];
        QSize want(std::max(1, faceLabel->width()), std::max(1, faceLabel->height()));
        // A card shows another seat once the player's own seat is known
        // (the player is at the bottom): its face changes with it.
        if (!info.face.isNull() &&
            (faceSeat_[Idx(rel)] != seat ||
             faceLabel->pixmap().size() != info.face.size().scaled(want, Qt::KeepAspectRatio))) {
            faceSeat_[Idx(rel)] = seat;
            faceLabel->setPixmap(info.face.scaled(std::max(1, faceLabel->width()),
                                                  std::max(1, faceLabel->height()), Qt::KeepAspectRatio,
                                                  Qt::SmoothTransformation));
        }
        faceLabel->setAccessibleName(info.name);
        cardNames_[Idx(rel)]->setText(info.name);
        bool turn = hasView_ && view_.phase != riichi::Phase::Over && view_.turn == seat;
        QString line;
        if (hasView_) {
            Kind wind = table_style::SeatWind(seat, view_.dealer, Players());
            line = WindName(wind) + " " + QString::number(view_.scores[Idx(seat)]);
            if (view_.riichi[Idx(seat)]) line += QString::fromUtf8(" リーチ");
        }
        cardScores_[Idx(rel)]->setText(line);
        card->setAccessibleName(QString::fromUtf8(kRelativeNames[rel]) + " " + info.name + " " + line);
        card->setToolTip(ScoreDifferences(seat));
        QPalette palette = card->palette();
        palette.setColor(QPalette::Window, turn ? QColor(0xff, 0xf1, 0xb0) : QColor(0xf2, 0xf2, 0xee));
        card->setPalette(palette);
    }
}

}  // namespace zv::board
