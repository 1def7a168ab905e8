#pragma once
// The table as one player sees it: the own hand (each tile a focusable
// button named after the tile, the drawn tile set apart), the four rivers in
// the order of discarding (riichi discards turned, called tiles greyed), the
// open melds and the norths set aside, the other hands' backs, the dora indicators, the tiles left in
// the wall, the round, honba and riichi sticks, the seat winds and scores,
// a card per seat with its face and name, and whose turn it is. When the
// player must decide, the view offers exactly the legal actions: clicks on
// the tiles that may be discarded and buttons for the rest.
//
// The view only shows a riichi::SeatView and reports the player's choice
// through `onAction`; it knows nothing of the game behind it.
//
// Its parts: the tile buttons (hand_tile.h), the action bar (action_bar.cpp),
// the placing of the parts (table_layout.cpp) and the painting
// (table_painting.cpp).
#include <QPixmap>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "board/hand_tile.h"
#include "board/table_style.h"
#include "board/tile_painter.h"
#include "riichi/table.h"

class QAbstractButton;
class QLabel;
class QPushButton;

namespace zv::board {

struct SeatCard {
    QString name;
    QPixmap face;
};

class TableView : public QWidget {
public:
    explicit TableView(TileLook look, QWidget* parent = nullptr);

    void SetSeats(const std::array<SeatCard, 4>& seats);
    // Shows the table from `view`; when `decide` is true the player must
    // choose one of view.legal now and the controls offer them.
    void Show(const riichi::SeatView& view, bool decide);
    // Takes the controls away (while the result of a hand is shown).
    void StopDeciding();

    // Shows the other seats' concealed tiles face up (a replay); empty
    // hands keep their backs. Takes effect with the next Show.
    void SetOpenHands(const std::array<std::vector<riichi::TileId>, 4>& hands) { openHands_ = hands; }
    const std::array<std::vector<riichi::TileId>, 4>& openHands() const { return openHands_; }

    void SetSortHand(bool sort);
    void SetShowWaits(bool show);
    // The height at which the table square fills `width` (less the side
    // panel) with the hand strip right under it: taller leaves a band.
    static int HeightFor(int width);
    bool sortHand() const { return sortHand_; }
    bool showWaits() const { return showWaits_; }

    std::function<void(const riichi::Action&)> onAction;
    // Sounds of the controls themselves (the keys of sound.nuc): riichi's
    // tile choice starting and ending, a choice among several calls, going
    // back from it.
    std::function<void(const char* key)> onSound;

    // For tests and assistive tools: the hand's tile buttons in display
    // order (the drawn tile last) and the action buttons now shown.
    std::vector<HandTile*> handTiles() const;
    std::vector<QPushButton*> actionButtons() const;
    const riichi::SeatView& view() const { return view_; }
    bool deciding() const { return deciding_; }
    bool riichiChoosing() const { return riichiMode_; }
    // The text of the waits shown under the table ("待ち: 3萬 6萬"), empty when none.
    QString waitsText() const;
    // The table in one line for assistive tools: the round, the tiles left,
    // the dora indicators, whose turn it is and the discard to answer.
    QString Summary() const;

    // Small buttons the window lays beside the hand (its toggles); the view
    // only places them.
    void SetToggleButtons(const std::vector<QAbstractButton*>& buttons);
    // The score differences from `seat` to each other seat, one per line
    // ("対面 名前: -3000"), as the seat card's tooltip shows them.
    QString ScoreDifferences(int seat) const;
    // The parts that are painted rather than widgets, as assistive tools
    // read them: 0-3 the rivers, 4-7 the melds (by relative seat), then the
    // waits strip and the furiten mark.
    std::vector<QWidget*> readableAreas() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Right-click: discards the drawn tile, or skips the call offered.
    void mousePressEvent(QMouseEvent* event) override;
    // Esc: skips the call offered (or leaves a choice among calls).
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Geometry {
        QRectF table;  // the square of the table
        double riverW = 20, riverH = 27;
        double handW = 30, handH = 40;
        QRectF handStrip;
        QRectF side;
    };

    void Layout();
    void LayoutToggles(double toggleH);
    void LayoutReadableAreas();
    void RebuildHand();
    void RebuildActions();
    void DropButtons();
    void ShowChoices(const std::vector<riichi::Action>& choices);
    void TileClicked(HandTile* tile);
    void Choose(const riichi::Action& action);
    void UpdateCards();
    void UpdateReadableAreas();
    bool SkipCall();
    bool DiscardDrawn();
    int Players() const { return view_.players == 3 ? 3 : 4; }
    // The seats that play: all four, or 0..2 with three players.
    bool Plays(int seat) const { return seat >= 0 && seat < Players(); }
    int Relative(int seat) const { return table_style::RelativeSeat(seat, view_.seat, Players()); }

    void PaintSeatFrame(QPainter& p, int seat) const;
    void PaintRiver(QPainter& p, int seat) const;
    void PaintOtherHand(QPainter& p, int seat) const;
    double PaintMelds(QPainter& p, const std::vector<riichi::Meld>& melds, int owner, double right,
                      double bottom, double w, double h) const;
    // The norths a seat has set aside, leftwards from `right`; returns
    // their left edge.
    double PaintNorths(QPainter& p, const std::vector<riichi::TileId>& norths, double right, double bottom,
                       double w, double h) const;
    void PaintCentre(QPainter& p) const;

    TilePainter painter_;
    Geometry g_;
    riichi::SeatView view_;
    bool hasView_ = false;
    bool deciding_ = false;
    bool riichiMode_ = false;
    bool sortHand_ = true;
    bool showWaits_ = true;
    std::vector<riichi::TileId> order_;  // the concealed tiles in display order
    std::vector<HandTile*> tiles_;
    std::vector<QPushButton*> buttons_;
    std::array<std::vector<riichi::TileId>, 4> openHands_{};
    std::array<SeatCard, 4> seats_{};
    std::array<QWidget*, 4> cards_{};
    std::array<QLabel*, 4> cardFaces_{};
    std::array<int, 4> faceSeat_{-1, -1, -1, -1};  // the seat whose face each card shows
    std::array<QLabel*, 4> cardNames_{};
    std::array<QLabel*, 4> cardScores_{};
    std::vector<QAbstractButton*> toggles_;
    std::array<QWidget*, 4> riverAreas_{};
    std::array<QWidget*, 4> meldAreas_{};
    QWidget* waitsArea_ = nullptr;
    QWidget* furitenArea_ = nullptr;
    bool choosing_ = false;  // a choice among several calls is shown
};

// The caption of the button for an action ("ポン", "チー 3萬4萬" when chosen
// among several, ...).
QString ActionCaption(riichi::ActionType type);
// The Japanese words of an action as a record tells it ("打 5萬", "ポン 東",
// "暗槓 東"); empty for a pass.
QString ActionDescription(const riichi::Action& action);

}  // namespace zv::board
