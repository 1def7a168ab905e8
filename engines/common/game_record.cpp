#include "game_record.h"

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

}  // namespace

const std::string& YakuName(int index) {
    // The results reader's names, as strings for the record writer.
    static const std::vector<std::string> names(zv::YakuNames.begin(), zv::YakuNames.end());
    static const std::string empty;
    return index >= 0 && index < kYakuCount ? names[index] : empty;
}

std::vector<std::string> RecordLines(int gameNumber, const std::string& program, const GameRules& rules,
                                     const std::array<RecordSeat, 4>& seats, const GameOutcome& game) {
    std::vector<std::string> lines;
    lines.push_back("game: " + std::to_string(gameNumber));
    lines.push_back("program: " + program);
    lines.push_back("seed: " + std::to_string(game.seed));
    lines.push_back("rules: tonpu=" + std::string(rules.eastOnly ? "1" : "0") +
                    " startpoint=" + std::to_string(rules.startPoint) + " uma=" + rules.uma +
                    " chips=" + std::to_string(rules.yakumanChip) + "," + std::to_string(rules.ippatuChip) +
                    "," + std::to_string(rules.uradoraChip) + "," + std::to_string(rules.akadoraChip) +
                    " nofly=" + (rules.noFly ? "1" : "0") + " under=" + (rules.under ? "1" : "0"));
    for (std::size_t s = 0; s < 4; ++s) {
        const std::string& shown = seats[s].displayName.empty() ? seats[s].name : seats[s].displayName;
        lines.push_back("player: " + std::to_string(s) + " " + seats[s].name + " " + shown);
    }
    for (const HandRecord& h : game.hands) {
        std::string yaku;
        for (int y : h.yaku) yaku += (yaku.empty() ? "" : ",") + std::to_string(y);
        lines.push_back("hand: " + std::string(h.round == 0 ? "E" : "S") + std::to_string(h.dealer + 1) +
                        " " + std::to_string(h.honba) + " " + EndWord(h.end) + " " + SeatWord(h.winner) +
                        " " + SeatWord(h.loser) + " " + std::to_string(h.value) + " " +
                        (yaku.empty() ? "-" : yaku) + " reach=" + Joined(h.reached) +
                        " delta=" + Joined(h.scoreDelta) + " chips=" + Joined(h.chipDelta) +
                        " scores=" + Joined(h.scoresAfter));
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
            if (Token(8) != "-") {
                std::stringstream in(Token(8));
                std::string item;
                while (std::getline(in, item, ',')) {
                    int y = WordToInt(item);
                    if (y >= 0 && y < kYakuCount) h.yaku.push_back(y);
                }
            }
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
    out.push_back("牌譜の概要 (代用エンジンの牌譜): " + std::to_string(record.games.size()) + " ゲーム");
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
        for (int s = 0; s < 4; ++s) seatsLine += " [" + std::to_string(s) + "] " + nameOf(s);
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
                    break;
                case HandEnd::Abortive:
                    line += "途中流局 (" + nameOf(h.winner) + ")";
                    break;
            }
            if (!h.yaku.empty() && (h.end == HandEnd::Tsumo || h.end == HandEnd::Ron)) {
                std::string names;
                for (int y : h.yaku) names += (names.empty() ? "" : "、") + YakuName(y);
                line += "  [" + names + "]";
            }
            out.push_back(line);
            for (std::size_t s = 0; s < 4; ++s) reaches[s] += h.reached[s] ? 1 : 0;
            if (IsSeat(h.winner) && (h.end == HandEnd::Tsumo || h.end == HandEnd::Ron))
                wins[static_cast<std::size_t>(h.winner)] += 1;
            if (IsSeat(h.loser) && h.end == HandEnd::Ron) dealIns[static_cast<std::size_t>(h.loser)] += 1;
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
