#include "board/net_board_window.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

#include "app/one_player.h"
#include "board/result_panel.h"
#include "board/table_view.h"
#include "qtcommon/engine_widgets.h"

namespace zv::board {
namespace {

using engine::NetSession;
using riichi::Action;
using riichi::ActionType;

std::size_t Idx(int i) { return static_cast<std::size_t>(i); }

// Whole seconds left until `deadline`, rounded up (12.3 s left is 13).
long long SecondsLeft(std::chrono::steady_clock::time_point now,
                      std::chrono::steady_clock::time_point deadline) {
    if (now >= deadline) return 0;
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
    return (ms + 999) / 1000;
}

}  // namespace

NetBoardWindow::NetBoardWindow(engine::NetClient& client, TileLook look, const QString& title,
                               std::string installDir, QWidget* parent)
    : QMainWindow(parent), client_(client), installDir_(std::move(installDir)) {
    setObjectName("ClientWindow");
    setWindowTitle(title);
    table_ = new TableView(look, this);
    setCentralWidget(table_);
    panel_ = new ResultPanel(look, table_);
    panel_->hide();
    status_ = new QLabel(this);
    status_->setObjectName("ClientStatus");
    statusBar()->addWidget(status_, 1);
    countdown_ = new QLabel(this);
    countdown_->setObjectName("ClientCountdown");
    countdown_->setStyleSheet("font-weight: bold; color: #a00000;");
    // As wide as its longest text from the start, so the status bar does not jump.
    QFont bold = countdown_->font();
    bold.setBold(true);
    countdown_->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(QString::fromUtf8("残り 000秒")) + 8);
    statusBar()->addPermanentWidget(countdown_);
    notice_ = new QLabel(this);
    notice_->setObjectName("ClientNotice");
    notice_->setStyleSheet("color: #a00000;");
    statusBar()->addPermanentWidget(notice_);
    timer_ = new QTimer(this);
    timer_->setInterval(15);
    connect(timer_, &QTimer::timeout, this, [this] { Poll(); });

    table_->onAction = [this](const Action& action) { Act(action); };
    panel_->onOk = [this] { session_.Next(); };
    panel_->onAgain = [this] {
        panel_->hide();
        Join();
    };
    panel_->onQuit = [this] { close(); };

    BuildMenu();
    session_.SetStopAfterDiscards(true);
    showMessage = [this](const QString& text) { engine::ShowNotice(this, text); };
    confirmClose = [this] {
        return engine::AskYesNo(
            this, windowTitle(),
            QString::fromUtf8("対局中です。終了しますか？\n(席はコンピュータが引き継ぎます)"));
    };
    setFixedSize(client.layout().width, client.layout().height);
}

NetBoardWindow::~NetBoardWindow() = default;

void NetBoardWindow::BuildMenu() {
    QMenu* gameMenu = menuBar()->addMenu(QString::fromUtf8("ゲーム(&G)"));
    QAction* quit = gameMenu->addAction(QString::fromUtf8("終了(&X)"));
    quit->setObjectName("QuitAction");
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu* options = menuBar()->addMenu(QString::fromUtf8("オプション(&O)"));
    paceActions_ = AddPaceActions(options, this, pace_, [this](Pace pace) { SetPace(pace); });
}

void NetBoardWindow::SetPace(Pace pace) {
    pace_ = pace;
    paceActions_[Idx(static_cast<int>(pace))]->setChecked(true);
    // A pause under way ends no later than the new pace says.
    pauseUntil_ = std::min(pauseUntil_, now() + std::chrono::milliseconds(PaceDelay(pace_)));
}

QString NetBoardWindow::status() const { return status_->text(); }

QString NetBoardWindow::countdown() const { return countdown_->text(); }

QString NetBoardWindow::notice() const { return notice_->text(); }

void NetBoardWindow::SetNotice(const QString& text) {
    notice_->setText(text);
    notice_->setAccessibleName(text);
}

void NetBoardWindow::StartCountdown(int milliseconds) {
    counting_ = true;
    deadline_ = now() + std::chrono::milliseconds(milliseconds);
    ShowCountdown();
}

void NetBoardWindow::StopCountdown() {
    counting_ = false;
    ShowCountdown();
}

void NetBoardWindow::ShowCountdown() {
    QString text = counting_ ? QString::fromUtf8("残り %1秒").arg(SecondsLeft(now(), deadline_)) : QString();
    if (text == countdown_->text()) return;
    countdown_->setText(text);
    countdown_->setAccessibleName(text);
}

// The server's last table of a hand still has the scores before it; the
// cards show those after it while its result is read.
void NetBoardWindow::ShowScoresAfterHand() {
    riichi::SeatView view = session_.view();
    view.scores = session_.handResult().scoresAfter;
    view.legal.clear();
    table_->Show(view, false);
}

void NetBoardWindow::SetStatus(const QString& text) {
    status_->setText(text);
    status_->setAccessibleName(text);
}

bool NetBoardWindow::Join() {
    std::string message;
    SetStatus(
        QString::fromUtf8("サーバ %1:%2 に接続します...").arg(engine::Q(client_.host())).arg(client_.port()));
    if (!session_.Connect(client_.host(), client_.port(), client_.Request(), message)) {
        SetStatus(QString::fromUtf8("接続できませんでした"));
        showMessage(QString::fromUtf8("ゲームサーバに接続できませんでした。\n") + engine::Q(message));
        return false;
    }
    timer_->start();
    return true;
}

void NetBoardWindow::Poll() {
    ShowCountdown();
    // Lines left after another seat's discard are taken once its pause is over.
    do {
        if (pausing()) return;
        for (NetSession::Update u : session_.Poll(0)) Handle(u);
        if (session_.stoppedAtDiscard()) pauseUntil_ = now() + std::chrono::milliseconds(PaceDelay(pace_));
    } while (session_.connected() && session_.hasPending());
    if (!session_.connected()) timer_->stop();
}

void NetBoardWindow::ShowSeats() {
    const engine::NetGameResult& r = session_.result();
    std::array<SeatCard, 4> cards;
    std::array<QString, 4> names;
    int face = client_.layout().width >= 1024 ? 96 : 72;
    for (std::size_t s = 0; s < 4; ++s) {
        const engine::RecordSeat& seat = r.seats[s];
        names[s] = engine::Q(seat.displayName.empty() ? seat.name : seat.displayName);
        cards[s].name = names[s];
        cards[s].face = engine::FacePixmap(engine::FacePath(installDir_, seat.name), seat.name, face);
    }
    table_->SetSeats(cards);
    panel_->SetNames(names);
}

void NetBoardWindow::ShowTable() {
    bool decide = session_.asked() && !session_.ask().next && !session_.view().legal.empty();
    table_->Show(session_.view(), decide);
}

void NetBoardWindow::Act(const Action& action) {
    StopCountdown();
    SetNotice(QString());
    session_.Answer(action);
    ShowTable();
}

void NetBoardWindow::Handle(NetSession::Update update) {
    switch (update) {
        case NetSession::Update::Seated: {
            SetStatus(QString::fromUtf8("席に着きました。ほかのプレーヤを待っています"));
            std::string problem = client_.KeepToken(session_.token());
            if (!problem.empty())
                showMessage(QString::fromUtf8("ファイルに書き込めませんでした。\n") + engine::Q(problem));
            break;
        }
        case NetSession::Update::Waiting:
            SetStatus(QString::fromUtf8("%1人が着席しています").arg(session_.waitingCount()));
            break;
        case NetSession::Update::GameStart:
            ShowSeats();
            SetStatus(QString::fromUtf8("対局開始 (ゲーム %1)").arg(session_.result().gameNumber));
            break;
        case NetSession::Update::HandStart:
            panel_->hide();
            break;
        case NetSession::Update::Event:
        case NetSession::Update::Table:
            if (!panel_->isVisible()) ShowTable();
            break;
        case NetSession::Update::Ask: {
            if (session_.ask().next) break;  // the result panel's OK answers it
            const riichi::SeatView& v = session_.view();
            // After riichi a seat whose only choice is to discard the drawn tile does so by itself.
            if (v.legal.size() == 1 && v.legal.front().type == ActionType::Discard && v.riichi[Idx(v.seat)]) {
                Act(v.legal.front());
                break;
            }
            ShowTable();
            SetStatus(QString::fromUtf8("あなたの番です (%1秒以内)").arg(session_.ask().milliseconds / 1000));
            StartCountdown(session_.ask().milliseconds);
            break;
        }
        case NetSession::Update::TimedOut:
            StopCountdown();
            ShowTable();
            SetStatus(QString::fromUtf8("時間切れ: コンピュータが代わりに打ちました"));
            // The status line moves on with the game; this stays until the player acts.
            SetNotice(QString::fromUtf8("時間切れ: コンピュータが代わりに打ちました"));
            break;
        case NetSession::Update::Away: {
            int seat = session_.awaySeat();
            bool away = session_.away(seat);
            if (seat == session_.seat())
                SetStatus(away
                              ? QString::fromUtf8(
                                    "応答がないため、コンピュータが代わりに打っています (操作すると戻ります)")
                              : QString::fromUtf8("操作に戻りました"));
            else if (away)
                SetStatus(QString::fromUtf8("%1 の応答がないため、コンピュータが代わりに打っています")
                              .arg(engine::Q(session_.result().seats[Idx(seat)].name)));
            break;
        }
        case NetSession::Update::HandOver:
            StopCountdown();
            table_->StopDeciding();
            ShowScoresAfterHand();
            panel_->ShowHand(session_.handResult());
            PlaceOverlay();
            QTimer::singleShot(0, this, [this] { PlaceOverlay(); });
            break;
        case NetSession::Update::GameOver: {
            const engine::NetGameResult& r = session_.result();
            std::string problem = client_.File(r);
            ++filed_;
            if (!problem.empty())
                showMessage(QString::fromUtf8("ファイルに書き込めませんでした。\n") + engine::Q(problem));
            panel_->ShowStandings(session_.rules(), r.standings, r.bustOut, r.leftoverSticks);
            PlaceOverlay();
            QTimer::singleShot(0, this, [this] { PlaceOverlay(); });
            SetStatus(QString::fromUtf8("対局終了: %1位").arg(r.mine.place));
            break;
        }
        case NetSession::Update::Refused:
        case NetSession::Update::Lost:
            StopCountdown();
            table_->StopDeciding();
            SetStatus(engine::Q(session_.message()));
            if (!closing_) showMessage(engine::Q(session_.message()));
            break;
    }
}

void NetBoardWindow::PlaceOverlay() { panel_->CenterOver(*table_); }

void NetBoardWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    PlaceOverlay();
}

void NetBoardWindow::closeEvent(QCloseEvent* event) {
    bool playing = session_.connected() && !session_.gameOver() && session_.result().gameNumber > 0;
    if (playing && !closing_ && confirmClose && !confirmClose()) {
        event->ignore();
        return;
    }
    closing_ = true;
    timer_->stop();
    session_.Quit();
    event->accept();
}

}  // namespace zv::board
