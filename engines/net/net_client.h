#pragma once
// The network client's setup and files: checks the options, reads the
// player's own character file (<-B>/<-n>.pf, or the default style), by
// which the seat is played without a window, and files each game played:
// appends the result to <-B>/zvclient.res and rewrites the run's record (the
// -l file) from the record lines the server sent. Keeps the seat's token for
// the server in <-B>/zvclient.tok, so that a restarted client takes its left
// seat back.
#include <atomic>
#include <string>
#include <vector>

#include "app/engine_options.h"
#include "app/one_player.h"
#include "net/net_game.h"

namespace zv::engine {

class NetClient {
public:
    // Empty when the options can be used, else the message to show.
    std::string Prepare(const EngineOptions& options, std::vector<std::string>& warnings);

    // Plays one game with the character player. On success returns true;
    // `message` then holds any file problem. On failure `message` says why.
    bool PlayOnce(std::string& message, const LogFn& progress, const std::atomic<bool>* cancel);
    // Files a game played elsewhere (the board). Returns any file problem.
    std::string File(const NetGameResult& result);
    // The JOIN request of this player (with the token kept for the server).
    JoinRequest Request() const;
    // Keeps the token the server seated the player with, in memory and in
    // the token file. Returns any file problem.
    std::string KeepToken(const std::string& token);

    const std::string& host() const { return host_; }
    int port() const { return port_; }
    const std::string& name() const { return name_; }
    const CharacterStyle& style() const { return style_; }
    const Layout& layout() const { return layout_; }
    const NetGameResult& last() const { return last_; }
    int gamesPlayed() const { return games_; }
    NetStatus lastStatus() const { return status_; }

private:
    std::string host_;
    int port_ = 0;
    std::string name_;
    CharacterStyle style_;
    std::string resultsPath_;
    std::string recordPath_;
    std::string tokenPath_;
    std::string token_;
    Layout layout_;
    std::vector<std::string> recordBlocks_;
    NetGameResult last_;
    int games_ = 0;
    NetStatus status_ = NetStatus::Played;
};

}  // namespace zv::engine
