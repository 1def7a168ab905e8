#pragma once
// The files a game is set up from: the local rules, read from a rules file
// (zelvan1.pf for the one-player game, server.pf for the server) into the
// rules library's Rules, whose key table (riichi::RuleKeys) is the only place
// that knows the keys; the characters' playing styles, read from their
// personal files; and the event sounds.
#include <array>
#include <map>
#include <string>
#include <vector>

#include "players/player.h"
#include "riichi/rules.h"

namespace zv::engine {

// Applies the keys of a rules file to `rules` (unknown keys are ignored,
// a value that is not a number keeps the default). Returns false when the
// file cannot be read; the defaults then stay.
bool ReadRulesFile(const std::string& path, riichi::Rules& rules);

// A short Japanese summary of the rules, one item per line.
std::vector<std::string> RulesSummary(const riichi::Rules& rules);

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
