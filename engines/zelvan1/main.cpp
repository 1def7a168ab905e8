// zelvan1 / rzelvan1: the one-player game of riichi mahjong. The player
// sits at the table against three computer characters (-u), by the rules of
// zelvan1.pf; each finished game appends a "result:" and a "yaku:" line to
// <-B>/<-n>.res and rewrites the -l record. rzelvan1 is the same game with
// real-looking tiles.
//
// ZV_ENGINE_AUTOPLAY=N plays N games without any window, the player's seat
// played by the computer player of the player's own character, and exits.
#include <cstdio>

#include "board/one_player_program.h"

namespace {

#ifdef ZV_REAL_TILES
const char* kProgram = "rzelvan1";
const char* kTitle = "麻雀  ひとり遊び (リアル牌)";
const zv::board::TileLook kLook = zv::board::TileLook::Real;
#else
const char* kProgram = "zelvan1";
const char* kTitle = "麻雀  ひとり遊び";
const zv::board::TileLook kLook = zv::board::TileLook::Flat;
#endif

void PrintUsage(std::FILE* out) {
    std::fprintf(
        out,
        "%s - one-player riichi mahjong: the player against three computer\n"
        "characters, by the rules of zelvan1.pf.\n"
        "\n"
        "usage: %s -B \"DIR\" -n NAME [-c] [-T LAYOUT] -u OPP -u OPP -u OPP [-Q|-H] [-l \"RECORD\"]\n"
        "  -B DIR     the player's directory: zelvan1.pf and sound.nuc are read,\n"
        "             NAME.res is appended there\n"
        "  -n NAME    the player's name;  -c  computer opponents (always)\n"
        "  -T LAYOUT  small (640x480), small4, large (800x600), large4 (1024x768)\n"
        "  -u NAME    an opponent character (usr/NAME/NAME.pf beside the program)\n"
        "  -Q / -H    east round only / east and south rounds (default: zelvan1.pf)\n"
        "  -l FILE    write the game record (the folder must exist)\n"
        "environment: ZV_ENGINE_AUTOPLAY=N plays N games without a window (the player's\n"
        "             seat played by the computer) and exits;\n"
        "             ZV_ENGINE_SEED=S makes the games repeatable\n",
        kProgram, kProgram);
}

}  // namespace

int main(int argc, char** argv) {
    return zv::board::RunOnePlayerProgram(argc, argv, {kProgram, kTitle, kLook, 4, PrintUsage});
}
