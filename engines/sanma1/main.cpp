// sanma1: the one-player game of three-player riichi mahjong. The player
// sits at the table against two computer characters (-u, else the
// launcher's stored opponents), by the rules of zelvan1.pf made
// three-player and then sanma1.pf; each finished game appends a "result:"
// and a "yaku:" line to <NAME>.sanma.res in the player's folder and
// rewrites the record (sanma1.fu there, or -l).
//
// ZV_ENGINE_AUTOPLAY=N plays N games without any window, the player's seat
// played by the computer player of the player's own character, and exits.
#include <cstdio>

#include "board/one_player_program.h"

namespace {

const char* kProgram = "sanma1";
const char* kTitle = "麻雀  サンマ ひとり遊び";

void PrintUsage(std::FILE* out) {
    std::fprintf(out,
                 "%s - three-player riichi mahjong: the player against two computer\n"
                 "characters, by the rules of zelvan1.pf made three-player, then sanma1.pf.\n"
                 "\n"
                 "usage: %s -n NAME [-c] [-B \"DIR\"] [-T LAYOUT] [-u OPP -u OPP] [-Q|-H] [-l \"RECORD\"]\n"
                 "  -n NAME    the player's name;  -c  computer opponents (always)\n"
                 "  -B DIR     the player's directory (default: usr/NAME beside the program):\n"
                 "             zelvan1.pf, sanma1.pf and sound.nuc are read, NAME.sanma.res\n"
                 "             is appended and sanma1.fu written there\n"
                 "  -T LAYOUT  small (640x480), small4, large (800x600), large4 (1024x768)\n"
                 "  -u NAME    an opponent character (default: the launcher's first two)\n"
                 "  -Q / -H    east round only / east and south rounds (default: zelvan1.pf)\n"
                 "  -l FILE    write the game record there instead of DIR/sanma1.fu\n"
                 "environment: ZV_ENGINE_AUTOPLAY=N plays N games without a window (the player's\n"
                 "             seat played by the computer) and exits;\n"
                 "             ZV_ENGINE_SEED=S makes the games repeatable\n",
                 kProgram, kProgram);
}

}  // namespace

int main(int argc, char** argv) {
    return zv::board::RunOnePlayerProgram(argc, argv,
                                          {kProgram, kTitle, zv::board::TileLook::Flat, 3, PrintUsage});
}
