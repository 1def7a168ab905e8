#include "format/game_record.h"

#include <algorithm>
#include <sstream>

#include "config/file_io.h"
#include "config/tokenizer.h"
#include "records/results.h"

namespace zv::engine {
namespace {

const char* EndWord(HandEnd end) {
    switch (end) {
        case HandEnd::Tsumo:
            return "tsumo";
        case HandEnd::Ron:
            return "ron";
        case HandEnd::Draw:
            return "draw";
        case HandEnd::Abortive:
            return "abort";
    }
    return "draw";
}

template <typename T>
std::string Joined(const std::array<T, 4>& values) {
    std::string text;
    for (std::size_t i = 0; i < 4; ++i) {
        if (i > 0) text += ',';
        text += std::to_string(static_cast<int>(values[i]));
    }
    return text;
}

std::string SeatWord(int seat) { return seat < 0 ? "-" : std::to_string(seat); }

// "a,b,c,d" -> four integers; false when the word is not that.
template <typename T>
bool SplitFour(const std::string& word, std::array<T, 4>& out) {
    std::stringstream in(word);
    std::string item;
    std::size_t i = 0;
    while (std::getline(in, item, ',')) {
        if (i >= 4 || item.empty()) return false;
        out[i++] = static_cast<T>(WordToInt(item));
    }
    return i == 4;
}

// The value after "key=" in a word, or nothing.
bool KeyValue(const std::string& word, const std::string& key, std::string& value) {
    if (word.rfind(key + "=", 0) != 0) return false;
    value = word.substr(key.size() + 1);
    return true;
}

bool IsSeat(int seat) { return seat >= 0 && seat < 4; }

std::string DigitsWord(const std::vector<int>& digits) {
    std::string word;
    for (int y : digits) word += (word.empty() ? "" : ",") + std::to_string(y);
    return word.empty() ? "-" : word;
}

std::vector<int> ParseDigits(const std::string& word) {
    std::vector<int> digits;
    if (word == "-") return digits;
    std::stringstream in(word);
    std::string item;
    while (std::getline(in, item, ',')) {
        int y = WordToInt(item);
        if (y >= 0 && y < kYakuCount) digits.push_back(y);
    }
    return digits;
}

std::string OrDash(const std::string& word) { return word.empty() ? "-" : word; }
std::string DashEmpty(const std::string& word) { return word == "-" ? std::string() : word; }

// The lines that show what the table showed in one hand: the indicators,
// then each winning hand and its yaku.
void DetailLines(const HandRecord& h, std::vector<std::string>& lines) {
    lines.push_back("dora: " + OrDash(h.dora) + (h.ura.empty() ? "" : " ura=" + h.ura));
    for (const WinDetail& w : h.wins) {
        std::string line = "win: " + SeatWord(w.seat) + " " + SeatWord(w.from) + " " +
                           std::to_string(w.value) + " " + std::to_string(w.han) + " " +
                           std::to_string(w.fu) + " " + OrDash(w.limit) + " " + DigitsWord(w.digits) + " " +
                           OrDash(w.winTile) + " " + OrDash(w.concealed);
        for (const std::string& meld : w.melds) line += " " + meld;
        lines.push_back(line);
        for (const YakuDetail& y : w.yaku)
            lines.push_back("winyaku: " + SeatWord(w.seat) + " " + std::to_string(y.han) + " " +
                            std::to_string(y.yakuman) + " " + y.name);
    }
}

// The Japanese word of a limit word.
std::string LimitName(const std::string& limit) {
    if (limit == "mangan") return "満貫";
    if (limit == "haneman") return "跳満";
    if (limit == "baiman") return "倍満";
    if (limit == "sanbaiman") return "三倍満";
    if (limit == "yakuman") return "役満";
    return limit;
}

// The letter of each action type in an action word.
struct ActionLetter {
    riichi::ActionType type;
    char letter;
    int tiles;  // tiles written: the action's tile, then its `with` tiles
};
constexpr ActionLetter kActionLetters[] = {
    {riichi::ActionType::Discard, 'd', 1},  {riichi::ActionType::Riichi, 'r', 1},
    {riichi::ActionType::Tsumo, 't', 1},    {riichi::ActionType::Ron, 'h', 1},
    {riichi::ActionType::Chi, 'c', 3},      {riichi::ActionType::Pon, 'p', 3},
    {riichi::ActionType::OpenKan, 'm', 1},  {riichi::ActionType::ClosedKan, 'a', 1},
    {riichi::ActionType::AddedKan, 'k', 1}, {riichi::ActionType::NineTerminals, 'n', 0},
    {riichi::ActionType::North, 'x', 1},
};

const ActionLetter* LetterOf(riichi::ActionType type) {
    for (const ActionLetter& l : kActionLetters)
        if (l.type == type) return &l;
    return nullptr;
}

// A tile exactly: "0m" for a red five, else its kind and copy ("5m2").
std::string ExactTile(riichi::TileId t) {
    if (riichi::IsRedFive(t)) return riichi::TileName(t);
    return riichi::KindName(riichi::KindOf(t)) + static_cast<char>('0' + t % 4);
}

// Reads one exact tile at `pos`; -1 when there is none.
riichi::TileId ReadExactTile(std::string_view word, std::size_t& pos) {
    if (pos + 2 > word.size()) return -1;
    riichi::Kind kind = riichi::ParseKind(word.substr(pos, 2));
    if (kind < 0) return -1;
    if (word[pos] == '0') {
        pos += 2;
        return kind * 4;  // the red five is copy 0 of its five
    }
    if (pos + 3 > word.size() || word[pos + 2] < '0' || word[pos + 2] > '3') return -1;
    int copy = word[pos + 2] - '0';
    // Copy 0 of a five is the red one, which is written "0m".
    if (riichi::IsRedFive(kind * 4 + copy)) return -1;
    pos += 3;
    return kind * 4 + copy;
}

}  // namespace

std::string ActionWord(const riichi::LoggedAction& a) {
    const ActionLetter* letter = LetterOf(a.action.type);
    if (letter == nullptr || a.seat < 0 || a.seat > 3) return {};
    std::string word = std::to_string(a.seat) + letter->letter;
    std::vector<riichi::TileId> tiles = {a.action.tile, a.action.with[0], a.action.with[1]};
    for (int i = 0; i < letter->tiles; ++i) {
        if (i > 0) word += ',';
        word += ExactTile(tiles[static_cast<std::size_t>(i)]);
    }
    return word;
}

bool ParseActionWord(std::string_view word, riichi::LoggedAction& out, std::string& error) {
    auto fail = [&](const char* why) {
        error = "\"" + std::string(word) + "\": " + why;
        return false;
    };
    if (word.size() < 2 || word[0] < '0' || word[0] > '3') return fail("no seat");
    const ActionLetter* letter = nullptr;
    for (const ActionLetter& l : kActionLetters)
        if (l.letter == word[1]) letter = &l;
    if (letter == nullptr) return fail("unknown action");
    riichi::LoggedAction a;
    a.seat = word[0] - '0';
    a.action.type = letter->type;
    std::size_t pos = 2;
    std::array<riichi::TileId, 3> tiles{-1, -1, -1};
    for (int i = 0; i < letter->tiles; ++i) {
        if (i > 0 && (pos >= word.size() || word[pos++] != ',')) return fail("tiles missing");
        tiles[static_cast<std::size_t>(i)] = ReadExactTile(word, pos);
        if (tiles[static_cast<std::size_t>(i)] < 0) return fail("not a tile");
    }
    if (pos != word.size()) return fail("extra characters");
    a.action.tile = tiles[0];
    a.action.with = {tiles[1], tiles[2]};
    out = a;
    return true;
}

std::vector<std::string> ActionLines(const std::vector<riichi::LoggedAction>& actions) {
    std::vector<std::string> lines;
    std::string line;
    for (const riichi::LoggedAction& a : actions) {
        std::string word = ActionWord(a);
        if (word.empty()) continue;
        if (!line.empty() && line.size() + 1 + word.size() > kActionLineBytes) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "act: " : " ") + word;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

riichi::Rules RulesFromRecord(const std::string& rulesWords) {
    riichi::Rules rules;
    std::stringstream in(rulesWords);
    std::string word;
    while (in >> word) {
        std::size_t eq = word.find('=');
        if (eq == std::string::npos) continue;
        std::string key = word.substr(0, eq), value = word.substr(eq + 1);
        if (key == "chips") {
            std::array<int, 4> chips{};
            if (!SplitFour(value, chips)) continue;
            riichi::ApplyRuleKey(rules, "yakuman-chip", std::to_string(chips[0]));
            riichi::ApplyRuleKey(rules, "ippatu-chip", std::to_string(chips[1]));
            riichi::ApplyRuleKey(rules, "uradora-chip", std::to_string(chips[2]));
            riichi::ApplyRuleKey(rules, "akadora-chip", std::to_string(chips[3]));
        } else {
            riichi::ApplyRuleKey(rules, key, value);
        }
    }
    return rules;
}

const std::string& YakuName(int index) {
    // The results reader's names, as strings for the record writer.
    static const std::vector<std::string> names(zv::YakuNames.begin(), zv::YakuNames.end());
    static const std::string empty;
    return index >= 0 && index < kYakuCount ? names[index] : empty;
}

namespace {

// The three-player keys, after the others and only in a three-player game.
std::string ThreePlayerWords(const riichi::Rules& rules) {
    std::string words;
    if (!rules.threePlayer) return words;
    for (const riichi::RuleKey& key : riichi::ThreePlayerRuleKeys())
        words += std::string(" ") + key.key + "=" + riichi::RuleValue(rules, key);
    return words;
}

}  // namespace

std::vector<std::string> RecordLines(int gameNumber, const std::string& program, const riichi::Rules& rules,
                                     const std::array<RecordSeat, 4>& seats, const GameOutcome& game) {
    std::vector<std::string> lines;
    lines.push_back("game: " + std::to_string(gameNumber));
    lines.push_back("program: " + program);
    lines.push_back("seed: " + std::to_string(game.seed));
    lines.push_back(
        "rules: tonpu=" + std::string(rules.eastOnly ? "1" : "0") +
        " startpoint=" + std::to_string(rules.startPoint) + " uma=" + riichi::UmaWord(rules.uma) +
        " chips=" + std::to_string(rules.yakumanChip) + "," + std::to_string(rules.ippatsuChip) + "," +
        std::to_string(rules.uraDoraChip) + "," + std::to_string(rules.redFiveChip) +
        " nofly=" + (rules.noBustOut ? "1" : "0") + " under=" + (rules.under ? "1" : "0") +
        " noakadora=" + (rules.noRedFives ? "1" : "0") + " nonakitan=" + (rules.noOpenTanyao ? "1" : "0") +
        " nopintumo=" + (rules.noPinfuTsumo ? "1" : "0") + " 77mangan=" + (rules.roundUpMangan ? "1" : "0") +
        " atamahane=" + (rules.headBump ? "1" : "0") + " nosancyaho=" + (rules.noTripleRonDraw ? "1" : "0") +
        " nokuikae=" + (rules.noSwapCalling ? "1" : "0") + " pao=" + (rules.pao ? "1" : "0") +
        " nokanura=" + (rules.noKanUra ? "1" : "0") + " nonakiaka=" + (rules.redFivesClosedOnly ? "1" : "0") +
        " noallstars=" + (rules.noAllStars ? "1" : "0") + ThreePlayerWords(rules));
    // A three-player game names its three seats; the empty fourth has no line.
    for (std::size_t s = 0; s < static_cast<std::size_t>(rules.Players()); ++s) {
        const std::string& shown = seats[s].displayName.empty() ? seats[s].name : seats[s].displayName;
        lines.push_back("player: " + std::to_string(s) + " " + seats[s].name + " " + shown);
    }
    for (const HandRecord& h : game.hands) {
        std::string yaku = DigitsWord(h.yaku);
        lines.push_back("hand: " + std::string(h.round == 0 ? "E" : "S") + std::to_string(h.dealer + 1) +
                        " " + std::to_string(h.honba) + " " + EndWord(h.end) + " " + SeatWord(h.winner) +
                        " " + SeatWord(h.loser) + " " + std::to_string(h.value) + " " + yaku +
                        " reach=" + Joined(h.reached) + " delta=" + Joined(h.scoreDelta) +
                        " chips=" + Joined(h.chipDelta) + " scores=" + Joined(h.scoresAfter));
        DetailLines(h, lines);
        for (std::string& line : ActionLines(h.actions)) lines.push_back(std::move(line));
    }
    for (int place = 1; place <= 4; ++place) {
        for (std::size_t s = 0; s < 4; ++s) {
            const PlayerStats& p = game.players[s];
            if (p.place != place) continue;
            lines.push_back("final: " + std::to_string(s) + " " + std::to_string(p.place) + " " +
                            std::to_string(p.finalScore) + " " + std::to_string(p.points) + " " +
                            std::to_string(p.chips));
        }
    }
    lines.push_back("end: " + std::to_string(gameNumber));
    return lines;
}

std::string SaveRecord(const std::string& path, const std::vector<std::string>& blockLines) {
    std::vector<std::string> lines = {kRecordMagic};
    lines.insert(lines.end(), blockLines.begin(), blockLines.end());
    switch (SaveFileAtomically(path, EncodeCrLfLines(lines))) {
        case SaveResult::Saved:
            return {};
        case SaveResult::CannotCreate:
            return path + ": cannot create the record file";
        case SaveResult::WriteFailed:
            return path + ": cannot write the record file";
    }
    return path + ": cannot write the record file";
}

RecordFile ParseRecord(const std::string& utf8Text) {
    RecordFile record;
    RecordedGame* game = nullptr;
    LineSource source(utf8Text);
    int lineNumber = 0;
    auto problem = [&](const std::string& what) {
        record.problems.push_back("line " + std::to_string(lineNumber) + ": " + what);
    };
    while (!source.AtEnd()) {
        ++lineNumber;
        int count = ReadTokenLine(source);
        std::string key = Token(1);
        if (count == 0 || key.empty() || key[0] == '#') continue;
        if (key == "game:") {
            record.games.emplace_back();
            game = &record.games.back();
            game->number = TokenInt(2);
            continue;
        }
        if (game == nullptr || game->complete) {
            problem("outside a game block");
            continue;
        }
        if (key == "program:") {
            game->program = Token(2);
        } else if (key == "seed:") {
            game->seed = Token(2);
        } else if (key == "rules:") {
            std::string rest;
            for (int i = 2; i <= std::min(count, kMaxTokens); ++i) rest += (i > 2 ? " " : "") + Token(i);
            game->rules = rest;
        } else if (key == "player:") {
            int seat = TokenInt(2);
            if (!IsSeat(seat) || Token(3).empty()) {
                problem("bad player line");
                continue;
            }
            game->seats[static_cast<std::size_t>(seat)] = {Token(3), Token(4)};
        } else if (key == "hand:") {
            HandRecord h;
            std::string where = Token(2);
            std::string end = Token(4);
            bool ok = where.size() == 2 && (where[0] == 'E' || where[0] == 'S') && where[1] >= '1' &&
                      where[1] <= '4';
            if (ok) {
                h.round = where[0] == 'E' ? 0 : 1;
                h.dealer = where[1] - '1';
            }
            h.honba = TokenInt(3);
            if (end == "tsumo")
                h.end = HandEnd::Tsumo;
            else if (end == "ron")
                h.end = HandEnd::Ron;
            else if (end == "draw")
                h.end = HandEnd::Draw;
            else if (end == "abort")
                h.end = HandEnd::Abortive;
            else
                ok = false;
            h.winner = Token(5) == "-" ? -1 : TokenInt(5);
            h.loser = Token(6) == "-" ? -1 : TokenInt(6);
            if ((h.end == HandEnd::Tsumo || h.end == HandEnd::Ron) && !IsSeat(h.winner)) ok = false;
            if (h.end == HandEnd::Ron && (!IsSeat(h.loser) || h.loser == h.winner)) ok = false;
            h.value = TokenInt(7);
            h.yaku = ParseDigits(Token(8));
            for (int i = 9; i <= std::min(count, kMaxTokens); ++i) {
                std::string word = Token(i);
                std::string value;
                std::array<int, 4> four{};
                if (KeyValue(word, "reach", value) && SplitFour(value, four)) {
                    for (std::size_t s = 0; s < 4; ++s) h.reached[s] = four[s] != 0;
                } else if (KeyValue(word, "delta", value) && SplitFour(value, four)) {
                    h.scoreDelta = four;
                } else if (KeyValue(word, "chips", value) && SplitFour(value, four)) {
                    h.chipDelta = four;
                } else if (KeyValue(word, "scores", value) && SplitFour(value, four)) {
                    h.scoresAfter = four;
                }
            }
            if (!ok) {
                problem("bad hand line");
                continue;
            }
            game->hands.push_back(h);
        } else if (key == "dora:" || key == "win:" || key == "winyaku:") {
            // Details of the hand line before them.
            if (game->hands.empty()) {
                problem(key + " before any hand");
                continue;
            }
            HandRecord& h = game->hands.back();
            if (key == "dora:") {
                h.dora = DashEmpty(Token(2));
                std::string value;
                if (KeyValue(Token(3), "ura", value)) h.ura = value;
            } else if (key == "win:") {
                WinDetail w;
                w.seat = TokenInt(2);
                w.from = Token(3) == "-" ? -1 : TokenInt(3);
                w.value = TokenInt(4);
                w.han = TokenInt(5);
                w.fu = TokenInt(6);
                w.limit = DashEmpty(Token(7));
                w.digits = ParseDigits(Token(8));
                w.winTile = DashEmpty(Token(9));
                w.concealed = DashEmpty(Token(10));
                for (int i = 11; i <= std::min(count, kMaxTokens); ++i) w.melds.push_back(Token(i));
                if (!IsSeat(w.seat) || (w.from != -1 && (!IsSeat(w.from) || w.from == w.seat)) ||
                    count < 10) {
                    problem("bad win line");
                    continue;
                }
                h.wins.push_back(w);
            } else {
                int seat = TokenInt(2);
                auto win = std::find_if(h.wins.begin(), h.wins.end(),
                                        [&](const WinDetail& w) { return w.seat == seat; });
                std::string name;
                for (int i = 5; i <= std::min(count, kMaxTokens); ++i) name += (i > 5 ? " " : "") + Token(i);
                if (win == h.wins.end() || name.empty()) {
                    problem("bad winyaku line");
                    continue;
                }
                win->yaku.push_back({name, TokenInt(3), TokenInt(4)});
            }
        } else if (key == "act:") {
            // The hand's actions, on one or more lines after its other lines.
            if (game->hands.empty()) {
                problem("act: before any hand");
                continue;
            }
            std::stringstream words(Token(0));
            std::string word, error;
            words >> word;  // "act:"
            std::vector<riichi::LoggedAction> read;
            bool ok = true;
            while (ok && words >> word) {
                riichi::LoggedAction a;
                ok = ParseActionWord(word, a, error);
                read.push_back(a);
            }
            if (!ok) {
                problem("bad act line: " + error);
                continue;
            }
            auto& actions = game->hands.back().actions;
            actions.insert(actions.end(), read.begin(), read.end());
        } else if (key == "final:") {
            RecordedFinal f{TokenInt(2), TokenInt(3), TokenInt(4), TokenInt(5), TokenInt(6)};
            if (!IsSeat(f.seat) || f.place < 1 || f.place > 4) {
                problem("bad final line");
                continue;
            }
            game->finals.push_back(f);
        } else if (key == "end:") {
            game->complete = true;
        } else {
            problem("unknown line \"" + key + "\"");
        }
    }
    return record;
}

std::vector<std::string> SummarizeRecord(const RecordFile& record) {
    std::vector<std::string> out;
    out.push_back("牌譜の概要: " + std::to_string(record.games.size()) + " ゲーム");
    for (const RecordedGame& g : record.games) {
        auto nameOf = [&](int seat) -> std::string {
            if (!IsSeat(seat)) return "?";
            const RecordSeat& s = g.seats[static_cast<std::size_t>(seat)];
            if (s.name.empty()) return "席" + std::to_string(seat);
            return s.displayName.empty() || s.displayName == s.name ? s.name
                                                                    : s.displayName + " (" + s.name + ")";
        };
        out.emplace_back();
        out.push_back("第" + std::to_string(g.number) + "ゲーム  " + g.program + "  seed " + g.seed +
                      (g.complete ? "" : "  (途中で終わっています)"));
        out.push_back("ルール: " + g.rules);
        std::string seatsLine = "プレーヤ:";
        const int players = RulesFromRecord(g.rules).Players();  // three: seat 3 is empty
        for (int s = 0; s < players; ++s) seatsLine += " [" + std::to_string(s) + "] " + nameOf(s);
        out.push_back(seatsLine);
        std::array<int, 4> wins{}, dealIns{}, reaches{};
        for (const HandRecord& h : g.hands) {
            std::string line = "  " + std::string(h.round == 0 ? "東" : "南") + std::to_string(h.dealer + 1) +
                               "局 " + std::to_string(h.honba) + "本場  ";
            switch (h.end) {
                case HandEnd::Tsumo:
                    line += "ツモ  " + nameOf(h.winner) + "  " + std::to_string(h.value) + "点";
                    break;
                case HandEnd::Ron:
                    line += "ロン  " + nameOf(h.winner) + " ← " + nameOf(h.loser) + "  " +
                            std::to_string(h.value) + "点";
                    break;
                case HandEnd::Draw:
                    line += "流局";
                    if (IsSeat(h.winner))
                        line += "  " + nameOf(h.winner) + "  " + std::to_string(h.value) + "点";
                    break;
                case HandEnd::Abortive:
                    line += "途中流局";
                    if (IsSeat(h.winner)) line += " (" + nameOf(h.winner) + ")";
                    break;
            }
            if (!h.yaku.empty()) {
                std::string names;
                for (int y : h.yaku) names += (names.empty() ? "" : "、") + YakuName(y);
                line += "  [" + names + "]";
            }
            out.push_back(line);
            if (!h.dora.empty())
                out.push_back("    ドラ表示牌 " + h.dora + (h.ura.empty() ? "" : "  裏ドラ表示牌 " + h.ura));
            for (const WinDetail& w : h.wins) {
                std::string hand = "    " + nameOf(w.seat) + ": " + w.concealed;
                for (const std::string& meld : w.melds) hand += " " + meld;
                hand += "  和了牌 " + w.winTile + "  ";
                if (w.han > 0) hand += std::to_string(w.fu) + "符" + std::to_string(w.han) + "翻 ";
                hand += LimitName(w.limit) + (w.limit.empty() ? "" : " ") + std::to_string(w.value) + "点";
                out.push_back(hand);
                std::string yakuLine;
                for (const YakuDetail& y : w.yaku) {
                    yakuLine += (yakuLine.empty() ? "" : "、") + y.name;
                    yakuLine += y.yakuman > 0 ? (y.yakuman > 1 ? " ダブル役満" : " 役満")
                                              : " " + std::to_string(y.han) + "翻";
                }
                if (!yakuLine.empty()) out.push_back("      " + yakuLine);
            }
            for (std::size_t s = 0; s < 4; ++s) reaches[s] += h.reached[s] ? 1 : 0;
            // Every winner of a double ron counts, and the discarder deals
            // in once per winner (records without win lines: the one named).
            std::vector<int> winners;
            for (const WinDetail& w : h.wins) winners.push_back(w.seat);
            if (winners.empty() && IsSeat(h.winner)) winners.push_back(h.winner);
            if (h.end == HandEnd::Tsumo || h.end == HandEnd::Ron) {
                for (int seat : winners) {
                    if (!IsSeat(seat)) continue;
                    wins[static_cast<std::size_t>(seat)] += 1;
                    if (IsSeat(h.loser) && h.end == HandEnd::Ron)
                        dealIns[static_cast<std::size_t>(h.loser)] += 1;
                }
            }
        }
        out.push_back("  局数: " + std::to_string(g.hands.size()));
        for (const RecordedFinal& f : g.finals) {
            const auto s = static_cast<std::size_t>(f.seat);
            out.push_back("  " + std::to_string(f.place) + "位  " + nameOf(f.seat) + "  " +
                          std::to_string(f.score) + "点  ポイント " + std::to_string(f.points) + "  チップ " +
                          std::to_string(f.chips) + "  和了 " + std::to_string(wins[s]) + "  放銃 " +
                          std::to_string(dealIns[s]) + "  リーチ " + std::to_string(reaches[s]));
        }
    }
    if (!record.problems.empty()) {
        out.emplace_back();
        out.push_back("読めなかった行: " + std::to_string(record.problems.size()));
        for (std::size_t i = 0; i < record.problems.size() && i < 20; ++i)
            out.push_back("  " + record.problems[i]);
    }
    return out;
}

}  // namespace zv::engine
