#include "zvbridge/bot_process.h"

#include <chrono>

#include "net/net_lines.h"

namespace zv::bridge {

BotProcess::BotProcess(PipedChild::NowFn now) : child_(std::move(now), engine::kMaxLineLength) {}

bool BotProcess::Start(const std::vector<std::string>& argv, std::string& error) {
    std::string why;
    if (child_.Start(argv, why)) return true;
    error = (argv.empty() ? std::string("no bot command") : argv[0]) + ": cannot start the bot (" + why + ")";
    return false;
}

bool BotProcess::Send(const std::string& line, Clock::time_point deadline) {
    return child_.WriteLine(line, deadline);
}

std::optional<std::string> BotProcess::Receive(Clock::time_point deadline, std::string& why, bool& timedOut) {
    std::string line;
    timedOut = false;
    switch (child_.ReadLine(deadline, line)) {
        case PipedChild::Read::Line:
            return line;
        case PipedChild::Read::TimedOut:
            timedOut = true;
            why = "the bot did not answer in time";
            break;
        case PipedChild::Read::Ended:
            why = "the bot has ended";
            break;
        case PipedChild::Read::TooLong:
            why = "the bot sent a line that is too long";
            break;
    }
    return std::nullopt;
}

void BotProcess::Stop() { child_.Stop(child_.Now() + std::chrono::milliseconds(300)); }

}  // namespace zv::bridge
