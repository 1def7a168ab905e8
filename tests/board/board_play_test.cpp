// The one-player board's conveniences: right-click and Esc, the focus on
// スキップ, the play toggles, the score differences on the seat cards, the
// log pane, the pace's pause and the ready hands of a draw.
#include <QAction>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>
#include <cstdlib>

#include "board_test_support.h"

namespace zv::test {
namespace {

using riichi::Action;
using riichi::ActionType;
using riichi::Phase;

bool Offers(const riichi::SeatView& view, ActionType type) {
    return std::any_of(view.legal.begin(), view.legal.end(),
                       [type](const Action& a) { return a.type == type; });
}

void RightClick(QWidget* widget) {
    QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

// The human seat's last logged action.
Action LastOwnAction(const board::BoardWindow& w) {
    Action last;
    for (const riichi::LoggedAction& entry : w.currentGame()->Current().Log())
        if (entry.seat == w.humanSeat()) last = entry.action;
    return last;
}

class BoardPlayTest : public BoardFixture {
protected:
    std::unique_ptr<board::BoardWindow> StartActive(std::uint64_t seed) {
        Prepare("small");
        auto w = Open();
        QApplication::setActiveWindow(w.get());
        w->StartGame(seed);
        return w;
    }

    // Plays on by the simple player until `stop` holds at a decision; false
    // when the game ended first.
    bool PlayUntil(board::BoardWindow& w, const std::function<bool(const riichi::SeatView&)>& stop) {
        for (int step = 0; step < 3000; ++step) {
            if (!RunUntil([&] { return Waiting(w); })) return false;
            if (w.resultPanel()->isVisible()) {
                QPushButton* ok = VisibleButton(w.resultPanel(), "ResultOkButton");
                if (ok == nullptr) return false;
                ok->click();
                continue;
            }
            if (stop(w.table()->view())) return true;
            if (!Decide(w)) return false;
        }
        return false;
    }
};

TEST_F(BoardPlayTest, RightClickDiscardsTheDrawnTile) {
    auto w = StartActive(21);
    board::TableView* t = w->table();
    ASSERT_TRUE(PlayUntil(*w, [](const riichi::SeatView& v) {
        return v.phase == Phase::Turn && v.drawn >= 0 && !Offers(v, ActionType::Riichi);
    }));
    int drawn = t->view().drawn;
    // On a tile of the hand, not the drawn one: the click still means the drawn tile.
    RightClick(t->handTiles().front());
    Action done = LastOwnAction(*w);
    EXPECT_EQ(done.type, ActionType::Discard);
    EXPECT_EQ(done.tile, drawn);
}

TEST_F(BoardPlayTest, CallsWaitOnSkipAndEscOrRightClickPasses) {
    auto w = StartActive(3);
    board::TableView* t = w->table();
    auto claim = [](const riichi::SeatView& v) {
        return v.phase == Phase::Claims && !Offers(v, ActionType::Ron);
    };
    // Esc, with the focus where the board put it.
    ASSERT_TRUE(PlayUntil(*w, claim));
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_EQ(focus->objectName(), QString("SkipButton"));
    std::size_t before = w->currentGame()->Current().Log().size();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(focus, &esc);
    ASSERT_GT(w->currentGame()->Current().Log().size(), before);
    EXPECT_EQ(LastOwnAction(*w).type, ActionType::Pass);

    // Right-click on the table.
    ASSERT_TRUE(PlayUntil(*w, claim));
    RightClick(t);
    EXPECT_EQ(LastOwnAction(*w).type, ActionType::Pass);
}

TEST_F(BoardPlayTest, TogglesAnswerForThePlayerAndShowAsButtons) {
    Prepare("small");
    auto w = Open();
    // The toggles are menu items and buttons beside the hand, kept in step.
    auto* noCalls = w->findChild<QAction*>("NoCallsAction");
    auto* button = w->findChild<QToolButton*>("NoCallsToggle");
    ASSERT_NE(noCalls, nullptr);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isVisible());
    EXPECT_TRUE(button->isCheckable());
    button->click();
    EXPECT_TRUE(noCalls->isChecked());
    EXPECT_TRUE(w->noCalls());
    w->findChild<QAction*>("AutoWinAction")->trigger();
    EXPECT_TRUE(w->findChild<QToolButton*>("AutoWinToggle")->isChecked());

    // Wins and calls are never asked; the player still chooses discards.
    w->StartGame(5);
    int asked = 0;
    EXPECT_FALSE(PlayUntil(*w, [&](const riichi::SeatView& v) {
        ++asked;
        EXPECT_FALSE(Offers(v, ActionType::Tsumo) || Offers(v, ActionType::Ron));
        EXPECT_NE(v.phase, Phase::Claims);
        return false;
    }));
    EXPECT_GT(asked, 0);
    ASSERT_NE(VisibleButton(w->resultPanel(), "AgainButton"), nullptr);
    const riichi::SeatView end = w->table()->view();
    EXPECT_TRUE(std::all_of(end.melds[0].begin(), end.melds[0].end(),
                            [](const riichi::Meld& m) { return !m.IsOpen(); }));

    // ツモ切り: a turn with nothing but discards is never asked; a turn
    // with a riichi or kan to decide still is.
    w->SetTsumogiri(true);
    EXPECT_TRUE(w->findChild<QToolButton*>("TsumogiriToggle")->isChecked());
    w->StartGame(6);
    EXPECT_FALSE(PlayUntil(*w, [&](const riichi::SeatView& v) {
        bool onlyDiscards = std::all_of(v.legal.begin(), v.legal.end(),
                                        [](const Action& a) { return a.type == ActionType::Discard; });
        EXPECT_FALSE(onlyDiscards && v.drawn >= 0);
        return false;
    }));
    ASSERT_NE(VisibleButton(w->resultPanel(), "AgainButton"), nullptr);
    // Every own discard but those after a call or a riichi turn was the drawn tile.
    int drawnDiscards = 0;
    for (const riichi::RiverTile& r : w->table()->view().rivers[0]) drawnDiscards += r.tsumogiri ? 1 : 0;
    EXPECT_GT(drawnDiscards, 0);
}

TEST_F(BoardPlayTest, SeatCardsTellTheScoreDifferences) {
    board::TableView table(board::TileLook::Flat);
    std::array<board::SeatCard, 4> seats;
    const char* names[] = {"A", "B", "C", "D"};
    for (std::size_t i = 0; i < 4; ++i) seats[i].name = names[i];
    table.SetSeats(seats);
    riichi::SeatView view;
    view.seat = 1;
    view.scores = {30000, 20000, 25000, 26000};
    table.Show(view, false);
    // The player (seat 1) sits at the bottom: card 0 is its own.
    QString own = table.findChild<QWidget*>("SeatCard0")->toolTip();
    EXPECT_TRUE(own.contains(QString::fromUtf8("上家 A: -10000"))) << own.toStdString();
    EXPECT_TRUE(own.contains(QString::fromUtf8("下家 C: -5000"))) << own.toStdString();
    EXPECT_TRUE(own.contains(QString::fromUtf8("対面 D: -6000"))) << own.toStdString();
    QString across = table.findChild<QWidget*>("SeatCard2")->toolTip();
    EXPECT_TRUE(across.startsWith("D")) << across.toStdString();
    EXPECT_TRUE(across.contains(QString::fromUtf8("自分 B: +6000"))) << across.toStdString();
    // The others are named as the player sees them.
    EXPECT_TRUE(across.contains(QString::fromUtf8("下家 C: +1000"))) << across.toStdString();
}

TEST_F(BoardPlayTest, LogPaneListsDiscardsCallsAndDeclarationsInOrder) {
    EXPECT_EQ(board::HandLogLine("X", Action{ActionType::Riichi, 0, {-1, -1}}),
              QString::fromUtf8("X: リーチ 打 ") + board::TileSpokenName(0));
    EXPECT_EQ(board::HandLogLine("X", Action{ActionType::Pon, 4, {5, 6}}),
              QString::fromUtf8("X: ポン ") + board::TileSpokenName(4));
    EXPECT_TRUE(board::HandLogLine("X", Action{ActionType::Pass, -1, {-1, -1}}).isEmpty());

    auto w = StartActive(21);
    int width = w->width();
    w->findChild<QAction*>("ShowLogAction")->trigger();
    EXPECT_TRUE(w->logPane()->isVisible());
    EXPECT_GT(w->width(), width);
    // Four of the player's discards, and the others' between them.
    ASSERT_TRUE(PlayUntil(
        *w, [](const riichi::SeatView& v) { return v.phase == Phase::Turn && v.rivers[0].size() >= 4; }));
    QStringList lines = w->logLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.front(), QString::fromUtf8("― 東1局 0本場 ―"));
    QStringList expected{lines.front()};
    int dealer = w->table()->view().dealer;
    for (const riichi::LoggedAction& e : w->currentGame()->Current().Log()) {
        if (e.action.type == ActionType::Pass) continue;
        QString who = QString::fromUtf8("東南西北").mid((e.seat - dealer + 4) % 4, 1) + " " +
                      w->table()
                          ->findChild<QLabel*>(QString("SeatName%1").arg((e.seat - w->humanSeat() + 4) % 4))
                          ->text();
        expected << board::HandLogLine(who, e.action);
    }
    EXPECT_EQ(lines, expected);
    EXPECT_GE(lines.filter(QString::fromUtf8("guest: 打 ")).size() +
                  lines.filter(QString::fromUtf8("guest: リーチ 打 ")).size(),
              4);
    if (const char* shots = std::getenv("ZV_BOARD_SHOTS")) {
        w->SetTsumogiri(true);
        w->grab().save(QString(shots) + "/board-log.png");
    }
    w->SetLogShown(false);
    EXPECT_FALSE(w->logPane()->isVisible());
    EXPECT_EQ(w->width(), width);
}

TEST_F(BoardPlayTest, ComputerTurnsPauseAtTheChosenPace) {
    Prepare("small");
    auto w = Open();
    std::vector<board::Pace> asked;
    w->paceDelay = [&asked](board::Pace pace) {
        asked.push_back(pace);
        return 0;
    };
    w->SetPace(board::Pace::Fast);
    w->StartGame(21);
    ASSERT_TRUE(RunUntil([&] { return Waiting(*w); }));
    ASSERT_TRUE(Decide(*w));
    ASSERT_TRUE(RunUntil([&] { return Waiting(*w) && !asked.empty(); }));
    EXPECT_TRUE(
        std::all_of(asked.begin(), asked.end(), [](board::Pace p) { return p == board::Pace::Fast; }));
}

TEST(ResultPanelDrawTest, ReadyHandsShowTheirMelds) {
    QWidget table;
    table.resize(640, 480);
    board::ResultPanel panel(board::TileLook::Flat, &table);
    panel.SetNames({"A", "B", "C", "D"});
    riichi::HandResult r;
    r.end = riichi::HandEnd::Exhaustive;
    r.ready = {false, true, false, false};
    r.revealed[1] = {0, 4, 8, 12, 16, 20, 36, 40, 44, 72};  // ten concealed tiles
    std::array<std::vector<riichi::Meld>, 4> melds;
    riichi::Meld pon;
    pon.tiles = {108, 109, 110, -1};
    pon.size = 3;
    pon.called = 110;
    pon.from = 0;
    melds[1].push_back(pon);
    panel.ShowHand(r, melds);
    QString text = panel.text();
    QString hand;
    for (int t : {0, 4, 8, 12, 16, 20, 36, 40, 44, 72, 108, 109, 110}) hand += board::TileSpokenName(t) + " ";
    EXPECT_TRUE(text.contains("B: " + hand.trimmed())) << text.toStdString();
    EXPECT_EQ(panel.accessibleName(), QString::fromUtf8("局の結果"));
    EXPECT_EQ(panel.accessibleDescription(), text);
    if (const char* shots = std::getenv("ZV_BOARD_SHOTS")) {
        table.show();
        panel.CenterOver(table);
        table.grab().save(QString(shots) + "/draw-panel.png");
    }
}

TEST_F(BoardPlayTest, PaintedPartsAndRiichiReadAsControls) {
    auto w = StartActive(21);
    board::TableView* t = w->table();
    ASSERT_TRUE(RunUntil([&] { return t->deciding(); }));
    auto areas = t->readableAreas();
    ASSERT_EQ(areas.size(), 10u);
    for (QWidget* area : areas) {
        EXPECT_FALSE(area->accessibleName().isEmpty());
        EXPECT_TRUE(area->testAttribute(Qt::WA_TransparentForMouseEvents));
    }
    EXPECT_EQ(areas[0]->accessibleName(), QString::fromUtf8("自分の捨て牌"));
    EXPECT_EQ(areas[2]->accessibleName(), QString::fromUtf8("対面の捨て牌"));
    EXPECT_EQ(areas[8]->accessibleName(), QString::fromUtf8("待ち"));
    ASSERT_TRUE(PlayUntil(*w, [](const riichi::SeatView& v) { return Offers(v, ActionType::Riichi); }));
    QPushButton* riichi = VisibleButton(t, "RiichiButton");
    ASSERT_NE(riichi, nullptr);
    EXPECT_TRUE(riichi->isCheckable());
    riichi->click();
    EXPECT_TRUE(riichi->isChecked());
    EXPECT_TRUE(riichi->text().startsWith(QString::fromUtf8("✔")));
    if (const char* shots = std::getenv("ZV_BOARD_SHOTS")) w->grab().save(QString(shots) + "/riichi.png");
    EXPECT_EQ(riichi->accessibleName(), QString::fromUtf8("リーチ"));
}

}  // namespace
}  // namespace zv::test
