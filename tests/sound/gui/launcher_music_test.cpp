#include "sound/gui/launcher_music.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QThread>
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

}  // namespace
}  // namespace zv
