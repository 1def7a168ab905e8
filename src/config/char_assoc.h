#pragma once
// Text of the character-to-program association list, as launch.nuc stores it:
// "(" then one ` ("character" "program") ` piece per pair, then ")".
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/nuclear.h"

namespace zv {

using CharAssocPairs = std::vector<std::pair<std::string, std::string>>;

// One piece: a blank, "(", the quoted character, a blank, the quoted program,
// ")" and a blank.
std::string CharAssocPiece(const std::string& character, const std::string& program);

// The text built from dialog rows: pairs with both cells filled, then ")".
std::string CharAssocTextFromRows(const CharAssocPairs& rows);

// The text to write: the association dialog's text when it was shown in this
// run, else the list read from launch.nuc (pairs with both strings filled,
// then " )").
std::string CharAssocText(const NucNode* list);

// The association dialog stores its result here when it closes.
void SetCharAssocDialogText(std::optional<std::string> text);

}  // namespace zv
