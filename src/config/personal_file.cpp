#include "config/personal_file.h"

#include "config/tokenizer.h"

namespace zv {

std::vector<std::string> PersonalFileLines(PersonalFileKind kind, const PersonalParams& params) {
    std::vector<std::string> lines = {"#!/bin/sh", "# zelvan personal file"};
    if (kind == PersonalFileKind::Rules)
        lines.insert(lines.end(), {"# params", ""});
    else
        lines.insert(lines.end(), {"", ""});
    for (const auto& [key, value] : params) lines.push_back("param: " + key + " = " + value);
    if (kind == PersonalFileKind::Character) lines.emplace_back();
    return lines;
}

SaveResult WritePersonalFile(const std::string& path, PersonalFileKind kind, const PersonalParams& params) {
    return SaveFileAtomically(path, EncodeCrLfLines(PersonalFileLines(kind, params)));
}

bool ReadPersonalFile(const std::string& path,
                      const std::function<void(const std::string& key, const std::string& value)>& apply) {
    auto text = ReadTextFile(path);
    if (!text) return false;
    LineSource source(std::move(*text));
    while (!source.AtEnd()) {
        ReadTokenLine(source);
        if (Token(1) == "param:") apply(Token(2), Token(4));
    }
    return true;
}

}  // namespace zv
