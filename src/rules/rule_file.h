#pragma once
// The local rules of a mahjong game as the rule editor holds them, and the
// rules files the engines read: usr/<user>/zelvan1.pf for the one-player
// game, usr/<user>/server.pf for the game server.
//
// The key table below is the single source of the file's key order, of the
// dialog's component names and of the texts the dialog shows. Reading
// applies every known parameter line in file order and ignores the rest;
// writing emits every key, in table order, after the rules header.
#include <array>
#include <map>
#include <string>
#include <vector>

#include "config/file_io.h"
#include "config/personal_file.h"

namespace zv {

// How a key is edited and stored.
enum class RuleControl {
    GameLength,  // two radio buttons: "1" east round only, "0" east and south
    Flag,        // check box: "1" checked, "0" not; read as off only for "0"
    Text,        // editable drop-down box: written and read as it stands
    Uma,         // six radio buttons, each with its own word
};

struct RuleKey {
    const char* key;  // as written in the file
    RuleControl control;
    const char* component;    // the control's component name
    const char* caption;      // check box caption (empty for other controls)
    const char* explanation;  // shown beside the control (may be empty)
    const char* defaultValue;
};

// The twenty keys in the order in which they are written.
extern const std::array<RuleKey, 20> kRuleKeys;

// The drop-down items of a Text key.
std::vector<std::string> RuleTextItems(const std::string& key);

struct UmaChoice {
    const char* component;
    const char* caption;
    const char* word;
};

// The placement bonus choices, in the order their buttons are examined.
extern const std::array<UmaChoice, 6> kUmaChoices;
// The choice checked by default and for an unknown word ("10-20").
constexpr int kDefaultUma = 2;

enum class GameLength { EastOnly, EastSouth, Unset };

struct LocalRules {
    GameLength length = GameLength::EastOnly;
    std::map<std::string, bool> flags;         // every Flag key
    std::map<std::string, std::string> texts;  // every Text key
    std::array<bool, 6> uma{};                 // checked buttons, by kUmaChoices index

    // The editor's defaults.
    LocalRules();
};

// Applies one parameter line; unknown keys are ignored.
void ApplyRuleParam(LocalRules& rules, const std::string& key, const std::string& value);

// The parameter lines of a save: keys 1 to 19 in table order, then one `uma`
// line per checked choice.
PersonalParams RuleParams(const LocalRules& rules);

// The game kind an editor works on: 1 the one-player game, any other value
// the game server.
constexpr int kOnePlayerGame = 1;
bool IsServerRules(int gameKind);

// "<userDir>/zelvan1.pf" for kind 1, "<userDir>/server.pf" otherwise.
std::string RulesFilePath(const std::string& userDir, int gameKind);

// Applies the file's lines to `rules`. A missing or unreadable file changes
// nothing and gives false.
bool ReadRulesFile(const std::string& path, LocalRules& rules);

// Rewrites the file whole (atomically): the rules header, then RuleParams.
SaveResult WriteRulesFile(const std::string& path, const LocalRules& rules);

// Whether a typed value can be stored in a rules file: one line of text
// that the file's code page can hold. Blanks are allowed (a value is read
// back up to its first blank, as the engines read it).
bool IsStorableRuleText(const std::string& text);

}  // namespace zv
