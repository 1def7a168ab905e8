#include "riichi/tile.h"

namespace zv::riichi {
namespace {

constexpr char kSuitLetters[] = {'m', 'p', 's', 'z'};

int SuitIndex(char c) {
    switch (c) {
        case 'm':
            return 0;
        case 'p':
            return 1;
        case 's':
            return 2;
        case 'z':
            return 3;
        default:
            return -1;
    }
}

// The kind of digit `d` (0..9) of suit `suit`, or -1 when the suit has no
// such tile (0 = red five of a number suit; honours run 1..7).
Kind KindOfDigit(int suit, int d) {
    if (suit == 3) return d >= 1 && d <= 7 ? 27 + d - 1 : -1;
    return suit * 9 + (d == 0 ? 4 : d - 1);
}

}  // namespace

Counts CountKinds(const std::vector<TileId>& tiles) {
    Counts counts{};
    for (TileId t : tiles)
        if (t >= 0 && t < kTiles) ++counts[static_cast<std::size_t>(KindOf(t))];
    return counts;
}

int TotalTiles(const Counts& counts) {
    int total = 0;
    for (auto c : counts) total += c;
    return total;
}

TileId FreeCopy(Kind kind, bool red, const std::array<bool, kTiles>& used) {
    if (kind < 0 || kind >= kKinds) return -1;
    for (int copy = 0; copy < 4; ++copy) {
        TileId t = kind * 4 + copy;
        if (IsRedFive(t) != red) continue;
        if (!used[static_cast<std::size_t>(t)]) return t;
    }
    return -1;
}

bool ParseTiles(std::string_view text, std::vector<TileId>& tiles, std::string& error, bool redFives) {
    tiles.clear();
    error.clear();
    std::array<bool, kTiles> used{};
    std::string pending;  // digits waiting for their suit letter
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            pending.push_back(c);
            continue;
        }
        int suit = SuitIndex(c);
        if (suit < 0) {
            error = "unknown character '" + std::string(1, c) + "' at position " + std::to_string(i + 1);
            tiles.clear();
            return false;
        }
        if (pending.empty()) {
            error =
                std::string("suit letter '") + c + "' without digits at position " + std::to_string(i + 1);
            tiles.clear();
            return false;
        }
        for (char digit : pending) {
            int d = digit - '0';
            Kind kind = KindOfDigit(suit, d);
            if (kind < 0) {
                error = std::string("no tile ") + digit + c;
                tiles.clear();
                return false;
            }
            bool red = suit != 3 && d == 0;
            TileId t = FreeCopy(kind, red, used);
            if (t < 0 && !redFives) t = FreeCopy(kind, !red, used);
            if (t < 0) {
                if (!redFives)
                    error = "a fifth tile " + KindName(kind);
                else if (red)
                    error = std::string("a second red five 0") + c;
                else if (kind == 4 || kind == 13 || kind == 22)
                    error = "a fourth plain five " + KindName(kind) + " (the fourth five is the red one, 0" +
                            c + ")";
                else
                    error = "a fifth tile " + KindName(kind);
                tiles.clear();
                return false;
            }
            used[static_cast<std::size_t>(t)] = true;
            tiles.push_back(t);
        }
        pending.clear();
    }
    if (!pending.empty()) {
        error = "digits \"" + pending + "\" without a suit letter at the end";
        tiles.clear();
        return false;
    }
    return true;
}

std::string FormatTiles(const std::vector<TileId>& tiles) {
    std::string out;
    int suit = -1;
    for (TileId t : tiles) {
        if (t < 0 || t >= kTiles) continue;
        int s = SuitOf(KindOf(t));
        if (suit >= 0 && s != suit) out.push_back(kSuitLetters[suit]);
        suit = s;
        out.push_back(IsRedFive(t) ? '0' : static_cast<char>('0' + NumberOf(KindOf(t))));
    }
    if (suit >= 0) out.push_back(kSuitLetters[suit]);
    return out;
}

std::string TileName(TileId t) {
    if (t < 0 || t >= kTiles) return "?";
    if (IsRedFive(t)) return std::string("0") + kSuitLetters[SuitOf(KindOf(t))];
    return KindName(KindOf(t));
}

std::string KindName(Kind k) {
    if (k < 0 || k >= kKinds) return "?";
    return std::string(1, static_cast<char>('0' + NumberOf(k))) + kSuitLetters[SuitOf(k)];
}

Kind ParseKind(std::string_view text) {
    if (text.size() != 2 || text[0] < '0' || text[0] > '9') return -1;
    int suit = SuitIndex(text[1]);
    if (suit < 0) return -1;
    return KindOfDigit(suit, text[0] - '0');
}

Kind Meld::BaseKind() const {
    Kind lowest = -1;
    for (int i = 0; i < size && i < 4; ++i) {
        TileId t = tiles[static_cast<std::size_t>(i)];
        if (t < 0) continue;
        Kind k = KindOf(t);
        if (lowest < 0 || k < lowest) lowest = k;
    }
    return lowest;
}

}  // namespace zv::riichi
