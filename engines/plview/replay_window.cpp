#include "plview/replay_window.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "app/one_player.h"
#include "board/result_panel.h"
#include "board/table_view.h"
#include "board/tile_painter.h"
#include "config/file_io.h"
#include "platform/platform.h"
#include "qtcommon/engine_widgets.h"
#include "riichi/game.h"

namespace zv::replay {
namespace {

using riichi::ActionType;

std::size_t Idx(int i) { return static_cast<std::size_t>(i); }

QString Signed(int value) { return value > 0 ? "+" + QString::number(value) : QString::number(value); }

QString Tiles(const std::vector<riichi::TileId>& tiles) {
    QStringList names;
    for (riichi::TileId t : tiles) names << board::TileSpokenName(t);
    return names.join(' ');
}

}  // namespace

int PlayInterval(PlaySpeed speed) {
    switch (speed) {
        case PlaySpeed::Slow:
            return 1500;
        case PlaySpeed::Normal:
            return 700;
        case PlaySpeed::Fast:
            return 250;
        case PlaySpeed::Fastest:
            break;
    }
    return 60;
}

ReplayWindow::ReplayWindow(board::TileLook look, QWidget* parent)
    : QMainWindow(parent), look_(look), installDir_(ExecutableDir()) {
    setObjectName("PlviewWindow");
    setWindowTitle(QString::fromUtf8("麻雀  牌譜の再生"));
    auto* central = new QWidget(this);
    auto* root = new QVBoxLayout(central);
    root->setContentsMargins(4, 4, 4, 4);
    auto* top = new QHBoxLayout;
    games_ = new QComboBox(central);
    games_->setObjectName("GameList");
    hands_ = new QComboBox(central);
    hands_->setObjectName("HandList");
    hands_->setAccessibleName(QString::fromUtf8("局"));
    top->addWidget(games_);
    top->addWidget(hands_, 1);
    auto button = [&](const char* caption, const char* name, const char* tip) {
        auto* b = new QPushButton(QString::fromUtf8(caption), central);
        b->setObjectName(name);
        b->setToolTip(QString::fromUtf8(tip));
        b->setAccessibleName(QString::fromUtf8(tip));
        b->setFocusPolicy(Qt::NoFocus);  // the arrow keys belong to the window
        top->addWidget(b);
        return b;
    };
    QPushButton* previousHand = button("<<", "PreviousHandButton", "前の局");
    back_ = button("<", "BackButton", "一手戻る");
    forward_ = button(">", "ForwardButton", "一手進む");
    QPushButton* nextHand = button(">>", "NextHandButton", "次の局");
    play_ = button("再生", "PlayButton", "自動で再生します");
    speeds_ = new QComboBox(central);
    speeds_->setObjectName("SpeedList");
    speeds_->setAccessibleName(QString::fromUtf8("再生の速さ"));
    speeds_->setFocusPolicy(Qt::NoFocus);
    for (const char* name : {"遅い", "普通", "速い", "最速"}) speeds_->addItem(QString::fromUtf8(name));
    speeds_->setCurrentIndex(static_cast<int>(speed_));
    top->addWidget(speeds_);
    QPushButton* open = button("開く", "OpenButton", "牌譜ﾌｧｲﾙを開きます");
    root->addLayout(top);
    table_ = new board::TableView(look, central);
    root->addWidget(table_, 1);
    stepLabel_ = new QLabel(central);
    stepLabel_->setObjectName("StepLabel");
    root->addWidget(stepLabel_);
    result_ = new QLabel(central);
    result_->setObjectName("ResultLabel");
    result_->setWordWrap(true);
    result_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    root->addWidget(result_);
    problem_ = new QLabel(central);
    problem_->setObjectName("ProblemLabel");
    problem_->setWordWrap(true);
    problem_->setStyleSheet("color: #a00000;");
    problem_->hide();
    root->addWidget(problem_);
    root->addStretch(0);  // room left over goes below the texts, not into the table
    setCentralWidget(central);
    resize(820, board::TableView::HeightFor(812) + 130);
    player_ = new QTimer(this);
    player_->setInterval(PlayInterval(speed_));
    connect(player_, &QTimer::timeout, this, [this] { PlayStep(); });

    connect(previousHand, &QPushButton::clicked, this, [this] { PreviousHand(); });
    connect(back_, &QPushButton::clicked, this, [this] { StepBack(); });
    connect(forward_, &QPushButton::clicked, this, [this] { StepForward(); });
    connect(nextHand, &QPushButton::clicked, this, [this] { NextHand(); });
    connect(play_, &QPushButton::clicked, this, [this] { Play(!playing()); });
    connect(speeds_, &QComboBox::activated, this,
            [this](int index) { SetSpeed(static_cast<PlaySpeed>(index)); });
    connect(open, &QPushButton::clicked, this, [this] {
        QString file = QFileDialog::getOpenFileName(this, QString::fromUtf8("牌譜ﾌｧｲﾙの参照"), QString(),
                                                    QString::fromUtf8("牌譜ﾌｧｲﾙ (*.fu);;すべてのﾌｧｲﾙ (*)"));
        if (!file.isEmpty()) Open(file.toStdString());
    });
    connect(hands_, &QComboBox::activated, this, [this](int index) { GoTo(index, 0); });
    connect(games_, &QComboBox::activated, this, [this](int index) { SelectGame(index); });
    auto key = [this](QKeySequence sequence, auto slot) {
        auto* action = new QAction(this);
        action->setShortcut(sequence);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    key(Qt::Key_Right, [this] { StepForward(); });
    key(Qt::Key_Left, [this] { StepBack(); });
    key(Qt::Key_PageDown, [this] { NextHand(); });
    key(Qt::Key_PageUp, [this] { PreviousHand(); });
    key(Qt::Key_Home, [this] { GoTo(hand_, 0); });
    key(Qt::Key_End, [this] { GoTo(hand_, replay_.Steps(hand_)); });
    key(Qt::Key_Space, [this] { Play(!playing()); });
    Show();
}

bool ReplayWindow::Open(const std::string& path) {
    setWindowTitle(QString::fromUtf8("麻雀  牌譜の再生 - ") + engine::Q(path));
    auto text = ReadTextFile(path);
    record_ = text ? engine::ParseRecord(*text) : engine::RecordFile{};
    games_->clear();
    for (const engine::RecordedGame& g : record_.games)
        games_->addItem(QString::fromUtf8("第%1ゲーム").arg(g.number));
    games_->setVisible(record_.games.size() > 1);
    if (!text || record_.games.empty()) {
        game_ = -1;
        replay_ = engine::GameReplay{};
        hands_->clear();
        problem_->setText(engine::Q(path) +
                          (text ? QString::fromUtf8(": 牌譜が見つかりません (エンジンの牌譜ではない?)")
                                : QString::fromUtf8(": 牌譜ファイルを読めません")));
        problem_->show();
        Show();
        return false;
    }
    SelectGame(0);
    return replay_.Finished() != nullptr;
}

void ReplayWindow::SelectGame(int game) {
    if (game < 0 || game >= static_cast<int>(record_.games.size())) return;
    game_ = game;
    games_->setCurrentIndex(game);
    std::string error;
    replay_ = engine::GameReplay{};
    bool whole = replay_.Load(record_.games[Idx(game)], error);
    problem_->setVisible(!whole);
    problem_->setText(whole ? QString()
                            : QString::fromUtf8("この牌譜は最後まで再生できません: ") + engine::Q(error));
    std::array<board::SeatCard, 4> cards;
    for (int s = 0; s < 4; ++s) {
        cards[Idx(s)].name = SeatName(s);
        const std::string& name = record_.games[Idx(game)].seats[Idx(s)].name;
        cards[Idx(s)].face = engine::FacePixmap(engine::FacePath(installDir_, name), name, 72);
    }
    table_->SetSeats(cards);
    hands_->clear();
    for (int h = 0; h < replay_.HandCount(); ++h) hands_->addItem(HandTitle(h));
    GoTo(0, 0);
}

void ReplayWindow::GoTo(int hand, int step) {
    if (replay_.HandCount() == 0) {
        hand_ = step_ = 0;
        Show();
        return;
    }
    hand_ = std::clamp(hand, 0, replay_.HandCount() - 1);
    step_ = std::clamp(step, 0, replay_.Steps(hand_));
    Show();
}

void ReplayWindow::StepForward() {
    if (replay_.HandCount() == 0) return;
    if (step_ < replay_.Steps(hand_))
        GoTo(hand_, step_ + 1);
    else if (hand_ + 1 < replay_.HandCount())
        GoTo(hand_ + 1, 0);
}

void ReplayWindow::StepBack() {
    if (replay_.HandCount() == 0) return;
    if (step_ > 0)
        GoTo(hand_, step_ - 1);
    else if (hand_ > 0)
        GoTo(hand_ - 1, replay_.Steps(hand_ - 1));
}

void ReplayWindow::NextHand() {
    if (hand_ + 1 < replay_.HandCount()) GoTo(hand_ + 1, 0);
}

void ReplayWindow::PreviousHand() {
    // Back to this hand's deal first, then to the one before.
    GoTo(step_ > 0 ? hand_ : hand_ - 1, 0);
}

void ReplayWindow::resizeEvent(QResizeEvent* event) {
    // The table is never taller than its width needs, so that no band opens
    // between the table and the hand.
    table_->setMaximumHeight(board::TableView::HeightFor(event->size().width() - 8));
    QMainWindow::resizeEvent(event);
}

void ReplayWindow::SetSpeed(PlaySpeed speed) {
    speed_ = speed;
    speeds_->setCurrentIndex(static_cast<int>(speed));
    player_->setInterval(PlayInterval(speed));
}

bool ReplayWindow::playing() const { return player_->isActive(); }

void ReplayWindow::Play(bool on) {
    if (on && !AtGameEnd())
        player_->start();
    else
        player_->stop();
    play_->setText(QString::fromUtf8(playing() ? "停止" : "再生"));
}

void ReplayWindow::PlayStep() {
    StepForward();
    if (AtGameEnd()) Play(false);
}

bool ReplayWindow::AtGameEnd() const {
    return replay_.HandCount() == 0 || (hand_ + 1 == replay_.HandCount() && step_ == replay_.Steps(hand_));
}

QString ReplayWindow::SeatName(int seat) const {
    if (game_ < 0) return QString::number(seat);
    const engine::RecordSeat& s = record_.games[Idx(game_)].seats[Idx(seat)];
    return engine::Q(s.displayName.empty() ? s.name : s.displayName);
}

QString ReplayWindow::HandTitle(int hand) const {
    const engine::HandRecord& h = *replay_.Hands()[Idx(hand)].record;
    return QString::fromUtf8("%1%2局 %3本場")
        .arg(h.round == 0 ? QString::fromUtf8("東") : QString::fromUtf8("南"))
        .arg(h.dealer + 1)
        .arg(h.honba);
}

void ReplayWindow::Show() {
    bool any = replay_.HandCount() > 0;
    back_->setEnabled(any && (hand_ > 0 || step_ > 0));
    forward_->setEnabled(any && (hand_ + 1 < replay_.HandCount() || step_ < replay_.Steps(hand_)));
    if (!any) {
        stepLabel_->setText(game_ < 0 ? QString::fromUtf8("再生する牌譜ファイルを開いてください。")
                                      : QString());
        result_->clear();
        return;
    }
    hands_->setCurrentIndex(hand_);
    riichi::Hand state = replay_.StateAt(hand_, step_);
    riichi::SeatView view = state.View(0);
    view.legal.clear();
    const int players = replay_.Rules().Players();  // a three-player record leaves seat 3 empty
    std::array<std::vector<riichi::TileId>, 4> open;
    for (int s = 1; s < players; ++s) open[Idx(s)] = state.Concealed(s);
    table_->SetOpenHands(open);
    table_->Show(view, false);

    QString line = HandTitle(hand_) + QString::fromUtf8("  %1 / %2").arg(step_).arg(replay_.Steps(hand_));
    if (step_ == 0) {
        line += QString::fromUtf8("  配牌");
    } else {
        riichi::LoggedAction a = replay_.ActionAt(hand_, step_);
        line += "  " + SeatName(a.seat) + " " + ActionDescription(a.action);
    }
    stepLabel_->setText(line);

    QString result;
    if (state.Over()) {
        const riichi::HandResult& r = state.Result();
        result = board::EndName(r.end);
        for (const riichi::WinResult& w : r.winners) {
            result += "  " + SeatName(w.seat) + ": " + Tiles(w.concealed) + QString::fromUtf8(" 和了 ") +
                      board::TileSpokenName(w.winTile) + " ";
            if (w.score.han > 0) result += QString::fromUtf8("%1符%2翻 ").arg(w.score.fu).arg(w.score.han);
            result += board::LimitName(w.score.limit) + QString::fromUtf8(" %1点").arg(w.score.points);
        }
        result += "\n";
        for (int s = 0; s < players; ++s)
            result += SeatName(s) + " " + QString::number(r.scoresAfter[Idx(s)]) + " (" +
                      Signed(r.scoreDelta[Idx(s)]) + ")  ";
        const riichi::Game* finished = replay_.Finished();
        if (finished != nullptr && hand_ + 1 == replay_.HandCount()) {
            result += QString::fromUtf8("\n対局終了:");
            for (int place = 1; place <= players; ++place)
                for (int s = 0; s < players; ++s) {
                    const riichi::SeatTotals& t = finished->Totals()[Idx(s)];
                    if (t.place != place) continue;
                    result += QString::fromUtf8("  %1位 ").arg(place) + SeatName(s) +
                              QString::fromUtf8(" %1点 (%2)").arg(t.finalScore).arg(Signed(t.points));
                }
        }
    }
    result_->setText(result.trimmed());
}

QString ReplayWindow::stepText() const { return stepLabel_->text(); }
QString ReplayWindow::resultText() const { return result_->text(); }
QString ReplayWindow::problemText() const { return problem_->text(); }

}  // namespace zv::replay
