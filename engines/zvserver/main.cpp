// zvserver: network game server. Seats four players (clients and computer
// players) and holds the game on the rules library: deals, asks each seat
// for its decisions, checks and applies them and tells every seat what it
// may see. A seat whose player is gone or late is played by a computer
// player with that player's style. With -l it writes the game record, with
// -X it stays for the next game. Windowless; messages go to stdout/stderr.
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/engine_options.h"
#include "app/engine_paths.h"
#include "net/net_game.h"

namespace {

std::atomic<bool> g_stop{false};

void OnSignal(int) { g_stop.store(true); }

const char* kUsage =
    "zvserver - network game server of riichi mahjong: seats four players and\n"
    "holds the game by the rules of server.pf; each player decides for its own\n"
    "seat, and a computer player with its style stands in when it is gone or late.\n"
    "\n"
    "usage: zvserver -p PORT [-Q|-H] [-l \"RECORD\"] [-B \"DIR\"] [-X] [-S]\n"
    "  -p PORT  TCP port to listen on (address 127.0.0.1, or $ZV_SERVER_BIND)\n"
    "  -Q / -H  east round only / east and south rounds (default: server.pf)\n"
    "  -l FILE  add each game to this record file (the folder must exist)\n"
    "  -B DIR   directory holding server.pf\n"
    "  -X       stay resident: serve game after game\n"
    "  -S       IPX/SPX: not available on this platform\n"
    "environment: ZV_SERVER_DECISION_SECONDS=T  a player's time for a decision (default 30;\n"
    "             the time to read a hand's result is twice that, at most 60)\n";

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    auto parsed = zv::engine::ParseEngineOptions(args, "pQHlBXS");
    if (auto exitCode = zv::engine::HandleNetworkEngineStart("zvserver", kUsage, parsed)) return *exitCode;
    const auto& o = parsed.options;
    zv::engine::ServerConfig config;
    config.port = o.port.empty() ? 4112 : zv::engine::ParsePort(o.port);
    if (config.port == 0) {
        std::fprintf(stderr, "zvserver: \"%s\" is not a TCP port (1-65535)\n", o.port.c_str());
        return 2;
    }
    if (const char* bind = std::getenv("ZV_SERVER_BIND"); bind != nullptr && *bind != '\0')
        config.bindAddress = bind;
    if (!o.baseDir.empty()) {
        if (!zv::engine::IsDirectory(o.baseDir)) {
            std::fprintf(stderr, "zvserver: %s: the directory does not exist\n", o.baseDir.c_str());
            return 2;
        }
        if (!zv::engine::ReadRulesFile(zv::engine::JoinPath(o.baseDir, "server.pf"), config.rules))
            std::fprintf(stderr, "zvserver: no server.pf, playing with the default rules\n");
        config.rules.threePlayer = false;  // the network game is for four players
    }
    if (o.length == 1) config.rules.eastOnly = true;
    if (o.length == 2) config.rules.eastOnly = false;
    if (!o.recordFile.empty()) {
        std::string problem = zv::engine::CheckRecordPath(o.recordFile);
        if (!problem.empty()) {
            std::fprintf(stderr, "zvserver: %s\n", problem.c_str());
            return 2;
        }
        config.recordPath = o.recordFile;
    }
    config.resident = o.resident;
    if (const char* limit = std::getenv("ZV_SERVER_DECISION_SECONDS"); limit != nullptr && *limit != '\0') {
        int seconds = std::atoi(limit);
        if (seconds < 1 || seconds > 3600) {
            std::fprintf(stderr, "zvserver: ZV_SERVER_DECISION_SECONDS must be 1 to 3600\n");
            return 2;
        }
        config.decisionMs = seconds * 1000;
        config.handPauseMs = std::min(2 * config.decisionMs, config.handPauseMs);
    }
    if (const char* seed = std::getenv("ZV_ENGINE_SEED"); seed != nullptr && *seed != '\0')
        config.seed = std::strtoull(seed, nullptr, 10);

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);

    zv::engine::GameServer server(config, [](const std::string& text) {
        std::printf("zvserver: %s\n", text.c_str());
        std::fflush(stdout);
    });
    std::string error;
    if (!server.Open(error)) {
        std::fprintf(stderr, "zvserver: %s\n", error.c_str());
        return 1;
    }
    std::printf("zvserver: listening on %s:%d, waiting for four players%s\n", config.bindAddress.c_str(),
                server.Port(), config.resident ? " (resident)" : "");
    std::fflush(stdout);
    return server.Run(g_stop);
}
