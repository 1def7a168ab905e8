// The record player: a recorded one-player game stepped through action by
// action ends with the record's final scores, stepping back and jumping to
// a hand show the same tables as the replay, every seat's tiles are face up,
// and files that cannot be replayed are explained in the window.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

#include "app/one_player.h"
#include "board/table_view.h"
#include "board/tile_painter.h"
#include "board_test_support.h"
#include "config/file_io.h"
#include "plview/replay_window.h"
#include "riichi/game.h"
#include "support/temp_dir.h"

namespace zv::test {
namespace {

class ReplayWindowTest : public ::testing::Test {
protected:
    // Plays `games` one-player games into a record file and returns its path.
    std::string Record(int games, const std::string& rules = "param: tonpu = 1\r\n") {
        std::string user = dir_.Path("usr/guest");
        std::filesystem::create_directories(user);
        dir_.Write("usr/guest/zelvan1.pf", rules);
        engine::EngineOptions options;
        options.baseDir = user;
        options.name = "guest";
        options.recordFile = user + "/zelvan1.fu";
        engine::OnePlayerGame game;
        std::vector<std::string> warnings;
        EXPECT_EQ(game.Prepare(options, dir_.path() + "/", "zelvan1", warnings), "");
        for (int i = 0; i < games; ++i) EXPECT_EQ(game.PlayOne(4000 + static_cast<std::uint64_t>(i)), "");
        return options.recordFile;
    }

    engine::RecordedGame ReadBack(const std::string& path, int game = 0) {
        return engine::ParseRecord(*ReadTextFile(path)).games.at(static_cast<std::size_t>(game));
    }

    QPushButton* Button(const char* name) { return window_.findChild<QPushButton*>(name); }

    TempDir dir_;
    replay::ReplayWindow window_{board::TileLook::Flat};
};

TEST_F(ReplayWindowTest, SteppingThroughARecordedGameEndsWithItsFinalScores) {
    std::string path = Record(1, "param: tonpu = 0\r\n");
    ASSERT_TRUE(window_.Open(path)) << window_.problemText().toStdString();
    engine::RecordedGame recorded = ReadBack(path);
    const engine::GameReplay& replay = window_.replay();
    ASSERT_EQ(replay.HandCount(), static_cast<int>(recorded.hands.size()));
    EXPECT_FALSE(Button("BackButton")->isEnabled());
    int clicks = 0, expected = 0;
    for (int h = 0; h < replay.HandCount(); ++h) expected += replay.Steps(h) + 1;
    while (Button("ForwardButton")->isEnabled() && clicks < 100000) {
        Button("ForwardButton")->click();
        ++clicks;
        // At every hand's end the window shows the record's scores for it.
        if (window_.step() == replay.Steps(window_.handIndex())) {
            const auto& scores = recorded.hands[static_cast<std::size_t>(window_.handIndex())].scoresAfter;
            for (int s : scores)
                EXPECT_NE(window_.resultText().indexOf(QString::number(s)), -1) << window_.handIndex();
        }
    }
    EXPECT_EQ(clicks, expected - 1);
    EXPECT_EQ(window_.handIndex(), replay.HandCount() - 1);
    QString standings = window_.resultText();
    ASSERT_NE(standings.indexOf(QString::fromUtf8("対局終了")), -1) << standings.toStdString();
    for (const engine::RecordedFinal& f : recorded.finals) {
        const riichi::SeatTotals& t = replay.Finished()->Totals()[static_cast<std::size_t>(f.seat)];
        EXPECT_EQ(t.finalScore, f.score);
        EXPECT_EQ(t.points, f.points);
        EXPECT_NE(standings.indexOf(QString::fromUtf8("%1位").arg(f.place)), -1);
        EXPECT_NE(standings.indexOf(QString::number(f.score)), -1);
    }
}

// A three-player record: three seats on the table, the empty one neither
// drawn nor in the standings, which are the record's.
TEST_F(ReplayWindowTest, ThreePlayerRecordsShowThreeSeats) {
    std::string user = dir_.Path("usr/guest");
    std::filesystem::create_directories(user);
    engine::EngineOptions options;
    options.baseDir = user;
    options.name = "guest";
    engine::OnePlayerGame game(3);
    std::vector<std::string> warnings;
    ASSERT_EQ(game.Prepare(options, dir_.path() + "/", "sanma1", warnings), "");
    ASSERT_EQ(game.PlayOne(4100), "");
    ASSERT_TRUE(window_.Open(game.recordPath())) << window_.problemText().toStdString();
    window_.show();
    board::TableView* table = window_.table();
    EXPECT_EQ(table->view().players, 3);
    EXPECT_FALSE(table->findChild<QWidget*>("SeatCard2")->isVisible());
    EXPECT_TRUE(table->findChild<QWidget*>("SeatCard3")->isVisible());
    while (Button("ForwardButton")->isEnabled()) Button("ForwardButton")->click();
    QString standings = window_.resultText();
    ASSERT_NE(standings.indexOf(QString::fromUtf8("対局終了")), -1) << standings.toStdString();
    EXPECT_NE(standings.indexOf(QString::fromUtf8("3位")), -1);
    EXPECT_EQ(standings.indexOf(QString::fromUtf8("4位")), -1) << standings.toStdString();
    for (const engine::RecordedFinal& f : ReadBack(game.recordPath()).finals)
        EXPECT_NE(standings.indexOf(QString::number(f.score)), -1) << f.seat;
    if (const char* shots = std::getenv("ZV_BOARD_SHOTS"))
        window_.grab().save(QString(shots) + "/sanma-plview.png");
}

TEST_F(ReplayWindowTest, BackwardsAndJumpsShowTheReplaysTablesWithEveryHandOpen) {
    std::string path = Record(2);
    ASSERT_TRUE(window_.Open(path));
    const engine::GameReplay& replay = window_.replay();
    ASSERT_GE(replay.HandCount(), 2);

    auto* hands = window_.findChild<QComboBox*>("HandList");
    ASSERT_EQ(hands->count(), replay.HandCount());
    window_.GoTo(1, 0);
    EXPECT_EQ(hands->currentIndex(), 1);
    EXPECT_NE(window_.stepText().indexOf(QString::fromUtf8("配牌")), -1);
    // One step back from a deal is the end of the hand before.
    Button("BackButton")->click();
    EXPECT_EQ(window_.handIndex(), 0);
    EXPECT_EQ(window_.step(), replay.Steps(0));
    for (int step = replay.Steps(0); step > replay.Steps(0) - 5; --step) {
        riichi::Hand state = replay.StateAt(0, window_.step());
        EXPECT_EQ(window_.table()->view().concealed, state.View(0).concealed);
        for (int s = 1; s < 4; ++s)
            EXPECT_EQ(window_.table()->openHands()[static_cast<std::size_t>(s)], state.Concealed(s));
        EXPECT_TRUE(window_.table()->view().legal.empty());  // nothing to decide in a replay
        Button("BackButton")->click();
        EXPECT_EQ(window_.step(), step - 1);
    }
    // Forward after back is where it was.
    Button("ForwardButton")->click();
    EXPECT_EQ(window_.step(), replay.Steps(0) - 4);
    Button("NextHandButton")->click();
    EXPECT_EQ(window_.handIndex(), 1);
    EXPECT_EQ(window_.step(), 0);
    Button("PreviousHandButton")->click();
    EXPECT_EQ(window_.handIndex(), 0);

    // A record of two games: the second one is chosen from the game list.
    auto* games = window_.findChild<QComboBox*>("GameList");
    ASSERT_EQ(games->count(), 2);
    window_.SelectGame(1);
    EXPECT_EQ(window_.gameIndex(), 1);
    EXPECT_EQ(window_.replay().Record()->seed, ReadBack(path, 1).seed);
    window_.SelectGame(7);  // out of range: nothing changes
    EXPECT_EQ(window_.gameIndex(), 1);
}

TEST_F(ReplayWindowTest, RecordsThatCannotBeReplayedAreExplained) {
    // Started without a file (the record dialog with an empty path).
    EXPECT_NE(window_.stepText().indexOf(QString::fromUtf8("開いてください")), -1);
    EXPECT_NE(Button("OpenButton"), nullptr);
    EXPECT_FALSE(window_.Open(dir_.Path("missing.fu")));
    EXPECT_NE(window_.problemText().indexOf(QString::fromUtf8("読めません")), -1);
    window_.StepForward();  // nothing to step through, nothing breaks
    window_.NextHand();
    EXPECT_FALSE(Button("ForwardButton")->isEnabled());

    dir_.Write("note.fu", "not a record\r\n");
    EXPECT_FALSE(window_.Open(dir_.Path("note.fu")));
    EXPECT_NE(window_.problemText().indexOf(QString::fromUtf8("見つかりません")), -1);

    // A record written before the actions were kept.
    std::string path = Record(1);
    std::string text = *ReadWholeFile(path), old;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        std::string line = text.substr(at, end - at + 1);
        if (line.rfind("act: ", 0) != 0) old += line;
        at = end + 1;
    }
    dir_.Write("old.fu", old);
    EXPECT_FALSE(window_.Open(dir_.Path("old.fu")));
    EXPECT_NE(window_.problemText().indexOf(QString::fromUtf8("no actions recorded")), -1)
        << window_.problemText().toStdString();
    EXPECT_EQ(window_.replay().HandCount(), 0);
}

TEST_F(ReplayWindowTest, PlayingGoesOnAtTheChosenSpeedToTheEndOfTheGame) {
    std::string path = Record(1);
    ASSERT_TRUE(window_.Open(path));
    auto* speeds = window_.findChild<QComboBox*>("SpeedList");
    ASSERT_NE(speeds, nullptr);
    EXPECT_EQ(window_.speed(), replay::PlaySpeed::Normal);
    // Each speed is slower than the next.
    for (int i = 0; i + 1 < speeds->count(); ++i)
        EXPECT_GT(replay::PlayInterval(static_cast<replay::PlaySpeed>(i)),
                  replay::PlayInterval(static_cast<replay::PlaySpeed>(i + 1)));
    speeds->setCurrentIndex(2);
    emit speeds->activated(2);
    EXPECT_EQ(window_.speed(), replay::PlaySpeed::Fast);
    auto* timer = window_.findChild<QTimer*>();
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), replay::PlayInterval(replay::PlaySpeed::Fast));

    Button("PlayButton")->click();
    EXPECT_TRUE(window_.playing());
    EXPECT_EQ(Button("PlayButton")->text(), QString::fromUtf8("停止"));
    const engine::GameReplay& replay = window_.replay();
    int steps = 0;
    while (window_.playing() && steps < 100000) {
        window_.PlayStep();  // what the timer does at each tick
        ++steps;
    }
    // It went through every action of every hand, and stopped at the end.
    int expected = 0;
    for (int h = 0; h < replay.HandCount(); ++h) expected += replay.Steps(h) + 1;
    EXPECT_EQ(steps, expected - 1);
    EXPECT_EQ(window_.handIndex(), replay.HandCount() - 1);
    EXPECT_FALSE(Button("ForwardButton")->isEnabled());
    EXPECT_EQ(Button("PlayButton")->text(), QString::fromUtf8("再生"));
    Button("PlayButton")->click();  // at the end there is nothing to play
    EXPECT_FALSE(window_.playing());
    if (const char* shot = std::getenv("ZV_PLVIEW_SHOT"); shot != nullptr) {
        window_.show();
        window_.GoTo(0, 30);
        window_.grab().save(QString::fromUtf8(shot));
    }
}

TEST_F(ReplayWindowTest, TilesAreNamedAsTheBoardNamesThem) {
    const riichi::TileId fiveOfCharacters = 4 * 4 + 1, east = 27 * 4;
    EXPECT_EQ(replay::ActionDescription({riichi::ActionType::Discard, fiveOfCharacters}),
              QString::fromUtf8("打 ") + board::TileSpokenName(fiveOfCharacters));
    EXPECT_EQ(replay::ActionDescription({riichi::ActionType::Pon, east}), QString::fromUtf8("ポン 東"));
    EXPECT_EQ(replay::ActionDescription({riichi::ActionType::ClosedKan, east}), QString::fromUtf8("暗槓 東"));

    // Through a whole game no line uses the short codes ("5m", "1z").
    std::string path = Record(1);
    ASSERT_TRUE(window_.Open(path));
    QRegularExpression code("[0-9][mpsz]");
    bool won = false;
    while (Button("ForwardButton")->isEnabled()) {
        Button("ForwardButton")->click();
        EXPECT_FALSE(window_.stepText().contains(code)) << window_.stepText().toStdString();
        EXPECT_FALSE(window_.resultText().contains(code)) << window_.resultText().toStdString();
        won = won || window_.resultText().contains(QString::fromUtf8("和了"));
    }
    EXPECT_TRUE(won);
}

TEST_F(ReplayWindowTest, NoBandOpensBetweenTheTableAndTheHand) {
    window_.show();
    for (QSize size : {QSize(820, 1000), QSize(1100, 700), QSize(700, 900)}) {
        window_.resize(size);
        QApplication::processEvents();
        board::TableView* table = window_.table();
        EXPECT_LE(table->height(), board::TableView::HeightFor(table->width()))
            << size.width() << "x" << size.height();
    }
}

}  // namespace
}  // namespace zv::test
