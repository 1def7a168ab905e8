#include "records/rating.h"

namespace zv {

const std::array<std::array<std::int16_t, 4>, kYakuCount> YakuPointTable = {{
    {0, 0, 0, 0},
    {-10, 1500, -100, -900},
    {500, 800, 10, 400},
    {-20, 700, 30, 1000},
    {100, 300, 10, 0},
    {10, 200, 10, 1000},
    {10, 800, 10, -300},
    {100, 800, 10, -400},
    {10, 2200, 10, 100},
    {-10, 4400, 10, 400},
    {-10, 9900, 10, 10},
    {-10, 800, 10, 10},
    {-10, 100, 10, 10},
    {-10, 1000, 10, 10},
    {-10, 400, 100, -1000},
    {-40, 1000, 100, -100},
    {300, 300, 300, 40},
    {-10, 100, 400, -500},
    {100, 110, 0, 0},
    {70, 20, 70, 20},
    {50, 30, 20, 10},
    {100, 100, 30, 20},
    {10, 1000, 20, -30},
    {10, -180, 10, -90},
    {10, -180, 2, -80},
    {10, -170, 1, -40},
    {10, -170, 1, -40},
    {10, -170, 1, -40},
    {10, 1200, 1, -30},
    {10, 1200, 1, 0},
    {30, -500, 20, -100},
    {30, -300, 20, -100},
    {30, -200, 20, -100},
    {300, 10, 90, -100},
    {300, 80, 70, -100},
    {700, 700, 70, 200},
    {50, 30, -30, -80},
    {13, 10, 10, 13},
    {-500, 40, 10, -100},
    {10, 300, 10, -100},
    {10, 13, 30, 40},
    {20, 80, 20, 13},
    {20, 70, 30, -200},
    {90, -130, 30, 14},
    {10, 300, 30, 10},
    {10, 700, 30, 10},
    {50, 600, 30, 13},
    {20, 300, 200, -100},
    {100, 10, 10, 800},
    {40, -10, -10, 70},
    {-70, -300, -300, -700},
    {-70, 0, 0, 0},
    {0, 0, 0, 0},
    {0, 0, 0, 0},
    {0, 0, 0, 0},
    {0, 0, 0, 0},
    {-500, -100, 10, -500},
    {0, 0, 0, 0},
    {0, 0, 0, 0},
    {0, 0, 0, 0},
}};

PlayerRating RatePlayer(const PlayerResults& results) {
    PlayerRating rating;
    for (int i = 0; i < kYakuCount; ++i) {
        const std::int64_t count = results.yaku[i];
        rating.technique += YakuPointTable[i][0] * count;
        rating.luck += YakuPointTable[i][1] * count;
        rating.strength += YakuPointTable[i][2] * count;
        rating.attribute += YakuPointTable[i][3] * count;
    }
    const std::int64_t p1 = results.places[0], p2 = results.places[1];
    const std::int64_t p3 = results.places[2], p4 = results.places[3];
    rating.technique += 9 * p1 + 4 * p2 - 19 * p3 - 91 * p4;
    rating.luck += -8 * p1 + 3 * p2 - 34 * p3 + 82 * p4;
    rating.strength += 8 * p1 + 3 * p2 - 34 * p3 - 86 * p4;
    rating.attribute += 7 * p1 + 2 * p2 - 22 * p3 - 75 * p4;
    return rating;
}

std::string AttributeClass(std::int64_t attribute) {
    if (attribute > 1200) return "Angel";
    if (attribute < -1200) return "Wizard";
    if (attribute > 800) return "Master";
    if (attribute < -800) return "Devil";
    if (attribute > 400) return "Law";
    if (attribute < -400) return "Chaos";
    return "Neutral";
}

}  // namespace zv
