// zvauto: computer player. Joins a game server as the character named by
// -n and plays its seat with the character player of its style (read from
// <-B>/<name>.pf), then appends its outcome to <-B>/zvclient.res. With -X it
// joins again after each game, giving up when the server stays away. The
// seat's token is kept for joining again, and in <-B>/zvclient.tok.
// Windowless.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/engine_options.h"
#include "app/engine_paths.h"
#include "base/utf8_text.h"
#include "net/net_game.h"
#include "net/seat_token.h"

namespace {

std::atomic<bool> g_stop{false};

void OnSignal(int) { g_stop.store(true); }

const char* kUsage =
    "zvauto - computer player of riichi mahjong for the game server: joins and\n"
    "plays its seat with the character's playing style (every weight of NAME.pf).\n"
    "\n"
    "usage: zvauto -n NAME -p PORT -h HOST -B \"DIR\" [-X] [-k] [-S]\n"
    "  -n NAME  the character to play as\n"
    "  -p PORT  the server's TCP port;  -h HOST  the server (default localhost)\n"
    "  -B DIR   the character's directory (NAME.pf; zvclient.res is appended there)\n"
    "  -X       after a game, join the server again (gives up after\n"
    "           $ZV_AUTO_RETRY_SECONDS seconds without a server, default 30)\n"
    "  -k       accepted; the protocol is always UTF-8\n"
    "  -S       IPX/SPX: not available on this platform\n";

void Say(const std::string& text) {
    std::printf("zvauto: %s\n", text.c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    auto parsed = zv::engine::ParseEngineOptions(args, "nSphBXk");
    if (auto exitCode = zv::engine::HandleNetworkEngineStart("zvauto", kUsage, parsed)) return *exitCode;
    const auto& o = parsed.options;
    int port = o.port.empty() ? 4112 : zv::engine::ParsePort(o.port);
    if (port == 0) {
        std::fprintf(stderr, "zvauto: \"%s\" is not a TCP port (1-65535)\n", o.port.c_str());
        return 2;
    }
    std::string name = o.name.empty() ? "auto" : o.name;
    if (!zv::engine::IsPlainName(name) || !zv::engine::IsValidUtf8(name)) {
        std::fprintf(stderr, "zvauto: \"%s\" cannot be a character name\n", name.c_str());
        return 2;
    }
    std::string host = o.host.empty() ? "localhost" : o.host;

    zv::engine::JoinRequest request;
    request.kind = "auto";
    request.name = name;
    // Results go to the character's directory; without one the player still
    // plays, with the default style, and keeps no results.
    bool haveDir = zv::engine::IsDirectory(o.baseDir);
    if (haveDir) {
        if (!zv::engine::ReadCharacterFile(zv::engine::JoinPath(o.baseDir, name + ".pf"), request.style))
            std::fprintf(stderr, "zvauto: no character file %s.pf, default style\n", name.c_str());
    } else {
        std::fprintf(stderr, "zvauto: no character directory \"%s\"; results are not kept\n",
                     o.baseDir.c_str());
    }

    // The seat's token: sent with each JOIN, so that a seat left behind is
    // taken back; kept in the directory for a restarted player.
    const std::string tokenPath = haveDir ? zv::engine::SeatTokenPath(o.baseDir) : std::string();
    const std::string server = zv::engine::ServerKey(host, port);
    std::string token = haveDir ? zv::engine::ReadSeatToken(tokenPath, server, name) : std::string();
    auto keepToken = [&](const std::string& given) {
        if (given == token) return;
        token = given;
        if (!haveDir) return;
        std::string problem = zv::engine::KeepSeatToken(tokenPath, server, name, given);
        if (!problem.empty()) std::fprintf(stderr, "zvauto: %s\n", problem.c_str());
    };

    int retrySeconds = 30;
    if (const char* env = std::getenv("ZV_AUTO_RETRY_SECONDS"); env != nullptr && *env != '\0')
        retrySeconds = std::max(0, std::atoi(env));

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);

    int games = 0;
    for (;;) {
        zv::engine::NetGameResult result;
        std::string message;
        request.token = token;
        auto status =
            zv::engine::PlayNetworkGame(host, port, request, result, message, Say, &g_stop, keepToken);
        // After a game with -X the server may be between games: keep trying
        // for a while before giving up.
        auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(retrySeconds);
        while (status == zv::engine::NetStatus::ConnectFailed && games > 0 && o.resident && !g_stop.load() &&
               std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            request.token = token;
            status =
                zv::engine::PlayNetworkGame(host, port, request, result, message, Say, &g_stop, keepToken);
        }
        if (status == zv::engine::NetStatus::Cancelled) return 0;
        if (status != zv::engine::NetStatus::Played) {
            std::fprintf(stderr, "zvauto: %s\n", message.c_str());
            return games > 0 ? 0 : 1;
        }
        ++games;
        Say("game " + std::to_string(result.gameNumber) + " over: place " +
            std::to_string(result.mine.place) + ", points " + std::to_string(result.mine.points));
        if (haveDir) {
            std::string problem =
                zv::engine::AppendResults(zv::engine::JoinPath(o.baseDir, "zvclient.res"), result.mine);
            if (!problem.empty()) std::fprintf(stderr, "zvauto: %s\n", problem.c_str());
        }
        if (!o.resident) return 0;
    }
}
