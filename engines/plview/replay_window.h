#pragma once
// The replay of a game record: the board's table in read-only mode, every
// seat's tiles face up, stepping through a recorded game action by action
// and hand by hand, forwards and backwards, with a list to jump to any hand
// (and to any game of a record that holds several). Each hand ends with
// its result under the table, the last one with the final standings.
//
// "再生" plays the game on by itself, one action after another at the speed
// chosen beside it, until the end of the game or "停止".
//
// Keys: Right / Left one action, Page Down / Page Up one hand, Home / End
// the start and the end of the hand, Space play / stop.
#include <QMainWindow>
#include <QString>
#include <memory>
#include <string>

#include "board/table_view.h"
#include "board/tile_painter.h"
#include "format/game_record.h"
#include "format/record_replay.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

namespace zv::replay {

enum class PlaySpeed { Slow, Normal, Fast, Fastest };
// The time between two actions played, in milliseconds.
int PlayInterval(PlaySpeed speed);

class ReplayWindow : public QMainWindow {
public:
    explicit ReplayWindow(board::TileLook look, QWidget* parent = nullptr);

    // Reads a record file and shows its first game from the deal of the
    // first hand. False when nothing can be replayed; the window then says
    // why (and what of the game could be replayed is still shown).
    bool Open(const std::string& path);

    void SelectGame(int game);
    // Shows hand `hand` after `step` of its actions (clamped).
    void GoTo(int hand, int step);
    void StepForward();  // at a hand's end: the next hand as dealt
    void StepBack();     // at a hand's deal: the previous hand's end
    void NextHand();
    void PreviousHand();

    void SetSpeed(PlaySpeed speed);
    PlaySpeed speed() const { return speed_; }
    void Play(bool on);
    bool playing() const;
    // One action of the play (what its timer does): the step after this
    // one; at the end of the game the play stops.
    void PlayStep();

    int gameIndex() const { return game_; }
    int handIndex() const { return hand_; }
    int step() const { return step_; }
    const engine::GameReplay& replay() const { return replay_; }
    board::TableView* table() const { return table_; }
    // The line about the step shown, the hand's result (or the standings)
    // and what went wrong reading or replaying the record.
    QString stepText() const;
    QString resultText() const;
    QString problemText() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Show();
    QString SeatName(int seat) const;
    QString HandTitle(int hand) const;
    bool AtGameEnd() const;

    board::TileLook look_;
    std::string installDir_;
    engine::RecordFile record_;
    engine::GameReplay replay_;
    int game_ = -1;
    int hand_ = 0;
    int step_ = 0;
    board::TableView* table_ = nullptr;
    QComboBox* games_ = nullptr;
    QComboBox* hands_ = nullptr;
    QLabel* stepLabel_ = nullptr;
    QLabel* result_ = nullptr;
    QLabel* problem_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* forward_ = nullptr;
    QPushButton* play_ = nullptr;
    QComboBox* speeds_ = nullptr;
    QTimer* player_ = nullptr;
    PlaySpeed speed_ = PlaySpeed::Normal;
};

// The Japanese words of an action as the replay tells it ("打 5萬", "ポン 東").
using board::ActionDescription;

}  // namespace zv::replay
