#pragma once
// The local rules a stand-in game respects, read from a rules file
// (zelvan1.pf for the one-player game, server.pf for the server) and the
// characters' playing styles, read from their personal files.
#include <map>
#include <string>
#include <vector>

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
};

// Applies the keys of a rules file to `rules` (unknown keys are ignored,
// a value that is not a number keeps the default). Returns false when the
// file cannot be read; the defaults then stay.
bool ReadRulesFile(const std::string& path, GameRules& rules);

// Applies one key; shared by the file reader and the tests.
void ApplyRule(GameRules& rules, const std::string& key, const std::string& value);

// Placement bonus in thousands for places 1..4 (index 0..3), given how many
// players finished below the start score. Always sums to zero.
std::vector<int> UmaForPlaces(const std::string& uma, int sinking);

// A short Japanese summary of the rules, one item per line.
std::vector<std::string> RulesSummary(const GameRules& rules);

// A computer character's playing style (the weights of its personal file).
struct CharacterStyle {
    std::string displayName;  // name, or empty
    int reach = 700;
    int pon = 50;
    int tie = 200;
    int kan = 0;
    int yaku = 1000;
    int deep = 500;
    int yomi = 500;
    int tsuyoki = 200;
    int random = 50;
    bool found = false;  // the file was read
};

bool ReadCharacterFile(const std::string& path, CharacterStyle& style);

// Event sounds from sound.nuc: key -> file name.
using SoundTable = std::map<std::string, std::string>;
SoundTable ReadSoundTable(const std::string& path);
// The sound for an event key ("sound_1st"): the table's, else the default
// file name (key without "sound_" + ".wav").
std::string SoundFor(const SoundTable& table, const std::string& key);

}  // namespace zv::engine
