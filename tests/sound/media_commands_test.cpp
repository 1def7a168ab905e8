#include "sound/media_commands.h"

#include <gtest/gtest.h>

#include <vector>

#include "config/launcher_settings.h"
#include "sound/audio_output.h"
#include "sound/background_music.h"
#include "support/fake_platform.h"

namespace zv {
namespace {

// An output that records what it is asked and lets the test end the piece.
class FakeAudio : public AudioOutput {
public:
    bool PlaySoundFile(const std::string& path) override {
        log.push_back("sound " + path);
        return playable;
    }
    bool OpenMusic(const std::string& path) override {
        log.push_back("load " + path);
        loaded = loadable;
        return loadable;
    }
    bool PlayMusic(std::function<void()> onEnd) override {
        log.push_back("play");
        ended = std::move(onEnd);
        return loaded;
    }
    void CloseMusic() override {
        log.push_back("close");
        ended = nullptr;
        loaded = false;
    }
    // The piece plays to its end.
    void End() {
        auto call = std::move(ended);
        ended = nullptr;
        if (call) call();
    }

    std::vector<std::string> log;
    std::function<void()> ended;
    bool loadable = true;
    bool playable = true;
    bool loaded = false;
};

TEST(DeviceMediaCommands, UnderstandsExactlyItsThreeCommands) {
    FakeAudio audio;
    DeviceMediaCommands mci(&audio);
    std::string reply = "junk";
    std::vector<int> notified;
    auto notify = [&](int code) { notified.push_back(code); };

    EXPECT_EQ(mci.SendString("play bgm from 0 notify", reply, notify), kMediaDeviceNotOpen);
    EXPECT_EQ(mci.SendString("close bgm", reply, {}), kMediaDeviceNotOpen);
    EXPECT_EQ(mci.SendString("open \"/x/jan#7.mid\" type sequencer alias bgm", reply, {}), kMediaOk);
    EXPECT_EQ(reply, "");
    EXPECT_EQ(mci.SendString("open \"/x/other.mid\" type sequencer alias bgm", reply, {}), kMediaAliasInUse);
    EXPECT_EQ(mci.SendString("play bgm from 0 notify", reply, notify), kMediaOk);
    audio.End();
    EXPECT_EQ(notified, std::vector<int>{kMediaNotifySuccessful});
    EXPECT_EQ(mci.SendString("close bgm", reply, {}), kMediaOk);
    EXPECT_EQ(audio.log, (std::vector<std::string>{"load /x/jan#7.mid", "play", "close"}));

    for (const char* other : {"", "play bgm", "play bgm from 0", "PLAY BGM FROM 0 NOTIFY", "close bgm ",
                              "open \"\" type sequencer alias bgm", "open x type sequencer alias bgm",
                              "open \"a.mid\" type sequencer alias music", "stop bgm"}) {
        int code = mci.SendString(other, reply, {});
        EXPECT_NE(code, kMediaOk) << other;
    }
    EXPECT_EQ(audio.log.size(), 3u);  // none of them reached the device
}

TEST(DeviceMediaCommands, UnloadableFileLeavesNoDevice) {
    FakeAudio audio;
    audio.loadable = false;
    DeviceMediaCommands mci(&audio);
    std::string reply;
    EXPECT_EQ(mci.SendString("open \"/missing.mid\" type sequencer alias bgm", reply, {}), kMediaCannotLoad);
    EXPECT_EQ(mci.SendString("play bgm from 0 notify", reply, {}), kMediaDeviceNotOpen);
    EXPECT_EQ(mci.SendString("close bgm", reply, {}), kMediaDeviceNotOpen);
}

// Records the commands the music sends; answers with `answer`.
class RecordingCommands : public MediaCommands {
public:
    RecordingCommands() { SetMediaCommands(this); }
    ~RecordingCommands() override { SetMediaCommands(nullptr); }
    int SendString(const std::string& command, std::string& reply, const MediaNotify& notify) override {
        sent.push_back(command);
        withNotify.push_back(static_cast<bool>(notify));
        reply.clear();
        return answer;
    }
    std::vector<std::string> sent;
    std::vector<bool> withNotify;
    int answer = kMediaOk;
};

class BackgroundMusicTest : public ::testing::Test {
protected:
    void SetUp() override { platform.installDir = "/opt/zv/"; }
    test::FakePlatform platform;
    RecordingCommands commands;
    LauncherSettings settings;
    MediaNotify notify = [](int) {};
};

TEST_F(BackgroundMusicTest, DefaultSettingsOpenAndPlayTheShippedPiece) {
    StartMusic(settings, notify);
    EXPECT_EQ(commands.sent,
              (std::vector<std::string>{"open \"/opt/zv/sound/jan#7.mid\" type sequencer alias bgm",
                                        "play bgm from 0 notify"}));
    EXPECT_EQ(commands.withNotify, (std::vector<bool>{false, true}));
    RestartMusic(notify);
    StopMusic();
    EXPECT_EQ(commands.sent[2], "play bgm from 0 notify");
    EXPECT_TRUE(commands.withNotify[2]);
    EXPECT_EQ(commands.sent[3], "close bgm");
}

TEST_F(BackgroundMusicTest, PlayIsSentEvenWhenOpenFails) {
    commands.answer = kMediaCannotLoad;
    settings.bgm = "D:\\music\\b.mid";
    StartMusic(settings, notify);
    EXPECT_EQ(commands.sent, (std::vector<std::string>{"open \"/music/b.mid\" type sequencer alias bgm",
                                                       "play bgm from 0 notify"}));
}

TEST_F(BackgroundMusicTest, NoMusicWantedSendsNothingButTheClose) {
    settings.bgm = "";
    StartMusic(settings, notify);
    settings.bgm = "jan#7.mid";
    settings.playbgm = 0;
    StartMusic(settings, notify);
    EXPECT_TRUE(commands.sent.empty());
    StopMusic();
    EXPECT_EQ(commands.sent, std::vector<std::string>{"close bgm"});
}

TEST_F(BackgroundMusicTest, AnyNonzeroPlaybgmPlays) {
    settings.playbgm = 2;
    StartMusic(settings, notify);
    EXPECT_EQ(commands.sent.size(), 2u);
}

TEST(BackgroundMusicLoop, EachEndRestartsThePiece) {
    // Drives the real interpreter over a fake device: every end of the piece
    // is answered with RestartMusic, as the main window does.
    test::FakePlatform platform;
    platform.installDir = "/i/";
    FakeAudio audio;
    DeviceMediaCommands mci(&audio);
    SetMediaCommands(&mci);
    int restarts = 0;
    MediaNotify notify;
    notify = [&](int) {
        ++restarts;
        RestartMusic(notify);
    };
    LauncherSettings settings;
    StartMusic(settings, notify);
    audio.End();
    audio.End();
    audio.End();
    EXPECT_EQ(restarts, 3);
    StopMusic();
    audio.End();  // nothing plays after the close
    EXPECT_EQ(restarts, 3);
    StopMusic();  // a second close fails silently
    SetMediaCommands(nullptr);
    EXPECT_EQ(audio.log,
              (std::vector<std::string>{"load /i/sound/jan#7.mid", "play", "play", "play", "play", "close"}));
}

}  // namespace
}  // namespace zv
