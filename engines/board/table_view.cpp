#include "board/table_view.h"

#include <QApplication>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <cmath>

namespace zv::board {
namespace {

using riichi::Action;
using riichi::ActionType;
using riichi::Kind;
using riichi::Meld;
using riichi::MeldType;
using riichi::TileId;

const QColor kFelt(0x1d, 0x5e, 0x3a);
const QColor kFeltDark(0x15, 0x45, 0x2a);
const QColor kWood(0x6b, 0x4a, 0x2b);
const QColor kTurn(0xff, 0xd8, 0x40);

std::size_t Idx(int i) { return static_cast<std::size_t>(i); }

QString WindName(Kind wind) {
    static const char* names[] = {"東", "南", "西", "北"};
    int i = wind - riichi::kEast;
    return i >= 0 && i < 4 ? QString::fromUtf8(names[i]) : QString("?");
}

QFont UiFont(double pixels, bool bold = false) {
    QFont font("IPAGothic");
    font.setPixelSize(std::max(8, static_cast<int>(pixels)));
    font.setBold(bold);
    return font;
}

// The group of buttons an action belongs to; discards are chosen on the tiles.
int GroupOf(ActionType type) {
    switch (type) {
        case ActionType::Tsumo:
            return 0;
        case ActionType::Ron:
            return 1;
        case ActionType::Riichi:
            return 2;
        case ActionType::OpenKan:
        case ActionType::ClosedKan:
        case ActionType::AddedKan:
            return 3;
        case ActionType::Pon:
            return 4;
        case ActionType::Chi:
            return 5;
        case ActionType::NineTerminals:
            return 6;
        case ActionType::Pass:
            return 7;
        case ActionType::Discard:
            break;
    }
    return -1;
}

const char* const kGroupObjectNames[] = {"TsumoButton", "RonButton", "RiichiButton",        "KanButton",
                                         "PonButton",   "ChiButton", "NineTerminalsButton", "SkipButton"};

// The caption of one of several calls of a kind: the tiles it uses.
QString ChoiceCaption(const Action& action) {
    QString caption = ActionCaption(action.type) + " ";
    if (action.type == ActionType::Chi || action.type == ActionType::Pon) {
        for (TileId t : action.with)
            if (t >= 0) caption += TileSpokenName(t);
    } else {
        caption += KindSpokenName(riichi::KindOf(action.tile));
    }
    return caption;
}

}  // namespace

QString ActionCaption(ActionType type) {
    switch (type) {
        case ActionType::Tsumo:
            return QString::fromUtf8("ツモ");
        case ActionType::Ron:
            return QString::fromUtf8("ロン");
        case ActionType::Riichi:
            return QString::fromUtf8("リーチ");
        case ActionType::Pon:
            return QString::fromUtf8("ポン");
        case ActionType::Chi:
            return QString::fromUtf8("チー");
        case ActionType::OpenKan:
        case ActionType::ClosedKan:
        case ActionType::AddedKan:
            return QString::fromUtf8("カン");
        case ActionType::NineTerminals:
            return QString::fromUtf8("九種九牌");
        case ActionType::Pass:
            return QString::fromUtf8("スキップ");
        case ActionType::Discard:
            break;
    }
    return QString::fromUtf8("打牌");
}

// ---- HandTile ---------------------------------------------------------------

HandTile::HandTile(const TilePainter& painter, QWidget* parent) : QAbstractButton(parent), painter_(painter) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setObjectName("HandTile");
}

void HandTile::SetTile(TileId tile) {
    tile_ = tile;
    setAccessibleName(TileSpokenName(tile));
    setText(TileSpokenName(tile));
    update();
}

void HandTile::SetDimmed(bool dimmed) {
    dimmed_ = dimmed;
    update();
}

QSize HandTile::sizeHint() const { return size(); }

void HandTile::paintEvent(QPaintEvent*) {
    QPainter p(this);
    double lift = height() * 0.12;
    bool raised = isEnabled() && (hasFocus() || underMouse());
    QRectF rect(0, raised ? 0 : lift, width(), height() - lift);
    painter_.Face(p, rect, tile_, dimmed_);
    if (hasFocus()) {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(kTurn, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(rect.adjusted(1, 1, -1, -1), width() * 0.12, width() * 0.12);
    }
}

void HandTile::keyPressEvent(QKeyEvent* event) {
    auto* table = dynamic_cast<TableView*>(parentWidget());
    if (table != nullptr && (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)) {
        auto tiles = table->handTiles();
        auto it = std::find(tiles.begin(), tiles.end(), this);
        if (it != tiles.end()) {
            long i = it - tiles.begin() + (event->key() == Qt::Key_Left ? -1 : 1);
            long n = static_cast<long>(tiles.size());
            tiles[Idx(static_cast<int>((i + n) % n))]->setFocus(Qt::TabFocusReason);
        }
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (isEnabled()) click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

// ---- TableView --------------------------------------------------------------

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
    }
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
    // The keyboard follows the game: a decision puts the focus on the first
    // button of a claim, or on the tile to discard, unless it already rests
    // on a control that can be used now.
    if (deciding_ && window()->isActiveWindow()) {
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

void TableView::DropButtons() {
    // A button may be the one whose click led here: it goes once its
    // click has been handled.
    for (QPushButton* b : buttons_) {
        b->hide();
        b->deleteLater();
    }
    buttons_.clear();
}

void TableView::RebuildActions() {
    DropButtons();
    if (!deciding_) return;
    std::array<std::vector<Action>, 8> groups;
    for (const Action& a : view_.legal) {
        int g = GroupOf(a.type);
        if (g >= 0) groups[Idx(g)].push_back(a);
    }
    for (int g = 0; g < 8; ++g) {
        const auto& actions = groups[Idx(g)];
        if (actions.empty()) continue;
        auto* button = new QPushButton(ActionCaption(actions.front().type), this);
        button->setObjectName(kGroupObjectNames[g]);
        button->setAccessibleName(button->text());
        button->setFont(UiFont(std::max(13.0, g_.handH * 0.34), true));
        if (actions.front().type == ActionType::Riichi) {
            button->setCheckable(true);
            button->setChecked(riichiMode_);
            connect(button, &QPushButton::clicked, this, [this] {
                riichiMode_ = !riichiMode_;
                if (onSound) onSound(riichiMode_ ? "sound_choice" : "sound_choiceend");
                RebuildHand();
                for (HandTile* t : tiles_)
                    if (t->isEnabled()) {
                        t->setFocus(Qt::OtherFocusReason);
                        break;
                    }
            });
        } else if (actions.size() == 1) {
            Action chosen = actions.front();
            connect(button, &QPushButton::clicked, this, [this, chosen] { Choose(chosen); });
        } else {
            connect(button, &QPushButton::clicked, this, [this, actions] {
                if (onSound) onSound("sound_res");
                ShowChoices(actions);
            });
        }
        button->show();
        buttons_.push_back(button);
    }
    Layout();
}

void TableView::ShowChoices(const std::vector<Action>& choices) {
    DropButtons();
    for (const Action& a : choices) {
        auto* button = new QPushButton(ChoiceCaption(a), this);
        button->setObjectName("ChoiceButton");
        button->setAccessibleName(button->text());
        button->setFont(UiFont(std::max(12.0, g_.handH * 0.3), true));
        connect(button, &QPushButton::clicked, this, [this, a] { Choose(a); });
        button->show();
        buttons_.push_back(button);
    }
    auto* back = new QPushButton(QString::fromUtf8("戻る"), this);
    back->setObjectName("BackButton");
    back->setAccessibleName(back->text());
    back->setFont(UiFont(std::max(12.0, g_.handH * 0.3), true));
    connect(back, &QPushButton::clicked, this, [this] {
        if (onSound) onSound("sound_cancel");
        RebuildActions();
    });
    back->show();
    buttons_.push_back(back);
    Layout();
    buttons_.front()->setFocus(Qt::OtherFocusReason);
}

void TableView::TileClicked(HandTile* tile) {
    if (!deciding_) return;
    for (const Action& a : view_.legal)
        if (a.tile == tile->tile() &&
            (riichiMode_ ? a.type == ActionType::Riichi : a.type == ActionType::Discard)) {
            Choose(a);
            return;
        }
}

void TableView::Choose(const Action& action) {
    deciding_ = false;
    riichiMode_ = false;
    // The callback may show the next state of the table at once, which
    // replaces the buttons: never touch them after it.
    if (onAction) onAction(action);
}

void TableView::resizeEvent(QResizeEvent*) { Layout(); }

void TableView::Layout() {
    double W = width(), H = height();
    g_.handH = std::clamp(std::floor(H * 0.095), 36.0, 64.0);
    g_.handW = std::floor(TilePainter::WidthFor(g_.handH));
    double stripH = g_.handH + 14;
    g_.handStrip = QRectF(0, H - stripH, W, stripH);
    double T = std::floor(std::min(H - stripH, W * 0.66));
    g_.table = QRectF(0, 0, T, T);
    g_.riverW = T / 17.7;
    g_.riverH = g_.riverW / 0.74;
    g_.side = QRectF(T, 0, W - T, H - stripH);

    // The hand: tiles from the left, the drawn one set apart.
    double x = 8;
    double tileH = g_.handH + std::round(g_.handH * 0.12);
    double y = g_.handStrip.top() + (stripH - tileH) / 2;
    for (std::size_t i = 0; i < tiles_.size(); ++i) {
        if (view_.drawn >= 0 && i + 1 == tiles_.size()) x += g_.handW * 0.4;
        tiles_[i]->setGeometry(static_cast<int>(x), static_cast<int>(y), static_cast<int>(g_.handW),
                               static_cast<int>(tileH));
        x += g_.handW;
    }

    // Seat cards in the side panel: across, left, right, own; the buttons below.
    double buttonH = std::max(30.0, g_.handH * 0.7);
    double buttonsArea = buttonH * 2 + 18;
    double cardH = std::floor((g_.side.height() - buttonsArea - 6) / 4);
    double face = std::clamp(cardH - 10, 24.0, 80.0);
    const int order[] = {2, 3, 1, 0};
    for (int row = 0; row < 4; ++row) {
        int rel = order[row];
        QWidget* card = cards_[Idx(rel)];
        card->setGeometry(static_cast<int>(g_.side.left() + 6), static_cast<int>(4 + row * cardH),
                          static_cast<int>(g_.side.width() - 10), static_cast<int>(cardH - 4));
        cardFaces_[Idx(rel)]->setGeometry(4, static_cast<int>((cardH - 4 - face) / 2), static_cast<int>(face),
                                          static_cast<int>(face));
        int textX = static_cast<int>(face + 10);
        int textW = card->width() - textX - 4;
        int lineH = static_cast<int>((cardH - 8) / 2);
        cardNames_[Idx(rel)]->setGeometry(textX, 4, textW, lineH);
        cardScores_[Idx(rel)]->setGeometry(textX, 4 + lineH, textW, lineH);
        QFont nameFont = UiFont(std::clamp(cardH * 0.2, 12.0, 18.0), true);
        cardNames_[Idx(rel)]->setFont(nameFont);
        cardScores_[Idx(rel)]->setFont(UiFont(std::clamp(cardH * 0.19, 12.0, 17.0)));
    }
    // Buttons: right-aligned rows at the bottom of the side panel, bottom up.
    double right = W - 6;
    double rowY = g_.side.bottom() - buttonH - 6;
    for (auto it = buttons_.rbegin(); it != buttons_.rend(); ++it) {
        QPushButton* b = *it;
        double bw = std::max(72.0, static_cast<double>(b->sizeHint().width()) + 8);
        if (right - bw < g_.side.left() + 4) {
            right = W - 6;
            rowY -= buttonH + 6;
        }
        b->setGeometry(static_cast<int>(right - bw), static_cast<int>(rowY), static_cast<int>(bw),
                       static_cast<int>(buttonH));
        b->raise();
        right -= bw + 6;
    }
    update();
}

void TableView::UpdateCards() {
    static const char* relative[] = {"自分", "下家", "対面", "上家"};
    for (int seat = 0; seat < 4; ++seat) {
        int rel = hasView_ ? Relative(seat) : seat;
        QWidget* card = cards_[Idx(rel)];
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
            Kind wind = riichi::kEast + (seat - view_.dealer + 4) % 4;
            line = WindName(wind) + " " + QString::number(view_.scores[Idx(seat)]);
            if (view_.riichi[Idx(seat)]) line += QString::fromUtf8(" リーチ");
        }
        cardScores_[Idx(rel)]->setText(line);
        card->setAccessibleName(QString::fromUtf8(relative[rel]) + " " + info.name + " " + line);
        QPalette palette = card->palette();
        palette.setColor(QPalette::Window, turn ? QColor(0xff, 0xf1, 0xb0) : QColor(0xf2, 0xf2, 0xee));
        card->setPalette(palette);
    }
}

// ---- painting ---------------------------------------------------------------

void TableView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillRect(rect(), QColor(0xe4, 0xe2, 0xdc));
    p.fillRect(g_.table, kFelt);
    p.fillRect(g_.handStrip, kWood);
    // The turn seat's card gets a frame.
    if (hasView_ && view_.phase != riichi::Phase::Over) {
        QRect card = cards_[Idx(Relative(view_.turn))]->geometry();
        p.setPen(QPen(QColor(0xd4, 0x9a, 0x10), 3));
        p.setBrush(Qt::NoBrush);
        p.drawRect(card.adjusted(-2, -2, 1, 1));
    }
    if (!hasView_) return;
    for (int seat = 0; seat < 4; ++seat) PaintSeatFrame(p, seat);
    PaintCentre(p);
    // Own melds at the right end of the hand strip.
    double mh = g_.handH * 0.82;
    PaintMelds(p, view_.melds[Idx(view_.seat)], view_.seat, g_.handStrip.right() - 8,
               g_.handStrip.bottom() - (g_.handStrip.height() - mh) / 2, TilePainter::WidthFor(mh), mh);
    QString waits = waitsText();
    if (!waits.isEmpty()) {
        p.setFont(UiFont(std::max(12.0, g_.riverW * 0.55), true));
        QRectF box(4, g_.table.bottom() - g_.riverW * 1.1, g_.table.width() * 0.6, g_.riverW);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 120));
        p.drawRoundedRect(box.adjusted(0, 0, 0, 0), 4, 4);
        p.setPen(QColor(0xff, 0xf4, 0xc0));
        p.drawText(box.adjusted(6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, waits);
    }
}

void TableView::PaintSeatFrame(QPainter& p, int seat) const {
    static const double angles[] = {0, -90, 180, 90};
    int rel = Relative(seat);
    p.save();
    p.translate(g_.table.center());
    p.rotate(angles[rel]);
    PaintRiver(p, seat);
    if (rel != 0) PaintOtherHand(p, seat);
    p.restore();
}

void TableView::PaintRiver(QPainter& p, int seat) const {
    const auto& river = view_.rivers[Idx(seat)];
    double w = g_.riverW, h = g_.riverH;
    double c = 3.2 * w;
    double top = c + 0.15 * w;
    std::array<double, 3> x{-3 * w, -3 * w, -3 * w};
    bool lastClaimable = view_.phase == riichi::Phase::Claims && view_.turn == seat && !view_.claimIsKan;
    for (std::size_t i = 0; i < river.size(); ++i) {
        int row = std::min(static_cast<int>(i) / 6, 2);
        double y = top + row * h;
        const riichi::RiverTile& rt = river[i];
        QRectF where;
        if (rt.riichi) {
            where = QRectF(x[Idx(row)], y + h - w, h, w);
            p.save();
            p.translate(where.center());
            p.rotate(-90);
            painter_.Face(p, QRectF(-w / 2, -h / 2, w, h), rt.tile, rt.called);
            p.restore();
            x[Idx(row)] += h;
        } else {
            where = QRectF(x[Idx(row)], y, w, h);
            painter_.Face(p, where, rt.tile, rt.called);
            x[Idx(row)] += w;
        }
        if (lastClaimable && i + 1 == river.size()) {
            p.setPen(QPen(QColor(0xff, 0x40, 0x30), 2));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(where.adjusted(-1, -1, 1, 1), 3, 3);
        }
    }
}

void TableView::PaintOtherHand(QPainter& p, int seat) const {
    double T = g_.table.width();
    double oh = g_.riverH * 0.88;
    double ow = TilePainter::WidthFor(oh);
    double bottom = T / 2 - 0.12 * g_.riverW;
    double left = -T / 2 + oh + 0.3 * g_.riverW;
    const auto& open = openHands_[Idx(seat)];
    if (!open.empty()) {
        for (std::size_t i = 0; i < open.size(); ++i)
            painter_.Face(p, QRectF(left + static_cast<double>(i) * ow, bottom - oh, ow, oh), open[i], false);
    } else {
        int count = view_.concealedCount[Idx(seat)];
        for (int i = 0; i < count; ++i) painter_.Back(p, QRectF(left + i * ow, bottom - oh, ow, oh));
    }
    PaintMelds(p, view_.melds[Idx(seat)], seat, T / 2 - oh - 0.3 * g_.riverW, bottom, ow, oh);
}

double TableView::PaintMelds(QPainter& p, const std::vector<Meld>& melds, int owner, double right,
                             double bottom, double w, double h) const {
    double x = right;
    for (auto it = melds.rbegin(); it != melds.rend(); ++it) {
        const Meld& m = *it;
        std::vector<TileId> tiles;
        for (int i = 0; i < m.size; ++i)
            if (m.tiles[Idx(i)] >= 0 && m.tiles[Idx(i)] != m.called) tiles.push_back(m.tiles[Idx(i)]);
        std::sort(tiles.begin(), tiles.end());
        // Where the called tile lies: left from the seat on the left, in the
        // middle from across, right from the seat on the right.
        int sideways = -1;
        TileId added = -1;
        if (m.type == MeldType::AddedKan && !tiles.empty()) {
            added = tiles.back();
            tiles.pop_back();
        }
        if (m.called >= 0) {
            int from = (m.from - owner + 4) % 4;
            sideways = from == 3 ? 0 : from == 2 ? 1 : static_cast<int>(tiles.size());
            tiles.insert(tiles.begin() + sideways, m.called);
        }
        double width = 0;
        for (std::size_t i = 0; i < tiles.size(); ++i) width += static_cast<int>(i) == sideways ? h : w;
        x -= width;
        double tx = x;
        for (std::size_t i = 0; i < tiles.size(); ++i) {
            if (static_cast<int>(i) == sideways) {
                for (int layer = 0; layer < (added >= 0 ? 2 : 1); ++layer) {
                    p.save();
                    p.translate(tx + h / 2, bottom - w / 2 - layer * w);
                    p.rotate(-90);
                    painter_.Face(p, QRectF(-w / 2, -h / 2, w, h), layer == 0 ? tiles[i] : added);
                    p.restore();
                }
                tx += h;
            } else {
                bool hidden = m.type == MeldType::ClosedKan && (i == 0 || i + 1 == tiles.size());
                QRectF r(tx, bottom - h, w, h);
                if (hidden)
                    painter_.Back(p, r);
                else
                    painter_.Face(p, r, tiles[i]);
                tx += w;
            }
        }
        x -= w * 0.25;
    }
    return x;
}

void TableView::PaintCentre(QPainter& p) const {
    double w = g_.riverW;
    double c = 3.2 * w;
    QPointF centre = g_.table.center();
    QRectF box(centre.x() - c + 2, centre.y() - c + 2, 2 * c - 4, 2 * c - 4);
    p.setPen(QPen(QColor(0x0c, 0x2c, 0x1a), 2));
    p.setBrush(kFeltDark);
    p.drawRoundedRect(box, 6, 6);

    // Along each side of the box: the seat's wind and score, its riichi stick.
    static const double angles[] = {0, -90, 180, 90};
    double textH = std::max(10.0, w * 0.52);
    for (int seat = 0; seat < 4; ++seat) {
        p.save();
        p.translate(centre);
        p.rotate(angles[Relative(seat)]);
        bool turn = view_.phase != riichi::Phase::Over && view_.turn == seat;
        Kind wind = riichi::kEast + (seat - view_.dealer + 4) % 4;
        QRectF line(-c + 4, c - textH - 5, 2 * c - 8, textH + 2);
        p.setFont(UiFont(textH, true));
        p.setPen(turn ? kTurn : QColor(0xe8, 0xe8, 0xe0));
        p.drawText(line, Qt::AlignCenter, WindName(wind) + " " + QString::number(view_.scores[Idx(seat)]));
        if (turn) {
            p.setPen(Qt::NoPen);
            p.setBrush(kTurn);
            p.drawRect(QRectF(-c * 0.6, c - 4, c * 1.2, 2));
        }
        if (view_.riichi[Idx(seat)]) {
            QRectF stick(-w * 1.4, c - textH - 5 - w * 0.3, w * 2.8, w * 0.2);
            p.setPen(QPen(QColor(0x44, 0x44, 0x44), 1));
            p.setBrush(Qt::white);
            p.drawRoundedRect(stick, 2, 2);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xc8, 0x14, 0x1e));
            p.drawEllipse(stick.center(), w * 0.09, w * 0.09);
        }
        p.restore();
    }

    // The round, honba and sticks, tiles left and the dora indicators.
    QRectF inner = box.adjusted(textH + 8, textH + 8, -(textH + 8), -(textH + 8));
    static const char* rounds[] = {"東", "南", "西", "北"};
    int roundIndex = std::clamp(static_cast<int>(view_.roundWind - riichi::kEast), 0, 3);
    QString round =
        QString::fromUtf8(rounds[roundIndex]) + QString::number(view_.dealer + 1) + QString::fromUtf8("局");
    double dh = w * 0.95;
    double dw = TilePainter::WidthFor(dh);
    double lineH = (inner.height() - dh) / 3;
    p.setPen(QColor(0xff, 0xff, 0xff));
    p.setFont(UiFont(std::min(lineH * 0.95, w * 0.8), true));
    p.drawText(QRectF(inner.left(), inner.top(), inner.width(), lineH), Qt::AlignCenter, round);
    p.setFont(UiFont(std::min(lineH * 0.8, w * 0.5)));
    p.setPen(QColor(0xe0, 0xe0, 0xd0));
    p.drawText(QRectF(inner.left(), inner.top() + lineH, inner.width(), lineH), Qt::AlignCenter,
               QString::fromUtf8("%1本場  供託%2").arg(view_.honba).arg(view_.sticks));
    double doraY = inner.top() + 2 * lineH;
    double doraX = inner.center().x() - dw * 2.5;
    for (int i = 0; i < 5; ++i) {
        QRectF r(doraX + i * dw, doraY, dw, dh);
        if (i < static_cast<int>(view_.doraIndicators.size()))
            painter_.Face(p, r, view_.doraIndicators[Idx(i)]);
        else
            painter_.Back(p, r);
    }
    p.setPen(QColor(0xe0, 0xe0, 0xd0));
    p.drawText(QRectF(inner.left(), doraY + dh, inner.width(), lineH), Qt::AlignCenter,
               QString::fromUtf8("残り %1").arg(view_.liveTiles));
}

}  // namespace zv::board
