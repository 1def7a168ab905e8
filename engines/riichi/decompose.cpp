// Decompositions of a complete hand. The regular form takes each possible
// pair, then peels sets off the lowest kind still held: that kind can only
// begin a triplet or a sequence, so trying both covers every reading once.
#include "riichi/decompose.h"

namespace zv::riichi {
namespace {

constexpr std::array<Kind, 13> kOrphans{0, 8, 9, 17, 18, 26, 27, 28, 29, 30, 31, 32, 33};

void PeelSets(Counts& counts, Kind from, Decomposition& current, std::vector<Decomposition>& out) {
    Kind k = from;
    while (k < kKinds && counts[k] == 0) ++k;
    if (k == kKinds) {
        out.push_back(current);
        return;
    }
    if (current.setCount == 4) return;  // more tiles than four sets hold
    if (counts[k] >= 3) {
        counts[k] -= 3;
        current.sets[current.setCount++] = {k, false};
        PeelSets(counts, k, current, out);
        --current.setCount;
        counts[k] += 3;
    }
    if (!IsHonor(k) && NumberOf(k) <= 7 && counts[k + 1] > 0 && counts[k + 2] > 0) {
        --counts[k];
        --counts[k + 1];
        --counts[k + 2];
        current.sets[current.setCount++] = {k, true};
        PeelSets(counts, k, current, out);
        --current.setCount;
        ++counts[k];
        ++counts[k + 1];
        ++counts[k + 2];
    }
}

}  // namespace

void DecomposeRegular(const Counts& counts, std::vector<Decomposition>& out) {
    int total = 0;
    for (auto c : counts) total += c;
    if (total % 3 != 2 || total > 14) return;
    Counts work = counts;
    Decomposition current;
    for (Kind pair = 0; pair < kKinds; ++pair) {
        if (work[pair] < 2) continue;
        work[pair] -= 2;
        current.pair = pair;
        current.setCount = 0;
        PeelSets(work, 0, current, out);
        work[pair] += 2;
    }
}

bool IsSevenPairs(const Counts& counts) {
    int pairs = 0;
    for (auto c : counts) {
        if (c == 2)
            ++pairs;
        else if (c != 0)
            return false;
    }
    return pairs == 7;
}

bool IsThirteenOrphans(const Counts& counts) {
    int total = 0, orphans = 0;
    for (auto c : counts) total += c;
    for (Kind k : kOrphans) {
        if (counts[k] == 0) return false;
        orphans += counts[k];
    }
    return total == 14 && orphans == 14;
}

void Decompose(const Counts& counts, std::vector<Decomposition>& out) {
    out.clear();
    DecomposeRegular(counts, out);
    if (IsSevenPairs(counts)) {
        Decomposition d;
        d.form = HandForm::SevenPairs;
        out.push_back(d);
    }
    if (IsThirteenOrphans(counts)) {
        Decomposition d;
        d.form = HandForm::ThirteenOrphans;
        for (Kind k : kOrphans)
            if (counts[k] == 2) d.pair = k;
        out.push_back(d);
    }
}

}  // namespace zv::riichi
