#include "game_outcome.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numeric>

#include "config/codec.h"

namespace zv::engine {
namespace {

// splitmix64: small, fast and the same on every platform.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 <= n < bound
    int Below(int bound) {
        return bound <= 1 ? 0 : static_cast<int>(Next() % static_cast<std::uint64_t>(bound));
    }
    // true with probability permille / 1000
    bool Chance(int permille) { return Below(1000) < permille; }
    // An index chosen with the given weights (all >= 0, at least one > 0).
    int Weighted(const std::vector<int>& weights) {
        int total = std::accumulate(weights.begin(), weights.end(), 0);
        if (total <= 0) return 0;
        int pick = Below(total);
        for (std::size_t i = 0; i < weights.size(); ++i) {
            if (pick < weights[i]) return static_cast<int>(i);
            pick -= weights[i];
        }
        return static_cast<int>(weights.size()) - 1;
    }

private:
    std::uint64_t state_;
};

int RoundUp100(int value) { return (value + 99) / 100 * 100; }

// Hand values by size, for a non-dealer and a dealer, with how often each
// comes up (per mille). The last two are yakuman-sized.
struct ValueRow {
    int child;
    int dealer;
    int weight;
};
const ValueRow kValues[] = {
    {1000, 1500, 170},  {1300, 2000, 120},  {2000, 2900, 150}, {2600, 3900, 110},
    {3900, 5800, 130},  {5200, 7700, 90},   {7700, 11600, 60}, {8000, 12000, 90},
    {12000, 18000, 45}, {16000, 24000, 20}, {24000, 36000, 8}, {32000, 48000, 7},
};

// Patterns a stand-in win may carry besides riichi, ippatsu and tsumo.
const int kCommonYaku[] = {19, 20, 21, 23, 24, 25, 26, 27, 30, 31, 33, 34, 36, 38, 41, 42, 44, 47, 49};

int SkillWeight(const CharacterStyle& s) {
    // Any weights make a valid player; stronger settings win a little more.
    int w = 100 + s.yaku / 20 + std::clamp(s.deep, 0, 1000) / 20 + std::clamp(s.tsuyoki, 0, 1000) / 40;
    return std::max(w, 20);
}

}  // namespace

GameOutcome PlayGame(const GameRules& rules, const std::array<SeatStyle, 4>& seats, std::uint64_t seed) {
    GameOutcome game;
    game.seed = seed;
    Rng rng(seed);
    std::array<int, 4> scores;
    scores.fill(rules.startPoint);
    std::array<int, 4> chips{};
    int sticks = 0;

    const int rounds = rules.eastOnly ? 1 : 2;
    // Every dealer keeps the deal at most this often in a row, so a game
    // always ends.
    const int maxRepeats = 4;
    int round = 0;
    int dealer = 0;
    int honba = 0;
    int repeats = 0;
    while (round < rounds) {
        HandRecord hand;
        hand.round = round;
        hand.dealer = dealer;
        hand.honba = honba;
        std::array<int, 4> callsThisHand{};
        for (int s = 0; s < 4; ++s) {
            auto& player = game.players[static_cast<std::size_t>(s)];
            const CharacterStyle& style = seats[static_cast<std::size_t>(s)].style;
            player.plays += 1;
            int callChance = std::clamp(120 + (style.pon + style.tie + style.kan) / 4, 0, 600);
            if (rng.Chance(callChance)) callsThisHand[static_cast<std::size_t>(s)] = 1 + rng.Below(3);
            player.calls += callsThisHand[static_cast<std::size_t>(s)];
            int reachChance = std::clamp(60 + style.reach / 5, 0, 400);
            if (callsThisHand[static_cast<std::size_t>(s)] == 0 &&
                scores[static_cast<std::size_t>(s)] >= 1000 && rng.Chance(reachChance)) {
                hand.reached[static_cast<std::size_t>(s)] = true;
                player.reaches += 1;
                scores[static_cast<std::size_t>(s)] -= 1000;
                hand.scoreDelta[static_cast<std::size_t>(s)] -= 1000;
                sticks += 1000;
            }
        }

        int kind = rng.Below(1000);
        bool dealerKeeps = false;
        if (kind < 20) {
            hand.end = HandEnd::Abortive;
            hand.winner = rng.Below(4);
            auto& declarer = game.players[static_cast<std::size_t>(hand.winner)];
            declarer.yaku[52] = std::min(declarer.yaku[52] + 1, 9);  // nine different terminals
            dealerKeeps = true;
        } else if (kind < 170) {
            hand.end = HandEnd::Draw;
            std::array<bool, 4> ready{};
            int readyCount = 0;
            for (int s = 0; s < 4; ++s) {
                ready[static_cast<std::size_t>(s)] =
                    hand.reached[static_cast<std::size_t>(s)] || rng.Chance(400);
                readyCount += ready[static_cast<std::size_t>(s)] ? 1 : 0;
            }
            if (readyCount > 0 && readyCount < 4) {
                for (int s = 0; s < 4; ++s) {
                    int delta =
                        ready[static_cast<std::size_t>(s)] ? 3000 / readyCount : -3000 / (4 - readyCount);
                    scores[static_cast<std::size_t>(s)] += delta;
                    hand.scoreDelta[static_cast<std::size_t>(s)] += delta;
                }
            }
            dealerKeeps = ready[static_cast<std::size_t>(dealer)];
        } else {
            std::vector<int> weights;
            for (int s = 0; s < 4; ++s)
                weights.push_back(SkillWeight(seats[static_cast<std::size_t>(s)].style));
            int winner = rng.Weighted(weights);
            bool tsumo = rng.Chance(350);
            int loser = -1;
            if (!tsumo) {
                std::vector<int> dealIn;
                for (int s = 0; s < 4; ++s) {
                    const CharacterStyle& style = seats[static_cast<std::size_t>(s)].style;
                    dealIn.push_back(s == winner ? 0 : std::max(20, 200 - style.yomi / 10));
                }
                loser = rng.Weighted(dealIn);
            }
            std::vector<int> valueWeights;
            for (const auto& row : kValues) valueWeights.push_back(row.weight);
            const ValueRow& row = kValues[rng.Weighted(valueWeights)];
            bool isDealer = winner == dealer;
            int value = isDealer ? row.dealer : row.child;
            if (rules.mangan77 && (value == 7700 || value == 11600)) value = isDealer ? 12000 : 8000;
            bool yakuman = row.child >= 32000;

            // The patterns the win scored.
            std::vector<int> yaku;
            const auto w = static_cast<std::size_t>(winner);
            bool closed = callsThisHand[w] == 0;
            bool ippatsu = false;
            if (yakuman) {
                yaku.push_back(0);
                yaku.push_back(1 + rng.Below(13));
            } else {
                if (hand.reached[w]) {
                    yaku.push_back(16);
                    if (rng.Chance(120)) {
                        yaku.push_back(17);
                        ippatsu = true;
                    }
                }
                if (tsumo && closed) yaku.push_back(18);
                int extra = 1 + rng.Below(2);
                for (int i = 0; i < extra; ++i) {
                    int pick = kCommonYaku[rng.Below(static_cast<int>(std::size(kCommonYaku)))];
                    if (pick == 19 && (!closed || (tsumo && rules.noPinTumo))) continue;
                    if (pick == 20 && !closed && rules.noNakiTan) continue;
                    if (std::find(yaku.begin(), yaku.end(), pick) == yaku.end()) yaku.push_back(pick);
                }
                if (yaku.empty()) yaku.push_back(closed ? 18 : 24);
            }

            // Chips for the win: paid by the loser, or by each other player
            // after a self-draw.
            int akadora = 0;
            if (!rules.noAkadora && (closed || !rules.noNakiAka)) akadora = rng.Weighted({550, 300, 120, 30});
            int uradora = 0;
            if (hand.reached[w]) uradora = rng.Weighted({700, 220, rules.noKanUra ? 0 : 80});
            int chipCount = akadora * rules.akadoraChip + uradora * rules.uradoraChip +
                            (ippatsu ? rules.ippatuChip : 0) + (yakuman ? rules.yakumanChip : 0);
            if (akadora == 3 && !rules.noAllStars) chipCount += 2;

            auto& winStats = game.players[w];
            int gained = 0;
            if (tsumo) {
                for (int s = 0; s < 4; ++s) {
                    if (s == winner) continue;
                    int pay = isDealer      ? RoundUp100(value / 3)
                              : s == dealer ? RoundUp100(value / 2)
                                            : RoundUp100(value / 4);
                    pay += 100 * honba;
                    scores[static_cast<std::size_t>(s)] -= pay;
                    hand.scoreDelta[static_cast<std::size_t>(s)] -= pay;
                    chips[static_cast<std::size_t>(s)] -= chipCount;
                    hand.chipDelta[static_cast<std::size_t>(s)] -= chipCount;
                    gained += pay;
                }
                chips[w] += chipCount * 3;
                hand.chipDelta[w] += chipCount * 3;
                winStats.tsumoCount += 1;
                winStats.tsumoPoints += gained;
            } else {
                gained = value + 300 * honba;
                const auto l = static_cast<std::size_t>(loser);
                scores[l] -= gained;
                hand.scoreDelta[l] -= gained;
                chips[l] -= chipCount;
                hand.chipDelta[l] -= chipCount;
                chips[w] += chipCount;
                hand.chipDelta[w] += chipCount;
                winStats.ronCount += 1;
                winStats.ronPoints += gained;
                game.players[l].dealInCount += 1;
                game.players[l].dealInPoints += gained;
            }
            scores[w] += gained + sticks;
            hand.scoreDelta[w] += gained + sticks;
            sticks = 0;
            for (int y : yaku)
                winStats.yaku[static_cast<std::size_t>(y)] =
                    std::min(winStats.yaku[static_cast<std::size_t>(y)] + 1, 9);

            hand.end = tsumo ? HandEnd::Tsumo : HandEnd::Ron;
            hand.winner = winner;
            hand.loser = loser;
            hand.value = value;
            hand.yaku = yaku;
            dealerKeeps = isDealer;
        }
        hand.scoresAfter = scores;
        game.hands.push_back(hand);

        if (!rules.noFly && std::any_of(scores.begin(), scores.end(), [](int s) { return s < 0; })) {
            game.bustOut = true;
            break;
        }
        if (dealerKeeps && repeats < maxRepeats) {
            honba += 1;
            repeats += 1;
        } else {
            honba = (hand.end == HandEnd::Draw || hand.end == HandEnd::Abortive) ? honba + 1 : 0;
            repeats = 0;
            if (++dealer == 4) {
                dealer = 0;
                round += 1;
            }
        }
    }

    // Order: higher score first, ties to the earlier seat.
    std::array<int, 4> order = {0, 1, 2, 3};
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return scores[static_cast<std::size_t>(a)] > scores[static_cast<std::size_t>(b)];
    });
    // Sticks still on the table go to the top.
    scores[static_cast<std::size_t>(order[0])] += sticks;
    game.leftoverSticks = sticks;

    // The counted score: without "under", a score below zero counts as zero;
    // the debt left unpaid comes out of the top's points, which always take
    // what the others' leave (points are zero-sum).
    std::array<int, 4> counted = scores;
    if (!rules.under)
        for (int& c : counted) c = std::max(c, 0);
    int sinking = 0;
    for (int c : counted) sinking += c < rules.startPoint ? 1 : 0;
    std::vector<int> uma = UmaForPlaces(rules.uma, sinking);

    // Points in thousands, rounded half up; the top takes what rounding
    // leaves, so the points of the four add up to zero.
    int othersSum = 0;
    for (int place = 1; place <= 4; ++place) {
        int seat = order[static_cast<std::size_t>(place - 1)];
        auto& p = game.players[static_cast<std::size_t>(seat)];
        p.place = place;
        p.finalScore = scores[static_cast<std::size_t>(seat)];
        p.chips = chips[static_cast<std::size_t>(seat)];
        if (place > 1) {
            int diff = counted[static_cast<std::size_t>(seat)] - rules.startPoint;
            int base = diff >= 0 ? (diff + 500) / 1000 : -((-diff + 499) / 1000);
            p.points = base + uma[static_cast<std::size_t>(place - 1)];
            othersSum += p.points;
        }
    }
    game.players[static_cast<std::size_t>(order[0])].points = -othersSum;
    return game;
}

std::string ResultLine(const PlayerStats& p) {
    std::string line = "result:";
    for (int v : {p.place, p.points, p.chips, p.plays, p.reaches, p.calls, p.tsumoPoints, p.tsumoCount,
                  p.ronPoints, p.ronCount, p.dealInPoints, p.dealInCount}) {
        line += ' ';
        line += std::to_string(v);
    }
    return line;
}

std::string YakuLine(const PlayerStats& p) {
    std::string line = "yaku: ";
    for (int count : p.yaku) line += static_cast<char>('0' + std::clamp(count, 0, 9));
    return line;
}

std::uint64_t ChooseSeed() {
    if (const char* env = std::getenv("ZV_ENGINE_SEED"); env != nullptr && *env != '\0')
        return std::strtoull(env, nullptr, 10);
    auto now = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    return now ^ (static_cast<std::uint64_t>(::getpid()) << 32);
}

std::string AppendResults(const std::string& path, const PlayerStats& stats) {
    std::string bytes = ToCp932(ResultLine(stats)) + "\r\n" + ToCp932(YakuLine(stats)) + "\r\n";
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (file == nullptr) return path + ": cannot open the results file (" + std::strerror(errno) + ")";
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = (std::fclose(file) == 0) && ok;
    if (!ok) return path + ": cannot write the results file";
    return {};
}

}  // namespace zv::engine
