#include "board/board_window.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "board/result_panel.h"
#include "board/table_style.h"
#include "board/table_view.h"
#include "format/game_outcome.h"
#include "platform/platform.h"
#include "qtcommon/engine_widgets.h"
#include "riichi/game.h"
#include "riichi/seat_answers.h"
#include "sound/audio_output.h"
#include "sound/sound_settings.h"

namespace zv::board {
namespace {

using riichi::Action;
using riichi::ActionType;

std::size_t Idx(int i) { return static_cast<std::size_t>(i); }

// After riichi a seat whose only choice is to discard the drawn tile does so
// by itself; this finds that discard.
bool OnlyDiscard(const riichi::SeatView& view, Action& discard) {
    if (view.legal.size() != 1 || view.legal.front().type != ActionType::Discard) return false;
    discard = view.legal.front();
    return view.riichi[Idx(view.seat)];
}

}  // namespace

QString HandLogLine(const QString& who, const Action& action) {
    // The log names the tile of a closed kan and says a win is a win; the
    // rest reads as a record tells it.
    QString what;
    switch (action.type) {
        case ActionType::Pass:
            return {};
        case ActionType::Tsumo:
            what = QString::fromUtf8("ツモ和了");
            break;
        case ActionType::Ron:
            what = QString::fromUtf8("ロン和了");
            break;
        case ActionType::ClosedKan:
            what = QString::fromUtf8("暗槓 ") + TileSpokenName(action.tile);
            break;
        default:
            what = ActionDescription(action);
            break;
    }
    return who + ": " + what;
}

int PaceDelay(Pace pace) {
    switch (pace) {
        case Pace::Normal:
            return 700;
        case Pace::Fast:
            return 180;
        case Pace::Instant:
            break;
    }
    return 0;
}

std::array<QAction*, 3> AddPaceActions(QMenu* menu, QObject* owner, Pace current,
                                       const std::function<void(Pace)>& choose) {
    auto* group = new QActionGroup(owner);
    const char* names[] = {"進行: 普通", "進行: 速い", "進行: 瞬時"};
    const char* objects[] = {"PaceNormalAction", "PaceFastAction", "PaceInstantAction"};
    std::array<QAction*, 3> actions{};
    for (int i = 0; i < 3; ++i) {
        QAction* a = menu->addAction(QString::fromUtf8(names[i]));
        a->setObjectName(objects[i]);
        a->setCheckable(true);
        group->addAction(a);
        actions[static_cast<std::size_t>(i)] = a;
        QObject::connect(a, &QAction::triggered, owner, [choose, i] { choose(static_cast<Pace>(i)); });
    }
    actions[static_cast<std::size_t>(current)]->setChecked(true);
    return actions;
}

BoardWindow::BoardWindow(engine::OnePlayerGame& game, TileLook look, const QString& title, QWidget* parent)
    : QMainWindow(parent), setup_(game), look_(look) {
    setObjectName("Zelvan1Window");
    setWindowTitle(title);
    table_ = new TableView(look, this);
    setCentralWidget(table_);
    panel_ = new ResultPanel(look, table_);
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] { ComputerTurn(); });

    std::array<SeatCard, 4> cards;
    std::array<QString, 4> names;
    int face = game.layout().width >= 1024 ? 96 : 72;
    for (std::size_t s = 0; s < 4; ++s) {
        const engine::RecordSeat& seat = game.seats()[s];
        names[s] = engine::Q(seat.displayName.empty() ? seat.name : seat.displayName);
        cards[s].name = names[s];
        cards[s].face = engine::FacePixmap(game.faces()[s], seat.name, face);
    }
    table_->SetSeats(cards);
    panel_->SetNames(names);
    panel_->SetPlayers(game.players());
    names_ = names;
    table_->onAction = [this](const Action& action) { HumanAction(action); };
    panel_->onOk = [this] { NextHand(); };
    panel_->onAgain = [this] { StartGame(engine::ChooseSeed() + static_cast<std::uint64_t>(filed_)); };
    panel_->onQuit = [this] { close(); };

    confirmClose = [this] {
        return engine::AskYesNo(this, windowTitle(), QString::fromUtf8("ゲームを終了しますか？"));
    };
    showMessage = [this](const QString& text) { engine::ShowNotice(this, text); };
    playSound = [this](const std::string& key) {
        std::string file = engine::SoundFor(setup_.sounds(), key);
        if (!file.empty()) CurrentAudio().PlaySoundFile(SoundTestPath(file, ExecutableDir()));
    };
    table_->onSound = [this](const char* key) { playSound(key); };
    BuildLogPane();
    BuildMenu();
    setFixedSize(game.layout().width, game.layout().height);
}

void BoardWindow::BuildLogPane() {
    logDock_ = new QDockWidget(QString::fromUtf8("対局ログ"), this);
    logDock_->setObjectName("HandLogPane");
    logDock_->setFeatures(QDockWidget::NoDockWidgetFeatures);
    logList_ = new QListWidget(logDock_);
    logList_->setObjectName("HandLogList");
    logList_->setAccessibleName(QString::fromUtf8("対局ログ"));
    logList_->setAccessibleDescription(QString::fromUtf8("打牌・鳴き・宣言を順に記録します"));
    logList_->setFont(table_style::UiFont(13));
    logDock_->setWidget(logList_);
    addDockWidget(Qt::RightDockWidgetArea, logDock_);
    logDock_->hide();
}

QAction* BoardWindow::AddToggle(QMenu* menu, const char* text, const char* objectName, bool& flag) {
    QAction* action = menu->addAction(QString::fromUtf8(text));
    action->setObjectName(objectName);
    action->setCheckable(true);
    action->setChecked(flag);
    connect(action, &QAction::toggled, this, [this, &flag](bool on) {
        flag = on;
        // A decision already shown may now be answered by the toggle.
        if (table_->deciding()) Advance();
    });
    return action;
}

BoardWindow::~BoardWindow() = default;

void BoardWindow::BuildMenu() {
    QMenu* gameMenu = menuBar()->addMenu(QString::fromUtf8("ゲーム(&G)"));
    QAction* quit = gameMenu->addAction(QString::fromUtf8("終了(&X)"));
    quit->setObjectName("QuitAction");
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu* options = menuBar()->addMenu(QString::fromUtf8("オプション(&O)"));
    sortAction_ = options->addAction(QString::fromUtf8("手牌を並べる"));
    sortAction_->setObjectName("SortHandAction");
    sortAction_->setCheckable(true);
    sortAction_->setChecked(table_->sortHand());
    connect(sortAction_, &QAction::toggled, this, [this](bool on) { table_->SetSortHand(on); });
    waitsAction_ = options->addAction(QString::fromUtf8("聴牌のとき待ちを表示"));
    waitsAction_->setObjectName("ShowWaitsAction");
    waitsAction_->setCheckable(true);
    waitsAction_->setChecked(table_->showWaits());
    connect(waitsAction_, &QAction::toggled, this, [this](bool on) { table_->SetShowWaits(on); });
    options->addSeparator();
    paceActions_ = AddPaceActions(options, this, pace_, [this](Pace pace) { SetPace(pace); });

    options->addSeparator();
    autoWinAction_ = AddToggle(options, "自動和了", "AutoWinAction", autoWin_);
    noCallsAction_ = AddToggle(options, "鳴きなし", "NoCallsAction", noCalls_);
    tsumogiriAction_ = AddToggle(options, "ツモ切り", "TsumogiriAction", tsumogiri_);
    std::vector<QAbstractButton*> toggles;
    const char* toggleObjects[] = {"AutoWinToggle", "NoCallsToggle", "TsumogiriToggle"};
    const char* descriptions[] = {"和了できるときは自動で和了します", "ポン・チー・カンをすべて見送ります",
                                  "打牌しかできないときはツモ牌をそのまま捨てます"};
    int i = 0;
    for (QAction* a : {autoWinAction_, noCallsAction_, tsumogiriAction_}) {
        a->setToolTip(QString::fromUtf8(descriptions[i]));
        auto* button = new QToolButton(table_);
        button->setDefaultAction(a);
        button->setObjectName(toggleObjects[i]);
        button->setAccessibleName(a->text());
        button->setAccessibleDescription(a->toolTip());
        button->setFocusPolicy(Qt::NoFocus);  // the keyboard stays on the hand
        button->setStyleSheet(
            "QToolButton { border: 1px solid #5a5a5a; border-radius: 3px; background: #ecebe4; }"
            "QToolButton:checked { background: #2f6b3f; color: white; border: 2px inset #173a20; }");
        toggles.push_back(button);
        ++i;
    }
    table_->SetToggleButtons(toggles);

    options->addSeparator();
    logAction_ = options->addAction(QString::fromUtf8("対局ログを表示"));
    logAction_->setObjectName("ShowLogAction");
    logAction_->setCheckable(true);
    connect(logAction_, &QAction::toggled, this, [this](bool on) { SetLogShown(on); });
}

void BoardWindow::SetAutoWin(bool on) { autoWinAction_->setChecked(on); }
void BoardWindow::SetNoCalls(bool on) { noCallsAction_->setChecked(on); }
void BoardWindow::SetTsumogiri(bool on) { tsumogiriAction_->setChecked(on); }

void BoardWindow::SetLogShown(bool shown) {
    if (logAction_->isChecked() != shown) {
        logAction_->setChecked(shown);  // comes back here through the action
        return;
    }
    // The window keeps its size for the table; the pane widens it.
    const int paneWidth = 230;
    logDock_->setVisible(shown);
    setFixedSize(setup_.layout().width + (shown ? paneWidth : 0), height());
    if (shown) resizeDocks({logDock_}, {paneWidth}, Qt::Horizontal);
}

QStringList BoardWindow::logLines() const {
    QStringList lines;
    for (int i = 0; i < logList_->count(); ++i) lines << logList_->item(i)->text();
    return lines;
}

void BoardWindow::BeginHandLog() {
    logged_ = 0;
    riichi::SeatView view = game_->View(human_);
    static const char* rounds[] = {"東", "南", "西", "北"};
    int round = std::clamp(static_cast<int>(view.roundWind - riichi::kEast), 0, 3);
    logList_->addItem(QString::fromUtf8("― %1%2局 %3本場 ―")
                          .arg(QString::fromUtf8(rounds[round]))
                          .arg(view.dealer + 1)
                          .arg(view.honba));
}

void BoardWindow::UpdateLog() {
    const auto& log = game_->Current().Log();
    if (logged_ >= log.size()) return;
    riichi::SeatView view = game_->View(human_);
    for (; logged_ < log.size(); ++logged_) {
        const riichi::LoggedAction& entry = log[logged_];
        if (entry.seat < 0 || entry.seat > 3) continue;
        riichi::Kind wind = table_style::SeatWind(entry.seat, view.dealer, setup_.players());
        QString who = table_style::WindName(wind) + " " + names_[Idx(entry.seat)];
        QString line = HandLogLine(who, entry.action);
        if (!line.isEmpty()) logList_->addItem(line);
    }
    logList_->scrollToBottom();
}

void BoardWindow::SetPace(Pace pace) {
    pace_ = pace;
    paceActions_[Idx(static_cast<int>(pace))]->setChecked(true);
    if (timer_->isActive()) timer_->start(paceDelay(pace_));
}

void BoardWindow::SetSortHand(bool sort) { sortAction_->setChecked(sort); }
void BoardWindow::SetShowWaits(bool show) { waitsAction_->setChecked(show); }

void BoardWindow::StartGame(std::uint64_t seed) {
    timer_->stop();
    panel_->hide();
    game_ = std::make_unique<riichi::Game>(setup_.rules(), seed, 0);
    players_ = engine::MakeSeatPlayers(setup_.styles(), seed);
    meldsSeen_.fill(0);
    northsSeen_.fill(0);
    riichiSeen_.fill(false);
    logList_->clear();
    BeginHandLog();
    playSound("sound_openning");
    Advance();
}

void BoardWindow::ShowTable(bool decide) { table_->Show(game_->View(human_), decide); }

void BoardWindow::Advance() {
    if (!game_ || closing_) return;
    // At the instant pace the computer seats play on in one go for a few
    // milliseconds at a time, then let the window answer again.
    QElapsedTimer budget;
    budget.start();
    for (;;) {
        AnnounceCalls();
        UpdateLog();
        if (game_->Current().Over()) {
            HandOver();
            return;
        }
        std::vector<int> pending = game_->PendingSeats();
        if (pending.empty()) return;  // cannot happen while the hand is on
        if (game_->Current().CurrentPhase() == riichi::Phase::Claims) {
            // The computer seats answer a discard at once; the player last.
            auto isHuman = [this](int s) { return s == human_; };
            auto decide = [this](int s, const riichi::SeatView& view) {
                return players_[Idx(s)]->Decide(view);
            };
            if (riichi::PlayComputerSeat(game_->Current(), isHuman, decide)) continue;
            Action answer;
            if (AutoAnswer(game_->View(human_), answer)) {
                if (answer.type == ActionType::Ron) PlayActionSound(answer);
                if (game_->Apply(human_, answer)) continue;
            }
            ShowTable(true);
            return;
        }
        int seat = pending.front();
        Action discard;
        if (seat == human_ && !AutoAnswer(game_->View(human_), discard)) {
            ShowTable(true);
            return;
        }
        if (pace_ == Pace::Instant && budget.elapsed() < 15) {
            PlayTurn();
            continue;
        }
        ShowTable(false);
        timer_->start(paceDelay(pace_));
        return;
    }
}

void BoardWindow::ComputerTurn() {
    if (!game_ || game_->Current().Over()) return;
    PlayTurn();
    Advance();
}

void BoardWindow::PlayTurn() {
    std::vector<int> pending = game_->PendingSeats();
    if (pending.empty()) return;
    int seat = pending.front();
    riichi::SeatView view = game_->View(seat);
    Action action;
    if (seat == human_) {
        if (!AutoAnswer(view, action)) return;
        if (action.type == ActionType::Tsumo) PlayActionSound(action);
    } else {
        action = players_[Idx(seat)]->Decide(view);
    }
    riichi::ApplyAnswer(game_->Current(), seat, action);
}

void BoardWindow::AnnounceCalls() {
    // The computer seats' calls and riichi, heard as they happen; the
    // player's own are heard on the buttons.
    const riichi::Hand& hand = game_->Current();
    std::array<bool, 4> declared = hand.View(human_).riichi;
    for (int seat = 0; seat < 4; ++seat) {
        const auto& melds = hand.Melds(seat);
        bool riichi = declared[Idx(seat)];
        std::size_t norths = hand.North(seat).size();
        if (seat != human_ && norths > northsSeen_[Idx(seat)]) {
            playSound("sound_declkan");  // a north set aside sounds like a kan
        } else if (seat != human_ && melds.size() > meldsSeen_[Idx(seat)]) {
            riichi::MeldType type = melds.back().type;
            playSound(type == riichi::MeldType::Pon   ? "sound_declpon"
                      : type == riichi::MeldType::Chi ? "sound_decltie"
                                                      : "sound_declkan");
        } else if (seat != human_ && riichi && !riichiSeen_[Idx(seat)]) {
            playSound("sound_declreach");
        }
        meldsSeen_[Idx(seat)] = melds.size();
        northsSeen_[Idx(seat)] = norths;
        riichiSeen_[Idx(seat)] = riichi;
    }
}

bool BoardWindow::AutoAnswer(const riichi::SeatView& view, Action& answer) const {
    if (OnlyDiscard(view, answer)) return true;
    auto offered = [&view](ActionType type) {
        return std::find_if(view.legal.begin(), view.legal.end(),
                            [type](const Action& a) { return a.type == type; });
    };
    for (ActionType win : {ActionType::Tsumo, ActionType::Ron})
        if (auto it = offered(win); autoWin_ && it != view.legal.end()) {
            answer = *it;
            return true;
        }
    if (view.phase == riichi::Phase::Claims) {
        // Passing on calls never passes on a win: that stays the player's.
        auto pass = offered(ActionType::Pass);
        if (!noCalls_ || pass == view.legal.end() || offered(ActionType::Ron) != view.legal.end())
            return false;
        answer = *pass;
        return true;
    }
    // The drawn tile goes only when discarding is all there is to decide.
    bool onlyDiscards = std::all_of(view.legal.begin(), view.legal.end(),
                                    [](const Action& a) { return a.type == ActionType::Discard; });
    if (!tsumogiri_ || !onlyDiscards || view.drawn < 0) return false;
    for (const Action& a : view.legal)
        if (a.tile == view.drawn) {
            answer = a;
            return true;
        }
    return false;
}

void BoardWindow::HumanAction(const Action& action) {
    if (!game_ || game_->Current().Over()) return;
    PlayActionSound(action);
    std::string error;
    if (!game_->Apply(human_, action, &error)) {
        // The view offered only legal actions; show the table again as it is.
        ShowTable(true);
        return;
    }
    Advance();
}

void BoardWindow::PlayActionSound(const Action& action) {
    switch (action.type) {
        case ActionType::Discard:
            playSound(action.tile == game_->View(human_).drawn ? "sound_tumogiri" : "sound_pai");
            break;
        case ActionType::Riichi:
            playSound("sound_reach");
            break;
        case ActionType::Tsumo:
            playSound("sound_tumo");
            break;
        case ActionType::Ron:
            playSound("sound_ron");
            break;
        case ActionType::Pon:
            playSound("sound_pon");
            break;
        case ActionType::Chi:
            playSound("sound_tie");
            break;
        case ActionType::OpenKan:
        case ActionType::ClosedKan:
        case ActionType::AddedKan:
        case ActionType::North:
            playSound("sound_kan");
            break;
        case ActionType::NineTerminals:
        case ActionType::Pass:
            playSound("sound_cmdbutton");
            break;
    }
}

void BoardWindow::HandOver() {
    timer_->stop();
    ShowTable(false);
    const riichi::HandResult& r = game_->Current().Result();
    if (r.winners.empty()) logList_->addItem(EndName(r.end));
    std::array<std::vector<riichi::Meld>, 4> melds;
    for (int s = 0; s < 4; ++s) melds[Idx(s)] = game_->Current().Melds(s);
    panel_->ShowHand(r, melds);
    PlaceOverlay();
    QTimer::singleShot(0, this, [this] { PlaceOverlay(); });  // once the panel's text is laid out
    // One sound for the end of the hand, the one that matters most to the player.
    bool mangan = std::any_of(r.winners.begin(), r.winners.end(),
                              [](const riichi::WinResult& w) { return w.score.points >= 12000; });
    bool computerWon = std::any_of(r.winners.begin(), r.winners.end(),
                                   [this](const riichi::WinResult& w) { return w.seat != human_; });
    if (r.end == riichi::HandEnd::Ron && r.loser == human_)
        playSound("sound_furi");
    else if (mangan)
        playSound("sound_mangan");
    else if (computerWon)
        playSound(r.end == riichi::HandEnd::Tsumo ? "sound_decltumo" : "sound_declron");
    else if (r.end == riichi::HandEnd::Exhaustive || r.end == riichi::HandEnd::NagashiMangan)
        playSound("sound_ryukyoku1");
    else if (riichi::IsAbortive(r.end))
        playSound("sound_ryukyoku2");
    else
        playSound("sound_yaku");
}

void BoardWindow::NextHand() {
    if (!game_) return;
    if (game_->NextHand()) {
        BeginHandLog();
        Advance();
        return;
    }
    GameOver();
}

void BoardWindow::GameOver() {
    engine::GameOutcome outcome = engine::OutcomeOf(*game_);
    std::string problem = setup_.File(outcome);
    ++filed_;
    if (!problem.empty())
        showMessage(QString::fromUtf8("ファイルに書き込めませんでした。\n") + engine::Q(problem));
    panel_->ShowGame(*game_);
    PlaceOverlay();
    QTimer::singleShot(0, this, [this] { PlaceOverlay(); });
    int place = game_->Totals()[Idx(human_)].place;
    static const char* places[] = {"sound_1st", "sound_2nd", "sound_3rd", "sound_4th"};
    playSound("sound_gameend");
    QTimer::singleShot(paceDelay(pace_) * 2, this,
                       [this, place] { playSound(places[std::clamp(place, 1, 4) - 1]); });
    if (onGameFiled) onGameFiled(place);
}

void BoardWindow::PlaceOverlay() { panel_->CenterOver(*table_); }

void BoardWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    PlaceOverlay();
}

void BoardWindow::closeEvent(QCloseEvent* event) {
    if (gameInProgress() && !closing_) {
        if (confirmClose && !confirmClose()) {
            event->ignore();
            return;
        }
    }
    closing_ = true;
    timer_->stop();
    event->accept();
}

}  // namespace zv::board
