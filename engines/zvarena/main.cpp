// zvarena: plays seeded games between computer players and prints how each
// did (see arena.h and --help).
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "zvarena/arena.h"

namespace {

// The folder of this program, with a trailing '/': characters are read from
// its usr/ folder, never from the current directory.
std::string InstallDir() {
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return "./";
    std::string dir(path, static_cast<std::size_t>(n));
    return dir.substr(0, dir.rfind('/') + 1);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    auto result = zv::arena::RunArenaCommand(args, InstallDir());
    std::fputs(result.out.c_str(), stdout);
    std::fputs(result.err.c_str(), stderr);
    return result.exitCode;
}
