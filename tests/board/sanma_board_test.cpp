// The board of the three-player game: three seats (the player at the
// bottom, the next seat at the right, the one before at the left, the empty
// seat neither drawn nor listed), the 北抜き button, and a whole game played
// through the board to its standings and results line.
#include <QLabel>
#include <cstdlib>

#include "board_test_support.h"

namespace zv::test {
namespace {

class SanmaBoardTest : public BoardFixture {
protected:
    void PrepareThree(std::uint64_t seed) {
        game_ = engine::OnePlayerGame(3);
        std::filesystem::create_directories(dir_.Path("usr/guest"));
        engine::EngineOptions o;
        o.baseDir = dir_.Path("usr/guest");
        o.name = "guest";
        o.layout = "large4";
        o.length = 1;
        ASSERT_EQ(game_.Prepare(o, std::string(ZV_STAGE_DIR), "sanma1", warnings_), "");
        window_ = Open();
        QApplication::setActiveWindow(window_.get());
        window_->StartGame(seed);
    }

    static void Shot(board::BoardWindow& w, const char* name) {
        if (const char* shots = std::getenv("ZV_BOARD_SHOTS")) w.grab().save(QString(shots) + "/" + name);
    }

    QString CardText(int card) const {
        auto* score = window_->table()->findChild<QLabel*>(QString("SeatScore%1").arg(card));
        return score != nullptr ? score->text() : QString();
    }

    // Plays the whole game as the simple player, setting every north aside
    // when the board offers it. Returns the norths set aside.
    int PlayGame() {
        board::BoardWindow& w = *window_;
        int norths = 0;
        bool boardShot = false, resultShot = false;
        for (int step = 0; step < 5000; ++step) {
            if (!RunUntil([&] { return Waiting(w); })) break;
            if (w.resultPanel()->isVisible()) {
                if (VisibleButton(w.resultPanel(), "AgainButton") != nullptr) {
                    if (!resultShot) Shot(w, "sanma-result.png");
                    Shot(w, "sanma-final.png");
                    return norths;
                }
                if (!resultShot && w.resultPanel()->text().contains(QString::fromUtf8("抜きドラ"))) {
                    Shot(w, "sanma-result.png");
                    resultShot = true;
                }
                VisibleButton(w.resultPanel(), "ResultOkButton")->click();
                continue;
            }
            const riichi::SeatView& view = w.table()->view();
            if (!boardShot && !view.north[0].empty() && view.rivers[0].size() >= 4) {
                Shot(w, "sanma-board.png");
                boardShot = true;
            }
            if (QPushButton* north = VisibleButton(w.table(), "NorthButton")) {
                std::size_t before = view.north[0].size();
                sounds_.clear();
                north->click();
                ++norths;
                EXPECT_TRUE(RunUntil([&] { return Waiting(w); }));
                if (!w.resultPanel()->isVisible()) {
                    EXPECT_EQ(w.table()->view().north[0].size(), before + 1);
                }
                EXPECT_NE(std::find(sounds_.begin(), sounds_.end(), "sound_kan"), sounds_.end());
                continue;
            }
            if (!Decide(w)) break;
        }
        ADD_FAILURE() << "the game did not end";
        return norths;
    }

    std::unique_ptr<board::BoardWindow> window_;
};

TEST_F(SanmaBoardTest, ThreeSeatsAreShownAndTheEmptyOneIsNot) {
    PrepareThree(11);
    ASSERT_TRUE(RunUntil([&] { return Waiting(*window_); }));
    board::TableView* t = window_->table();
    EXPECT_EQ(t->view().players, 3);
    // Cards by relative seat: own, right, across (empty), left.
    for (int card : {0, 1, 3}) {
        EXPECT_TRUE(t->findChild<QWidget*>(QString("SeatCard%1").arg(card))->isVisible()) << card;
        EXPECT_FALSE(CardText(card).isEmpty()) << card;
        EXPECT_FALSE(CardText(card).contains(QString::fromUtf8("北"))) << "no seat is north with three";
    }
    EXPECT_FALSE(t->findChild<QWidget*>("SeatCard2")->isVisible());
    EXPECT_TRUE(CardText(0).startsWith(QString::fromUtf8("東")));  // the player deals first
    EXPECT_TRUE(CardText(1).startsWith(QString::fromUtf8("南")));  // seat 1 plays next, at the right
    EXPECT_TRUE(CardText(3).startsWith(QString::fromUtf8("西")));  // seat 2 before the player, at the left
    for (QWidget* area : t->readableAreas())
        if (area->objectName() == "RiverArea2" || area->objectName() == "MeldArea2") {
            EXPECT_FALSE(area->isVisible());
        }
    EXPECT_FALSE(t->ScoreDifferences(0).contains(QString::fromUtf8("対面")));
}

TEST_F(SanmaBoardTest, AWholeGameWithNorthsSetAsideIsFiled) {
    PrepareThree(3);
    int norths = PlayGame();
    EXPECT_GT(norths, 0);
    EXPECT_EQ(window_->gamesFiled(), 1);
    EXPECT_TRUE(window_->logLines().join("\n").contains(QString::fromUtf8("北抜き")));
    // The standings list the three players only.
    QString standings = window_->resultPanel()->text();
    EXPECT_TRUE(standings.contains(QString::fromUtf8("3位")));
    EXPECT_FALSE(standings.contains(QString::fromUtf8("4位")));
    std::string res = dir_.Read("usr/guest/guest.sanma.res");
    EXPECT_EQ(res.rfind("result: ", 0), 0u) << res;
    EXPECT_FALSE(std::filesystem::exists(dir_.Path("usr/guest/guest.res")));
    EXPECT_NE(dir_.Read("usr/guest/sanma1.fu").find("x"), std::string::npos);
    // Beside the pictures, the record they come from (for the record player's).
    if (const char* shots = std::getenv("ZV_BOARD_SHOTS"))
        std::filesystem::copy_file(dir_.Path("usr/guest/sanma1.fu"), std::string(shots) + "/sanma1.fu",
                                   std::filesystem::copy_options::overwrite_existing);
}

}  // namespace
}  // namespace zv::test
