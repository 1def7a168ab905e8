#include "net/net_client.h"

#include "app/engine_paths.h"
#include "base/utf8_text.h"
#include "net/seat_token.h"

namespace zv::engine {

std::string NetClient::Prepare(const EngineOptions& o, std::vector<std::string>& warnings) {
    if (o.nonTcp) return "IPX/SPX (-S) is not available on this platform; choose TCP/IP";
    if (o.baseDir.empty()) return "no player directory given (-B)";
    if (!IsDirectory(o.baseDir)) return o.baseDir + ": the player directory does not exist";
    if (o.name.empty()) return "no player name given (-n)";
    if (!IsPlainName(o.name) || !IsValidUtf8(o.name)) return "\"" + o.name + "\" cannot be a player name";
    port_ = o.port.empty() ? 4112 : ParsePort(o.port);
    if (port_ == 0) return "\"" + o.port + "\" is not a TCP port (1-65535)";
    if (!o.recordFile.empty()) {
        std::string problem = CheckRecordPath(o.recordFile);
        if (!problem.empty()) return problem;
    }
    bool known = true;
    layout_ = LayoutFor(o.layout, known);
    if (!known && !o.layout.empty()) warnings.push_back("unknown layout \"" + o.layout + "\", using small");
    host_ = o.host.empty() ? "localhost" : o.host;
    name_ = o.name;
    // The player's own character, when there is one, plays the seat.
    style_ = CharacterStyle{};
    ReadCharacterFile(JoinPath(o.baseDir, o.name + ".pf"), style_);
    style_.displayName.clear();
    resultsPath_ = JoinPath(o.baseDir, "zvclient.res");
    recordPath_ = o.recordFile;
    tokenPath_ = SeatTokenPath(o.baseDir);
    token_ = ReadSeatToken(tokenPath_, ServerKey(host_, port_), name_);
    return {};
}

JoinRequest NetClient::Request() const {
    JoinRequest request;
    request.kind = "human";
    request.name = name_;
    request.style = style_;
    request.token = token_;
    return request;
}

std::string NetClient::KeepToken(const std::string& token) {
    if (token == token_) return {};
    token_ = token;
    return KeepSeatToken(tokenPath_, ServerKey(host_, port_), name_, token_);
}

bool NetClient::PlayOnce(std::string& message, const LogFn& progress, const std::atomic<bool>* cancel) {
    NetGameResult result;
    message.clear();
    std::string tokenProblem;
    status_ = PlayNetworkGame(host_, port_, Request(), result, message, progress, cancel,
                              [&](const std::string& token) { tokenProblem = KeepToken(token); });
    if (status_ != NetStatus::Played) return false;
    message = File(result);
    if (!tokenProblem.empty()) message += (message.empty() ? "" : "\n") + tokenProblem;
    return true;
}

std::string NetClient::File(const NetGameResult& result) {
    last_ = result;
    ++games_;
    std::string problems = AppendResults(resultsPath_, result.mine);
    if (!recordPath_.empty()) {
        recordBlocks_.insert(recordBlocks_.end(), result.recordLines.begin(), result.recordLines.end());
        std::string problem = SaveRecord(recordPath_, recordBlocks_);
        if (!problem.empty()) problems += (problems.empty() ? "" : "\n") + problem;
    }
    return problems;
}

}  // namespace zv::engine
