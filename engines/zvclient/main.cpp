// zvclient / rclient: network game client. Joins a game server (-h, -p) and
// plays the player's seat on the board of the one-player game: the server
// holds the table, the window shows it as the server tells it to this seat
// and sends the player's decisions. Appends each game's result to
// <-B>/zvclient.res and rewrites the -l record. rclient draws real-looking
// tiles.
//
// ZV_ENGINE_AUTOPLAY=N plays N games without any window, the seat played by
// the computer player of the player's own character (<-B>/<-n>.pf, else the
// default style), and exits.
#include <QApplication>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "board/net_board_window.h"
#include "net/net_client.h"
#include "platform/platform.h"
#include "qtcommon/engine_widgets.h"

namespace {

using namespace zv::engine;

#ifdef ZV_REAL_TILES
const char* kProgram = "rclient";
const char* kTitle = "麻雀  ネットワーク対戦 (リアル牌)";
const zv::board::TileLook kLook = zv::board::TileLook::Real;
#else
const char* kProgram = "zvclient";
const char* kTitle = "麻雀  ネットワーク対戦";
const zv::board::TileLook kLook = zv::board::TileLook::Flat;
#endif

void PrintUsage(std::FILE* out) {
    std::fprintf(
        out,
        "%s - network game client of riichi mahjong: joins a game server, which\n"
        "holds the table by its rules, and plays the player's seat on the board.\n"
        "\n"
        "usage: %s [-T LAYOUT] -B \"DIR\" -c -n NAME -p PORT -h HOST [-l \"RECORD\"] [-C] [-k] [-S]\n"
        "  -B DIR     the player's directory: NAME.pf is read, zvclient.res is appended there\n"
        "  -n NAME    the player's name;  -c  accepted\n"
        "  -p PORT    the server's TCP port;  -h HOST  the server (default localhost)\n"
        "  -T LAYOUT  small (640x480), small4, large (800x600), large4 (1024x768)\n"
        "  -l FILE    write the game record (the folder must exist)\n"
        "  -C, -k     accepted (talk is not offered; the protocol is always UTF-8)\n"
        "  -S         IPX/SPX: not available on this platform\n"
        "environment: ZV_ENGINE_AUTOPLAY=N plays N games without a window (the seat\n"
        "             played by the computer player of NAME.pf, or the default style)\n",
        kProgram, kProgram);
}

int Autoplay(NetClient& client, int count) {
    for (int i = 0; i < count; ++i) {
        std::string message;
        bool played = client.PlayOnce(
            message,
            [](const std::string& text) {
                std::printf("%s: %s\n", kProgram, text.c_str());
                std::fflush(stdout);
            },
            nullptr);
        if (!played) {
            std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
            return 1;
        }
        std::printf("%s: game %d over: place %d, points %d\n", kProgram, client.last().gameNumber,
                    client.last().mine.place, client.last().mine.points);
        if (!message.empty()) {
            std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    auto parsed = ParseEngineOptions(args, "TBcnphlSCk");
    PrintWarnings(kProgram, parsed.warnings);
    if (parsed.options.help) {
        PrintUsage(stdout);
        return 0;
    }
    int autoplay = AutoplayCount();
    std::string error = parsed.error;
    NetClient client;
    std::vector<std::string> warnings;
    if (error.empty()) error = client.Prepare(parsed.options, warnings);
    if (error.empty() && autoplay < 0) error = "ZV_ENGINE_AUTOPLAY must be a number of games (1 or more)";
    PrintWarnings(kProgram, warnings);
    if (!error.empty())
        return ReportStartFailure(argc, argv, kProgram, kTitle, error, PrintUsage, !parsed.error.empty(),
                                  autoplay);
    if (autoplay > 0) return Autoplay(client, autoplay);

    QApplication app(argc, argv);
    zv::board::NetBoardWindow window(client, kLook, QString::fromUtf8(kTitle), zv::ExecutableDir());
    window.show();
    window.Join();
    return app.exec();
}
