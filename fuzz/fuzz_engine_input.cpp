// What the engines read from outside: game records, the lines of
// the network game (JOIN, RESULT, YAKU), their command-line words and the
// rules keys. The first byte picks the reader, the rest is its input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include "app/engine_options.h"
#include "format/game_record.h"
#include "format/game_rules.h"
#include "net/net_game.h"
#include "riichi/game.h"

namespace {

std::vector<std::string> Words(const std::string& text, char separator) {
    std::vector<std::string> words;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find(separator, start);
        words.push_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return words;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    using namespace zv::engine;
    switch (data[0] % 5) {
        case 0: {
            RecordFile record = ParseRecord(input);
            SummarizeRecord(record);
            break;
        }
        case 1: {
            JoinRequest request;
            if (ParseJoinLine(input, request)) {
                // A request read from a line is written back as a line that
                // reads to the same request.
                JoinRequest again;
                if (!ParseJoinLine(JoinLine(request), again)) std::abort();
                if (JoinLine(again) != JoinLine(request)) std::abort();
            }
            break;
        }
        case 2: {
            PlayerStats stats;
            ParseResultWords(input, stats);
            for (const auto& word : Words(input, ' ')) ParseYakuWord(word, stats);
            for (int count : stats.yaku)
                if (count < 0 || count > 9) std::abort();
            break;
        }
        case 3: {
            ParsedOptions parsed = ParseEngineOptions(Words(input, '\0'), "BncTuQHlhpSkCX");
            ParsePort(input);
            break;
        }
        case 4: {
            zv::riichi::Rules rules;
            for (const auto& line : Words(input, '\n')) {
                std::size_t blank = line.find(' ');
                if (blank == std::string::npos) continue;
                zv::riichi::ApplyRuleKey(rules, line.substr(0, blank), line.substr(blank + 1));
            }
            RulesSummary(rules);
            for (int sinking = 0; sinking <= 4; ++sinking) {
                auto table = zv::riichi::UmaForPlaces(rules.uma, sinking);
                if (table.size() != 4 || std::accumulate(table.begin(), table.end(), 0) != 0) std::abort();
            }
            break;
        }
    }
    return 0;
}
