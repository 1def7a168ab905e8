#pragma once
// The one-player game's window: plays riichi::Game hand by hand on the
// table view, the player at seat 0 and the three computer characters in the
// other seats. The computer seats' decisions run on a timer at the chosen
// pace, so the window never stops answering. A three-player game (the
// driver's players() is 3) leaves seat 3 empty. After each hand a result panel
// is laid over the table; a finished game is filed (results appended, record
// rewritten) and its standings shown, with "もう一度" and "終了".
//
// Menu "オプション": sort the hand, show the waits when ready, the pace
// (normal, fast, instant), the toggles 自動和了 (win whenever a win is
// offered), 鳴きなし (pass every call) and ツモ切り (discard the drawn tile
// when discarding is all there is to do), also as small buttons beside the
// hand, and the game's log pane. Closing the window during a game asks once;
// games already finished stay filed.
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
class QMenu;
class QDockWidget;
class QListWidget;
class QTimer;

namespace zv::board {

class ResultPanel;
class TableView;

enum class Pace { Normal, Fast, Instant };
// The pause before each computer seat's turn action, in milliseconds.
int PaceDelay(Pace pace);
// Adds the three pace choices to `menu` as one checked group, `current`
// checked, each calling `choose`; returns them in the order of Pace.
std::array<QAction*, 3> AddPaceActions(QMenu* menu, QObject* owner, Pace current,
                                       const std::function<void(Pace)>& choose);

// One line of the game's log for an action of `who` ("東家 名前: 打 三萬");
// empty for actions nobody sees (passing on a discard).
QString HandLogLine(const QString& who, const riichi::Action& action);

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
    void SetAutoWin(bool on);
    void SetNoCalls(bool on);
    void SetTsumogiri(bool on);
    bool autoWin() const { return autoWin_; }
    bool noCalls() const { return noCalls_; }
    bool tsumogiri() const { return tsumogiri_; }
    void SetLogShown(bool shown);
    // The lines of the log pane, oldest first.
    QStringList logLines() const;
    QDockWidget* logPane() const { return logDock_; }

    // The pause before a computer seat acts at a pace, in milliseconds;
    // PaceDelay unless replaced (tests).
    std::function<int(Pace)> paceDelay = PaceDelay;

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
    bool AutoAnswer(const riichi::SeatView& view, riichi::Action& answer) const;
    void PlayActionSound(const riichi::Action& action);
    QAction* AddToggle(QMenu* menu, const char* text, const char* objectName, bool& flag);
    void BuildLogPane();
    void BeginHandLog();
    void UpdateLog();

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
    std::array<std::size_t, 4> northsSeen_{};
    std::array<bool, 4> riichiSeen_{};
    int filed_ = 0;
    bool closing_ = false;
    bool autoWin_ = false;
    bool noCalls_ = false;
    bool tsumogiri_ = false;
    QAction* autoWinAction_ = nullptr;
    QAction* noCallsAction_ = nullptr;
    QAction* tsumogiriAction_ = nullptr;
    QAction* logAction_ = nullptr;
    QDockWidget* logDock_ = nullptr;
    QListWidget* logList_ = nullptr;
    std::array<QString, 4> names_;
    std::size_t logged_ = 0;  // the current hand's actions already in the log
};

}  // namespace zv::board
