#include "board/one_player_program.h"

#include <QApplication>
#include <string>
#include <vector>

#include "app/one_player.h"
#include "board/board_window.h"
#include "platform/platform.h"
#include "qtcommon/engine_widgets.h"

namespace zv::board {
namespace {

using namespace zv::engine;

int Autoplay(OnePlayerGame& game, int count, const char* name) {
    int failures = 0;
    for (int i = 0; i < count; ++i) {
        std::string problem = game.PlayOne(ChooseSeed() + static_cast<std::uint64_t>(i));
        const PlayerStats& me = game.lastGame().players[0];
        std::printf("%s: game %d: place %d, score %d, points %d\n", name, game.gamesPlayed(), me.place,
                    me.finalScore, me.points);
        if (!problem.empty()) {
            std::fprintf(stderr, "%s: %s\n", name, problem.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace

int RunOnePlayerProgram(int argc, char** argv, const OnePlayerProgram& program) {
    std::vector<std::string> args(argv + 1, argv + argc);
    auto parsed = ParseEngineOptions(args, "BncTuQHl");
    PrintWarnings(program.name, parsed.warnings);
    if (parsed.options.help) {
        program.printUsage(stdout);
        return 0;
    }
    int autoplay = AutoplayCount();
    std::string error = parsed.error;
    OnePlayerGame game(program.players);
    std::vector<std::string> warnings;
    if (error.empty()) error = game.Prepare(parsed.options, zv::ExecutableDir(), program.name, warnings);
    if (error.empty() && autoplay < 0) error = "ZV_ENGINE_AUTOPLAY must be a number of games (1 or more)";
    PrintWarnings(program.name, warnings);
    if (!error.empty())
        return ReportStartFailure(argc, argv, program.name, program.title, error, program.printUsage,
                                  !parsed.error.empty(), autoplay);
    if (autoplay > 0) return Autoplay(game, autoplay, program.name);

    QApplication app(argc, argv);
    BoardWindow window(game, program.look, QString::fromUtf8(program.title));
    window.show();
    // A missing or unreadable rules or character file: the game goes on with
    // the defaults, and the player is told once.
    if (!warnings.empty()) {
        QString text = QString::fromUtf8("標準の設定で対局します。\n");
        for (const auto& w : warnings) text += "\n" + engine::Q(w);
        window.showMessage(text);
    }
    window.StartGame(ChooseSeed());
    return app.exec();
}

}  // namespace zv::board
