#pragma once
// The player rating: four weighted sums over the yaku counters of a results
// record plus terms for the places, and the attribute class derived from the
// fourth sum.
#include <array>
#include <cstdint>
#include <string>

#include "records/results.h"

namespace zv {

// Weights per yaku: technique, luck, strength, attribute.
extern const std::array<std::array<std::int16_t, 4>, kYakuCount> YakuPointTable;

struct PlayerRating {
    std::int64_t technique = 0;
    std::int64_t luck = 0;
    std::int64_t strength = 0;
    std::int64_t attribute = 0;
};

PlayerRating RatePlayer(const PlayerResults& results);

// "Angel", "Wizard", "Master", "Devil", "Law", "Chaos" or "Neutral".
std::string AttributeClass(std::int64_t attribute);

}  // namespace zv
