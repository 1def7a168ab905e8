// Command lines from outside: the invoker's template with its markers
// filled in, split the way the started program splits its command line,
// and the launcher's own options read from the words.
//
// Input: template bytes, then optionally "\0" + installation directory and
// "\0" + user name.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "invoker/command_template.h"
#include "platform/process.h"
#include "start/command_line.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A line without quotes splits exactly at its blanks.
bool SplitsAtBlanks(const std::string& line, const std::vector<std::string>& words) {
    std::vector<std::string> plain;
    std::string word;
    bool inWord = false;
    for (char c : line) {
        if (IsBlank(c)) {
            if (inWord) plain.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) plain.push_back(word);
    return plain == words;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (int i = 0; i < 2; ++i) {
        std::size_t end = input.find('\0', start);
        if (end == std::string::npos) break;
        parts.push_back(input.substr(start, end - start));
        start = end + 1;
    }
    parts.push_back(input.substr(start));
    const std::string& commandTemplate = parts[0];
    std::string installDir = parts.size() > 1 ? parts[1] : "/opt/zv/";
    std::string userName = parts.size() > 2 ? parts[2] : "guest";

    // Inserted text is taken literally: substituting stand-ins and then
    // replacing them gives the same line.
    const std::string line = zv::SubstituteMarkers(commandTemplate, installDir, userName);
    if (commandTemplate.find('\x01') == std::string::npos &&
        commandTemplate.find('\x02') == std::string::npos) {
        std::string marked = zv::SubstituteMarkers(commandTemplate, "\x01", "\x02");
        std::string expanded;
        for (char c : marked) {
            if (c == '\x01')
                expanded += installDir;
            else if (c == '\x02')
                expanded += userName;
            else
                expanded += c;
        }
        if (expanded != line) std::abort();
        if (marked.find(zv::kExeDirMarker) != std::string::npos ||
            marked.find(zv::kUserMarker) != std::string::npos)
            std::abort();
    }

    for (const std::string* text : {&commandTemplate, &line}) {
        std::vector<std::string> words = zv::SplitCommandLine(*text);
        std::size_t total = 0;
        for (const auto& word : words) total += word.size();
        if (total > text->size()) std::abort();
        if (text->find('"') == std::string::npos && !SplitsAtBlanks(*text, words)) std::abort();

        zv::HasConfirmFlag(words);
        auto user = zv::UserOverrideArgument(words);
        if (user && std::find(words.begin(), words.end(), *user) == words.end()) std::abort();
        if (zv::StartActions(words).size() > words.size()) std::abort();
    }
    return 0;
}
