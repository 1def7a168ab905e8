#include "player.h"

#include "simple_player.h"

namespace zv::players {
namespace {

// Until the weighted player is in, every computer seat plays by shanten.
class ShantenPlayer : public Player {
public:
    riichi::Action Decide(const riichi::SeatView& view) override { return riichi::ShantenOnlyDecision(view); }
};

}  // namespace

std::unique_ptr<Player> MakeCharacterPlayer(const Weights&, std::uint64_t) {
    return std::make_unique<ShantenPlayer>();
}
std::unique_ptr<Player> MakeTsumogiriPlayer() { return std::make_unique<ShantenPlayer>(); }
std::unique_ptr<Player> MakeEfficiencyPlayer() { return std::make_unique<ShantenPlayer>(); }

}  // namespace zv::players
