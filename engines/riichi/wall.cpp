#include "riichi/wall.h"

#include "riichi/random.h"

namespace zv::riichi {

Wall::Wall(std::uint64_t seed, bool threePlayer) {
    tiles_.fill(-1);
    size_ = 0;
    for (int i = 0; i < kTiles; ++i)
        if (InPlay(KindOf(i), threePlayer)) tiles_[static_cast<std::size_t>(size_++)] = i;
    Random(seed).Shuffle(tiles_.begin(), tiles_.begin() + size_);
}

Wall::Wall(const std::array<TileId, kTiles>& tiles) : tiles_(tiles) {}

Wall Wall::ThreePlayer(const std::vector<TileId>& tiles) {
    Wall wall;
    wall.tiles_.fill(-1);
    wall.size_ = kThreePlayerTiles;
    for (std::size_t i = 0; i < tiles.size() && i < wall.tiles_.size(); ++i) wall.tiles_[i] = tiles[i];
    return wall;
}

TileId Wall::Draw() {
    if (LiveRemaining() <= 0) return -1;
    return tiles_[static_cast<std::size_t>(next_++)];
}

TileId Wall::DrawReplacement() {
    if (replacementsDrawn_ >= MaxReplacements() || LiveRemaining() <= 0) return -1;
    int n = replacementsDrawn_++;
    // After the dead wall's own four, the tiles it took back from the live
    // wall's end, nearest first.
    int at = n < kMaxKans ? FirstReplacement() - n : DeadWallStart() - 1 - (n - kMaxKans);
    return tiles_[static_cast<std::size_t>(at)];
}

void Wall::RevealKanDora() {
    if (kanDoraRevealed_ < kMaxKans) ++kanDoraRevealed_;
}

int Wall::LiveRemaining() const { return DeadWallStart() - next_ - replacementsDrawn_; }

std::vector<TileId> Wall::DoraIndicators() const {
    std::vector<TileId> out;
    for (int i = 0; i <= kanDoraRevealed_; ++i)
        out.push_back(tiles_[static_cast<std::size_t>(FirstDora() - 2 * i)]);
    return out;
}

std::vector<TileId> Wall::UraIndicators() const {
    std::vector<TileId> out;
    for (int i = 0; i <= kanDoraRevealed_; ++i)
        out.push_back(tiles_[static_cast<std::size_t>(FirstDora() + 1 - 2 * i)]);
    return out;
}

}  // namespace zv::riichi
