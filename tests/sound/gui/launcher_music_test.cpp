#include "sound/gui/launcher_music.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QThread>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>

#include "config/launcher_settings.h"
#include "sound/media_commands.h"
#include "support/fake_platform.h"

namespace zv {
namespace {

// Records each command and the thread it was sent from; keeps the last
// receiver so the test can fire it like the audio thread does.
class ThreadRecordingCommands : public MediaCommands {
public:
    ThreadRecordingCommands() { SetMediaCommands(this); }
    ~ThreadRecordingCommands() override { SetMediaCommands(nullptr); }
    int SendString(const std::string& command, std::string& reply, const MediaNotify& notify) override {
        reply.clear();
        sent.push_back(command);
        threads.push_back(QThread::currentThread());
        if (notify) last = notify;
        return kMediaOk;
    }
    std::vector<std::string> sent;
    std::vector<QThread*> threads;
    MediaNotify last;
};

TEST(LauncherMusic, EndOfPieceIsAnsweredOnTheWindowThread) {
    test::FakePlatform platform;
    platform.installDir = "/i/";
    ThreadRecordingCommands commands;
    LauncherSettings saved = Settings();
    Settings().bgm = "jan#7.mid";
    Settings().playbgm = 1;

    auto window = std::make_unique<QObject>();
    StartLauncherMusic(window.get());
    WaitForLauncherMusicStart();
    ASSERT_EQ(commands.sent.size(), 2u);
    ASSERT_TRUE(commands.last);

    // The end arrives on another thread; nothing is sent from there.
    std::thread audio([&] { commands.last(1); });
    audio.join();
    EXPECT_EQ(commands.sent.size(), 2u);
    QCoreApplication::processEvents();
    ASSERT_EQ(commands.sent.size(), 3u);
    EXPECT_EQ(commands.sent[2], "play bgm from 0 notify");
    EXPECT_EQ(commands.threads[2], QCoreApplication::instance()->thread());

    // And again: the restarted piece carries a receiver of its own.
    std::thread again([&] { commands.last(1); });
    again.join();
    QCoreApplication::processEvents();
    EXPECT_EQ(commands.sent.size(), 4u);

    // A notification after the window has gone is dropped.
    window.reset();
    std::thread late([&] { commands.last(1); });
    late.join();
    QCoreApplication::processEvents();
    EXPECT_EQ(commands.sent.size(), 4u);

    StopLauncherMusic();
    EXPECT_EQ(commands.sent.back(), "close bgm");
    Settings() = saved;
}

// Opening the piece blocks until the test lets it go, like a synthesizer
// loading its instruments.
class SlowOpeningCommands : public MediaCommands {
public:
    SlowOpeningCommands() { SetMediaCommands(this); }
    ~SlowOpeningCommands() override { SetMediaCommands(nullptr); }
    int SendString(const std::string& command, std::string& reply, const MediaNotify&) override {
        reply.clear();
        // (Bounded, so that a start on the caller's thread fails the test
        // instead of hanging it.)
        if (command.starts_with("open ")) release.wait_for(std::chrono::seconds(5));
        std::lock_guard lock(mutex);
        sent.push_back(command);
        threads.push_back(std::this_thread::get_id());
        return kMediaOk;
    }
    std::promise<void> opened;
    std::shared_future<void> release = opened.get_future().share();
    std::mutex mutex;
    std::vector<std::string> sent;
    std::vector<std::thread::id> threads;
};

TEST(LauncherMusic, ASlowPieceDoesNotHoldUpTheWindow) {
    test::FakePlatform platform;
    platform.installDir = "/i/";
    SlowOpeningCommands commands;
    LauncherSettings saved = Settings();
    Settings().bgm = "jan#7.mid";
    Settings().playbgm = 1;

    QObject window;
    StartLauncherMusic(&window);     // returns while the piece is still opening
    Settings().bgm = "changed.mid";  // later changes do not reach the start under way
    {
        std::lock_guard lock(commands.mutex);
        EXPECT_TRUE(commands.sent.empty());
    }
    commands.opened.set_value();
    StopLauncherMusic();  // waits for the start, then closes
    ASSERT_EQ(commands.sent, (std::vector<std::string>{"open \"/i/sound/jan#7.mid\" type sequencer alias bgm",
                                                       "play bgm from 0 notify", "close bgm"}));
    EXPECT_NE(commands.threads[0], std::this_thread::get_id());
    EXPECT_EQ(commands.threads[2], std::this_thread::get_id());
    Settings() = saved;
}

}  // namespace
}  // namespace zv
