#include "app/one_player.h"

#include <cstdlib>
#include <filesystem>

#include "app/engine_paths.h"
#include "config/launcher_settings.h"

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

std::string ThreePlayerResultsName(const std::string& name) { return name + ".sanma.res"; }

std::string OnePlayerGame::PlayerDir(const EngineOptions& o, const std::string& installDir) const {
    if (!o.baseDir.empty() || players_ != 3) return o.baseDir;
    return installDir + "usr/" + o.name;
}

void OnePlayerGame::ReadRules(const std::string& dir, std::vector<std::string>& warnings) {
    rules_ = riichi::Rules{};
    rulesRead_ = ReadRulesFile(JoinPath(dir, "zelvan1.pf"), rules_);
    if (!rulesRead_)
        warnings.push_back("ルールファイル zelvan1.pf が見つからないため、標準のルールで対局します");
    // The number of players is the program's, whatever a rules file says.
    rules_.threePlayer = false;
    if (players_ != 3) return;
    rules_ = riichi::ThreePlayerRules(rules_);
    // The three-player overrides are optional: only a file that is there
    // but cannot be read is worth a word.
    const std::string overrides = JoinPath(dir, kThreePlayerRulesFile);
    std::error_code ec;
    if (std::filesystem::exists(overrides, ec) && !ReadRulesFile(overrides, rules_))
        warnings.push_back(std::string("ルールファイル ") + kThreePlayerRulesFile + " を読めませんでした");
    rules_.threePlayer = true;
}

std::vector<std::string> OnePlayerGame::Opponents(const EngineOptions& o, const std::string& dir,
                                                  std::vector<std::string>& warnings) const {
    const std::size_t count = static_cast<std::size_t>(players_ - 1);
    std::vector<std::string> names = o.opponents;
    if (names.empty() && players_ == 3) {
        // The opponents the player last chose in the launcher.
        LauncherSettings stored;
        stored.UserDir = dir;
        ReadLauncherSettings(stored);
        names = {stored.player1, stored.player2};
    }
    const char* defaults[] = {"_todo", "_min", "_wizard"};
    if (names.size() > count)
        warnings.push_back(players_ == 3 ? "more than two opponents given, the first two play"
                                         : "more than three opponents given, the first three play");
    names.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        if (names[i].empty()) names[i] = defaults[i];
    return names;
}

std::string OnePlayerGame::Prepare(const EngineOptions& o, const std::string& installDir,
                                   const std::string& program, std::vector<std::string>& warnings) {
    program_ = program;
    if (o.baseDir.empty() && players_ != 3) return "no player directory given (-B)";
    if (o.name.empty()) return "no player name given (-n)";
    if (!IsPlainName(o.name)) return "\"" + o.name + "\" cannot be a player name";
    const std::string dir = PlayerDir(o, installDir);
    if (!IsDirectory(dir)) {
        if (o.baseDir.empty())
            return "プレーヤ " + o.name + " のフォルダ " + dir +
                   " がありません。ランチャーでプレーヤを登録してから遊んでください。";
        return dir + ": the player directory does not exist";
    }
    std::string recordFile = o.recordFile;
    if (recordFile.empty() && players_ == 3) recordFile = JoinPath(dir, kThreePlayerRecordFile);
    if (!recordFile.empty()) {
        std::string problem = CheckRecordPath(recordFile);
        if (!problem.empty()) return problem;
    }
    bool known = true;
    layout_ = LayoutFor(o.layout, known);
    if (!known && !o.layout.empty()) warnings.push_back("unknown layout \"" + o.layout + "\", using small");

    ReadRules(dir, warnings);
    if (o.length == 1) rules_.eastOnly = true;
    if (o.length == 2) rules_.eastOnly = false;
    sounds_ = ReadSoundTable(JoinPath(dir, "sound.nuc"));

    seats_ = {};
    styles_ = {};
    faces_ = {};
    seats_[0] = {o.name, o.name};
    // Until a board takes the player's decisions, the player's seat is played
    // by the computer player of the player's own character file, if any.
    ReadCharacterFile(JoinPath(dir, o.name + ".pf"), styles_[0].style);
    styles_[0].style.displayName.clear();
    faces_[0] = FacePath(installDir, o.name);
    const std::vector<std::string> opponents = Opponents(o, dir, warnings);
    for (std::size_t i = 0; i < opponents.size(); ++i) {
        const std::string& name = opponents[i];
        RecordSeat& seat = seats_[i + 1];
        SeatStyle& style = styles_[i + 1];
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
    resultsPath_ = JoinPath(dir, players_ == 3 ? ThreePlayerResultsName(o.name) : o.name + ".res");
    recordPath_ = recordFile;
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
