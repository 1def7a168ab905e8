#pragma once
// The network client's window: the table of the one-player game (TableView
// and ResultPanel) for a game held by a server. The window joins the server,
// shows the table as the server tells it to this seat, offers the decisions
// the server asks for and sends the player's choice back. After each hand
// the result panel is shown until the player reads it (or the server goes on
// without us); a finished game is filed (results appended, record rewritten)
// and its standings shown, with "もう一度" (join again) and "終了".
#include <QMainWindow>
#include <functional>
#include <string>

#include "board/tile_painter.h"
#include "net/net_client.h"
#include "net/net_game.h"

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

    TableView* table() const { return table_; }
    ResultPanel* resultPanel() const { return panel_; }
    const engine::NetSession& session() const { return session_; }
    QString status() const;
    int gamesFiled() const { return filed_; }

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

    engine::NetClient& client_;
    std::string installDir_;
    engine::NetSession session_;
    TableView* table_ = nullptr;
    ResultPanel* panel_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer* timer_ = nullptr;
    int filed_ = 0;
    bool closing_ = false;
};

}  // namespace zv::board
