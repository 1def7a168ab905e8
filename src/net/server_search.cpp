#include "net/server_search.h"

#include "net/socket_helpers.h"
#include "platform/sockets.h"

namespace zv {

SearchIdentity LocalSearchIdentity() {
    LocalNetwork local = CurrentSockets().LocalIPv4();
    return {local.address.value_or(kUnknownAddress), local.mask.value_or(kUnknownAddress)};
}

int SearchLimit(const std::string& mask) { return mask == "255.255.255.0" ? 255 : 128; }

std::string SearchPrefix(const std::string& address) {
    std::size_t dot = std::string::npos;
    for (int i = 0; i < 3; ++i) {
        dot = address.find('.', dot == std::string::npos ? 0 : dot + 1);
        if (dot == std::string::npos) return {};
    }
    return address.substr(0, dot + 1);
}

std::vector<std::string> SearchAddresses(const std::string& address, const std::string& mask) {
    std::vector<std::string> addresses;
    std::string prefix = SearchPrefix(address);
    int limit = SearchLimit(mask);
    for (int host = 2; host < limit; ++host) addresses.push_back(prefix + std::to_string(host));
    return addresses;
}

std::string SearchResultMessage(int found) {
    if (found > 0) return "ｹﾞｰﾑｻｰﾊﾞｰが、" + std::to_string(found) + " 見つかりました。";
    return "ｹﾞｰﾑｻｰﾊﾞｰは見つかりませんでした。";
}

std::vector<std::string> ScanForServers(const std::string& address, const std::string& mask,
                                        const std::string& port,
                                        const std::function<bool(const std::string&)>& progress,
                                        const std::function<void(const std::string&)>& found) {
    std::vector<std::string> servers;
    for (const std::string& candidate : SearchAddresses(address, mask)) {
        if (progress && !progress(candidate)) break;
        if (TcpConnectTest(candidate, port) != kConnected) continue;
        servers.push_back(candidate);
        if (found) found(candidate);
    }
    return servers;
}

}  // namespace zv
