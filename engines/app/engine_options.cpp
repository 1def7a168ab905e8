#include "app/engine_options.h"

#include <cctype>
#include <cstdio>

namespace zv::engine {
namespace {

bool TakesValue(char letter) {
    switch (letter) {
        case 'B':
        case 'n':
        case 'T':
        case 'u':
        case 'l':
        case 'h':
        case 'p':
            return true;
        default:
            return false;
    }
}

bool IsKnownFlag(char letter) {
    switch (letter) {
        case 'c':
        case 'Q':
        case 'H':
        case 'S':
        case 'k':
        case 'C':
        case 'X':
            return true;
        default:
            return false;
    }
}

}  // namespace

ParsedOptions ParseEngineOptions(const std::vector<std::string>& args, const std::string& accepted) {
    ParsedOptions parsed;
    EngineOptions& o = parsed.options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "-help" || word == "--help" || word == "-?" || word == "/?") {
            o.help = true;
            continue;
        }
        if (word.size() != 2 || word[0] != '-') {
            parsed.warnings.push_back("unexpected word \"" + word + "\" ignored");
            continue;
        }
        char letter = word[1];
        if (!TakesValue(letter) && !IsKnownFlag(letter)) {
            parsed.warnings.push_back("unknown option " + word + " ignored");
            continue;
        }
        std::string value;
        if (TakesValue(letter)) {
            if (i + 1 >= args.size()) {
                parsed.error = "option " + word + " needs a value";
                return parsed;
            }
            value = args[++i];
        }
        if (accepted.find(letter) == std::string::npos) {
            parsed.warnings.push_back("option " + word + " is not used by this program, ignored");
            continue;
        }
        switch (letter) {
            case 'B':
                o.baseDir = value;
                break;
            case 'n':
                o.name = value;
                break;
            case 'T':
                o.layout = value;
                break;
            case 'u':
                o.opponents.push_back(value);
                break;
            case 'l':
                o.recordFile = value;
                break;
            case 'h':
                o.host = value;
                break;
            case 'p':
                o.port = value;
                break;
            case 'c':
                o.computerOpponents = true;
                break;
            case 'Q':
                o.length = 1;
                break;
            case 'H':
                o.length = 2;
                break;
            case 'S':
                o.nonTcp = true;
                break;
            case 'k':
                o.eucMessages = true;
                break;
            case 'C':
                o.talk = true;
                break;
            case 'X':
                o.resident = true;
                break;
            default:
                break;
        }
    }
    return parsed;
}

int ParsePort(const std::string& word) {
    if (word.empty() || word.size() > 5) return 0;
    int port = 0;
    for (char c : word) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
        port = port * 10 + (c - '0');
    }
    return port >= 1 && port <= 65535 ? port : 0;
}

std::optional<int> HandleNetworkEngineStart(const char* program, const char* usage,
                                            const ParsedOptions& parsed) {
    for (const auto& warning : parsed.warnings) std::fprintf(stderr, "%s: %s\n", program, warning.c_str());
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "%s: %s\n%s", program, parsed.error.c_str(), usage);
        return 2;
    }
    if (parsed.options.help) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (parsed.options.nonTcp) {
        std::fprintf(stderr, "%s: IPX/SPX (-S) is not available on this platform; choose TCP/IP\n", program);
        return 2;
    }
    return std::nullopt;
}

}  // namespace zv::engine
