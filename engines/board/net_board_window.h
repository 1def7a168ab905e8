#pragma once
// The network client's window: the table of the one-player game (TableView
// and ResultPanel) for a game held by a server. The window joins the server,
// shows the table as the server tells it to this seat, offers the decisions
// the server asks for and sends the player's choice back. After each hand
// the result panel is shown until the player reads it (or the server goes on
// without us); a finished game is filed (results appended, record rewritten)
// and its standings shown, with "もう一度" (join again) and "終了".
//
// While a decision is asked, its time left counts down under the table. The
// other seats' discards come one by one, with a pause after each at the pace
// chosen in "オプション" (as in the one-player game).
#include <QMainWindow>
#include <array>
#include <chrono>
#include <functional>
#include <string>

#include "board/board_window.h"
#include "board/tile_painter.h"
#include "net/net_client.h"
#include "net/net_game.h"

class QAction;
class QLabel;
class QTimer;

namespace zv::board {

class ResultPanel;
class TableView;

class NetBoardWindow : public QMainWindow {
public:
    // `client` must be prepared and outlive the window; `installDir` (with
    // its trailing '/') holds the players' faces.
    NetBoardWindow(engine::NetClient& client, TileLook look, const QString& title, std::string installDir,
                   QWidget* parent = nullptr);
    ~NetBoardWindow() override;

    // Joins the server; false (and a message) when it cannot be reached.
    bool Join();

    // Shows a message (refusals, a lost connection, files that could not be
    // written); the default is a message box that does not block the window.
    std::function<void(const QString&)> showMessage;
    // Asked once when the window is closed during a game; true ends it.
    std::function<bool()> confirmClose;
    // The clock of the countdown and of the pauses between discards.
    std::function<std::chrono::steady_clock::time_point()> now = [] {
        return std::chrono::steady_clock::now();
    };

    void SetPace(Pace pace);
    Pace pace() const { return pace_; }

    TableView* table() const { return table_; }
    ResultPanel* resultPanel() const { return panel_; }
    const engine::NetSession& session() const { return session_; }
    QString status() const;
    int gamesFiled() const { return filed_; }
    // The time left for the decision asked ("残り 12秒"), empty when none.
    QString countdown() const;
    // A notice that stays until the player next acts: that the computer
    // played the seat's turn because its time ran out.
    QString notice() const;
    // True while the window waits after another seat's discard.
    bool pausing() const { return now() < pauseUntil_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Poll();
    void Handle(engine::NetSession::Update update);
    void ShowSeats();
    void ShowTable();
    void Act(const riichi::Action& action);
    void PlaceOverlay();
    void SetStatus(const QString& text);
    void BuildMenu();
    void StartCountdown(int milliseconds);
    void StopCountdown();
    void ShowCountdown();
    void SetNotice(const QString& text);
    void ShowScoresAfterHand();

    engine::NetClient& client_;
    std::string installDir_;
    engine::NetSession session_;
    TableView* table_ = nullptr;
    ResultPanel* panel_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* countdown_ = nullptr;
    QLabel* notice_ = nullptr;
    QTimer* timer_ = nullptr;
    Pace pace_ = Pace::Normal;
    std::array<QAction*, 3> paceActions_{};
    bool counting_ = false;
    std::chrono::steady_clock::time_point deadline_;
    std::chrono::steady_clock::time_point pauseUntil_;
    int filed_ = 0;
    bool closing_ = false;
};

}  // namespace zv::board
