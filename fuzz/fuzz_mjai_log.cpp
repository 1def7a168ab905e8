// mjai logs as the import reads them: any text is checked and read without
// a crash, the validator and the reader agree on whether a log is sound,
// and every JSON line the reader accepts reads back the same once quoted.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "mjai/mjai.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    auto problems = zv::mjai::Validate(lines);
    zv::mjai::ImportedGame game;
    std::string error;
    bool read = zv::mjai::ReadGame(lines, game, error);
    // A sound log with hands reads; a log with a problem never does.
    if (!problems.empty() && read) std::abort();
    for (const std::string& line : lines) {
        zv::mjai::Json json;
        if (!zv::mjai::ParseJson(line, json, error) || json.type != zv::mjai::Json::Type::String) continue;
        zv::mjai::Json again;
        if (!zv::mjai::ParseJson(zv::mjai::Quote(json.string), again, error) || again.string != json.string)
            std::abort();
    }
    return 0;
}
