// An mjai bot for the bridge tests that does everything a bot can: it keeps
// its hand from the events, wins whenever its tiles are complete, declares
// riichi as soon as a closed hand is ready, calls pon on honours (and on
// anything, and chi, once it holds a pon), and makes every kan it can. It does not
// know all the rules (yaku, furiten, riichi limits): when the bridge answers
// a choice with an "error" event, it gives its second choice instead, a
// discard or "none".
//   bold_bot [PIDFILE]   appends its process id to PIDFILE when it starts
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "mjai/mjai.h"
#include "riichi/shanten.h"

namespace {

namespace mjai = zv::mjai;
namespace riichi = zv::riichi;

riichi::Kind KindOf(const std::string& tile) {
    riichi::Kind kind = -1;
    bool red = false;
    return mjai::ParseTile(tile, kind, red) ? kind : -1;
}

std::string Str(const mjai::Json* value) {
    return value != nullptr && value->type == mjai::Json::Type::String ? value->string : std::string();
}

int Int(const mjai::Json* value) {
    return value != nullptr && value->type == mjai::Json::Type::Number ? static_cast<int>(value->number) : -1;
}

std::string Tiles(const std::vector<std::string>& tiles) {
    std::string text = "[";
    for (std::size_t i = 0; i < tiles.size(); ++i) text += (i > 0 ? "," : "") + mjai::Quote(tiles[i]);
    return text + "]";
}

class BoldBot {
public:
    // The answer to one event.
    std::string Answer(const mjai::Json& event) {
        std::string type = Str(event.Find("type"));
        int actor = Int(event.Find("actor"));
        if (type == "error") {
            std::string second = second_.empty() ? "{\"type\":\"none\"}" : second_;
            second_.clear();
            return second;
        }
        second_.clear();
        if (type == "start_game") {
            id_ = Int(event.Find("id"));
        } else if (type == "start_kyoku") {
            StartHand(event);
        } else if (type == "tsumo" && actor == id_) {
            hand_.push_back(Str(event.Find("pai")));
            return OwnTurn(Str(event.Find("pai")));
        } else if (type == "reach" && actor == id_) {
            riichi_ = true;
            second_ = Discard(riichiTile_);
            return second_;
        } else if (type == "dahai" && actor == id_) {
            Remove(Str(event.Find("pai")));
        } else if ((type == "dahai" || type == "kakan") && actor != id_) {
            return OthersTile(actor, Str(event.Find("pai")), type == "dahai");
        } else if ((type == "pon" || type == "chi" || type == "daiminkan" || type == "ankan") &&
                   actor == id_) {
            TakeMeld(event, type);
            if (type == "pon" || type == "chi") return Discard(BestDiscard());
        } else if (type == "kakan") {
            Remove(Str(event.Find("pai")));
            pons_.erase(std::remove(pons_.begin(), pons_.end(), KindOf(Str(event.Find("pai")))), pons_.end());
        }
        return "{\"type\":\"none\"}";
    }

private:
    void StartHand(const mjai::Json& event) {
        hand_.clear();
        pons_.clear();
        melds_ = 0;
        riichi_ = false;
        const mjai::Json* tehais = event.Find("tehais");
        if (tehais == nullptr || id_ < 0 || tehais->items.size() != 4) return;
        for (const mjai::Json& tile : tehais->items[static_cast<std::size_t>(id_)].items)
            hand_.push_back(tile.string);
    }

    riichi::Counts Counts(const std::vector<std::string>& tiles) const {
        riichi::Counts counts{};
        for (const std::string& t : tiles)
            if (KindOf(t) >= 0) ++counts[static_cast<std::size_t>(KindOf(t))];
        return counts;
    }
    int Held(riichi::Kind kind) const { return Counts(hand_)[static_cast<std::size_t>(kind)]; }

    std::vector<std::string> OfKind(riichi::Kind kind, std::size_t n) const {
        std::vector<std::string> found;
        for (const std::string& t : hand_)
            if (KindOf(t) == kind && found.size() < n) found.push_back(t);
        return found;
    }

    void Remove(const std::string& tile) {
        auto it = std::find(hand_.begin(), hand_.end(), tile);
        if (it == hand_.end())
            it = std::find_if(hand_.begin(), hand_.end(),
                              [&](const std::string& t) { return KindOf(t) == KindOf(tile); });
        if (it != hand_.end()) hand_.erase(it);
    }

    std::string Discard(const std::string& tile) const {
        bool drawn = !hand_.empty() && hand_.back() == tile;
        return "{\"type\":\"dahai\",\"actor\":" + std::to_string(id_) + ",\"pai\":" + mjai::Quote(tile) +
               ",\"tsumogiri\":" + (drawn ? "true" : "false") + "}";
    }

    int ShantenWithout(std::size_t index) const {
        std::vector<std::string> rest = hand_;
        rest.erase(rest.begin() + static_cast<long>(index));
        return riichi::Shanten(Counts(rest), melds_);
    }

    // The tile whose discard leaves the hand closest to ready (the last such).
    std::string BestDiscard() const {
        std::size_t best = hand_.size() - 1;
        int least = 99;
        for (std::size_t i = 0; i < hand_.size(); ++i) {
            int shanten = ShantenWithout(i);
            if (shanten <= least) {
                least = shanten;
                best = i;
            }
        }
        return hand_[best];
    }

    std::string OwnTurn(const std::string& drawn) {
        std::string discard = riichi_ ? drawn : BestDiscard();
        second_ = Discard(discard);
        std::string actor = "\"actor\":" + std::to_string(id_);
        if (riichi::IsComplete(Counts(hand_), melds_))
            return "{\"type\":\"hora\"," + actor + ",\"target\":" + std::to_string(id_) +
                   ",\"pai\":" + mjai::Quote(drawn) + "}";
        // A closed kan even in riichi: the bridge says when it changes the wait.
        for (const std::string& t : hand_)
            if (Held(KindOf(t)) == 4)
                return "{\"type\":\"ankan\"," + actor + ",\"consumed\":" + Tiles(OfKind(KindOf(t), 4)) + "}";
        if (riichi_) return second_;
        riichi::Kind kind = KindOf(drawn);
        if (std::find(pons_.begin(), pons_.end(), kind) != pons_.end())
            return "{\"type\":\"kakan\"," + actor + ",\"pai\":" + mjai::Quote(drawn) + "}";
        if (melds_ == 0 && ShantenWithout(static_cast<std::size_t>(
                               std::find(hand_.begin(), hand_.end(), discard) - hand_.begin())) == 0) {
            riichiTile_ = discard;
            return "{\"type\":\"reach\"," + actor + "}";
        }
        return second_;
    }

    std::string OthersTile(int actor, const std::string& tile, bool discarded) {
        second_ = "{\"type\":\"none\"}";
        riichi::Kind kind = KindOf(tile);
        std::string me = "\"actor\":" + std::to_string(id_) + ",\"target\":" + std::to_string(actor) +
                         ",\"pai\":" + mjai::Quote(tile);
        std::vector<std::string> with = hand_;
        with.push_back(tile);
        if (riichi::IsComplete(Counts(with), melds_)) return "{\"type\":\"hora\"," + me + "}";
        if (!discarded || riichi_) return second_;
        if (Held(kind) == 3)
            return "{\"type\":\"daiminkan\"," + me + ",\"consumed\":" + Tiles(OfKind(kind, 3)) + "}";
        if (Held(kind) == 2 && (riichi::IsHonor(kind) || !pons_.empty()))
            return "{\"type\":\"pon\"," + me + ",\"consumed\":" + Tiles(OfKind(kind, 2)) + "}";
        if (!pons_.empty() && actor == (id_ + 3) % 4 && !riichi::IsHonor(kind)) {
            // A chi that makes the hand no worse, tiles below or around the discard.
            for (int low : {-2, -1, 1}) {
                riichi::Kind a = kind + low, b = kind + (low == -2 ? -1 : low + 1);
                if (a < 0 || b >= 27 || riichi::SuitOf(a) != riichi::SuitOf(kind) ||
                    riichi::SuitOf(b) != riichi::SuitOf(kind) || Held(a) == 0 || Held(b) == 0)
                    continue;
                return "{\"type\":\"chi\"," + me +
                       ",\"consumed\":" + Tiles({OfKind(a, 1)[0], OfKind(b, 1)[0]}) + "}";
            }
        }
        return second_;
    }

    void TakeMeld(const mjai::Json& event, const std::string& type) {
        const mjai::Json* consumed = event.Find("consumed");
        if (consumed != nullptr)
            for (const mjai::Json& t : consumed->items) Remove(t.string);
        ++melds_;
        if (type == "pon") pons_.push_back(KindOf(Str(event.Find("pai"))));
    }

    int id_ = -1;
    std::vector<std::string> hand_;  // concealed tiles, the drawn one last
    std::vector<riichi::Kind> pons_;
    int melds_ = 0;
    bool riichi_ = false;
    std::string riichiTile_;
    std::string second_;  // the answer after an error event
};

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) std::ofstream(argv[1], std::ios::app) << ::getpid() << "\n";
    BoldBot bot;
    for (std::string line; std::getline(std::cin, line);) {
        mjai::Json event;
        std::string error;
        if (!mjai::ParseJson(line, event, error)) return 4;
        std::cout << bot.Answer(event) << std::endl;
    }
    return 0;
}
