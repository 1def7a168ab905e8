#pragma once
// Command-line options of the engines. The launcher passes
// Windows-style single-dash options, each as its own word; the values that
// follow -B, -n, -T, -u, -l, -h and -p are the next word.
#include <optional>
#include <string>
#include <vector>

namespace zv::engine {

struct EngineOptions {
    std::string baseDir;                 // -B: the player's directory (every file we write is in it)
    std::string name;                    // -n: the player's (or character's) name
    bool computerOpponents = false;      // -c
    std::string layout;                  // -T: small, small4, large, large4
    std::vector<std::string> opponents;  // -u, once per opponent
    int length = 0;                      // -Q: 1 (east round), -H: 2 (east-south), 0: not given
    std::string recordFile;              // -l
    std::string host;                    // -h
    std::string port;                    // -p
    bool nonTcp = false;                 // -S
    bool eucMessages = false;            // -k
    bool talk = false;                   // -C
    bool resident = false;               // -X
    bool help = false;                   // -help, --help, -?
};

struct ParsedOptions {
    EngineOptions options;
    std::vector<std::string> warnings;  // unknown options and stray words: reported, not fatal
    std::string error;                  // a fatal fault (an option without its value); empty if none
};

// Parses argv[1..]. Options the program does not use are still understood
// (the launcher may pass them); `accepted` lists the option letters this
// program takes, the others are reported as warnings ("-x ignored").
ParsedOptions ParseEngineOptions(const std::vector<std::string>& args, const std::string& accepted);

// The start of a windowless network engine: prints warnings, then handles a
// fatal option error, -help and -S (no IPX/SPX here). Returns the exit code
// when the program must end now, or nothing to go on.
std::optional<int> HandleNetworkEngineStart(const char* program, const char* usage,
                                            const ParsedOptions& parsed);

// A port word as a TCP port (1..65535), or 0 when it is not one.
int ParsePort(const std::string& word);

}  // namespace zv::engine
