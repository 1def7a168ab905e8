#include "config/char_assoc.h"

#include "config/launcher_settings.h"

namespace zv {
namespace {

std::optional<std::string>& DialogText() {
    static std::optional<std::string> text;
    return text;
}

}  // namespace

std::string CharAssocPiece(const std::string& character, const std::string& program) {
    return " (\"" + StorableText(character) + "\" \"" + StorableText(program) + "\") ";
}

std::string CharAssocTextFromRows(const CharAssocPairs& rows) {
    std::string text = "(";
    for (const auto& [character, program] : rows)
        if (!character.empty() && !program.empty()) text += CharAssocPiece(character, program);
    return text + ")";
}

std::string CharAssocText(const NucNode* list) {
    if (DialogText()) return *DialogText();
    std::string text = "(";
    int length = NucLength(list);
    for (int i = 0; i < length; ++i) {
        std::string character;
        std::string program;
        NucEntryName(list, i, character);
        NucEntryValue(list, i, program);
        if (!character.empty() && !program.empty()) text += CharAssocPiece(character, program);
    }
    return text + " )";
}

void SetCharAssocDialogText(std::optional<std::string> text) { DialogText() = std::move(text); }

}  // namespace zv
