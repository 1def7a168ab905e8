#include "zvarena/arena.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <sstream>
#include <thread>

#include "platform/env.h"
#include "riichi/game.h"
#include "riichi/table.h"

namespace zv::arena {
namespace {

std::size_t Ix(int i) { return static_cast<std::size_t>(i); }

// A personal file's integer word: optional sign or '$' for hexadecimal, then
// digits; reading stops at the first other character, and a sign counts only
// when the whole word was a number.
int WordInt(const std::string& word) {
    std::size_t i = 0;
    while (i < word.size() && word[i] == ' ') ++i;
    bool negative = false, hex = false;
    if (i < word.size() && (word[i] == '+' || word[i] == '-'))
        negative = word[i++] == '-';
    else if (i < word.size() && word[i] == '$') {
        hex = true;
        ++i;
    }
    long long value = 0;
    bool whole = true;
    for (; i < word.size(); ++i) {
        char c = word[i];
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0) {
            whole = false;
            break;
        }
        value = std::min<long long>(value * (hex ? 16 : 10) + digit, 1'000'000'000);
    }
    if (negative && whole) value = -value;
    return static_cast<int>(value);
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    for (char c : line) {
        if (c == ' ' || c == '\t' || c == '\r') {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

void ApplyWeight(players::Weights& w, const std::string& key, int value, int& zoneLines) {
    auto limited = [&](int& field) { field = std::clamp(value, 0, 1000); };
    if (key == "kyusyu")
        limited(w.kyusyu);
    else if (key == "random")
        limited(w.random);
    else if (key == "dora")
        limited(w.dora);
    else if (key == "color")
        limited(w.color);
    else if (key == "suji")
        limited(w.suji);
    else if (key == "zone") {
        // The first zone line is the same-tile weight and stands for the
        // number weight too until a later zone line gives that.
        if (zoneLines++ == 0) limited(w.zone);
        limited(w.number);
    } else if (key == "deep")
        w.deep = value;
    else if (key == "reach")
        limited(w.reach);
    else if (key == "kan")
        limited(w.kan);
    else if (key == "pon")
        limited(w.pon);
    else if (key == "tie")
        limited(w.tie);
    else if (key == "yomi")
        limited(w.yomi);
    else if (key == "tsuyoki")
        w.tsuyoki = value;
    else if (key == "chitoi")
        limited(w.chitoi);
    else if (key == "kokushi")
        limited(w.kokushi);
    else if (key == "toitoi")
        limited(w.toitoi);
    else if (key == "tanyao")
        limited(w.tanyao);
    else if (key == "yaku")
        limited(w.yaku);
}

bool ReadFile(const std::string& path, std::string& text) {
    std::unique_ptr<ReadableFile> file = CurrentEnv().OpenForReading(path);
    std::optional<std::string> bytes = file ? ReadToEnd(*file) : std::nullopt;
    if (!bytes) return false;
    text = std::move(*bytes);
    return true;
}

// splitmix64 finaliser: one 64-bit value from two.
std::uint64_t Mix(std::uint64_t a, std::uint64_t b) {
    std::uint64_t z = a + 0x9E3779B97F4A7C15ull * (b + 1);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::unique_ptr<players::Player> MakePlayer(const Entrant& e, std::uint64_t seed) {
    switch (e.kind) {
        case EntrantKind::Tsumogiri:
            return players::MakeTsumogiriPlayer();
        case EntrantKind::Efficiency:
            return players::MakeEfficiencyPlayer();
        case EntrantKind::Quick:
            return players::MakeQuickPlayer();
        default:
            return players::MakeCharacterPlayer(e.weights, seed);
    }
}

// One game's figures per seat, and a hash of its outcome.
struct GameOutcome {
    std::array<PlayerStats, 4> seats;
    std::uint64_t hash = 0;
};

GameOutcome PlayGame(const std::array<Entrant, 4>& entrants, const riichi::Rules& rules, int index,
                     std::uint64_t seed) {
    const int seats = rules.Players();
    std::uint64_t gameSeed = WallSeed(seed, index, seats);
    int rotation = index % seats;
    std::unique_ptr<riichi::Game> played = PlayRotation(entrants, rules, gameSeed, rotation);
    const riichi::Game& game = *played;

    GameOutcome out;
    std::uint64_t h = Mix(gameSeed, static_cast<std::uint64_t>(rotation));
    for (const riichi::HandResult& r : game.Results()) {
        for (int s = 0; s < seats; ++s) {
            PlayerStats& p = out.seats[Ix(s)];
            p.hands += 1;
            p.riichis += r.riichi[Ix(s)] ? 1 : 0;
            p.callHands += r.calls[Ix(s)] > 0 ? 1 : 0;
        }
        for (const riichi::WinResult& w : r.winners) {
            out.seats[Ix(w.seat)].wins += 1;
            out.seats[Ix(w.seat)].winPoints += w.score.points;
        }
        if (r.end == riichi::HandEnd::Ron && r.loser >= 0) out.seats[Ix(r.loser)].dealIns += 1;
        h = Mix(h, static_cast<std::uint64_t>(static_cast<int>(r.end)));
        for (int s = 0; s < seats; ++s)
            h = Mix(h, static_cast<std::uint64_t>(r.scoreDelta[Ix(s)] + 1'000'000));
    }
    const auto& totals = game.Totals();
    for (int s = 0; s < seats; ++s) {
        PlayerStats& p = out.seats[Ix(s)];
        p.games = 1;
        p.places[Ix(totals[Ix(s)].place - 1)] = 1;
        p.placeSum = totals[Ix(s)].place;
        p.finalScoreSum = totals[Ix(s)].finalScore;
        h = Mix(h, static_cast<std::uint64_t>(totals[Ix(s)].finalScore + 1'000'000));
    }
    out.hash = h;
    return out;
}

void Add(PlayerStats& into, const PlayerStats& from) {
    into.games += from.games;
    for (int i = 0; i < 4; ++i) into.places[Ix(i)] += from.places[Ix(i)];
    into.placeSum += from.placeSum;
    into.finalScoreSum += from.finalScoreSum;
    into.hands += from.hands;
    into.wins += from.wins;
    into.dealIns += from.dealIns;
    into.riichis += from.riichis;
    into.callHands += from.callHands;
    into.winPoints += from.winPoints;
}

std::string Format(const char* format, double a) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, a);
    return buffer;
}

double PerSecond(int games, double seconds) { return seconds > 0 ? games / seconds : 0.0; }

std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            out += buffer;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

bool ParseCount(const std::string& text, long long low, long long high, long long& value) {
    if (text.empty() || text.size() > 19) return false;
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < low || v > high) return false;
    value = v;
    return true;
}

bool ParseSeed(const std::string& text, std::uint64_t& value) {
    if (text.empty() || text.size() > 20) return false;
    std::uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        std::uint64_t next = v * 10 + static_cast<std::uint64_t>(c - '0');
        if (next / 10 != v) return false;
        v = next;
    }
    value = v;
    return true;
}

bool PlainName(const std::string& name) {
    if (name.empty() || name.size() > 64 || name == "." || name == "..") return false;
    for (char c : name)
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) <= 0x20) return false;
    return true;
}

const char* kUsage =
    "usage: zvarena --games N --seed S --players A,B,C[,D] [--rules FILE] [--jobs J] [--json]\n"
    "       zvarena --bench\n"
    "Plays N seeded east-south games between four computer players (three: a\n"
    "three-player game), each seed once per player with the players moved round\n"
    "the table, and prints how each did.\n"
    "A player is a character folder under the installation's usr/ or\n"
    "baseline:tsumogiri, baseline:efficiency or baseline:quick.\n";

RunOutput Fail(const std::string& message) { return {"", "zvarena: " + message + "\n", 2}; }

// The fixed match of --bench: four built-in styles, so its signature does
// not depend on the character files installed.
std::array<Entrant, 4> BenchEntrants() {
    std::array<Entrant, 4> e;
    e[0].name = "default";
    e[1].name = "caller";
    e[1].weights.pon = 500;
    e[1].weights.tie = 500;
    e[1].weights.yomi = 200;
    e[2].name = "cautious";
    e[2].weights.yomi = 950;
    e[2].weights.tsuyoki = 50;
    e[2].weights.reach = 400;
    e[3].name = "baseline:efficiency";
    e[3].kind = EntrantKind::Efficiency;
    return e;
}

}  // namespace

void ReadWeightsText(const std::string& text, players::Weights& weights) {
    int zoneLines = 0;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        auto words = Words(line);
        if (words.size() >= 2 && words[0] == "param:")
            ApplyWeight(weights, words[1], words.size() >= 4 ? WordInt(words[3]) : 0, zoneLines);
        else if (words.size() == 2 && words[0][0] != '#')
            ApplyWeight(weights, words[0], WordInt(words[1]), zoneLines);
    }
}

bool ReadWeightsFile(const std::string& path, players::Weights& weights, std::string& error) {
    std::string text;
    if (!ReadFile(path, text)) {
        error = "cannot read " + path;
        return false;
    }
    ReadWeightsText(text, weights);
    return true;
}

bool LoadEntrant(const std::string& installDir, const std::string& entry, Entrant& entrant,
                 std::string& error) {
    entrant = Entrant{};
    entrant.name = entry;
    if (entry == "baseline:tsumogiri") {
        entrant.kind = EntrantKind::Tsumogiri;
        return true;
    }
    if (entry == "baseline:efficiency") {
        entrant.kind = EntrantKind::Efficiency;
        return true;
    }
    if (entry == "baseline:quick") {
        entrant.kind = EntrantKind::Quick;
        return true;
    }
    if (entry.rfind("baseline:", 0) == 0) {
        error =
            "unknown baseline '" + entry + "' (baseline:tsumogiri, baseline:efficiency or baseline:quick)";
        return false;
    }
    if (!PlainName(entry)) {
        error = "'" + entry + "' is not a character name";
        return false;
    }
    return ReadWeightsFile(installDir + "usr/" + entry + "/" + entry + ".pf", entrant.weights, error);
}

std::uint64_t WallSeed(std::uint64_t seed, int index, int seats) {
    return seed + static_cast<std::uint64_t>(index / seats);
}

std::unique_ptr<riichi::Game> PlayRotation(const std::array<Entrant, 4>& entrants, const riichi::Rules& rules,
                                           std::uint64_t wallSeed, int rotation) {
    const int count = rules.Players();
    std::array<std::unique_ptr<players::Player>, 4> seats;
    // The empty seat of a three-player game is never asked.
    std::array<riichi::Game::Decider, 4> deciders;
    deciders.fill([](const riichi::SeatView& view) { return view.legal.front(); });
    for (int s = 0; s < count; ++s) {
        seats[Ix(s)] = MakePlayer(entrants[Ix((s + rotation) % count)], players::SeatSeed(wallSeed, s));
        deciders[Ix(s)] = players::AsDecider(*seats[Ix(s)]);
    }
    auto game = std::make_unique<riichi::Game>(rules, wallSeed);
    game->PlayOut(deciders);
    return game;
}

ArenaResult RunArena(const std::array<Entrant, 4>& entrants, const riichi::Rules& rules, int games,
                     std::uint64_t seed, int jobs) {
    std::vector<GameOutcome> outcomes(Ix(std::max(games, 0)));
    std::atomic<int> next{0};
    auto work = [&] {
        for (int g = next++; g < games; g = next++) outcomes[Ix(g)] = PlayGame(entrants, rules, g, seed);
    };
    jobs = std::clamp(jobs, 1, std::max(games, 1));
    std::vector<std::thread> threads;
    for (int j = 1; j < jobs; ++j) threads.emplace_back(work);
    work();
    for (auto& t : threads) t.join();

    ArenaResult result;
    result.seats = rules.Players();
    result.games = games;
    std::uint64_t h = seed;
    for (int g = 0; g < games; ++g) {
        int rotation = g % result.seats;
        for (int s = 0; s < result.seats; ++s)
            Add(result.players[Ix((s + rotation) % result.seats)], outcomes[Ix(g)].seats[Ix(s)]);
        h = Mix(h, outcomes[Ix(g)].hash);
    }
    result.signature = h;
    return result;
}

std::string FormatText(const std::array<Entrant, 4>& entrants, const ArenaResult& result,
                       const Timing& timing) {
    std::string out;
    char line[256];
    std::snprintf(line, sizeof line, "%-22s %6s %6s %6s %6s %6s %6s %8s %6s %7s %7s %6s %7s\n", "player",
                  "games", "place", "1st", "2nd", "3rd", "4th", "score", "win", "deal-in", "riichi", "call",
                  "win-pts");
    out += line;
    for (int i = 0; i < result.seats; ++i) {
        const PlayerStats& p = result.players[Ix(i)];
        char fourth[16] = "     -";
        if (result.seats == 4) std::snprintf(fourth, sizeof fourth, "%5.1f%%", 100 * p.PlaceRate(3));
        std::snprintf(
            line, sizeof line,
            "%-22s %6d %6.3f %5.1f%% %5.1f%% %5.1f%% %s %8.0f %5.1f%% %6.1f%% %6.1f%% %5.1f%% %7.0f\n",
            entrants[Ix(i)].name.c_str(), p.games, p.AveragePlace(), 100 * p.PlaceRate(0),
            100 * p.PlaceRate(1), 100 * p.PlaceRate(2), fourth, p.AverageScore(), 100 * p.PerHand(p.wins),
            100 * p.PerHand(p.dealIns), 100 * p.PerHand(p.riichis), 100 * p.PerHand(p.callHands),
            p.AverageWinPoints());
        out += line;
    }
    std::snprintf(
        line, sizeof line,
        "%d games in %.2f s on %d thread%s: %.1f games/s, %.1f per processor second; signature %016llx\n",
        result.games, timing.wall, timing.jobs, timing.jobs == 1 ? "" : "s",
        PerSecond(result.games, timing.wall), PerSecond(result.games, timing.cpu),
        static_cast<unsigned long long>(result.signature));
    out += line;
    return out;
}

std::string FormatJson(const std::array<Entrant, 4>& entrants, const ArenaResult& result,
                       const Timing& timing) {
    std::string out = "{\"games\":" + std::to_string(result.games) + ",\"players\":[";
    for (int i = 0; i < result.seats; ++i) {
        const PlayerStats& p = result.players[Ix(i)];
        std::string rates = Format("%.4f", p.PlaceRate(0));
        for (int place = 1; place < result.seats; ++place) rates += "," + Format("%.4f", p.PlaceRate(place));
        if (i) out += ",";
        out += "{\"name\":" + JsonString(entrants[Ix(i)].name) + ",\"games\":" + std::to_string(p.games) +
               ",\"averagePlace\":" + Format("%.4f", p.AveragePlace()) + ",\"placeRates\":[" + rates +
               "],\"averageScore\":" + Format("%.1f", p.AverageScore()) +
               ",\"hands\":" + std::to_string(p.hands) + ",\"winRate\":" + Format("%.4f", p.PerHand(p.wins)) +
               ",\"dealInRate\":" + Format("%.4f", p.PerHand(p.dealIns)) +
               ",\"riichiRate\":" + Format("%.4f", p.PerHand(p.riichis)) +
               ",\"callRate\":" + Format("%.4f", p.PerHand(p.callHands)) +
               ",\"averageWinPoints\":" + Format("%.1f", p.AverageWinPoints()) + "}";
    }
    char tail[256];
    std::snprintf(tail, sizeof tail,
                  "],\"seconds\":%.3f,\"cpuSeconds\":%.3f,\"jobs\":%d,\"gamesPerSecond\":%.2f,"
                  "\"gamesPerCpuSecond\":%.2f,\"signature\":\"%016llx\"}\n",
                  timing.wall, timing.cpu, timing.jobs, PerSecond(result.games, timing.wall),
                  PerSecond(result.games, timing.cpu), static_cast<unsigned long long>(result.signature));
    return out + tail;
}

RunOutput RunArenaCommand(const std::vector<std::string>& args, const std::string& installDir) {
    long long games = -1, jobs = 1;
    std::uint64_t seed = 0;
    bool haveSeed = false, json = false, bench = false;
    std::string playerList, rulesFile;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") return {kUsage, "", 0};
        if (a == "--json")
            json = true;
        else if (a == "--bench")
            bench = true;
        else if (a == "--games") {
            if (!value(v) || !ParseCount(v, 1, 10'000'000, games))
                return Fail("--games needs a number from 1 to 10000000");
        } else if (a == "--seed") {
            if (!value(v) || !ParseSeed(v, seed)) return Fail("--seed needs a non-negative 64-bit number");
            haveSeed = true;
        } else if (a == "--jobs") {
            if (!value(v) || !ParseCount(v, 1, 256, jobs)) return Fail("--jobs needs a number from 1 to 256");
        } else if (a == "--players") {
            if (!value(playerList)) return Fail("--players needs three or four names: A,B,C or A,B,C,D");
        } else if (a == "--rules") {
            if (!value(rulesFile)) return Fail("--rules needs a file");
        } else {
            return Fail("unknown argument '" + a + "' (see --help)");
        }
    }

    riichi::Rules rules;
    rules.eastOnly = false;
    if (!rulesFile.empty()) {
        std::string text;
        if (!ReadFile(rulesFile, text)) return Fail("cannot read the rules file " + rulesFile);
        rules = riichi::RulesFromText("tonpu 0\n" + text);
    }

    std::array<Entrant, 4> entrants;
    if (bench) {
        if (games > 0 || haveSeed || !playerList.empty())
            return Fail("--bench plays its own games; it takes only --jobs and --json");
        if (rules.threePlayer) return Fail("--bench plays four-player games only");
        entrants = BenchEntrants();
        games = 64;
        seed = 20260101;
    } else {
        if (games < 0) return Fail("--games is missing");
        if (!haveSeed) return Fail("--seed is missing");
        if (playerList.empty()) return Fail("--players is missing");
        std::vector<std::string> names;
        std::string name;
        for (char c : playerList + ",") {
            if (c == ',') {
                names.push_back(name);
                name.clear();
            } else {
                name += c;
            }
        }
        if (names.size() != 3 && names.size() != 4)
            return Fail("--players needs three or four names: A,B,C or A,B,C,D");
        if (names.size() == 4 && rules.threePlayer)
            return Fail("the rules file is for three players: --players needs three names");
        // Three names play the three-player game, by the rules file's
        // three-player settings when it has them.
        if (names.size() == 3 && !rules.threePlayer) rules = riichi::ThreePlayerRules(rules);
        for (std::size_t i = 0; i < names.size(); ++i) {
            std::string error;
            if (!LoadEntrant(installDir, names[i], entrants[i], error)) return Fail(error);
        }
    }

    auto start = std::chrono::steady_clock::now();
    std::clock_t cpuStart = std::clock();
    ArenaResult result = RunArena(entrants, rules, static_cast<int>(games), seed, static_cast<int>(jobs));
    Timing timing;
    timing.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    timing.cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    timing.jobs = static_cast<int>(jobs);
    RunOutput out;
    out.out = json ? FormatJson(entrants, result, timing) : FormatText(entrants, result, timing);
    return out;
}

}  // namespace zv::arena
