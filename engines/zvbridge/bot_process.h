#pragma once
// A program that speaks the mjai protocol on its standard input and output,
// run as a child process: one JSON line to it, one JSON line back. Every
// wait has a time limit and a program that has ended or stopped reading is
// noticed, never waited on for ever. POSIX only.
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "net/net_lines.h"

namespace zv::bridge {

class BotProcess {
public:
    BotProcess() = default;
    ~BotProcess() { Stop(); }
    BotProcess(const BotProcess&) = delete;
    BotProcess& operator=(const BotProcess&) = delete;

    // Starts `argv` (the program is looked up on the search path); its
    // standard error stays ours. False with `error` set.
    bool Start(const std::vector<std::string>& argv, std::string& error);
    // Sends one line; false when the bot no longer reads (ended, or not
    // taking input within `timeoutMs`).
    bool Send(const std::string& line, int timeoutMs);
    // The bot's next line within `timeoutMs`; nothing with `why` set when it
    // did not answer in time, ended, or sent a line that is too long.
    std::optional<std::string> Receive(int timeoutMs, std::string& why);
    // Closes its input, gives it a moment to end, then kills it.
    void Stop();
    bool running() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
    int toBot_ = -1;
    int fromBot_ = -1;
    engine::LineReader reader_;
    std::vector<std::string> lines_;
};

}  // namespace zv::bridge
