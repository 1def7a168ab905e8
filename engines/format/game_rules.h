#pragma once
// The local rules a game is played by, read from a rules file (zelvan1.pf
// for the one-player game, server.pf for the server), and the characters'
// playing styles, read from their personal files. The keys of a rules file
// are known in one place only, the rules library (riichi::ApplyRuleKey);
// GameRules is the engines' view of the same rules.
#include <array>
#include <map>
#include <string>
#include <vector>

#include "player.h"
#include "rules.h"

namespace zv::engine {

struct GameRules {
    bool eastOnly = true;       // tonpu 1: east round only; 0: east and south
    int startPoint = 25000;     // startpoint
    int yakumanChip = 2;        // yakuman-chip
    int ippatuChip = 1;         // ippatu-chip
    int uradoraChip = 1;        // uradora-chip
    int akadoraChip = 1;        // akadora-chip
    std::string uma = "10-20";  // none, 5-10, 10-20, 10-30, 7-5-3, under
    bool noPinTumo = false;
    bool noAkadora = false;
    bool noNakiTan = false;
    bool noKanUra = false;
    bool noFly = false;  // no bust-out: the game goes on below zero
    bool under = false;  // scores below zero count as they are
    bool noNakiAka = false;
    bool noAllStars = false;
    bool mangan77 = false;
    bool headBump = false;         // atamahane: only the first of several rons wins
    bool noTripleRonDraw = false;  // nosancyaho: three rons all win
    bool noSwapCalling = false;    // nokuikae
    bool pao = false;              // liability for big three dragons, big four winds, four kans
};

// The rules library's rules for these, and back.
riichi::Rules RiichiRules(const GameRules& rules);
GameRules FromRiichiRules(const riichi::Rules& rules);

// Applies the keys of a rules file to `rules` (unknown keys are ignored,
// a value that is not a number keeps the default). Returns false when the
// file cannot be read; the defaults then stay.
bool ReadRulesFile(const std::string& path, GameRules& rules);

// Applies one key through the rules library's reader; shared by the file
// reader and the tests.
void ApplyRule(GameRules& rules, const std::string& key, const std::string& value);

// Placement bonus in thousands for places 1..4 (index 0..3), given how many
// players finished below the start score. Always sums to zero.
std::vector<int> UmaForPlaces(const std::string& uma, int sinking);

// A short Japanese summary of the rules, one item per line.
std::vector<std::string> RulesSummary(const GameRules& rules);

// A computer character's playing style: the weights of its personal file
// (the computer player's weights) and its shown name.
struct CharacterStyle : players::Weights {
    std::string displayName;  // name, or empty
    bool found = false;       // the file was read
};

// One weight's key, its field and the range a value is pulled into. The
// table lists every weight once; "number" (the nearby-number preference)
// has no key of its own in a personal file, where it is the second "zone"
// line, but is named so in the network protocol.
struct WeightKey {
    const char* key;
    int players::Weights::*field;
    int low;
    int high;
};
const std::array<WeightKey, 19>& WeightKeys();

// Reads a character file: every weight, and "name". Values are pulled into
// 0..1000 (deep and tsuyoki take any integer). Each "zone" line sets the
// same-tile preference and the number preference alike, except that a
// second zone line sets only the number preference, as the character maker
// writes the two.
bool ReadCharacterFile(const std::string& path, CharacterStyle& style);

// Event sounds from sound.nuc: key -> file name.
using SoundTable = std::map<std::string, std::string>;
SoundTable ReadSoundTable(const std::string& path);
// The sound for an event key ("sound_1st"): the table's, else the default
// file name (key without "sound_" + ".wav").
std::string SoundFor(const SoundTable& table, const std::string& key);

}  // namespace zv::engine
