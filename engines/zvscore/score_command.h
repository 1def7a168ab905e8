#pragma once
// The zvscore command: parses its arguments into a winning situation, scores
// it with the rules library and writes one JSON line. Kept apart from main()
// so that tests and the fuzz target run it directly; the rules file is read
// through the reader passed in (the library does no input or output).
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "riichi/score.h"

namespace zv::riichi {

struct CommandOutput {
    int exitCode = 0;  // 0 done, 1 bad input (one line on `err`)
    std::string out;   // what goes to standard output, newline included
    std::string err;   // what goes to standard error, newline included
};

// Returns a rules file's text as UTF-8, or nothing when it cannot be read.
using RulesReader = std::function<std::optional<std::string>(const std::string& path)>;

// `args` are the words after the program name.
CommandOutput RunScoreCommand(const std::vector<std::string>& args, const RulesReader& readRules);

// Parses the words of a scoring request (not --help or --shanten) into a
// situation and rules; false with a one-line reason for bad input.
bool ParseScoreRequest(const std::vector<std::string>& args, const RulesReader& readRules, WinSituation& win,
                       Rules& rules, std::string& error);

// The JSON line of a won hand (without the newline).
std::string ScoreJson(const Score& score);

// The usage text printed by --help.
std::string ScoreUsage();

}  // namespace zv::riichi
