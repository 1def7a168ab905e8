// zvbridge: a computer player that is a program of the mjai protocol. It
// takes zvauto's command line, so that a character associated with it is
// started the way zvauto is, joins the game server, and plays its seat by
// running the character's bot: the command line in <-B>/<-n>.mjai (its first
// line), or the one given with --bot. The bot reads mjai events on its
// standard input and answers each with one line on its standard output. A
// bot that cannot start, ends, hangs or answers nonsense is replaced by the
// character player of <-B>/<-n>.pf for the rest of the game. With -X one
// bot process plays game after game. The outcome is
// appended to <-B>/zvclient.res. The seat's token is kept for joining
// again, and in <-B>/zvclient.tok. Windowless.
#include <algorithm>
#include <atomic>
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
#include "config/file_io.h"
#include "net/seat_token.h"
#include "platform/process.h"
#include "zvbridge/mjai_bridge.h"

namespace {

std::atomic<bool> g_stop{false};

void OnSignal(int) { g_stop.store(true); }

const char* kUsage =
    "zvbridge - plays a seat of the game server with a program of the mjai protocol\n"
    "(a bot that reads mjai events on its standard input and answers on its output).\n"
    "\n"
    "usage: zvbridge -n NAME -p PORT -h HOST -B \"DIR\" [-X] [--bot \"COMMAND\"]\n"
    "  -n NAME  the character to play as (its style plays when the bot cannot)\n"
    "  -p PORT  the server's TCP port;  -h HOST  the server (default localhost)\n"
    "  -B DIR   the character's directory: NAME.mjai holds the bot's command line,\n"
    "           NAME.pf the style; zvclient.res is appended there\n"
    "  -X       after a game, join the server again\n"
    "  --bot C  the bot's command line (instead of NAME.mjai)\n"
    "environment: ZV_BRIDGE_BOT_MS=T  the longest wait for one answer of the bot\n"
    "             (milliseconds, default 5000)\n"
    "             ZV_BRIDGE_START_MS=T  the longest wait for its answer to start_game,\n"
    "             where a bot may load what it plays with (milliseconds, default 60000)\n";

void Say(const std::string& text) {
    std::printf("zvbridge: %s\n", text.c_str());
    std::fflush(stdout);
}

// The first line of the file that is not blank, or nothing.
std::string FirstLine(const std::string& path) {
    for (const std::string& line : zv::SplitLines(zv::ReadWholeFile(path).value_or("")))
        if (line.find_first_not_of(" \t") != std::string::npos) return line;
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string botLine;
    bool botGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--bot") continue;
        if (i + 1 >= args.size()) {
            std::fprintf(stderr, "zvbridge: --bot needs the bot's command line\n");
            return 2;
        }
        botLine = args[i + 1];
        botGiven = true;
        args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
        break;
    }
    auto parsed = zv::engine::ParseEngineOptions(args, "nSphBXk");
    if (auto exitCode = zv::engine::HandleNetworkEngineStart("zvbridge", kUsage, parsed)) return *exitCode;
    const auto& o = parsed.options;
    zv::bridge::BridgeConfig config;
    config.port = o.port.empty() ? 4112 : zv::engine::ParsePort(o.port);
    if (config.port == 0) {
        std::fprintf(stderr, "zvbridge: \"%s\" is not a TCP port (1-65535)\n", o.port.c_str());
        return 2;
    }
    std::string name = o.name.empty() ? "bot" : o.name;
    if (!zv::engine::IsPlainName(name) || !zv::engine::IsValidUtf8(name)) {
        std::fprintf(stderr, "zvbridge: \"%s\" cannot be a character name\n", name.c_str());
        return 2;
    }
    config.host = o.host.empty() ? "localhost" : o.host;
    config.request.kind = "auto";
    config.request.name = name;
    bool haveDir = zv::engine::IsDirectory(o.baseDir);
    if (haveDir) {
        if (!zv::engine::ReadCharacterFile(zv::engine::JoinPath(o.baseDir, name + ".pf"),
                                           config.request.style))
            std::fprintf(stderr, "zvbridge: no character file %s.pf, default style\n", name.c_str());
        if (!botGiven) botLine = FirstLine(zv::engine::JoinPath(o.baseDir, name + ".mjai"));
    } else {
        std::fprintf(stderr, "zvbridge: no character directory \"%s\"; results are not kept\n",
                     o.baseDir.c_str());
    }
    config.bot = zv::SplitCommandLine(botLine);
    if (config.bot.empty())
        std::fprintf(stderr, "zvbridge: no bot command (%s.mjai or --bot); the character player plays\n",
                     name.c_str());
    if (const char* env = std::getenv("ZV_BRIDGE_BOT_MS"); env != nullptr && *env != '\0')
        config.botMs = std::clamp(std::atoi(env), 10, 600000);
    if (const char* env = std::getenv("ZV_BRIDGE_START_MS"); env != nullptr && *env != '\0')
        config.startMs = std::clamp(std::atoi(env), 10, 3600000);

    // The seat's token: sent with each JOIN, so that a seat left behind is
    // taken back; kept in the directory for a restarted bridge.
    const std::string tokenPath = haveDir ? zv::engine::SeatTokenPath(o.baseDir) : std::string();
    const std::string server = zv::engine::ServerKey(config.host, config.port);
    if (haveDir) config.request.token = zv::engine::ReadSeatToken(tokenPath, server, name);
    std::string token = config.request.token;
    config.keepToken = [&](const std::string& given) {
        if (given == token) return;
        token = given;
        if (!haveDir) return;
        std::string problem = zv::engine::KeepSeatToken(tokenPath, server, name, given);
        if (!problem.empty()) std::fprintf(stderr, "zvbridge: %s\n", problem.c_str());
    };

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);

    // One bot for all the games of a resident bridge: it loads once.
    zv::bridge::BotProcess bot;
    int games = 0;
    for (;;) {
        zv::engine::NetGameResult result;
        zv::bridge::BridgeReport report;
        std::string message;
        config.request.token = token;
        auto status = zv::bridge::PlayBridgedGame(config, bot, result, message, report, Say, &g_stop);
        auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (status == zv::engine::NetStatus::ConnectFailed && games > 0 && o.resident && !g_stop.load() &&
               std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            config.request.token = token;
            status = zv::bridge::PlayBridgedGame(config, bot, result, message, report, Say, &g_stop);
        }
        if (status == zv::engine::NetStatus::Cancelled) return 0;
        if (status != zv::engine::NetStatus::Played) {
            std::fprintf(stderr, "zvbridge: %s\n", message.c_str());
            return games > 0 ? 0 : 1;
        }
        ++games;
        Say("game " + std::to_string(result.gameNumber) + " over: place " +
            std::to_string(result.mine.place) + ", points " + std::to_string(result.mine.points) +
            "; the bot took " + std::to_string(report.botDecisions) + " decisions, the character player " +
            std::to_string(report.fallbackDecisions));
        if (!report.replaced.empty())
            std::fprintf(stderr, "zvbridge: the bot was replaced: %s\n", report.replaced.c_str());
        if (haveDir) {
            std::string problem =
                zv::engine::AppendResults(zv::engine::JoinPath(o.baseDir, "zvclient.res"), result.mine);
            if (!problem.empty()) std::fprintf(stderr, "zvbridge: %s\n", problem.c_str());
        }
        if (!o.resident) return 0;
    }
}
