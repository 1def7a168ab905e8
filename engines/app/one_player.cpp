#include "app/one_player.h"

#include <cstdlib>
#include <filesystem>

#include "app/engine_paths.h"

namespace zv::engine {

Layout LayoutFor(const std::string& word, bool& known) {
    known = true;
    if (word == "small") return {"small", 640, 480};
    if (word == "small4") return {"small4", 800, 600};
    if (word == "large") return {"large", 800, 600};
    if (word == "large4") return {"large4", 1024, 768};
    known = false;
    return {"small", 640, 480};
}

std::string FacePath(const std::string& installDir, const std::string& name) {
    std::error_code ec;
    if (IsPlainName(name)) {
        std::string own = installDir + "usr/" + name + "/" + name + ".bmp";
        if (std::filesystem::is_regular_file(own, ec)) return own;
    }
    std::string fallback = installDir + "usr/_default/_default.bmp";
    if (std::filesystem::is_regular_file(fallback, ec)) return fallback;
    return {};
}

int AutoplayCount() {
    const char* env = std::getenv("ZV_ENGINE_AUTOPLAY");
    if (env == nullptr || *env == '\0') return 0;
    char* end = nullptr;
    long n = std::strtol(env, &end, 10);
    if (*end != '\0' || n <= 0 || n > 10000) return -1;
    return static_cast<int>(n);
}

std::string OnePlayerGame::Prepare(const EngineOptions& o, const std::string& installDir,
                                   const std::string& program, std::vector<std::string>& warnings) {
    program_ = program;
    if (o.baseDir.empty()) return "no player directory given (-B)";
    if (!IsDirectory(o.baseDir)) return o.baseDir + ": the player directory does not exist";
    if (o.name.empty()) return "no player name given (-n)";
    if (!IsPlainName(o.name)) return "\"" + o.name + "\" cannot be a player name";
    if (!o.recordFile.empty()) {
        std::string problem = CheckRecordPath(o.recordFile);
        if (!problem.empty()) return problem;
    }
    bool known = true;
    layout_ = LayoutFor(o.layout, known);
    if (!known && !o.layout.empty()) warnings.push_back("unknown layout \"" + o.layout + "\", using small");

    rules_ = riichi::Rules{};
    rulesRead_ = ReadRulesFile(JoinPath(o.baseDir, "zelvan1.pf"), rules_);
    if (!rulesRead_)
        warnings.push_back("ルールファイル zelvan1.pf が見つからないため、標準のルールで対局します");
    if (o.length == 1) rules_.eastOnly = true;
    if (o.length == 2) rules_.eastOnly = false;
    sounds_ = ReadSoundTable(JoinPath(o.baseDir, "sound.nuc"));

    seats_[0] = {o.name, o.name};
    styles_[0] = SeatStyle{};
    // Until a board takes the player's decisions, the player's seat is played
    // by the computer player of the player's own character file, if any.
    ReadCharacterFile(JoinPath(o.baseDir, o.name + ".pf"), styles_[0].style);
    styles_[0].style.displayName.clear();
    faces_[0] = FacePath(installDir, o.name);
    const char* defaults[] = {"_todo", "_min", "_wizard"};
    if (o.opponents.size() > 3) warnings.push_back("more than three opponents given, the first three play");
    for (std::size_t i = 0; i < 3; ++i) {
        std::string name = i < o.opponents.size() ? o.opponents[i] : defaults[i];
        RecordSeat& seat = seats_[i + 1];
        SeatStyle& style = styles_[i + 1];
        style = SeatStyle{};
        seat = {OneWord(name), ""};
        if (IsPlainName(name)) {
            std::string pf = installDir + "usr/" + name + "/" + name + ".pf";
            if (!ReadCharacterFile(pf, style.style))
                warnings.push_back("no character file for " + name + ", default style");
        } else {
            warnings.push_back("\"" + name + "\" cannot be a character name, default style");
        }
        seat.displayName = style.style.displayName.empty() ? seat.name : OneWord(style.style.displayName);
        faces_[i + 1] = FacePath(installDir, name);
    }
    resultsPath_ = JoinPath(o.baseDir, o.name + ".res");
    recordPath_ = o.recordFile;
    return {};
}

std::string OnePlayerGame::PlayOne(std::uint64_t seed) { return File(PlayGame(rules_, styles_, seed)); }

std::string OnePlayerGame::File(const GameOutcome& game) {
    last_ = game;
    ++gamesPlayed_;
    std::string problems = AppendResults(resultsPath_, last_.players[0]);
    if (!recordPath_.empty()) {
        auto block = RecordLines(gamesPlayed_, program_, rules_, seats_, last_);
        recordBlocks_.insert(recordBlocks_.end(), block.begin(), block.end());
        std::string problem = SaveRecord(recordPath_, recordBlocks_);
        if (!problem.empty()) problems += (problems.empty() ? "" : "\n") + problem;
    }
    return problems;
}

}  // namespace zv::engine
