#pragma once
// The main function of the one-player games (zelvan1, rzelvan1, sanma1):
// reads the options, prepares the game, and either plays ZV_ENGINE_AUTOPLAY
// games without a window or opens the board on a new game.
#include <cstdio>

#include "board/tile_painter.h"

namespace zv::board {

struct OnePlayerProgram {
    const char* name;   // the program's name in messages
    const char* title;  // the window title
    TileLook look = TileLook::Flat;
    int players = 4;  // 3 for the three-player game
    void (*printUsage)(std::FILE* out) = nullptr;
};

int RunOnePlayerProgram(int argc, char** argv, const OnePlayerProgram& program);

}  // namespace zv::board
