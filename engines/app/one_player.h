#pragma once
// The one-player game without its window: checks the options, reads the
// rules, the characters (the player's own seat plays by its character file,
// or the default style, while no board takes its decisions) and the event
// sounds, and plays games, appending the player's results and rewriting the
// run's record.
//
// With four players (zelvan1) the player meets three opponents. With three
// (sanma1) the player meets two, seat 3 stays empty, and the game keeps its
// own files: the rules of zelvan1.pf made three-player, then the overrides
// of sanma1.pf; the results in <NAME>.sanma.res; the record in sanma1.fu
// unless -l names another. Without -B the player's folder is
// <install>usr/<NAME>/, as the launcher makes it.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/engine_options.h"
#include "format/game_outcome.h"
#include "format/game_record.h"
#include "format/game_rules.h"

namespace zv::engine {

struct Layout {
    std::string word;  // small, small4, large, large4
    int width = 640;
    int height = 480;
};
// The window size for a -T word; an unknown or empty word gives "small".
Layout LayoutFor(const std::string& word, bool& known);

// The three-player game's files in the player's folder.
inline constexpr const char* kThreePlayerRulesFile = "sanma1.pf";
inline constexpr const char* kThreePlayerRecordFile = "sanma1.fu";
// "<name>.sanma.res": never the four-player "<name>.res" of the same folder.
std::string ThreePlayerResultsName(const std::string& name);

class OnePlayerGame {
public:
    // `players` is 4 or 3.
    explicit OnePlayerGame(int players = 4) : players_(players == 3 ? 3 : 4) {}

    // `installDir` ends with '/'. Returns an empty string when the options
    // can be played, else the message to show; `warnings` collects what is
    // only worth mentioning.
    std::string Prepare(const EngineOptions& options, const std::string& installDir,
                        const std::string& program, std::vector<std::string>& warnings);

    // Plays one game with a computer player in every seat, then files it;
    // returns an empty string or a message about a file that could not be
    // written (the game itself is always played).
    std::string PlayOne(std::uint64_t seed);

    // Files a finished game played elsewhere (the board): appends the
    // player's results and rewrites the record, as PlayOne does.
    std::string File(const GameOutcome& game);

    int players() const { return players_; }
    const riichi::Rules& rules() const { return rules_; }
    bool rulesFileRead() const { return rulesRead_; }
    const std::array<RecordSeat, 4>& seats() const { return seats_; }
    const std::array<SeatStyle, 4>& styles() const { return styles_; }
    const std::array<std::string, 4>& faces() const { return faces_; }  // empty: draw a placeholder
    const SoundTable& sounds() const { return sounds_; }
    const Layout& layout() const { return layout_; }
    const std::string& resultsPath() const { return resultsPath_; }
    const std::string& recordPath() const { return recordPath_; }
    int gamesPlayed() const { return gamesPlayed_; }
    const GameOutcome& lastGame() const { return last_; }

private:
    std::string PlayerDir(const EngineOptions& options, const std::string& installDir) const;
    void ReadRules(const std::string& dir, std::vector<std::string>& warnings);
    std::vector<std::string> Opponents(const EngineOptions& options, const std::string& dir,
                                       std::vector<std::string>& warnings) const;

    int players_ = 4;
    std::string program_;
    riichi::Rules rules_;
    bool rulesRead_ = false;
    std::array<RecordSeat, 4> seats_{};
    std::array<SeatStyle, 4> styles_{};
    std::array<std::string, 4> faces_{};
    SoundTable sounds_;
    Layout layout_;
    std::string resultsPath_;
    std::string recordPath_;
    int gamesPlayed_ = 0;
    std::vector<std::string> recordBlocks_;
    GameOutcome last_;
};

// The face picture of a character: usr/<name>/<name>.bmp, else
// usr/_default/_default.bmp, else empty.
std::string FacePath(const std::string& installDir, const std::string& name);

// ZV_ENGINE_AUTOPLAY: the number of games to play without a window, or 0.
// A value that is not a positive number gives -1.
int AutoplayCount();

}  // namespace zv::engine
