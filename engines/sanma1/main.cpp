// sanma1: the one-player game of three-player riichi mahjong. The player
// sits at the table against two computer characters (-u, else the
// launcher's stored opponents), by the rules of zelvan1.pf made
// three-player and then sanma1.pf; each finished game appends a "result:"
// and a "yaku:" line to <NAME>.sanma.res in the player's folder and
// rewrites the record (sanma1.fu there, or -l).
//
// ZV_ENGINE_AUTOPLAY=N plays N games without any window, the player's seat
// played by the computer player of the player's own character, and exits.
#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "app/one_player.h"
#include "board/board_window.h"
#include "platform/platform.h"
#include "qtcommon/engine_widgets.h"

namespace {

using namespace zv::engine;

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

int Autoplay(OnePlayerGame& game, int count) {
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        std::string problem = game.PlayOne(ChooseSeed() + static_cast<std::uint64_t>(i));
        const PlayerStats& me = game.lastGame().players[0];
        std::printf("%s: game %d: place %d, score %d, points %d\n", kProgram, game.gamesPlayed(), me.place,
                    me.finalScore, me.points);
        if (!problem.empty()) {
            std::fprintf(stderr, "%s: %s\n", kProgram, problem.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    auto parsed = ParseEngineOptions(args, "BncTuQHl");
    PrintWarnings(kProgram, parsed.warnings);
    if (parsed.options.help) {
        PrintUsage(stdout);
        return 0;
    }
    int autoplay = AutoplayCount();
    std::string error = parsed.error;
    OnePlayerGame game(3);
    std::vector<std::string> warnings;
    if (error.empty()) error = game.Prepare(parsed.options, zv::ExecutableDir(), kProgram, warnings);
    if (error.empty() && autoplay < 0) error = "ZV_ENGINE_AUTOPLAY must be a number of games (1 or more)";
    PrintWarnings(kProgram, warnings);
    if (!error.empty())
        return ReportStartFailure(argc, argv, kProgram, kTitle, error, PrintUsage, !parsed.error.empty(),
                                  autoplay);
    if (autoplay > 0) return Autoplay(game, autoplay);

    QApplication app(argc, argv);
    zv::board::BoardWindow window(game, zv::board::TileLook::Flat, QString::fromUtf8(kTitle));
    window.show();
    // A missing or unreadable rules or character file: the game goes on with
    // the defaults, and the player is told once.
    if (!warnings.empty()) {
        QString text = QString::fromUtf8("標準の設定で対局します。\n");
        for (const auto& w : warnings) text += "\n" + Q(w);
        window.showMessage(text);
    }
    window.StartGame(ChooseSeed());
    return app.exec();
}
