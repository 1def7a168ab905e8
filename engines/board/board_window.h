#pragma once
// The one-player game's window: plays riichi::Game hand by hand on the
// table view, the player at seat 0 and the three computer characters in the
// other seats. The computer seats' decisions run on a timer at the chosen
// pace, so the window never stops answering. After each hand a result panel
// is laid over the table; a finished game is filed (results appended, record
// rewritten) and its standings shown, with "もう一度" and "終了".
//
// Menu "オプション": sort the hand, show the waits when ready, and the pace
// (normal, fast, instant). Closing the window during a game asks once; games
// already finished stay filed.
#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/one_player.h"
#include "board/tile_painter.h"
#include "players/player.h"
#include "riichi/game.h"
#include "riichi/table.h"

class QAction;
class QTimer;

namespace zv::board {

class ResultPanel;
class TableView;

enum class Pace { Normal, Fast, Instant };
// The pause before each computer seat's turn action, in milliseconds.
int PaceDelay(Pace pace);

class BoardWindow : public QMainWindow {
public:
    // `game` must be prepared and outlive the window. `title` is the
    // window's caption, `program` the engine's name for messages.
    BoardWindow(engine::OnePlayerGame& game, TileLook look, const QString& title, QWidget* parent = nullptr);
    ~BoardWindow() override;

    // Starts a new game from `seed` (the first one is started by the caller).
    void StartGame(std::uint64_t seed);

    void SetPace(Pace pace);
    Pace pace() const { return pace_; }
    void SetSortHand(bool sort);
    void SetShowWaits(bool show);

    // Asked once when the window is closed during a game; true ends it. The
    // default asks the player with a message box; tests replace it.
    std::function<bool()> confirmClose;
    // Shows a message about files that could not be written or read; the
    // default is a message box that does not block the game.
    std::function<void(const QString&)> showMessage;
    // Plays the sound of a game event (a key of sound.nuc: "sound_pai",
    // "sound_declpon", "sound_1st", ...). The default plays the player's
    // chosen file on the sound device, and nothing when there is none.
    std::function<void(const std::string& key)> playSound;
    // Called with the place of the player when a game has been filed.
    std::function<void(int place)> onGameFiled;

    TableView* table() const { return table_; }
    ResultPanel* resultPanel() const { return panel_; }
    const riichi::Game* currentGame() const { return game_.get(); }
    int humanSeat() const { return human_; }
    bool gameInProgress() const { return game_ != nullptr && !game_->Over(); }
    int gamesFiled() const { return filed_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildMenu();
    void Advance();
    void ComputerTurn();
    void PlayTurn();
    void HumanAction(const riichi::Action& action);
    void HandOver();
    void NextHand();
    void GameOver();
    void PlaceOverlay();
    void ShowTable(bool decide);
    void AnnounceCalls();

    engine::OnePlayerGame& setup_;
    TileLook look_;
    TableView* table_ = nullptr;
    ResultPanel* panel_ = nullptr;
    QTimer* timer_ = nullptr;
    std::unique_ptr<riichi::Game> game_;
    std::array<std::unique_ptr<players::Player>, 4> players_;
    int human_ = 0;
    Pace pace_ = Pace::Normal;
    std::array<QAction*, 3> paceActions_{};
    QAction* sortAction_ = nullptr;
    QAction* waitsAction_ = nullptr;
    std::array<std::size_t, 4> meldsSeen_{};
    std::array<bool, 4> riichiSeen_{};
    int filed_ = 0;
    bool closing_ = false;
};

}  // namespace zv::board
