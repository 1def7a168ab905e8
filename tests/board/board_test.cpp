// The one-player board: tiles drawn and named, a whole east-only game
// played by clicks, the actions offered at every decision, the layouts, the
// keyboard, and closing the window.
#include <QAction>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>

#include "board/tile_painter.h"
#include "board_test_support.h"

namespace zv::test {
namespace {

using board::TileLook;
using riichi::ActionType;

QImage Render(const board::TilePainter& painter, int tile, int height = 48) {
    QImage image(static_cast<int>(board::TilePainter::WidthFor(height)) + 1, height, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    painter.Face(p, QRectF(0, 0, board::TilePainter::WidthFor(height), height), tile);
    return image;
}

// How red a picture is: the red that stands above green and blue, summed.
long Redness(const QImage& image) {
    long n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QColor c = image.pixelColor(x, y);
            n += std::max(0, c.red() - std::max(c.green(), c.blue())) * c.alpha() / 255;
        }
    return n;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int CountLines(const std::string& text, const std::string& start) {
    int n = 0;
    for (std::size_t at = 0; (at = text.find(start, at)) != std::string::npos; ++at)
        n += at == 0 || text[at - 1] == '\n' ? 1 : 0;
    return n;
}

// The button a legal action is offered on; empty for a discard.
std::string ButtonFor(ActionType type) {
    switch (type) {
        case ActionType::Tsumo:
            return "TsumoButton";
        case ActionType::Ron:
            return "RonButton";
        case ActionType::Riichi:
            return "RiichiButton";
        case ActionType::Pon:
            return "PonButton";
        case ActionType::Chi:
            return "ChiButton";
        case ActionType::OpenKan:
        case ActionType::ClosedKan:
        case ActionType::AddedKan:
            return "KanButton";
        case ActionType::North:
            return "NorthButton";
        case ActionType::NineTerminals:
            return "NineTerminalsButton";
        case ActionType::Pass:
            return "SkipButton";
        case ActionType::Discard:
            break;
    }
    return {};
}

std::set<int> EnabledTiles(board::TableView* t) {
    std::set<int> tiles;
    for (board::HandTile* h : t->handTiles())
        if (h->isEnabled()) tiles.insert(h->tile());
    return tiles;
}

std::set<int> TilesOf(const riichi::SeatView& view, ActionType type) {
    std::set<int> tiles;
    for (const auto& a : view.legal)
        if (a.type == type) tiles.insert(a.tile);
    return tiles;
}

TEST(TilePainterTest, EveryKindLooksDifferentAndRedFivesStandOut) {
    for (TileLook look : {TileLook::Flat, TileLook::Real}) {
        board::TilePainter painter(look);
        std::vector<QImage> kinds;
        for (int kind = 0; kind < riichi::kKinds; ++kind) kinds.push_back(Render(painter, kind * 4 + 1));
        for (std::size_t a = 0; a < kinds.size(); ++a)
            for (std::size_t b = a + 1; b < kinds.size(); ++b)
                EXPECT_NE(kinds[a], kinds[b]) << "kinds " << a << " and " << b << " look alike";
        for (int five : {16, 52, 88}) {
            QImage red = Render(painter, five);
            QImage plain = Render(painter, five + 1);
            EXPECT_GT(Redness(red), Redness(plain) * 5 / 4) << riichi::TileName(five);
        }
        // The back is neither blank nor any face.
        QImage back(kinds[0].size(), QImage::Format_ARGB32);
        back.fill(Qt::transparent);
        QPainter p(&back);
        painter.Back(p, QRectF(0, 0, board::TilePainter::WidthFor(48), 48));
        p.end();
        for (const QImage& face : kinds) EXPECT_NE(back, face);
    }
}

TEST(TilePainterTest, TilesAreNamedAsPlayersSayThem) {
    EXPECT_EQ(board::TileSpokenName(0), QString::fromUtf8("1萬"));
    EXPECT_EQ(board::TileSpokenName(16), QString::fromUtf8("赤5萬"));
    EXPECT_EQ(board::TileSpokenName(17), QString::fromUtf8("5萬"));
    EXPECT_EQ(board::TileSpokenName(52), QString::fromUtf8("赤5筒"));
    EXPECT_EQ(board::TileSpokenName(35), QString::fromUtf8("9萬"));
    EXPECT_EQ(board::TileSpokenName(88), QString::fromUtf8("赤5索"));
    EXPECT_EQ(board::TileSpokenName(75), QString::fromUtf8("1索"));
    EXPECT_EQ(board::TileSpokenName(108), QString::fromUtf8("東"));
    EXPECT_EQ(board::TileSpokenName(121), QString::fromUtf8("北"));
    EXPECT_EQ(board::TileSpokenName(124), QString::fromUtf8("白"));
    EXPECT_EQ(board::TileSpokenName(128), QString::fromUtf8("發"));
    EXPECT_EQ(board::TileSpokenName(135), QString::fromUtf8("中"));
    EXPECT_EQ(board::TileSpokenName(-1), QString("?"));
    EXPECT_EQ(board::TileSpokenName(136), QString("?"));
}

class BoardTest : public BoardFixture {
protected:
    // The controls of the decision now shown must be exactly its legal
    // actions: a button per kind of action, the tiles that may be discarded.
    void CheckOffers(board::BoardWindow& w) {
        board::TableView* t = w.table();
        const riichi::SeatView& view = t->view();
        std::set<std::string> expected, shown;
        for (const auto& a : view.legal)
            if (!ButtonFor(a.type).empty()) expected.insert(ButtonFor(a.type));
        for (QPushButton* b : t->actionButtons()) {
            if (!b->isVisible()) continue;
            shown.insert(b->objectName().toStdString());
            EXPECT_EQ(b->accessibleName(), b->text());
        }
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(EnabledTiles(t), TilesOf(view, ActionType::Discard));
        ++decisions_;
        if (view.phase == riichi::Phase::Claims) ++claims_;
        // Several calls of one kind: the button lists them, and "戻る" goes back.
        for (const char* name : {"PonButton", "ChiButton", "KanButton"}) {
            QPushButton* call = VisibleButton(t, name);
            if (call == nullptr) continue;
            long count = std::count_if(view.legal.begin(), view.legal.end(),
                                       [&](const riichi::Action& a) { return ButtonFor(a.type) == name; });
            if (count < 2) continue;
            QString caption = call->text();
            call->click();
            QApplication::processEvents();
            long listed = 0;
            for (QPushButton* choice : t->findChildren<QPushButton*>("ChoiceButton")) {
                if (!choice->isVisible()) continue;  // gone from an earlier choice
                ++listed;
                EXPECT_TRUE(choice->text().startsWith(caption + " ")) << choice->text().toStdString();
            }
            EXPECT_EQ(listed, count);
            QPushButton* back = VisibleButton(t, "BackButton");
            ASSERT_NE(back, nullptr);
            back->click();
            QApplication::processEvents();
            EXPECT_NE(VisibleButton(t, name), nullptr);
            ++choices_;
        }
        // The waits of a ready hand are shown while the option is on.
        if (view.waits != 0 && t->showWaits()) {
            QString waits = t->waitsText();
            for (riichi::Kind k = 0; k < riichi::kKinds; ++k)
                if (view.waits & (std::uint64_t{1} << k)) {
                    EXPECT_TRUE(waits.contains(board::KindSpokenName(k))) << waits.toStdString();
                }
            ++waitsShown_;
        }
        // Riichi: after the button only the discards that keep the hand
        // ready may be chosen.
        if (QPushButton* riichi = VisibleButton(t, "RiichiButton")) {
            riichi->click();
            EXPECT_TRUE(t->riichiChoosing());
            std::set<int> ready = TilesOf(view, ActionType::Riichi);
            EXPECT_FALSE(ready.empty());
            EXPECT_EQ(EnabledTiles(t), ready);
            ++riichiOffers_;
        }
    }

    // Plays the current game to its final panel; returns the hand panels seen.
    int PlayToTheEnd(board::BoardWindow& w) {
        int hands = 0;
        for (int step = 0; step < 5000; ++step) {
            if (!RunUntil([&] { return Waiting(w); })) {
                ADD_FAILURE() << "the board stopped without asking anything";
                return hands;
            }
            if (w.resultPanel()->isVisible()) {
                if (VisibleButton(w.resultPanel(), "AgainButton") != nullptr) {
                    if (const char* shots = std::getenv("ZV_BOARD_SHOTS"))
                        w.grab().save(QString(shots) + "/final.png");
                    return hands;
                }
                QPushButton* ok = VisibleButton(w.resultPanel(), "ResultOkButton");
                if (ok == nullptr) {
                    ADD_FAILURE() << "a hand's panel without OK";
                    return hands;
                }
                ++hands;
                panels_.push_back(w.resultPanel()->text());
                if (const char* shots = std::getenv("ZV_BOARD_SHOTS"))
                    w.grab().save(QString("%1/panel-%2.png").arg(shots).arg(panels_.size()));
                ok->click();
                continue;
            }
            CheckOffers(w);
            if (!Decide(w)) {
                ADD_FAILURE() << "nothing could be chosen";
                return hands;
            }
        }
        ADD_FAILURE() << "the game did not end";
        return hands;
    }

    int decisions_ = 0, claims_ = 0, riichiOffers_ = 0, choices_ = 0, waitsShown_ = 0;
    std::vector<QString> panels_;
};

TEST_F(BoardTest, PlaysAnEastOnlyGameByClicksAndFilesIt) {
    Prepare("small");
    auto w = Open();
    w->StartGame(11);
    int hands = PlayToTheEnd(*w);
    ASSERT_FALSE(HasFailure());
    EXPECT_GE(hands, 4);  // east only: at least the four dealers' hands
    EXPECT_GT(decisions_, 20);
    EXPECT_FALSE(w->gameInProgress());
    EXPECT_EQ(w->gamesFiled(), 1);
    EXPECT_TRUE(messages_.empty());

    // Each hand's panel named how it ended and gave the payments.
    for (const QString& text : panels_) {
        EXPECT_TRUE(text.contains(QString::fromUtf8("局"))) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8("点"))) << text.toStdString();
        if (text.contains(QString::fromUtf8("和了"))) {
            EXPECT_TRUE(text.contains(QString::fromUtf8("翻")) || text.contains(QString::fromUtf8("役満")))
                << text.toStdString();
            EXPECT_TRUE(text.contains(QString::fromUtf8("ドラ表示牌"))) << text.toStdString();
        }
        if (text.contains(QString::fromUtf8("流局"))) {
            EXPECT_TRUE(text.contains(QString::fromUtf8("聴牌"))) << text.toStdString();
        }
    }
    // The final panel: four places with scores, uma, chips and points.
    QString final = w->resultPanel()->text();
    for (const char* word : {"対局終了", "1位", "2位", "3位", "4位", "ウマ", "チップ", "ポイント"})
        EXPECT_TRUE(final.contains(QString::fromUtf8(word))) << word << "\n" << final.toStdString();
    ASSERT_NE(VisibleButton(w->resultPanel(), "QuitButton"), nullptr);

    // Filed: the player's results and the record with every hand shown.
    std::string res = ReadFile(dir_.Path("usr/guest/guest.res"));
    EXPECT_EQ(CountLines(res, "result: "), 1) << res;
    EXPECT_EQ(CountLines(res, "yaku: "), 1) << res;
    std::string record = ReadFile(dir_.Path("usr/guest/zelvan1.fu"));
    EXPECT_EQ(CountLines(record, "game: 1"), 1) << record;
    EXPECT_EQ(CountLines(record, "end: "), 1) << record;
    EXPECT_EQ(CountLines(record, "hand: "), hands) << record;
    const auto& totals = w->currentGame()->Totals();
    std::string place = "result: " + std::to_string(totals[0].place) + " ";
    EXPECT_EQ(res.rfind(place, 0), 0u) << res;

    // The game was heard: its opening, the player's discards, each hand's
    // end, the game's end and then the player's place.
    auto heard = [&](const std::string& key) { return std::count(sounds_.begin(), sounds_.end(), key); };
    ASSERT_FALSE(sounds_.empty());
    EXPECT_EQ(sounds_.front(), "sound_openning");
    EXPECT_GT(heard("sound_pai") + heard("sound_tumogiri"), 10);
    const char* handEnds[] = {"sound_furi",      "sound_mangan",    "sound_decltumo", "sound_declron",
                              "sound_ryukyoku1", "sound_ryukyoku2", "sound_yaku"};
    int ends = 0;
    for (const char* key : handEnds) ends += static_cast<int>(heard(key));
    EXPECT_EQ(ends, hands);
    ASSERT_TRUE(RunUntil([&] { return sounds_.back() != "sound_gameend"; }));
    const char* places[] = {"sound_1st", "sound_2nd", "sound_3rd", "sound_4th"};
    EXPECT_EQ(sounds_.back(), places[totals[0].place - 1]);
    EXPECT_EQ(sounds_[sounds_.size() - 2], "sound_gameend");

    // Another game, closed half way: asked once, the first game stays filed.
    VisibleButton(w->resultPanel(), "AgainButton")->click();
    EXPECT_TRUE(w->gameInProgress());
    ASSERT_TRUE(RunUntil([&] { return Waiting(*w); }));
    closeAnswer_ = false;
    EXPECT_FALSE(w->close());
    EXPECT_EQ(closeQuestions_, 1);
    EXPECT_TRUE(w->isVisible());
    closeAnswer_ = true;
    EXPECT_TRUE(w->close());
    EXPECT_EQ(closeQuestions_, 2);
    EXPECT_FALSE(w->isVisible());
    QApplication::processEvents();
    EXPECT_EQ(CountLines(ReadFile(dir_.Path("usr/guest/guest.res")), "result: "), 1);
    EXPECT_EQ(CountLines(ReadFile(dir_.Path("usr/guest/zelvan1.fu")), "game: "), 1);
}

TEST_F(BoardTest, OffersOnlyLegalActionsOverSeveralGames) {
    Prepare("large", "param: tonpu = 1\r\nparam: nokuikae = 1\r\n");
    auto w = Open(TileLook::Real);
    for (std::uint64_t seed : {3u, 5u, 8u, 13u, 21u, 34u}) {
        w->StartGame(seed);
        PlayToTheEnd(*w);
        ASSERT_FALSE(HasFailure()) << "seed " << seed;
    }
    EXPECT_GT(claims_, 0);  // calls and wins on discards were offered and declined or taken
    EXPECT_GT(waitsShown_, 0);
    EXPECT_GT(riichiOffers_, 0);
    EXPECT_EQ(w->gamesFiled(), 6);
    EXPECT_EQ(CountLines(ReadFile(dir_.Path("usr/guest/guest.res")), "result: "), 6);
    // Once the game is over, closing asks nothing.
    EXPECT_TRUE(w->close());
    EXPECT_EQ(closeQuestions_, 0);
}

TEST_F(BoardTest, HandTilesAreNamedFocusableButtonsPlayedByKeyboard) {
    Prepare("small4");
    auto w = Open();
    QApplication::setActiveWindow(w.get());
    w->StartGame(21);
    board::TableView* t = w->table();
    // Seat 0 deals: the player holds fourteen tiles and must discard.
    ASSERT_TRUE(RunUntil([&] { return t->deciding(); }));
    ASSERT_EQ(t->view().phase, riichi::Phase::Turn);
    auto tiles = t->handTiles();
    ASSERT_EQ(tiles.size(), 14u);
    for (board::HandTile* h : tiles) {
        EXPECT_EQ(h->focusPolicy(), Qt::StrongFocus);
        EXPECT_EQ(h->accessibleName(), board::TileSpokenName(h->tile()));
        EXPECT_FALSE(h->accessibleName().isEmpty());
    }
    EXPECT_EQ(tiles.back()->tile(), t->view().drawn);
    EXPECT_EQ(tiles.back()->accessibleDescription(), QString::fromUtf8("ツモ牌"));
    // The turn brings the keyboard to the drawn tile.
    EXPECT_TRUE(tiles.back()->hasFocus());
    // The table itself reads as a line of text.
    EXPECT_TRUE(t->accessibleDescription().startsWith(QString::fromUtf8("東1局 0本場 残り")))
        << t->accessibleDescription().toStdString();
    EXPECT_TRUE(t->accessibleDescription().contains(QString::fromUtf8("手番: guest")));

    // Arrow keys walk along the hand (and wrap); Enter discards.
    QApplication::setActiveWindow(w.get());
    tiles[0]->setFocus(Qt::OtherFocusReason);
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(tiles[0], &right);
    EXPECT_TRUE(tiles[1]->hasFocus());
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QApplication::sendEvent(tiles[1], &left);
    QApplication::sendEvent(tiles[0], &left);
    EXPECT_TRUE(tiles.back()->hasFocus());
    int discarded = tiles.back()->tile();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(tiles.back(), &enter);
    ASSERT_TRUE(RunUntil([&] { return !t->view().rivers[0].empty(); }));
    EXPECT_EQ(t->view().rivers[0].front().tile, discarded);
    // The tile left the hand (tile ids are physical: no other copy is it).
    const auto& hand = t->view().concealed;
    EXPECT_EQ(std::find(hand.begin(), hand.end(), discarded), hand.end());
    EXPECT_NE(t->view().drawn, discarded);
}

TEST_F(BoardTest, EveryLayoutFitsItsWindow) {
    struct Case {
        const char* layout;
        int width, height;
    };
    const char* shots = std::getenv("ZV_BOARD_SHOTS");  // a folder: pictures of the board for the README
    for (const Case& c : {Case{"small", 640, 480}, Case{"small4", 800, 600}, Case{"large", 800, 600},
                          Case{"large4", 1024, 768}}) {
        SCOPED_TRACE(c.layout);
        Prepare(c.layout);
        for (TileLook look : {TileLook::Flat, TileLook::Real}) {
            auto w = Open(look);
            EXPECT_EQ(w->size(), QSize(c.width, c.height));
            w->StartGame(4);
            board::TableView* t = w->table();
            QRect inside = t->rect();
            QString suffix = QString("%1-%2").arg(c.layout).arg(look == TileLook::Flat ? "flat" : "real");
            // Every decision up to the first hand's end: the hand, the
            // buttons and the seat cards fit, nothing overlaps.
            bool buttonsShot = false;
            for (int step = 0; step < 400 && !w->resultPanel()->isVisible(); ++step) {
                ASSERT_TRUE(RunUntil([&] { return Waiting(*w); }));
                if (w->resultPanel()->isVisible()) break;
                QRect previous;
                for (board::HandTile* h : t->handTiles()) {
                    EXPECT_TRUE(inside.contains(h->geometry())) << h->accessibleName().toStdString();
                    EXPECT_FALSE(previous.intersects(h->geometry()));
                    previous = h->geometry();
                }
                std::vector<QRect> taken;
                for (QPushButton* b : t->actionButtons()) {
                    EXPECT_TRUE(inside.contains(b->geometry())) << b->text().toStdString();
                    EXPECT_GE(b->width(), b->sizeHint().width()) << b->text().toStdString();
                    for (const QRect& other : taken) EXPECT_FALSE(b->geometry().intersects(other));
                    for (board::HandTile* h : t->handTiles())
                        EXPECT_FALSE(b->geometry().intersects(h->geometry()));
                    taken.push_back(b->geometry());
                }
                for (QLabel* label : t->findChildren<QLabel*>()) {
                    if (!label->objectName().startsWith("Seat") || label->text().isEmpty()) continue;
                    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width() + 1)
                        << label->text().toStdString();
                }
                // Pictures: a few discards in, and the first time buttons are offered.
                if (shots != nullptr && step == 9)
                    w->grab().save(QString(shots) + "/board-" + suffix + ".png");
                if (shots != nullptr && !buttonsShot && !t->actionButtons().empty()) {
                    w->grab().save(QString(shots) + "/buttons-" + suffix + ".png");
                    buttonsShot = true;
                }
                Decide(*w);
            }
            ASSERT_TRUE(w->resultPanel()->isVisible());
            EXPECT_TRUE(inside.contains(w->resultPanel()->geometry()));
            QApplication::processEvents();
            if (shots != nullptr) w->grab().save(QString(shots) + "/result-" + suffix + ".png");
            closeAnswer_ = true;
            w->close();
        }
    }
}

TEST_F(BoardTest, UnsortedHandKeepsTheOrderTilesCameInAndMenuSetsOptions) {
    Prepare("small");
    auto w = Open();
    board::TableView* t = w->table();
    // The menu's options reach the board.
    w->findChild<QAction*>("PaceFastAction")->trigger();
    EXPECT_EQ(w->pace(), board::Pace::Fast);
    w->findChild<QAction*>("PaceInstantAction")->trigger();
    EXPECT_EQ(w->pace(), board::Pace::Instant);
    w->findChild<QAction*>("ShowWaitsAction")->trigger();
    EXPECT_FALSE(t->showWaits());
    EXPECT_TRUE(t->waitsText().isEmpty());
    w->findChild<QAction*>("SortHandAction")->trigger();
    EXPECT_FALSE(t->sortHand());

    w->StartGame(17);
    std::vector<int> before;  // the concealed tiles shown, without the drawn one
    int checked = 0;
    for (int step = 0; step < 60; ++step) {
        ASSERT_TRUE(RunUntil([&] { return Waiting(*w); }));
        if (w->resultPanel()->isVisible()) break;
        std::vector<int> shown;
        for (board::HandTile* h : t->handTiles())
            if (h->tile() != t->view().drawn) shown.push_back(h->tile());
        // What stayed keeps its place; what came joins at the right.
        std::vector<int> kept;
        for (int tile : before)
            if (std::find(shown.begin(), shown.end(), tile) != shown.end()) kept.push_back(tile);
        ASSERT_GE(shown.size(), kept.size());
        EXPECT_TRUE(std::equal(kept.begin(), kept.end(), shown.begin())) << "step " << step;
        before = shown;
        ++checked;
        Decide(*w);
    }
    EXPECT_GT(checked, 5);
    // Sorting again puts the hand in order at once.
    w->findChild<QAction*>("SortHandAction")->trigger();
    std::vector<int> shown;
    for (board::HandTile* h : t->handTiles())
        if (h->tile() != t->view().drawn) shown.push_back(h->tile());
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
}

}  // namespace
}  // namespace zv::test
