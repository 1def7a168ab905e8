#pragma once
// The panel laid over the table at the end of a hand and of a game.
//  * A hand: each winner's hand (the winning tile set apart), the dora and
//    ura-dora indicators, every yaku with its han, the fu, the limit and the
//    points, and what each seat paid or received; at a draw who was ready.
//  * A game: places, final scores, the placement bonus (uma), chips and
//    points, with "もう一度" (play again) and "終了" (quit).
#include <QFrame>
#include <QString>
#include <array>
#include <functional>
#include <vector>

#include "board/tile_painter.h"
#include "riichi/game.h"
#include "riichi/table.h"

class QLabel;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

namespace zv::board {

class ResultPanel : public QFrame {
public:
    ResultPanel(TileLook look, QWidget* parent);

    void SetNames(const std::array<QString, 4>& names) { names_ = names; }
    // 3 leaves seat 3 out of every list (a three-player game).
    void SetPlayers(int players) { players_ = players == 3 ? 3 : 4; }
    // `melds` are the seats' melds at the end, shown with the ready hands of
    // a draw (a winner's come with its result).
    void ShowHand(const riichi::HandResult& result,
                  const std::array<std::vector<riichi::Meld>, 4>& melds = {});
    void ShowGame(const riichi::Game& finished);
    // The same from the totals alone (a game played on another machine).
    void ShowStandings(const riichi::Rules& rules, const std::array<riichi::SeatTotals, 4>& totals,
                       bool bustOut, int leftoverSticks);

    std::function<void()> onOk;     // the hand's panel was read
    std::function<void()> onAgain;  // play another game
    std::function<void()> onQuit;   // end the program

    // The height that shows everything without scrolling.
    int preferredHeight() const;
    // Lays the panel over the middle of `table`, as large as its content
    // needs within the table.
    void CenterOver(const QWidget& table);

    // The panel's text without pictures (tests, assistive tools).
    QString text() const;

private:
    void Clear();
    QLabel* AddText(const QString& html);
    // A row of tiles; `captioned` puts the name before it, else the name is
    // only read by assistive tools.
    void AddTiles(const std::vector<riichi::TileId>& tiles, const std::vector<int>& gaps, const QString& name,
                  bool captioned = false);
    void AddIndicators(const std::vector<riichi::TileId>& dora, const std::vector<riichi::TileId>& ura);
    QPushButton* AddButton(const QString& caption, const char* objectName);
    void Finish();
    QString Name(int seat) const;

    TilePainter painter_;
    std::array<QString, 4> names_;
    int players_ = 4;
    QScrollArea* scroll_ = nullptr;
    QWidget* content_ = nullptr;
    QVBoxLayout* layout_ = nullptr;
    QWidget* buttonRow_ = nullptr;
    QString text_;
    int tileHeight_ = 36;
};

// "満貫", "跳満", "倍満", "三倍満", "役満"; empty for no limit.
QString LimitName(riichi::Limit limit);
// The Japanese name of how a hand ended: "ツモ", "ロン", "流局", "九種九牌", ...
QString EndName(riichi::HandEnd end);

}  // namespace zv::board
