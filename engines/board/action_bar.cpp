// The action bar of the table view: a button for each kind of legal action
// other than a discard, and the choice among several calls of one kind.
#include "board/table_view.h"

#include <QPushButton>
#include <algorithm>

#include "board/table_style.h"

namespace zv::board {

using riichi::Action;
using riichi::ActionType;
using riichi::TileId;
using table_style::Idx;
using table_style::UiFont;

namespace {

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
        case ActionType::North:
            return 6;
        case ActionType::NineTerminals:
            return 7;
        case ActionType::Pass:
            return 8;
        case ActionType::Discard:
            break;
    }
    return -1;
}

constexpr int kGroups = 9;
const char* const kGroupObjectNames[kGroups] = {"TsumoButton", "RonButton",           "RiichiButton",
                                                "KanButton",   "PonButton",           "ChiButton",
                                                "NorthButton", "NineTerminalsButton", "SkipButton"};

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
        case ActionType::North:
            return QString::fromUtf8("北抜き");
        case ActionType::NineTerminals:
            return QString::fromUtf8("九種九牌");
        case ActionType::Pass:
            return QString::fromUtf8("スキップ");
        case ActionType::Discard:
            break;
    }
    return QString::fromUtf8("打牌");
}

QString ActionDescription(const Action& a) {
    QString tile = a.tile >= 0 ? TileSpokenName(a.tile) : QString();
    switch (a.type) {
        case ActionType::Discard:
            return QString::fromUtf8("打 ") + tile;
        case ActionType::Riichi:
            return QString::fromUtf8("リーチ 打 ") + tile;
        case ActionType::Tsumo:
            return QString::fromUtf8("ツモ ") + tile;
        case ActionType::Ron:
            return QString::fromUtf8("ロン ") + tile;
        case ActionType::Chi:
            return QString::fromUtf8("チー ") + tile;
        case ActionType::Pon:
            return QString::fromUtf8("ポン ") + tile;
        case ActionType::OpenKan:
            return QString::fromUtf8("カン ") + tile;
        case ActionType::ClosedKan:
            return QString::fromUtf8("暗槓 ") + KindSpokenName(riichi::KindOf(a.tile));
        case ActionType::AddedKan:
            return QString::fromUtf8("加槓 ") + tile;
        case ActionType::North:
            return QString::fromUtf8("北抜き");
        case ActionType::NineTerminals:
            return QString::fromUtf8("九種九牌");
        case ActionType::Pass:
            break;
    }
    return QString();
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
    choosing_ = false;
    if (!deciding_) return;
    std::array<std::vector<Action>, kGroups> groups;
    for (const Action& a : view_.legal) {
        int g = GroupOf(a.type);
        if (g >= 0) groups[Idx(g)].push_back(a);
    }
    for (int g = 0; g < kGroups; ++g) {
        const auto& actions = groups[Idx(g)];
        if (actions.empty()) continue;
        auto* button = new QPushButton(ActionCaption(actions.front().type), this);
        button->setObjectName(kGroupObjectNames[g]);
        button->setAccessibleName(button->text());
        button->setFont(UiFont(std::max(13.0, g_.handH * 0.34), true));
        if (actions.front().type == ActionType::Riichi) {
            // A toggle: pressed while the tile to declare with is chosen,
            // and plainly so (sunk, dark, with a mark).
            button->setCheckable(true);
            button->setChecked(riichiMode_);
            button->setAccessibleDescription(
                QString::fromUtf8("押すと宣言する牌を選びます。もう一度押すと取り消します"));
            button->setStyleSheet(
                "QPushButton#RiichiButton:checked { background: #8a1c1c; color: white; border: 3px inset "
                "#4a0d0d; }");
            connect(button, &QPushButton::clicked, this, [this, button] {
                riichiMode_ = !riichiMode_;
                button->setChecked(riichiMode_);
                button->setText(riichiMode_ ? QString::fromUtf8("✔ リーチ")
                                            : ActionCaption(ActionType::Riichi));
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
    choosing_ = true;
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

}  // namespace zv::board
