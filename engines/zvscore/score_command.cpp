// Argument parsing and JSON output of zvscore. Tiles of the hand, the melds
// and the winning tile share one set of 136 physical tiles, so a fifth tile
// of a kind anywhere is refused; dora indicators only name kinds.
#include "zvscore/score_command.h"

#include <array>
#include <charconv>
#include <string_view>

#include "riichi/rules.h"
#include "riichi/shanten.h"

namespace zv::riichi {
namespace {

struct Parsed {
    WinSituation win;
    Rules rules;
    std::string hand;
    std::string winText;
    std::vector<std::pair<MeldType, std::string>> melds;
    std::string dora, ura;
    int players = 0;  // 3 or 4 from --players; 0: as the rules say
    int nuki = 0;     // norths set aside (three players)
    bool shanten = false;
    bool help = false;
};

// Tiles written in the compact notation, as (kind, red) pairs. Without red
// fives any five may be any copy, so a hand may hold four plain ones.
bool ParseKinds(const std::string& text, std::vector<std::pair<Kind, bool>>& out, std::string& error,
                bool redFives) {
    std::vector<TileId> tiles;
    std::string why;
    if (!ParseTiles(text, tiles, why, redFives)) {
        error = "bad tiles \"" + text + "\": " + why;
        return false;
    }
    out.clear();
    for (TileId t : tiles) out.emplace_back(KindOf(t), IsRedFive(t));
    return true;
}

// Gives each tile a physical copy not used yet.
bool Allocate(const std::vector<std::pair<Kind, bool>>& kinds, bool redFives, std::array<bool, kTiles>& used,
              std::vector<TileId>& out, std::string& error) {
    for (auto [kind, red] : kinds) {
        TileId t = FreeCopy(kind, red, used);
        if (t < 0 && !redFives) t = FreeCopy(kind, !red, used);
        if (t < 0) {
            if (!redFives)
                error = "a fifth tile " + KindName(kind);
            else if (red)
                error = "a second red five " + TileName(kind * 4);
            else if (kind == 4 || kind == 13 || kind == 22)
                error = "a fourth plain five " + KindName(kind) + " (the fourth five is the red one, " +
                        TileName(kind * 4) + ")";
            else
                error = "a fifth tile " + KindName(kind);
            return false;
        }
        used[t] = true;
        out.push_back(t);
    }
    return true;
}

bool ParseWind(const std::string& text, Kind& wind) {
    static constexpr std::string_view kLetters = "ESWN";
    if (text.size() != 1 || kLetters.find(text[0]) == std::string_view::npos) return false;
    wind = kEast + static_cast<int>(kLetters.find(text[0]));
    return true;
}

bool ParseCount(const std::string& text, int& value) {
    if (text.empty() || text.size() > 4) return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= 0;
}

std::string WithoutCommas(const std::string& text) {
    std::string s;
    for (char c : text)
        if (c != ',') s += c;
    return s;
}

bool ParseArgs(const std::vector<std::string>& args, const RulesReader& readRules, Parsed& p,
               std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::string value;
        bool inlineValue = false;
        if (arg.rfind("--", 0) == 0) {
            auto eq = arg.find('=');
            if (eq != std::string::npos) {
                value = arg.substr(eq + 1);
                arg.resize(eq);
                inlineValue = true;
            }
        }
        auto needValue = [&]() {
            if (inlineValue) return true;
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            value = args[++i];
            return true;
        };
        auto flag = [&](bool& target) {
            if (inlineValue) {
                error = arg + " takes no value";
                return false;
            }
            target = true;
            return true;
        };
        WinSituation& w = p.win;
        bool ok = true;
        if (arg == "--help" || arg == "-h") {
            p.help = true;
        } else if (arg == "--shanten") {
            ok = flag(p.shanten);
        } else if (arg == "--win") {
            ok = needValue();
            p.winText = value;
        } else if (arg == "--chi" || arg == "--pon" || arg == "--minkan" || arg == "--ankan" ||
                   arg == "--kakan") {
            MeldType type = arg == "--chi"      ? MeldType::Chi
                            : arg == "--pon"    ? MeldType::Pon
                            : arg == "--minkan" ? MeldType::OpenKan
                            : arg == "--ankan"  ? MeldType::ClosedKan
                                                : MeldType::AddedKan;
            ok = needValue();
            p.melds.emplace_back(type, value);
        } else if (arg == "--tsumo") {
            ok = flag(w.tsumo);
        } else if (arg == "--riichi") {
            ok = flag(w.riichi);
        } else if (arg == "--double-riichi") {
            ok = flag(w.doubleRiichi);
            w.riichi = true;
        } else if (arg == "--ippatsu") {
            ok = flag(w.ippatsu);
        } else if (arg == "--haitei") {
            ok = flag(w.haitei);
        } else if (arg == "--houtei") {
            ok = flag(w.houtei);
        } else if (arg == "--rinshan") {
            ok = flag(w.rinshan);
        } else if (arg == "--chankan") {
            ok = flag(w.chankan);
        } else if (arg == "--tenhou") {
            ok = flag(w.tenhou);
        } else if (arg == "--chiihou") {
            ok = flag(w.chiihou);
        } else if (arg == "--round" || arg == "--seat") {
            if (!needValue()) return false;
            if (!ParseWind(value, arg == "--round" ? w.roundWind : w.seatWind)) {
                error = arg + " takes E, S, W or N, not \"" + value + "\"";
                return false;
            }
        } else if (arg == "--dora" || arg == "--ura") {
            ok = needValue();
            (arg == "--dora" ? p.dora : p.ura) += WithoutCommas(value);
        } else if (arg == "--honba" || arg == "--sticks") {
            if (!needValue()) return false;
            if (!ParseCount(value, arg == "--honba" ? w.honba : w.sticks)) {
                error = arg + " takes a number from 0 to 9999, not \"" + value + "\"";
                return false;
            }
        } else if (arg == "--players") {
            if (!needValue()) return false;
            if (value != "3" && value != "4") {
                error = "--players takes 3 or 4, not \"" + value + "\"";
                return false;
            }
            p.players = value[0] - '0';
        } else if (arg == "--nuki") {
            if (!needValue()) return false;
            if (!ParseCount(value, p.nuki) || p.nuki > 4) {
                error = "--nuki takes a number of norths from 0 to 4, not \"" + value + "\"";
                return false;
            }
        } else if (arg == "--rules") {
            if (!needValue()) return false;
            auto text = readRules ? readRules(value) : std::nullopt;
            if (!text) {
                error = "cannot read the rules file " + value;
                return false;
            }
            p.rules = RulesFromText(*text);
        } else if (arg == "--rule") {
            // One key of a rules file, "key" (on) or "key=value".
            if (!needValue()) return false;
            auto eq = value.find('=');
            if (eq == std::string::npos)
                ApplyRuleKey(p.rules, value, "1");
            else
                ApplyRuleKey(p.rules, std::string_view(value).substr(0, eq),
                             std::string_view(value).substr(eq + 1));
        } else if (!arg.empty() && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else if (!p.hand.empty()) {
            error = "more than one hand given: " + p.hand + " and " + arg;
            return false;
        } else if (arg.empty()) {
            error = "the hand is empty";
            return false;
        } else {
            p.hand = arg;
        }
        if (!ok) return false;
    }
    return true;
}

// --players overrides the rules file's sanma key, wherever it stands.
void ApplyPlayers(Parsed& p) {
    if (p.players != 0) p.rules.threePlayer = p.players == 3;
}

CommandOutput Fail(const std::string& message) {
    CommandOutput r;
    r.exitCode = 1;
    r.err = "zvscore: " + message + "\n";
    return r;
}

CommandOutput RunShanten(const Parsed& p) {
    std::vector<std::pair<Kind, bool>> kinds;
    std::string error;
    if (!ParseKinds(p.hand, kinds, error, !p.rules.noRedFives)) return Fail(error);
    if (kinds.size() != 13 && kinds.size() != 14)
        return Fail("--shanten takes 13 or 14 tiles, not " + std::to_string(kinds.size()));
    Counts counts{};
    for (auto [kind, red] : kinds) {
        if (++counts[kind] > 4) return Fail("more than four of " + KindName(kind));
    }
    CommandOutput r;
    r.out = std::to_string(Shanten(counts, 0)) + "\n";
    return r;
}

void AppendEscaped(std::string& out, const std::string& text) {
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
}

}  // namespace

std::string ScoreUsage() {
    return "usage: zvscore [conditions] --win TILE HAND\n"
           "       zvscore --shanten HAND\n"
           "Scores a winning riichi-mahjong hand and prints one JSON line.\n"
           "HAND is the concealed tiles with the winning tile, e.g. 123m406p789s1122z\n"
           "(m characters, p circles, s bamboo, z honours E S W N white green red; 0 = red five).\n"
           "  --win T            the winning tile (required)\n"
           "  --chi 123m --pon 777z --minkan 5555p --ankan 1111z --kakan 2222s   melds (repeatable)\n"
           "  --tsumo            self-drawn (default: ron)\n"
           "  --riichi --double-riichi --ippatsu --haitei --houtei --rinshan --chankan\n"
           "  --tenhou --chiihou\n"
           "  --round E|S|W|N    round wind (default E)\n"
           "  --seat E|S|W|N     seat wind (default S; E is the dealer)\n"
           "  --dora T,T...      dora indicators    --ura T,T...   ura-dora indicators\n"
           "  --honba N --sticks N\n"
           "  --rules FILE       a rules file as the rule editor writes it\n"
           "  --rule KEY[=VALUE] one key of a rules file (e.g. --rule nopintumo)\n"
           "  --players 3|4      three players: no 2m-8m, seats E S W, a self-draw paid by\n"
           "                     two (tsumo loss unless the rules say tumozon = 0)\n"
           "  --nuki N           norths set aside (three players), a dora each\n"
           "  --shanten          print the shanten number of 13 or 14 tiles (-1 complete)\n"
           "Bad input exits with 1 and a message on standard error.\n";
}

std::string ScoreJson(const Score& s) {
    std::string j = "{\"han\":" + std::to_string(s.han) + ",\"fu\":" + std::to_string(s.fu) +
                    ",\"yakuman\":" + std::to_string(s.yakuman) + ",\"points\":" + std::to_string(s.points) +
                    ",\"payments\":";
    if (s.ronPayment > 0)
        j += "{\"ron\":" + std::to_string(s.ronPayment) + "}";
    else
        j += "{\"dealer\":" + std::to_string(s.tsumoDealerPays) +
             ",\"others\":" + std::to_string(s.tsumoOthersPay) + "}";
    j += ",\"yaku\":[";
    for (std::size_t i = 0; i < s.yaku.size(); ++i) {
        const YakuScore& y = s.yaku[i];
        if (i > 0) j += ',';
        j += "{\"name\":\"";
        AppendEscaped(j, y.name);
        j += "\",\"han\":" + std::to_string(y.yakuman > 0 ? 13 * y.yakuman : y.han) + "}";
    }
    j += "],\"limit\":";
    std::string_view limit = LimitWord(s.limit);
    j += limit.empty() ? std::string("null") : "\"" + std::string(limit) + "\"";
    j += "}";
    return j;
}

namespace {

// Turns the parsed words into the situation: shares out physical tiles,
// finds the winning tile among the hand's and reads the indicators.
bool BuildSituation(Parsed& p, std::string& error) {
    if (p.hand.empty()) {
        error = "no hand given (try --help)";
        return false;
    }
    if (p.winText.empty()) {
        error = "--win is required";
        return false;
    }
    WinSituation& w = p.win;
    const bool redFives = !p.rules.noRedFives;
    const bool three = p.rules.threePlayer;
    if (p.nuki > 0 && !three) {
        error = "--nuki needs three players (--players 3)";
        return false;
    }
    if (three && w.seatWind == kNorth) {
        error = "three players sit east, south and west: --seat N is no seat";
        return false;
    }
    // Reads tiles and, with three players, refuses 2m..8m by name.
    auto parse = [&](const std::string& text, std::vector<std::pair<Kind, bool>>& out) {
        if (!ParseKinds(text, out, error, redFives)) return false;
        for (auto [kind, red] : out)
            if (three && !InThreePlayerSet(kind)) {
                error = "2m-8m are not played with three players: " + KindName(kind) + " in \"" + text + "\"";
                return false;
            }
        return true;
    };
    std::array<bool, kTiles> used{};
    std::vector<std::pair<Kind, bool>> kinds;
    for (const auto& [type, text] : p.melds) {
        if (!parse(text, kinds)) return false;
        Meld m;
        m.type = type;
        m.size = static_cast<int>(kinds.size());
        bool kan = type == MeldType::OpenKan || type == MeldType::ClosedKan || type == MeldType::AddedKan;
        if (m.size != (kan ? 4 : 3)) {
            error = std::string(kan ? "a kan takes 4 tiles: " : "a chi or pon takes 3 tiles: ") + text;
            return false;
        }
        std::vector<TileId> tiles;
        if (!Allocate(kinds, redFives, used, tiles, error)) return false;
        for (int i = 0; i < m.size; ++i) m.tiles[i] = tiles[i];
        if (type != MeldType::ClosedKan) {
            m.called = tiles[0];
            m.from = 3;
        }
        w.melds.push_back(m);
    }
    if (!parse(p.hand, kinds)) return false;
    if (!Allocate(kinds, redFives, used, w.concealed, error)) return false;
    std::vector<std::pair<Kind, bool>> norths(static_cast<std::size_t>(p.nuki), {kNorth, false});
    if (!Allocate(norths, redFives, used, w.north, error)) {
        error = "--nuki " + std::to_string(p.nuki) + " with the norths of the hand makes " + error;
        return false;
    }

    std::vector<std::pair<Kind, bool>> winKinds;
    if (!parse(p.winText, winKinds)) return false;
    if (winKinds.size() != 1) {
        error = "--win takes one tile, not \"" + p.winText + "\"";
        return false;
    }
    // The winning tile is one of the hand's: the red copy when asked for, a
    // plain one when there is one.
    auto [winKind, winRed] = winKinds[0];
    for (int pass = 0; pass < 2 && w.winTile < 0; ++pass)
        for (TileId t : w.concealed)
            if (KindOf(t) == winKind && (IsRedFive(t) == winRed || (pass == 1 && !winRed))) {
                w.winTile = t;
                break;
            }
    if (w.winTile < 0) {
        error = "the winning tile " + p.winText + " is not in the hand";
        return false;
    }
    for (auto [text, list] : {std::pair{&p.dora, &w.doraIndicators}, std::pair{&p.ura, &w.uraIndicators}}) {
        if (text->empty()) continue;
        if (!parse(*text, kinds)) return false;
        for (auto [kind, red] : kinds) list->push_back(kind * 4 + (red ? 0 : 1));
    }
    return true;
}

}  // namespace

bool ParseScoreRequest(const std::vector<std::string>& args, const RulesReader& readRules, WinSituation& win,
                       Rules& rules, std::string& error) {
    Parsed p;
    if (!ParseArgs(args, readRules, p, error)) return false;
    ApplyPlayers(p);
    if (p.help || p.shanten) {
        error = "not a scoring request";
        return false;
    }
    if (!BuildSituation(p, error)) return false;
    win = p.win;
    rules = p.rules;
    return true;
}

CommandOutput RunScoreCommand(const std::vector<std::string>& args, const RulesReader& readRules) {
    Parsed p;
    std::string error;
    if (!ParseArgs(args, readRules, p, error)) return Fail(error);
    ApplyPlayers(p);
    if (p.help) {
        CommandOutput r;
        r.out = ScoreUsage();
        return r;
    }
    if (p.shanten) {
        if (p.hand.empty()) return Fail("no hand given (try --help)");
        return RunShanten(p);
    }
    if (!BuildSituation(p, error)) return Fail(error);
    Score s = ScoreWin(p.win, p.rules);
    if (!s.won) return Fail(s.error);
    CommandOutput r;
    r.out = ScoreJson(s) + "\n";
    return r;
}

}  // namespace zv::riichi
