// Checking an mjai log and reading it back into hands of the rules library.
// Both walk the log with the same model of the table (`Table`): whose turn
// it is, what each player holds, what the wall has shown and the scores.
#include <algorithm>
#include <optional>

#include "mjai/mjai.h"

namespace zv::mjai {
namespace {

std::size_t Idx(int i) { return static_cast<std::size_t>(i); }

// One tile of the log: its kind and redness.
struct LogTile {
    riichi::Kind kind = -1;
    bool red = false;
    bool operator==(const LogTile&) const = default;
};

class Failure {
public:
    explicit Failure(std::string text) : text_(std::move(text)) {}
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

[[noreturn]] void Fail(const std::string& text) { throw Failure(text); }

// Reading the members of one event.
struct EventView {
    const Json& json;
    std::string type;

    const Json& Member(const char* key) const {
        const Json* value = json.Find(key);
        if (value == nullptr) Fail(type + ": \"" + key + "\" missing");
        return *value;
    }
    bool Has(const char* key) const { return json.Find(key) != nullptr; }
    int Int(const char* key, int low, int high) const {
        const Json& v = Member(key);
        // The range first: a number far out of it must not be converted.
        if (v.type != Json::Type::Number || !(v.number >= low && v.number <= high) ||
            v.number != static_cast<double>(static_cast<int>(v.number)))
            Fail(type + ": \"" + key + "\" must be a whole number from " + std::to_string(low) + " to " +
                 std::to_string(high));
        return static_cast<int>(v.number);
    }
    static LogTile TileOf(const Json& v, const std::string& what) {
        LogTile t;
        if (v.type != Json::Type::String || !ParseTile(v.string, t.kind, t.red))
            Fail(what + ": not a tile" +
                 (v.type == Json::Type::String ? " (\"" + v.string + "\")" : std::string()));
        return t;
    }
    LogTile Tile(const char* key) const { return TileOf(Member(key), type + " \"" + key + "\""); }
    std::vector<LogTile> Tiles(const char* key, std::size_t low, std::size_t high) const {
        const Json& v = Member(key);
        if (v.type != Json::Type::Array || v.items.size() < low || v.items.size() > high)
            Fail(type + ": \"" + key + "\" must list " + std::to_string(low) +
                 (low == high ? "" : " to " + std::to_string(high)) + " tiles");
        std::vector<LogTile> tiles;
        for (const Json& item : v.items) tiles.push_back(TileOf(item, type + " \"" + key + "\""));
        return tiles;
    }
    // One number per player (`players` of them; a fourth player's is 0
    // with three).
    std::array<int, 4> Numbers(const char* key, int players) const {
        const Json& v = Member(key);
        const std::string wanted =
            type + ": \"" + key + "\" must list " + std::to_string(players) + " numbers";
        if (v.type != Json::Type::Array || v.items.size() != Idx(players)) Fail(wanted);
        std::array<int, 4> out{};
        for (std::size_t i = 0; i < v.items.size(); ++i) {
            const Json& n = v.items[i];
            if (n.type != Json::Type::Number || !(n.number >= -1e9 && n.number <= 1e9)) Fail(wanted);
            out[i] = static_cast<int>(v.items[i].number);
        }
        return out;
    }
};

// The table as the log tells it. Physical tiles are given out as the log
// shows them (a red five is copy 0 of its five; plain tiles take the next
// free copy), so that the reader can build walls and actions from them.
// The number of players comes from start_game's names, or else from the
// first start_kyoku's hands.
class Table {
public:
    // Applies one event; throws Failure when it breaks the game.
    void Apply(const EventView& e);
    int Players() const { return players_ > 0 ? players_ : 4; }

    bool gameStarted = false, gameOver = false;
    std::array<std::string, 4> names;
    std::vector<ImportedHand> hands;
    std::array<int, 4> finalScores{};
    bool hasFinalScores = false;

private:
    riichi::TileId Show(const LogTile& t, const std::string& what);
    riichi::TileId Take(int seat, const LogTile& t, riichi::TileId prefer, const std::string& what);
    void Place(int index, riichi::TileId tile);
    void Deltas(const EventView& e);
    void EndHand();
    void North(const EventView& e);
    int Seat(const EventView& e, const char* key) const { return e.Int(key, 0, Players() - 1); }
    bool Three() const { return players_ == 3; }
    // Where the next replacement tile lies in the wall (wall.h), -1 when
    // the wall gives no more.
    int ReplacementIndex() const;
    ImportedHand& Hand() { return hands.back(); }

    bool inHand_ = false, handOver_ = false;
    std::array<bool, riichi::kTiles> used_{};
    std::array<std::vector<riichi::TileId>, 4> held_;
    std::array<int, 4> melds_{};
    std::array<int, 4> scores_{};
    long long total_ = 0;
    bool scoresKnown_ = false;
    int sticks_ = 0;
    // Turn: who must act on its own turn, whose discard is open to claims,
    // who draws a replacement tile next.
    int mustAct_ = -1, discarder_ = -1, rinshan_ = -1, reach_ = -1, accept_ = -1;
    bool afterCall_ = false;
    std::array<riichi::TileId, 4> drawn_{-1, -1, -1, -1};
    riichi::TileId claimTile_ = -1;  // the discard or kan tile others may win on
    int claimFrom_ = -1;
    bool claimIsKan_ = false;
    int players_ = 0;  // 0 until the log says
    int size_ = riichi::kTiles;
    int nextDraw_ = 52, replacements_ = 0, nextDora_ = 128, nextUra_ = 131;
    int doraShown_ = 0;
    bool uraShown_ = false;
};

riichi::TileId Table::Show(const LogTile& t, const std::string& what) {
    if (Three() && !riichi::InThreePlayerSet(t.kind))
        Fail(what + ": " + TileText(t.kind * 4 + 1) + " is not played with three players");
    riichi::TileId id = riichi::FreeCopy(t.kind, t.red, used_);
    // A log of a game without red fives writes all four fives plain.
    if (id < 0 && !t.red) id = riichi::FreeCopy(t.kind, true, used_);
    if (id < 0)
        Fail(what + ": a fifth " + TileText(t.kind * 4 + (t.red ? 0 : 1)) +
             (t.red ? " (one red five per suit)" : ""));
    used_[Idx(id)] = true;
    return id;
}

riichi::TileId Table::Take(int seat, const LogTile& t, riichi::TileId prefer, const std::string& what) {
    auto& hand = held_[Idx(seat)];
    auto fits = [&](riichi::TileId id) {
        return riichi::KindOf(id) == t.kind && riichi::IsRedFive(id) == t.red;
    };
    auto it = hand.end();
    if (prefer >= 0 && fits(prefer)) it = std::find(hand.begin(), hand.end(), prefer);
    if (it == hand.end())
        it = std::find_if(hand.begin(), hand.end(),
                          [&](riichi::TileId id) { return fits(id) && id != prefer; });
    if (it == hand.end()) it = std::find_if(hand.begin(), hand.end(), fits);
    // Logs without red fives: a plain five may be the copy that is red here.
    if (it == hand.end() && !t.red)
        it = std::find_if(hand.begin(), hand.end(),
                          [&](riichi::TileId id) { return riichi::KindOf(id) == t.kind; });
    if (it == hand.end())
        Fail(what + ": player " + std::to_string(seat) + " does not hold " +
             TileText(t.kind * 4 + (t.red ? 0 : 1)));
    riichi::TileId id = *it;
    hand.erase(it);
    return id;
}

int Table::ReplacementIndex() const {
    constexpr int kOwn = riichi::Wall::kMaxKans;  // the dead wall's own replacement tiles
    int n = replacements_;
    if (n >= (Three() ? 2 * kOwn : kOwn)) return -1;
    // With three players the others come from the live wall's end.
    return n < kOwn ? size_ - 1 - n : size_ - 14 - 1 - (n - kOwn);
}

void Table::Place(int index, riichi::TileId tile) {
    if (index < 0 || index >= size_) Fail("more tiles than a wall holds");
    Hand().wall[Idx(index)] = tile;
}

void Table::Deltas(const EventView& e) {
    if (e.Has("deltas")) {
        auto d = e.Numbers("deltas", Players());
        for (std::size_t s = 0; s < 4; ++s) {
            long long next = static_cast<long long>(scores_[s]) + d[s];
            if (next < -1000000000LL || next > 1000000000LL) Fail(e.type + ": a score out of range");
            scores_[s] = static_cast<int>(next);
        }
    }
    if (e.Has("scores") && scoresKnown_) {
        auto given = e.Numbers("scores", Players());
        if (given != scores_) Fail(e.type + ": the scores do not follow from the deltas");
    }
}

void Table::EndHand() {
    // The tiles the log never showed fill the rest of the wall.
    riichi::TileId next = 0;
    auto unusable = [&](riichi::TileId t) {
        return used_[Idx(t)] || !riichi::InPlay(riichi::KindOf(t), Three());
    };
    for (int i = 0; i < size_; ++i) {
        riichi::TileId& slot = Hand().wall[Idx(i)];
        if (slot >= 0) continue;
        while (next < riichi::kTiles && unusable(next)) ++next;
        if (next >= riichi::kTiles) Fail("end_kyoku: the tiles shown do not fit one wall");
        slot = next;
        used_[Idx(next++)] = true;
    }
    Hand().scoresAfter = scores_;
}

void Table::Apply(const EventView& e) {
    const std::string& type = e.type;
    if (type == "start_game") {
        if (gameStarted) Fail("start_game: the game has started already");
        gameStarted = true;
        if (e.Has("names")) {
            const Json& list = e.Member("names");
            if (list.type != Json::Type::Array || (list.items.size() != 3 && list.items.size() != 4))
                Fail("start_game: \"names\" must list 4 names (3 with three players)");
            players_ = static_cast<int>(list.items.size());
            for (std::size_t s = 0; s < list.items.size(); ++s)
                names[s] = list.items[s].type == Json::Type::String ? list.items[s].string : "";
        }
        return;
    }
    if (!gameStarted) Fail(type + " before start_game");
    if (gameOver) Fail(type + " after end_game");
    if (type == "end_game") {
        if (inHand_) Fail("end_game inside a hand");
        gameOver = true;
        if (e.Has("scores")) {
            finalScores = e.Numbers("scores", Players());
            hasFinalScores = true;
            long long sum = 0;
            for (int s : finalScores) sum += s;
            if (scoresKnown_ && sum != total_)
                Fail("end_game: the final scores do not add up to the points in play");
        }
        return;
    }
    if (type == "start_kyoku") {
        if (inHand_) Fail("start_kyoku inside a hand");
        inHand_ = true;
        handOver_ = false;
        hands.emplace_back();
        ImportedHand& h = Hand();
        h.wall.fill(-1);
        used_.fill(false);
        // The hands tell the number of players when start_game did not.
        const Json& tehais = e.Member("tehais");
        std::size_t seats = tehais.type == Json::Type::Array ? tehais.items.size() : 0;
        if ((seats != 3 && seats != 4) || (players_ > 0 && seats != Idx(players_)))
            Fail("start_kyoku: \"tehais\" must list " +
                 (players_ > 0 ? std::to_string(players_) : std::string("3 or 4")) + " hands");
        players_ = static_cast<int>(seats);
        size_ = Three() ? riichi::kThreePlayerTiles : riichi::kTiles;
        h.dealer = Seat(e, "oya");
        h.kyoku = e.Int("kyoku", 1, 4);
        h.honba = e.Int("honba", 0, 1000);
        sticks_ = e.Int("kyotaku", 0, 1000);
        LogTile wind = e.Tile("bakaze");
        if (wind.kind < riichi::kEast || wind.kind > riichi::kNorth)
            Fail("start_kyoku: \"bakaze\" is not a wind");
        h.roundWind = wind.kind;
        auto scores = e.Numbers("scores", players_);
        long long sum = sticks_ * 1000LL;
        for (int s : scores) sum += s;
        if (scoresKnown_ && scores != scores_)
            Fail("start_kyoku: the scores differ from those the last hand left");
        if (scoresKnown_ && sum != total_)
            Fail("start_kyoku: the scores and sticks do not add up to the points in play");
        total_ = sum;
        scores_ = scores;
        scoresKnown_ = true;
        h.scoresBefore = scores;
        for (int i = 0; i < players_; ++i) {
            int seat = (h.dealer + i) % players_;
            const Json& list = tehais.items[Idx(seat)];
            if (list.type != Json::Type::Array || list.items.size() != 13)
                Fail("start_kyoku: every hand has 13 tiles");
            held_[Idx(seat)].clear();
            for (std::size_t n = 0; n < 13; ++n) {
                riichi::TileId id =
                    Show(EventView::TileOf(list.items[n], "start_kyoku \"tehais\""), "start_kyoku");
                Place(i * 13 + static_cast<int>(n), id);
                held_[Idx(seat)].push_back(id);
            }
        }
        Place(size_ - 6, Show(e.Tile("dora_marker"), "start_kyoku"));
        melds_ = {};
        mustAct_ = discarder_ = rinshan_ = reach_ = accept_ = claimFrom_ = -1;
        afterCall_ = claimIsKan_ = false;
        drawn_ = {-1, -1, -1, -1};
        claimTile_ = -1;
        nextDraw_ = 13 * players_;
        replacements_ = 0;
        nextDora_ = size_ - 8;
        nextUra_ = size_ - 5;
        doraShown_ = 1;
        uraShown_ = false;
        // The dealer draws first.
        discarder_ = (h.dealer + players_ - 1) % players_;
        return;
    }
    if (!inHand_) Fail(type + " outside a hand");
    if (type == "end_kyoku") {
        if (!handOver_) Fail("end_kyoku before the hand ended");
        EndHand();
        inHand_ = false;
        return;
    }
    if (handOver_ && type != "hora") Fail(type + " after the hand ended");
    ImportedHand& h = Hand();
    auto act = [&](int seat, riichi::ActionType action, riichi::TileId tile,
                   std::array<riichi::TileId, 2> with = {-1, -1}) {
        std::sort(with.begin(), with.end(), [](int a, int b) { return (a < 0) != (b < 0) ? b < 0 : a < b; });
        h.actions.push_back({seat, {action, tile, with}});
    };

    if (type == "tsumo") {
        int a = Seat(e, "actor");
        if (rinshan_ >= 0) {
            if (a != rinshan_)
                Fail("tsumo: player " + std::to_string(rinshan_) + " draws the replacement tile");
        } else if (mustAct_ >= 0 || discarder_ < 0 || a != (discarder_ + 1) % players_ || accept_ >= 0) {
            Fail("tsumo: not player " + std::to_string(a) + "'s draw");
        }
        riichi::TileId id = Show(e.Tile("pai"), "tsumo");
        if (rinshan_ >= 0) {
            int at = ReplacementIndex();
            if (at < 0)
                Fail(Three() ? "tsumo: more than eight replacement tiles"
                             : "tsumo: more than four replacement tiles");
            Place(at, id);
            ++replacements_;
        } else {
            int live = size_ - 14 - replacements_;
            if (nextDraw_ >= live) Fail("tsumo: the wall is exhausted");
            Place(nextDraw_++, id);
        }
        held_[Idx(a)].push_back(id);
        drawn_ = {-1, -1, -1, -1};
        drawn_[Idx(a)] = id;
        mustAct_ = a;
        discarder_ = rinshan_ = -1;
        afterCall_ = false;
        claimTile_ = -1;
        return;
    }
    if (type == "reach") {
        int a = Seat(e, "actor");
        if (a != mustAct_ || afterCall_)
            Fail("reach: not player " + std::to_string(a) + "'s turn to declare");
        reach_ = a;
        return;
    }
    if (type == "dahai") {
        int a = Seat(e, "actor");
        if (a != mustAct_) Fail("dahai: not player " + std::to_string(a) + "'s turn");
        if (reach_ >= 0 && reach_ != a) Fail("dahai: reach by another player");
        LogTile t = e.Tile("pai");
        const Json& giri = e.Member("tsumogiri");
        if (giri.type != Json::Type::Bool) Fail("dahai: \"tsumogiri\" must be true or false");
        riichi::TileId drawn = drawn_[Idx(a)];
        if (giri.boolean && (drawn < 0 || riichi::KindOf(drawn) != t.kind))
            Fail("dahai: tsumogiri of a tile other than the one drawn");
        riichi::TileId id = giri.boolean ? drawn : -1;
        if (giri.boolean) {
            auto& hand = held_[Idx(a)];
            auto it = std::find(hand.begin(), hand.end(), id);
            if (it == hand.end()) Fail("dahai: the drawn tile is no longer in the hand");
            hand.erase(it);
        } else {
            // Not the drawn tile, unless the hand holds no other of its kind.
            auto& hand = held_[Idx(a)];
            auto other = std::find_if(hand.begin(), hand.end(), [&](riichi::TileId x) {
                return x != drawn && riichi::KindOf(x) == t.kind && riichi::IsRedFive(x) == t.red;
            });
            id = other != hand.end() ? Take(a, t, *other, "dahai") : Take(a, t, -1, "dahai");
        }
        act(a, reach_ == a ? riichi::ActionType::Riichi : riichi::ActionType::Discard, id);
        accept_ = reach_;
        reach_ = -1;
        mustAct_ = -1;
        discarder_ = a;
        drawn_ = {-1, -1, -1, -1};
        claimTile_ = id;
        claimFrom_ = a;
        claimIsKan_ = false;
        return;
    }
    if (type == "reach_accepted") {
        int a = Seat(e, "actor");
        if (a != accept_)
            Fail("reach_accepted: player " + std::to_string(a) + " has no riichi discard waiting");
        accept_ = -1;
        Deltas(e);
        return;
    }
    if (type == "chi" || type == "pon" || type == "daiminkan") {
        int a = Seat(e, "actor");
        int target = Seat(e, "target");
        if (discarder_ < 0 || target != discarder_ || a == target || claimIsKan_)
            Fail(type + ": player " + std::to_string(target) + "'s discard is not open to calls");
        if (accept_ >= 0) Fail(type + ": the riichi discard was not accepted first");
        LogTile t = e.Tile("pai");
        if (riichi::KindOf(claimTile_) != t.kind) Fail(type + ": \"pai\" is not the discarded tile");
        std::size_t n = type == "daiminkan" ? 3 : 2;
        auto consumed = e.Tiles("consumed", n, n);
        std::array<riichi::TileId, 2> with{-1, -1};
        std::vector<riichi::Kind> kinds = {t.kind};
        std::vector<riichi::TileId> taken;
        for (std::size_t i = 0; i < n; ++i) {
            taken.push_back(Take(a, consumed[i], -1, type));
            kinds.push_back(consumed[i].kind);
        }
        std::sort(kinds.begin(), kinds.end());
        if (type == "chi") {
            if (Three()) Fail("chi: no chi with three players");
            if (a != (target + 1) % 4) Fail("chi: only the next player may call chi");
            if (riichi::IsHonor(kinds[0]) || kinds[1] != kinds[0] + 1 || kinds[2] != kinds[0] + 2 ||
                riichi::SuitOf(kinds[0]) != riichi::SuitOf(kinds[2]))
                Fail("chi: the tiles are not a sequence");
        } else if (std::any_of(kinds.begin(), kinds.end(), [&](riichi::Kind k) { return k != t.kind; })) {
            Fail(type + ": the tiles are not of one kind");
        }
        if (type == "daiminkan") {
            act(a, riichi::ActionType::OpenKan, claimTile_);
            rinshan_ = a;
            mustAct_ = -1;
        } else {
            with = {taken[0], taken[1]};
            act(a, type == "chi" ? riichi::ActionType::Chi : riichi::ActionType::Pon, claimTile_, with);
            mustAct_ = a;
            afterCall_ = true;
        }
        melds_[Idx(a)] += 1;
        discarder_ = -1;
        claimTile_ = -1;
        return;
    }
    if (type == "ankan" || type == "kakan") {
        int a = Seat(e, "actor");
        if (a != mustAct_ || afterCall_) Fail(type + ": not player " + std::to_string(a) + "'s turn");
        if (type == "ankan") {
            auto consumed = e.Tiles("consumed", 4, 4);
            for (const LogTile& t : consumed) {
                if (t.kind != consumed[0].kind) Fail("ankan: the tiles are not of one kind");
                Take(a, t, -1, "ankan");
            }
            riichi::Kind k = consumed[0].kind;
            act(a, riichi::ActionType::ClosedKan, k * 4);
            melds_[Idx(a)] += 1;
            claimTile_ = k * 4;
        } else {
            LogTile t = e.Tile("pai");
            e.Tiles("consumed", 3, 3);
            riichi::TileId id = Take(a, t, -1, "kakan");
            act(a, riichi::ActionType::AddedKan, id);
            claimTile_ = id;
        }
        claimFrom_ = a;
        claimIsKan_ = true;
        rinshan_ = a;
        mustAct_ = -1;
        drawn_ = {-1, -1, -1, -1};
        return;
    }
    if (type == "nukidora") {
        if (!Three()) Fail("nukidora: only with three players");
        int a = Seat(e, "actor");
        if (a != mustAct_ || afterCall_ || reach_ >= 0)
            Fail("nukidora: not player " + std::to_string(a) + "'s turn");
        if (e.Tile("pai").kind != riichi::kNorth) Fail("nukidora: \"pai\" must be N");
        // The table sets aside the north just drawn, else the lowest held.
        riichi::TileId prefer = drawn_[Idx(a)];
        if (prefer < 0 || riichi::KindOf(prefer) != riichi::kNorth) {
            prefer = -1;
            for (riichi::TileId t : held_[Idx(a)])
                if (riichi::KindOf(t) == riichi::kNorth && (prefer < 0 || t < prefer)) prefer = t;
        }
        riichi::TileId id = Take(a, {riichi::kNorth, false}, prefer, "nukidora");
        act(a, riichi::ActionType::North, id);
        claimTile_ = id;
        claimFrom_ = a;
        claimIsKan_ = true;  // only a win on it, no call
        rinshan_ = a;
        mustAct_ = -1;
        drawn_ = {-1, -1, -1, -1};
        return;
    }
    if (type == "dora") {
        if (doraShown_ >= 5) Fail("dora: more than five dora indicators");
        Place(nextDora_, Show(e.Tile("dora_marker"), "dora"));
        nextDora_ -= 2;
        ++doraShown_;
        return;
    }
    if (type == "hora") {
        int a = Seat(e, "actor");
        int target = Seat(e, "target");
        LogTile t = e.Tile("pai");
        if (!handOver_) {
            if (a == target) {
                if (a != mustAct_ || afterCall_ || drawn_[Idx(a)] < 0)
                    Fail("hora: not player " + std::to_string(a) + "'s draw to win on");
                if (riichi::KindOf(drawn_[Idx(a)]) != t.kind) Fail("hora: \"pai\" is not the drawn tile");
                act(a, riichi::ActionType::Tsumo, drawn_[Idx(a)]);
            } else {
                if (claimTile_ < 0 || target != claimFrom_ || a == target)
                    Fail("hora: no discard of player " + std::to_string(target) + " to win on");
                if (riichi::KindOf(claimTile_) != t.kind) Fail("hora: \"pai\" is not the discarded tile");
                act(a, riichi::ActionType::Ron, claimTile_);
            }
        } else {
            // A second (or third) winner on the same discard.
            if (a == target || target != claimFrom_ || claimTile_ < 0)
                Fail("hora: a second win that is not on the same discard");
            act(a, riichi::ActionType::Ron, claimTile_);
        }
        // The ura indicators come with the first winner in riichi.
        if (e.Has("uradora_markers") && !uraShown_) {
            auto ura = e.Tiles("uradora_markers", 0, 5);
            for (std::size_t i = 0; i < ura.size(); ++i)
                Place(nextUra_ - 2 * static_cast<int>(i), Show(ura[i], "hora"));
            uraShown_ = !ura.empty();
        }
        handOver_ = true;
        accept_ = -1;
        Deltas(e);
        return;
    }
    if (type == "ryukyoku") {
        if (e.Has("reason") && e.Member("reason").type == Json::Type::String &&
            e.Member("reason").string == "kyushukyuhai") {
            if (mustAct_ < 0) Fail("ryukyoku: nine terminals declared out of turn");
            act(mustAct_, riichi::ActionType::NineTerminals, -1);
        }
        // Three rons on one discard end the hand as a draw: the table
        // needs the three claims.
        if (e.Has("reason") && e.Member("reason").type == Json::Type::String &&
            e.Member("reason").string == "sanchaho") {
            if (claimTile_ < 0) Fail("ryukyoku: three rons without a discard");
            for (int i = 1; i < players_; ++i)
                act((claimFrom_ + i) % players_, riichi::ActionType::Ron, claimTile_);
        }
        handOver_ = true;
        accept_ = -1;
        Deltas(e);
        return;
    }
    Fail("unknown event type \"" + type + "\"");
}

// Walks a log; the first failure stops it.
std::optional<Problem> Walk(const std::vector<std::string>& lines, Table& table) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        int line = static_cast<int>(i) + 1;
        if (lines[i].find_first_not_of(" \t\r") == std::string::npos) continue;
        Json json;
        std::string error;
        if (!ParseJson(lines[i], json, error)) return Problem{line, "not JSON: " + error};
        const Json* type = json.Find("type");
        if (json.type != Json::Type::Object || type == nullptr || type->type != Json::Type::String)
            return Problem{line, "not an event (an object with a \"type\")"};
        try {
            table.Apply(EventView{json, type->string});
        } catch (const Failure& f) {
            return Problem{line, f.text()};
        }
    }
    if (!table.gameStarted) return Problem{0, "no start_game"};
    if (!table.gameOver) return Problem{static_cast<int>(lines.size()), "the log ends before end_game"};
    return std::nullopt;
}

}  // namespace

std::vector<Problem> Validate(const std::vector<std::string>& lines) {
    Table table;
    auto problem = Walk(lines, table);
    if (!problem) return {};
    return {*problem};
}

bool ReadGame(const std::vector<std::string>& lines, ImportedGame& game, std::string& error) {
    Table table;
    if (auto problem = Walk(lines, table)) {
        error = "line " + std::to_string(problem->line) + ": " + problem->text;
        return false;
    }
    game.players = table.Players();
    game.names = table.names;
    game.hands = std::move(table.hands);
    game.finalScores = table.finalScores;
    game.hasFinalScores = table.hasFinalScores;
    if (game.hands.empty()) {
        error = "the log holds no hand";
        return false;
    }
    return true;
}

}  // namespace zv::mjai
