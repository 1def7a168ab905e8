#include "net/server_search.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

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

namespace {

// The connection tests of one scan, run on a few worker threads. The scan's
// thread hands the addresses over in order (Start) and collects the
// outcomes in the same order (TakeFinished); at most `width` tests are under
// way at once.
class ParallelTests {
public:
    ParallelTests(const std::vector<std::string>& addresses, const std::string& port, std::size_t width)
        : addresses_(addresses), port_(port), width_(width), outcomes_(addresses.size(), Outcome::Pending) {
        workers_.reserve(std::min(width, addresses.size()));
    }

    // Waits for the tests under way, then lets the workers end.
    ~ParallelTests() {
        {
            std::unique_lock lock(mutex_);
            finishedOne_.wait(lock, [this] { return finished_ == started_; });
            closing_ = true;
        }
        workToDo_.notify_all();
        for (std::thread& worker : workers_) worker.join();
    }

    ParallelTests(const ParallelTests&) = delete;
    ParallelTests& operator=(const ParallelTests&) = delete;

    // Waits until fewer than `width` tests are under way.
    void WaitForRoom() {
        std::unique_lock lock(mutex_);
        finishedOne_.wait(lock, [this] { return started_ - finished_ < width_; });
    }

    // Starts the test of the next address in order. A worker is added only
    // when every one there is busy: hosts that answer at once (or refuse at
    // once) are tried by a few threads.
    void StartNext() {
        bool allBusy;
        {
            std::lock_guard lock(mutex_);
            ++started_;
            allBusy = started_ - finished_ > workers_.size();
        }
        if (allBusy && workers_.size() < width_) workers_.emplace_back([this] { Work(); });
        workToDo_.notify_one();
    }

    // Waits until every test started so far has finished.
    void WaitForAll() {
        std::unique_lock lock(mutex_);
        finishedOne_.wait(lock, [this] { return finished_ == started_; });
    }

    // Passes the outcomes that are known, from the first not yet passed on up
    // to the first still pending, to `answered` (address index, true when a
    // server answered). Called on the scan's thread only.
    template <typename Answered>
    void TakeFinished(Answered&& answered) {
        for (;;) {
            Outcome outcome;
            {
                std::lock_guard lock(mutex_);
                if (taken_ == started_ || outcomes_[taken_] == Outcome::Pending) return;
                outcome = outcomes_[taken_];
            }
            answered(taken_++, outcome == Outcome::Answered);
        }
    }

private:
    enum class Outcome : unsigned char { Pending, Answered, Silent };

    void Work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            workToDo_.wait(lock, [this] { return picked_ < started_ || closing_; });
            if (picked_ == started_) return;  // closing, and nothing left to do
            std::size_t index = picked_++;
            lock.unlock();
            bool connected = TcpConnectTest(addresses_[index], port_) == kConnected;
            lock.lock();
            outcomes_[index] = connected ? Outcome::Answered : Outcome::Silent;
            ++finished_;
            finishedOne_.notify_all();
        }
    }

    const std::vector<std::string>& addresses_;
    const std::string& port_;
    const std::size_t width_;

    std::mutex mutex_;
    std::condition_variable workToDo_;     // a test was started, or closing
    std::condition_variable finishedOne_;  // a test finished
    std::vector<Outcome> outcomes_;
    std::size_t started_ = 0;   // addresses handed over (always the first ones)
    std::size_t picked_ = 0;    // addresses a worker has taken up
    std::size_t finished_ = 0;  // tests finished
    std::size_t taken_ = 0;     // outcomes passed on by TakeFinished (scan's thread only)
    bool closing_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace

std::vector<std::string> ScanForServers(const std::string& address, const std::string& mask,
                                        const std::string& port,
                                        const std::function<bool(const std::string&)>& progress,
                                        const std::function<void(const std::string&)>& found) {
    const std::vector<std::string> addresses = SearchAddresses(address, mask);
    std::vector<std::string> servers;
    auto answered = [&](std::size_t index, bool connected) {
        if (!connected) return;
        servers.push_back(addresses[index]);
        if (found) found(addresses[index]);
    };
    {
        ParallelTests tests(addresses, port, kSearchParallel);
        for (const std::string& candidate : addresses) {
            tests.WaitForRoom();
            tests.TakeFinished(answered);
            if (progress && !progress(candidate)) break;
            tests.StartNext();
        }
        tests.WaitForAll();
        tests.TakeFinished(answered);
    }
    return servers;
}

}  // namespace zv
