#pragma once
// A program that speaks the mjai protocol on its standard input and output,
// run as a child process: one JSON line to it, one JSON line back. Every
// wait ends at a deadline and a program that has ended or stopped reading is
// noticed, never waited on for ever.
#include <optional>
#include <string>
#include <vector>

#include "net/net_lines.h"
#include "platform/process.h"

namespace zv::bridge {

class BotProcess {
public:
    using Clock = PipedChild::Clock;

    // `now`: the clock of every deadline (the steady clock when empty).
    explicit BotProcess(PipedChild::NowFn now = {});
    ~BotProcess() { Stop(); }
    BotProcess(const BotProcess&) = delete;
    BotProcess& operator=(const BotProcess&) = delete;

    // Starts `argv` (the program is looked up as the launcher's programs
    // are); its standard error stays ours. False with `error` set.
    bool Start(const std::vector<std::string>& argv, std::string& error);
    // Sends one line; false when the bot no longer reads (ended, or not
    // taking input before `deadline`).
    bool Send(const std::string& line, Clock::time_point deadline);
    // The bot's next line before `deadline`; nothing with `why` set when it
    // did not answer in time (`timedOut`), ended, or sent a line that is too
    // long.
    std::optional<std::string> Receive(Clock::time_point deadline, std::string& why, bool& timedOut);
    // Closes its input, gives it a moment to end, then kills it.
    void Stop();
    bool running() { return child_.Running(); }
    Clock::time_point Now() const { return child_.Now(); }

private:
    PipedChild child_;
};

}  // namespace zv::bridge
