// Game records end to end: the one-player engine plays and records games in
// a throw-away installation folder whose path holds a blank; the record
// player, started the way the record dialog starts it (the path unquoted,
// so split at the blank), replays them to the place and points of the
// player's results lines; the analyser reviews them and exports each game as
// mjai lines that pass the validator. The three-player engine's records
// replay and are reviewed the same way.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "mjai/mjai.h"
#include "riichi/game.h"
#include "support/temp_dir.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::string>;

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

Words Lines(const std::string& text) {
    Words lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// Each results line ("result: PLACE POINTS ...") against the replay's
// final line of seat 0 ("  final: 0 PLACE SCORE POINTS ..."), game by game.
void ExpectSamePlacesAndPoints(const Words& results, const Words& finals) {
    for (std::size_t g = 0; g < results.size() && g < finals.size(); ++g) {
        std::istringstream r(results[g]), f(finals[g]);
        std::string word;
        int place = 0, points = 0, seat = 0, replayPlace = 0, score = 0, replayPoints = 0;
        r >> word >> place >> points;
        f >> word >> seat >> replayPlace >> score >> replayPoints;
        EXPECT_EQ(replayPlace, place) << results[g] << " / " << finals[g];
        EXPECT_EQ(replayPoints, points) << results[g] << " / " << finals[g];
    }
}

class RecordsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(inst_ + "usr/guest");
        for (const char* program : {"zelvan1", "sanma1", "plview", "pad"})
            fs::copy_file(std::string(ZV_STAGE_DIR) + program, inst_ + program);
        if (fs::is_directory(std::string(ZV_STAGE_DIR) + "usr"))
            fs::copy(std::string(ZV_STAGE_DIR) + "usr", inst_ + "usr",
                     fs::copy_options::recursive | fs::copy_options::skip_existing);
    }

    // Runs a program to its end; its stdout lands in out_.
    int Run(const std::string& program, const Words& args, const Words& extraEnv) {
        Words env;
        for (char** e = environ; *e != nullptr; ++e)
            if (std::string(*e).rfind("ZV_", 0) != 0) env.push_back(*e);
        env.push_back("QT_QPA_PLATFORM=offscreen");
        env.insert(env.end(), extraEnv.begin(), extraEnv.end());
        Words all{inst_ + program};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv, envp;
        for (auto& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        std::string outPath = root_.Path("out"), errPath = root_.Path("err");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t pid = -1;
        int started = posix_spawn(&pid, all[0].c_str(), &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (started != 0) return -1;
        int status = 0;
        ::waitpid(pid, &status, 0);
        out_ = Read(outPath);
        err_ = Read(errPath);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    }

    zv::test::TempDir root_;
    std::string inst_ = root_.Path("my games") + "/";
    std::string user_ = inst_ + "usr/guest";
    std::string out_, err_;
};

TEST_F(RecordsTest, RecordedGamesReplayReviewAndExport) {
    std::string record = user_ + "/zelvan1.fu";
    ASSERT_EQ(Run("zelvan1", {"-B", user_, "-n", "guest", "-H", "-l", record},
                  {"ZV_ENGINE_AUTOPLAY=2", "ZV_ENGINE_SEED=2718"}),
              0)
        << err_;

    // The record dialog's replay: "plview.exe " and the path as it is.
    ASSERT_NE(record.find(' '), std::string::npos);
    Words split;
    std::istringstream words(record);
    for (std::string w; words >> w;) split.push_back(w);
    ASSERT_EQ(Run("plview", split, {"ZV_ENGINE_AUTOPLAY=1"}), 0) << err_ << out_;
    // The player's results lines, game by game, and the replay's finals of
    // seat 0: the same place and points.
    Words results, finals;
    for (const auto& line : Lines(Read(user_ + "/guest.res")))
        if (line.rfind("result: ", 0) == 0) results.push_back(line);
    for (const auto& line : Lines(out_))
        if (line.rfind("  final: 0 ", 0) == 0) finals.push_back(line);
    ASSERT_EQ(results.size(), 2u);
    ASSERT_EQ(finals.size(), 2u) << out_;
    ExpectSamePlacesAndPoints(results, finals);

    // The analyser reviews the player's discards.
    ASSERT_EQ(Run("pad", {record}, {"ZV_ENGINE_AUTOPLAY=1"}), 0) << err_;
    EXPECT_NE(out_.find("打牌の分析: guest (席0)"), std::string::npos) << out_;
    EXPECT_NE(out_.find("ゲームのまとめ: 打牌"), std::string::npos);
    EXPECT_EQ(out_.find("読めなかった行"), std::string::npos) << out_;

    // Each game exports as a sound mjai log.
    for (const char* game : {"1", "2"}) {
        ASSERT_EQ(Run("pad", {"--export", "mjai", "--game", game, record}, {}), 0) << err_;
        Words lines = Lines(out_);
        ASSERT_GT(lines.size(), 10u);
        auto problems = zv::mjai::Validate(lines);
        EXPECT_TRUE(problems.empty()) << problems[0].line << ": " << problems[0].text;
    }
    EXPECT_EQ(Run("pad", {"--export", "mjai", "--game", "3", record}, {}), 1);
    EXPECT_NE(err_.find("no game 3"), std::string::npos) << err_;
}

// sanma1 started as the launcher starts it (no -B: the player's folder
// beside it) writes sanma1.fu there; the record player replays each game to
// the place and points of the player's three-player results lines.
TEST_F(RecordsTest, ThreePlayerRecordsReplayAndAreReviewed) {
    ASSERT_EQ(Run("sanma1", {"-n", "guest", "-c"}, {"ZV_ENGINE_AUTOPLAY=2", "ZV_ENGINE_SEED=31"}), 0) << err_;
    std::string record = user_ + "/sanma1.fu";
    ASSERT_TRUE(fs::exists(record));
    EXPECT_FALSE(fs::exists(user_ + "/guest.res"));

    ASSERT_EQ(Run("plview", {record}, {"ZV_ENGINE_AUTOPLAY=1"}), 0) << err_ << out_;
    Words results, finals;
    int finalLines = 0;
    for (const auto& line : Lines(Read(user_ + "/guest.sanma.res")))
        if (line.rfind("result: ", 0) == 0) results.push_back(line);
    for (const auto& line : Lines(out_)) {
        if (line.rfind("  final: ", 0) == 0) ++finalLines;
        if (line.rfind("  final: 0 ", 0) == 0) finals.push_back(line);
    }
    ASSERT_EQ(results.size(), 2u);
    ASSERT_EQ(finals.size(), 2u) << out_;
    EXPECT_EQ(finalLines, 6) << "three seats a game";
    ExpectSamePlacesAndPoints(results, finals);

    for (const char* seat : {"0", "2", "3"}) {
        ASSERT_EQ(Run("pad", {"--seat", seat, record}, {"ZV_ENGINE_AUTOPLAY=1"}), 0) << seat << err_;
        EXPECT_EQ(out_.find("読めなかった行"), std::string::npos) << out_;
    }
}

}  // namespace
