#pragma once
// The server search: which addresses of the local subnet are tried, and the
// scan itself (connection tests run side by side, results kept in ascending
// order).
#include <functional>
#include <string>
#include <vector>

namespace zv {

// Text shown for a local address or mask the system cannot give.
inline constexpr const char* kUnknownAddress = "unknown";

// The local address and mask as the dialog shows them ("unknown" when missing).
struct SearchIdentity {
    std::string address;
    std::string mask;
};
SearchIdentity LocalSearchIdentity();

// Host numbers are tried from 2 while below this limit: 255 for the mask
// text "255.255.255.0" exactly, 128 for any other.
int SearchLimit(const std::string& mask);

// The address up to and including its third "."; empty with fewer dots.
std::string SearchPrefix(const std::string& address);

// Every address a scan tries, in order.
std::vector<std::string> SearchAddresses(const std::string& address, const std::string& mask);

// The result line for `found` servers.
std::string SearchResultMessage(int found);

// How many connection tests a scan keeps under way at once. A host that
// drops connection requests holds its test for the whole time limit, so a
// /24 of such hosts takes about 253 / kSearchParallel time limits.
inline constexpr int kSearchParallel = 64;

// Runs a scan: the addresses are started in ascending order, at most
// kSearchParallel at a time; `progress` is told each address just before its
// test starts (it returns false to stop the scan there: no further address
// is started, and the tests under way are waited for), and `found` is told
// each address that answered, in ascending order. Both callbacks are called
// on the calling thread only; the tests themselves run on worker threads.
// Returns the addresses that answered, in ascending order. Either callback
// may be empty.
std::vector<std::string> ScanForServers(const std::string& address, const std::string& mask,
                                        const std::string& port,
                                        const std::function<bool(const std::string&)>& progress,
                                        const std::function<void(const std::string&)>& found = nullptr);

}  // namespace zv
