// zvscore: scores a winning riichi-mahjong hand from the command line and
// prints one JSON line (see score_command.h and --help).
#include <cstdio>
#include <string>
#include <vector>

#include "config/file_io.h"
#include "zvscore/score_command.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    auto result =
        zv::riichi::RunScoreCommand(args, [](const std::string& path) { return zv::ReadTextFile(path); });
    std::fputs(result.out.c_str(), stdout);
    std::fputs(result.err.c_str(), stderr);
    return result.exitCode;
}
