#pragma once
// A seeded random source that gives the same numbers on every platform and
// compiler (splitmix64), with its own unbiased bounded draw and shuffle:
// the standard library's distributions and std::shuffle are not fixed by the
// standard, so walls would differ between builds.
#include <cstdint>
#include <utility>

namespace zv::riichi {

class Random {
public:
    explicit Random(std::uint64_t seed = 0) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, bound); 0 when bound <= 1. Rejection sampling keeps it
    // unbiased.
    std::uint64_t Below(std::uint64_t bound) {
        if (bound <= 1) return 0;
        std::uint64_t limit = ~std::uint64_t{0} - (~std::uint64_t{0} % bound);
        std::uint64_t x;
        do x = Next();
        while (x >= limit);
        return x % bound;
    }
    // True with probability permille / 1000.
    bool Chance(int permille) { return static_cast<int>(Below(1000)) < permille; }
    // Fisher-Yates over [first, last).
    template <class It>
    void Shuffle(It first, It last) {
        auto n = static_cast<std::uint64_t>(last - first);
        for (std::uint64_t i = n; i > 1; --i) {
            std::uint64_t j = Below(i);
            using std::swap;
            swap(first[static_cast<long>(i - 1)], first[static_cast<long>(j)]);
        }
    }

private:
    std::uint64_t state_;
};

}  // namespace zv::riichi
