#pragma once
// The local rules a game is played by: the keys of a rules file as the rule
// editor writes them (zelvan1.pf, server.pf). Where a key is silent the
// common modern rules apply (red fives, open tanyao, double wind pair 4 fu,
// multiple yakuman add up, double yakuman for thirteen-wait orphans,
// single-wait four concealed triplets, pure nine gates and big four winds).
#include <array>
#include <string>
#include <string_view>

namespace zv::riichi {

enum class Uma { None, FiveTen, TenTwenty, TenThirty, SevenFiveThree, Under };

struct Rules {
    bool eastOnly = true;             // tonpu: east round only (else east and south)
    bool noPinfuTsumo = false;        // nopintumo: a self-drawn pinfu gets no pinfu
    bool noRedFives = false;          // noakadora: red fives are not dora
    bool noOpenTanyao = false;        // nonakitan
    bool noKanUra = false;            // nokanura: one ura-dora indicator only
    bool noBustOut = false;           // nofly: the game does not end below zero
    bool under = false;               // under: scores below zero count as they are
    bool redFivesClosedOnly = false;  // nonakiaka
    bool noAllStars = false;          // noallstars: no 2-chip bonus for all three red fives
    int startPoint = 25000;           // startpoint
    int yakumanChip = 2;              // yakuman-chip
    int ippatsuChip = 1;              // ippatu-chip
    int uraDoraChip = 1;              // uradora-chip
    int redFiveChip = 1;              // akadora-chip
    bool headBump = false;            // atamahane: only the first winner in turn order on several rons
    bool noTripleRonDraw = false;     // nosancyaho: a triple ron is not an abortive draw
    bool noSwapCalling = false;       // nokuikae
    bool pao = false;                 // pao: liability for big three dragons, big four winds, four kans
    bool roundUpMangan = false;       // 77mangan: 7700/11600 become a mangan
    Uma uma = Uma::TenTwenty;         // uma
    // Three players (sanma): 108 tiles without 2m-8m, no chi, norths set
    // aside as dora, three seats. See table.h for what changes.
    bool threePlayer = false;  // sanma
    bool tsumoLoss = true;     // tumozon: a self-draw loses the absent seat's share
    int returnPoint = 0;       // returnpoint: points are counted from it (0: the start score)

    int Players() const { return threePlayer ? 3 : 4; }
    int CountedFrom() const { return returnPoint > 0 ? returnPoint : startPoint; }
};

// The defaults of a three-player game on top of `rules`: sanma on, 35000
// to start with and points counted from 40000 (the top takes the
// difference of the three).
Rules ThreePlayerRules(Rules rules);

// One key of a rules file and the field of Rules it sets. A Flag is off only
// for "0"; a Switch changes only on "0" or "1"; a Number that parses is
// pulled into low..high; Uma takes one of the uma words.
enum class RuleKind { Flag, Switch, Number, Uma };
struct RuleKey {
    const char* key;
    RuleKind kind;
    bool Rules::*flag = nullptr;   // Flag and Switch
    int Rules::*number = nullptr;  // Number
    int low = 0;
    int high = 0;
};
// Every key once, in the order the network game and the records write them.
const std::array<RuleKey, 20>& RuleKeys();
// The keys of the three-player game, written after the others only when
// `threePlayer` is on (so four-player lines stay as they were).
const std::array<RuleKey, 3>& ThreePlayerRuleKeys();
// The value word of `key` for `rules`, as a rules file writes it ("1"/"0",
// the number, the uma word).
std::string RuleValue(const Rules& rules, const RuleKey& key);

// Applies one key of a rules file (flags: "0" off, anything else on; numbers
// that do not parse keep the value; unknown keys are ignored).
void ApplyRuleKey(Rules& rules, std::string_view key, std::string_view value);
// Applies every parameter line of a rules file's text (UTF-8, CR LF or LF
// line ends) in order, so the last occurrence of a key wins. Parameter lines
// are "param: key = value" as the rule editor writes them (words split at
// blanks and tabs; the third word is not examined); a bare "key value" line
// is read the same way, which keeps hand-written files and tests short.
// Lines starting with '#', blank lines and other lines are skipped.
Rules RulesFromText(std::string_view text);
// The uma word as written in the rules file.
std::string UmaWord(Uma uma);

}  // namespace zv::riichi
