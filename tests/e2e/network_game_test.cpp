// A network game end to end: the launcher's own command lines start the
// game server, three computer players and a client in a throw-away
// installation; the server check reports the running server, and the
// client's results show up in the network ranking afterwards.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "config/launcher_settings.h"
#include "game/network_start.h"
#include "gui_common/message_boxes.h"
#include "net/gui/ping_box.h"
#include "net/server_check.h"
#include "net/socket_helpers.h"
#include "platform/process.h"
#include "records/gui/rank_box.h"
#include "records/ranking.h"
#include "records/results.h"
#include "support/fake_platform.h"
#include "support/recording_dialogs.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::vector<std::string> kCharacters = {"_todo", "_min", "_wizard"};

int FreeLoopbackPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

// Sets an environment variable for the programs started while it lives.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) { ::setenv(name, value, 1); }
    ~ScopedEnv() { ::unsetenv(name_); }

private:
    const char* name_;
};

class NetworkGameTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(install_);
        for (const char* program : {"zvserver", "zvauto", "zvclient"})
            fs::copy_file(std::string(ZV_STAGE_DIR) + program, install_ + program);
        if (fs::is_directory(std::string(ZV_STAGE_DIR) + "usr"))
            fs::copy(std::string(ZV_STAGE_DIR) + "usr", install_ + "usr", fs::copy_options::recursive);
        fs::create_directories(install_ + "usr/guest");
        for (const std::string& name : kCharacters) fs::create_directories(install_ + "usr/" + name);
        platform_.installDir = install_;
        zv::SetDialogOverrideForTests(&dialogs_);

        zv::LauncherSettings& settings = zv::Settings();
        settings = zv::LauncherSettings{};
        settings.UserName = "guest";
        settings.UserDir = install_ + "usr/guest";
        settings.LayoutOption = " -T small";
        settings.protocol = zv::kTcpIp;
        settings.hostname = "127.0.0.1";
        settings.servertonpu = 1;
        settings.serverhaihu = 1;
        settings.resident = 0;
        settings.clienthaihu = 1;
        settings.autononterm = 0;
        settings.readhosts = 0;
    }

    void TearDown() override {
        // Nothing started here outlives the test.
        for (zv::ProcessHandle& handle : running_) {
            ::kill(handle.pid, SIGKILL);
            starter_.WaitForProcess(handle);
        }
        zv::SetDialogOverrideForTests(nullptr);
        zv::Settings() = zv::LauncherSettings{};
    }

    // Starts a command line with the launcher's program starter.
    zv::ProcessHandle Start(const std::string& commandLine, int showMode) {
        zv::ProcessHandle handle;
        EXPECT_TRUE(zv::StartSucceeded(starter_.StartWaitable(commandLine, showMode, handle))) << commandLine;
        if (handle.pid > 0) running_.push_back(handle);
        return handle;
    }

    // The exit status (128 + signal for a signal), or -1 when the process
    // is still running after `limit`; it is then ended when `endLate`.
    int Wait(zv::ProcessHandle handle, std::chrono::milliseconds limit, bool endLate = true) {
        auto found = std::find_if(running_.begin(), running_.end(),
                                  [&](const zv::ProcessHandle& h) { return h.pid == handle.pid; });
        if (found == running_.end()) return -1;
        auto deadline = std::chrono::steady_clock::now() + limit;
        int status = 0;
        pid_t done = 0;
        while ((done = ::waitpid(handle.pid, &status, WNOHANG)) == 0 &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(10ms);
        if (done == 0) {
            if (!endLate) return -1;
            ::kill(handle.pid, SIGKILL);
            starter_.WaitForProcess(handle);
            running_.erase(found);
            return -1;
        }
        running_.erase(found);
        if (done != handle.pid) return -1;
        if (WIFEXITED(status)) return WEXITSTATUS(status);
        return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
    }

    // What the server check window says after its check button.
    std::string ServerCheckState() {
        zv::TPingBox box(nullptr);
        box.ConnectButton->click();
        std::string state = box.pingresult->text().toStdString();
        box.OkButton->click();
        return state;
    }

    // Starts the game server on a free loopback port and waits until the
    // server check finds it; tries another port when the server ends early.
    bool StartServer(zv::ProcessHandle& server) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            zv::Settings().port = std::to_string(FreeLoopbackPort());
            std::string line = zv::ServerCommandLine(zv::Settings());
            zv::ProcessHandle started = Start(line, zv::kServerShowMode);
            if (started.pid <= 0) return false;
            for (int i = 0; i < 200; ++i) {
                if (zv::RunServerCheck(zv::Settings()) == zv::kConnected) {
                    server = started;
                    return true;
                }
                if (Wait(started, 25ms, false) != -1) break;  // ended: the port was taken meanwhile
            }
        }
        return false;
    }

    zv::test::TempDir root_;
    std::string install_ = root_.Path("game dir") + "/";
    zv::test::FakePlatform platform_;
    zv::RecordingDialogs dialogs_;
    zv::LinuxProcessStarter starter_;
    std::vector<zv::ProcessHandle> running_;
};

TEST_F(NetworkGameTest, LauncherStartedServerPlayersAndClientFinishAGame) {
    zv::ProcessHandle server;
    ASSERT_TRUE(StartServer(server)) << "the game server did not start";
    EXPECT_EQ(ServerCheckState(), zv::kPingRunning);
    EXPECT_TRUE(dialogs_.calls.empty());

    std::vector<zv::ProcessHandle> players;
    for (const std::string& name : kCharacters)
        players.push_back(
            Start(zv::AutoPlayerCommandLine(zv::Settings(), install_, name), zv::kAutoShowMode));
    // The server is still there for the client while the computer players sit down.
    EXPECT_EQ(ServerCheckState(), zv::kPingRunning);
    zv::ProcessHandle client;
    {
        ScopedEnv autoplay("ZV_ENGINE_AUTOPLAY", "1");
        client = Start(zv::ClientCommandLine(zv::Settings()), zv::kClientShowMode);
    }
    EXPECT_EQ(Wait(client, 60s), 0) << "the client did not finish its game";
    for (zv::ProcessHandle player : players) EXPECT_EQ(Wait(player, 30s), 0);
    EXPECT_EQ(Wait(server, 30s), 0);

    // Both records hold the same game.
    auto read = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    std::string clientRecord = read(install_ + "usr/guest/client.fu");
    EXPECT_NE(clientRecord.find("game: 1\r\n"), std::string::npos);
    EXPECT_EQ(clientRecord, read(install_ + "usr/guest/server.fu"));

    // The ended server is no longer found.
    EXPECT_EQ(ServerCheckState(), zv::kPingFailed);

    // One game each, the four places taken once, the points adding up to zero.
    std::vector<std::string> names = kCharacters;
    names.push_back("guest");
    std::vector<std::string> expectedRows;
    std::array<int, 4> placeCount{};
    int pointSum = 0;
    for (const std::string& name : names) {
        zv::PlayerResults results;
        ASSERT_TRUE(zv::ReadResults(results, name, true)) << name;
        EXPECT_EQ(results.games, 1) << name;
        for (int p = 0; p < 4; ++p) placeCount[p] += results.places[p];
        pointSum += results.points;
        expectedRows.push_back(zv::RankingRow(name, results));
    }
    const std::string guestRow = expectedRows.back();
    EXPECT_EQ(placeCount, (std::array<int, 4>{1, 1, 1, 1}));
    EXPECT_EQ(pointSum, 0);

    // The network ranking lists the client among the four players.
    zv::TRankBox box(nullptr);
    ASSERT_TRUE(box.ClientCheck->isChecked());
    box.FillRanking();
    std::vector<std::string> rows;
    for (int i = 0; i < box.PlayerListBox->count(); ++i)
        rows.push_back(box.PlayerListBox->item(i)->text().toStdString());
    std::sort(rows.begin(), rows.end());
    std::sort(expectedRows.begin(), expectedRows.end());
    EXPECT_EQ(rows, expectedRows);
    EXPECT_NE(std::find(rows.begin(), rows.end(), guestRow), rows.end());
}

}  // namespace
