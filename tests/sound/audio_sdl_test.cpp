// Real playback through SDL's disk driver, which writes the mixed PCM to a
// file: proves that sounds and music are actually rendered, not just accepted.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

#include "sound/audio_output.h"
#include "sound/media_commands.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

using namespace std::chrono_literals;

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old, hadOld_ = true;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (hadOld_)
            ::setenv(name_, old_.c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::string old_;
    bool hadOld_ = false;
};

class DiskAudioTest : public ::testing::Test {
protected:
    DiskAudioTest()
        : driver_("SDL_AUDIODRIVER", "disk"),
          file_("SDL_DISKAUDIOFILE", dir.Path("out.pcm")),
          delay_("SDL_DISKAUDIODELAY", "5") {}

    std::uintmax_t Written() const {
        std::error_code ec;
        auto size = std::filesystem::file_size(dir.Path("out.pcm"), ec);
        return ec ? 0 : size;
    }

    // Waits until the device has written at least `bytes`.
    bool WaitForOutput(std::uintmax_t bytes) const {
        auto until = std::chrono::steady_clock::now() + 20s;
        while (Written() < bytes) {
            if (std::chrono::steady_clock::now() > until) return false;
            std::this_thread::sleep_for(20ms);
        }
        return true;
    }

    // Largest absolute 16-bit sample in the written PCM.
    int Peak() const {
        std::string pcm = dir.Read("out.pcm");
        int peak = 0;
        for (std::size_t i = 0; i + 1 < pcm.size(); i += 2) {
            std::int16_t sample;
            std::memcpy(&sample, pcm.data() + i, 2);
            peak = std::max(peak, std::abs(static_cast<int>(sample)));
        }
        return peak;
    }

    test::TempDir dir;

private:
    ScopedEnv driver_, file_, delay_;
};

TEST_F(DiskAudioTest, SoundTestRendersTheWaveFile) {
    std::uintmax_t second = 0;
    {
        SdlAudio audio;
        ASSERT_TRUE(audio.Open());
        auto format = audio.DeviceFormat();
        ASSERT_EQ(format.bytesPerSample, 2);
        second = static_cast<std::uintmax_t>(format.frequency * format.channels * 2);

        EXPECT_FALSE(audio.PlaySoundFile(dir.Path("missing.wav")));
        dir.Write("not-a-sound.wav", "RIFF....WAVEjunk");
        EXPECT_FALSE(audio.PlaySoundFile(dir.Path("not-a-sound.wav")));

        // Returns at once; the sound is mixed while we wait.
        ASSERT_TRUE(audio.PlaySoundFile(std::string(ZV_SOURCE_DIR) + "data/sound/ron.wav"));
        ASSERT_TRUE(WaitForOutput(second));

        // The shipped background piece loads as music,
        EXPECT_TRUE(audio.OpenMusic(std::string(ZV_SOURCE_DIR) + "data/sound/jan#7.mid"));
        // but is not a sound for the sound test.
        EXPECT_FALSE(audio.PlaySoundFile(std::string(ZV_SOURCE_DIR) + "data/sound/jan#7.mid"));
    }
    // The file's tone reaches about 70% of full scale.
    EXPECT_GT(Peak(), 10000);
}

TEST_F(DiskAudioTest, SilenceWhenNothingPlays) {
    {
        SdlAudio audio;
        ASSERT_TRUE(audio.Open());
        ASSERT_TRUE(WaitForOutput(44100));
    }
    EXPECT_EQ(Peak(), 0);
}

// One quarter-second note: a Standard MIDI File of format 0.
std::string ShortMidi() {
    const unsigned char bytes[] = {
        'M',  'T',  'h',  'd',  0, 0, 0, 6,  0, 0, 0, 1, 0, 96,  // format 0, one track, 96 ticks a beat
        'M',  'T',  'r',  'k',  0, 0, 0, 15,                     // track of 15 bytes
        0x00, 0xC0, 0x00,                                        // piano
        0x00, 0x90, 0x48, 0x70,                                  // note on, C5
        0x30, 0x80, 0x48, 0x00,                                  // note off after half a beat
        0x00, 0xFF, 0x2F, 0x00,                                  // end of track
    };
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

TEST_F(DiskAudioTest, MusicEndsAndIsPlayedAgainOnEachNotification) {
    std::string midi = dir.Write("short.mid", ShortMidi());
    std::mutex mutex;
    std::condition_variable changed;
    int ends = 0;
    // The notification arrives on the audio thread; like the main window, the
    // receiver only hands it on, and the restart is sent from this thread.
    MediaNotify notify = [&](int code) {
        EXPECT_EQ(code, kMediaNotifySuccessful);
        std::lock_guard lock(mutex);
        ++ends;
        changed.notify_all();
    };
    auto waitForEnds = [&](int wanted) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, 30s, [&] { return ends >= wanted; });
    };
    {
        SdlAudio audio;
        DeviceMediaCommands mci(&audio);
        std::string reply;
        ASSERT_EQ(mci.SendString("open \"" + midi + "\" type sequencer alias bgm", reply, {}), kMediaOk);
        ASSERT_EQ(mci.SendString("play bgm from 0 notify", reply, notify), kMediaOk);
        ASSERT_TRUE(waitForEnds(1)) << "the piece never ended";
        for (int round = 2; round <= 3; ++round) {
            ASSERT_EQ(mci.SendString("play bgm from 0 notify", reply, notify), kMediaOk);
            ASSERT_TRUE(waitForEnds(round)) << "restart " << round << " never ended";
        }
        // A play that is cut short by the close is not reported as ended.
        ASSERT_EQ(mci.SendString("play bgm from 0 notify", reply, notify), kMediaOk);
        EXPECT_EQ(mci.SendString("close bgm", reply, {}), kMediaOk);
        std::this_thread::sleep_for(500ms);
        std::lock_guard lock(mutex);
        EXPECT_EQ(ends, 3);
    }
    EXPECT_GT(Peak(), 1000) << "the synthesiser produced no sound";
}

// The shipped background piece loops without a pause: its end is reported
// when its last note has been released (38.375 s in), not when the
// synthesiser has let every voice die away, seconds later. The receiver
// restarts it as the main window does; the mixed output then has no stretch
// of near-silence between the first note and the second round.
TEST_F(DiskAudioTest, LoopedPieceRestartsRightAfterItsLastNote) {
    std::mutex mutex;
    std::condition_variable changed;
    int ends = 0;
    std::uintmax_t endWritten = 0;  // output written when the end was reported
    MediaNotify notify = [&](int) {
        std::lock_guard lock(mutex);
        if (++ends == 1) endWritten = Written();
        changed.notify_all();
    };
    SdlAudio::Format format;
    {
        SdlAudio audio;
        ASSERT_TRUE(audio.Open());
        format = audio.DeviceFormat();
        ASSERT_EQ(format.bytesPerSample, 2);
        DeviceMediaCommands mci(&audio);
        std::string reply;
        std::string piece = std::string(ZV_SOURCE_DIR) + "data/sound/jan#7.mid";
        ASSERT_EQ(mci.SendString("open \"" + piece + "\" type sequencer alias bgm", reply, {}), kMediaOk);
        ASSERT_EQ(mci.SendString("play bgm from 0 notify", reply, notify), kMediaOk);
        {
            std::unique_lock lock(mutex);
            ASSERT_TRUE(changed.wait_for(lock, 120s, [&] { return ends == 1; })) << "the piece never ended";
        }
        ASSERT_EQ(mci.SendString("play bgm from 0 notify", reply, notify), kMediaOk);
        const auto second = static_cast<std::uintmax_t>(format.frequency * format.channels * 2);
        ASSERT_TRUE(WaitForOutput(endWritten + 3 * second));
        EXPECT_EQ(mci.SendString("close bgm", reply, {}), kMediaOk);
    }

    // The loudest sample of each frame.
    const std::string pcm = dir.Read("out.pcm");
    const std::size_t frameBytes = static_cast<std::size_t>(format.channels) * 2;
    std::vector<int> level(pcm.size() / frameBytes);
    for (std::size_t f = 0; f < level.size(); ++f) {
        for (int c = 0; c < format.channels; ++c) {
            std::int16_t sample;
            std::memcpy(&sample, pcm.data() + f * frameBytes + static_cast<std::size_t>(c) * 2, 2);
            level[f] = std::max(level[f], std::abs(static_cast<int>(sample)));
        }
    }
    constexpr int kQuiet = 64;  // about -54 dB of full scale
    auto loud = [&](int v) { return v > kQuiet; };
    const auto first = std::find_if(level.begin(), level.end(), loud);
    ASSERT_NE(first, level.end()) << "nothing was heard";
    const auto last = std::find_if(level.rbegin(), level.rend(), loud).base();
    std::size_t longestQuiet = 0;
    for (auto f = first; f != last;) {
        auto quietEnd = std::find_if(f, last, loud);
        longestQuiet = std::max(longestQuiet, static_cast<std::size_t>(quietEnd - f));
        f = std::find_if_not(quietEnd, last, loud);
    }
    const double rate = format.frequency;
    EXPECT_LT(longestQuiet / rate, 0.3) << "the loop pauses";
    // The whole piece was played before it was reported ended, and the
    // second round sounds.
    const auto firstFrame = static_cast<double>(first - level.begin());
    EXPECT_NEAR((static_cast<double>(endWritten / frameBytes) - firstFrame) / rate, 38.375, 0.5);
    EXPECT_GT(static_cast<double>(last - level.begin()),
              static_cast<double>(endWritten / frameBytes) + 2 * rate);
}

TEST(NoAudioDevice, EverythingFailsQuietly) {
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    SdlAudio audio;
    EXPECT_FALSE(audio.Open());
    EXPECT_FALSE(audio.PlaySoundFile(std::string(ZV_SOURCE_DIR) + "data/sound/ron.wav"));
    DeviceMediaCommands mci(&audio);
    std::string reply;
    EXPECT_EQ(mci.SendString(
                  "open \"" + std::string(ZV_SOURCE_DIR) + "data/sound/jan#7.mid\" type sequencer alias bgm",
                  reply, {}),
              kMediaCannotLoad);
    EXPECT_EQ(mci.SendString("play bgm from 0 notify", reply, [](int) {}), kMediaDeviceNotOpen);
    EXPECT_EQ(mci.SendString("close bgm", reply, {}), kMediaDeviceNotOpen);
}

}  // namespace
}  // namespace zv
