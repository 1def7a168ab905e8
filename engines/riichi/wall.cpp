#include "riichi/wall.h"

#include "riichi/random.h"

namespace zv::riichi {

Wall::Wall(std::uint64_t seed) {
    for (int i = 0; i < kTiles; ++i) tiles_[static_cast<std::size_t>(i)] = i;
    Random(seed).Shuffle(tiles_.begin(), tiles_.end());
}

Wall::Wall(const std::array<TileId, kTiles>& tiles) : tiles_(tiles) {}

TileId Wall::Draw() {
    if (LiveRemaining() <= 0) return -1;
    return tiles_[static_cast<std::size_t>(next_++)];
}

TileId Wall::DrawReplacement() {
    if (replacementsDrawn_ >= kMaxKans || LiveRemaining() <= 0) return -1;
    return tiles_[static_cast<std::size_t>(kFirstReplacement - replacementsDrawn_++)];
}

void Wall::RevealKanDora() {
    if (kanDoraRevealed_ < kMaxKans) ++kanDoraRevealed_;
}

int Wall::LiveRemaining() const { return kDeadWallStart - next_ - replacementsDrawn_; }

std::vector<TileId> Wall::DoraIndicators() const {
    std::vector<TileId> out;
    for (int i = 0; i <= kanDoraRevealed_; ++i)
        out.push_back(tiles_[static_cast<std::size_t>(kFirstDora - 2 * i)]);
    return out;
}

std::vector<TileId> Wall::UraIndicators() const {
    std::vector<TileId> out;
    for (int i = 0; i <= kanDoraRevealed_; ++i)
        out.push_back(tiles_[static_cast<std::size_t>(kFirstDora + 1 - 2 * i)]);
    return out;
}

}  // namespace zv::riichi
