#include "sound/sound_settings.h"

#include <gtest/gtest.h>

#include <set>

#include "config/codec.h"
#include "config/file_io.h"
#include "support/fault_env.h"
#include "support/recording_dialogs.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

using test::SaveFault;

// The file the launcher writes when every event keeps its default.
std::string DefaultFile() {
    std::string file;
    for (const auto& event : SoundEvents())
        file += std::string("(define ") + event.key + " \"" + event.fallback + "\")\r\n";
    return file;
}

TEST(SoundEventTable, KeysComponentsAndPagesAreConsistent) {
    const auto& events = SoundEvents();
    std::set<std::string> keys, components;
    for (const auto& event : events) {
        keys.insert(event.key);
        components.insert(event.component);
        // Every default is the key's event name with ".wav".
        EXPECT_EQ(std::string("sound_") + event.fallback, std::string(event.key) + ".wav") << event.key;
    }
    EXPECT_EQ(keys.size(), 36u);
    EXPECT_EQ(components.size(), 36u);
    EXPECT_STREQ(events[7].component, "HandMode");
    EXPECT_STREQ(events[35].label, "牌を選択したとき");

    // The six pages show every event exactly once.
    std::multiset<int> shown;
    for (const auto& page : SoundPages()) shown.insert(page.events.begin(), page.events.end());
    ASSERT_EQ(shown.size(), 36u);
    for (int i = 0; i < 36; ++i) EXPECT_EQ(shown.count(i), 1u) << i;
    EXPECT_EQ(SoundPages()[3].events, (std::vector<int>{35, 28, 25, 27, 24, 29, 30, 23}));
    EXPECT_EQ(SoundPages()[4].events, (std::vector<int>{26, 22, 18, 19, 20, 21, 17}));
}

class SoundNucTest : public ::testing::Test {
protected:
    test::FaultInjectionEnv faults;  // saves fail where a test says
    test::TempDir dir;
    RecordingDialogs dialogs;
};

TEST_F(SoundNucTest, OnlyRonInTheFileLeavesTheOtherDefaults) {
    std::string path = dir.Write("sound.nuc", "(define sound_ron \"C:\\snd\\my ron.wav\")\r\n");
    SoundValues values = DefaultSoundValues();
    ASSERT_TRUE(ReadSoundNuc(path, values));
    EXPECT_EQ(values[1], "C:\\snd\\my ron.wav");
    auto defaults = DefaultSoundValues();
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i != 1) {
            EXPECT_EQ(values[i], defaults[i]) << i;
        }
    }

    // Saving writes all 36 lines, in table order, byte for byte.
    ASSERT_TRUE(WriteSoundNuc(path, values, dialogs));
    std::string expected = DefaultFile();
    std::string from = "(define sound_ron \"ron.wav\")";
    expected.replace(expected.find(from), from.size(), "(define sound_ron \"C:\\snd\\my ron.wav\")");
    EXPECT_EQ(dir.Read("sound.nuc"), expected);
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(SoundNucTest, AnyOrderUnknownKeysAndLaterLinesWin) {
    SoundValues values = DefaultSoundValues();
    ApplySoundNuc(values,
                  "(define sound_pai \"a.wav\")\n(define sound_bogus \"x\")\n"
                  "# comment\n(define sound_tumo \"t1.wav\")\n(define sound_tumo \"t2.wav\")\n");
    EXPECT_EQ(values[35], "a.wav");
    EXPECT_EQ(values[0], "t2.wav");
    EXPECT_EQ(values[2], "reach.wav");
}

TEST_F(SoundNucTest, JapaneseNamesAreStoredAsCp932) {
    SoundValues values = DefaultSoundValues();
    values[0] = "ツモ音.wav";
    std::string path = dir.Path("sound.nuc");
    ASSERT_TRUE(WriteSoundNuc(path, values, dialogs));
    std::string bytes = dir.Read("sound.nuc");
    EXPECT_NE(bytes.find(ToCp932("(define sound_tumo \"ツモ音.wav\")\r\n")), std::string::npos);
    SoundValues back = DefaultSoundValues();
    ASSERT_TRUE(ReadSoundNuc(path, back));
    EXPECT_EQ(back, values);
}

TEST_F(SoundNucTest, ValueWithAQuoteReadsBackUpToTheQuoteAndSparesTheRest) {
    SoundValues values = DefaultSoundValues();
    values[0] = "ab\"cd.wav";
    values[1] = "after.wav";
    std::string path = dir.Path("sound.nuc");
    ASSERT_TRUE(WriteSoundNuc(path, values, dialogs));
    SoundValues back = DefaultSoundValues();
    back[1] = "unchanged";
    ASSERT_TRUE(ReadSoundNuc(path, back));
    EXPECT_EQ(back[0], "ab");
    EXPECT_EQ(back[1], "after.wav");  // the following lines are not swallowed
    EXPECT_EQ(back[35], "pai.wav");
    EXPECT_EQ(SoundNucLines(values).size(), 36u);
}

TEST_F(SoundNucTest, MissingFileKeepsTheValues) {
    SoundValues values = DefaultSoundValues();
    values[3] = "typed.wav";
    EXPECT_FALSE(ReadSoundNuc(dir.Path("none.nuc"), values));
    EXPECT_EQ(values[3], "typed.wav");
}

TEST_F(SoundNucTest, FailedSaveReportsAndKeepsTheOldFile) {
    std::string path = dir.Write("sound.nuc", "old");
    faults.Inject(SaveFault::Create);
    EXPECT_FALSE(WriteSoundNuc(path, DefaultSoundValues(), dialogs));
    EXPECT_EQ(dir.Read("sound.nuc"), "old");
    ASSERT_EQ(dialogs.Of("error").size(), 1u);
    EXPECT_EQ(dialogs.Of("error")[0].texts,
              (std::vector<std::string>{path, "ファイルをオープンできません", ""}));

    faults.Inject(SaveFault::Rename);
    EXPECT_FALSE(WriteSoundNuc(path, DefaultSoundValues(), dialogs));
    EXPECT_EQ(dir.Read("sound.nuc"), "old");
    EXPECT_EQ(dialogs.Of("error").size(), 2u);
}

TEST(SoundPaths, TestPlayForms) {
    const std::string install = "/opt/zv/";
    // Bare names come from the installation's sound folder.
    EXPECT_EQ(SoundTestPath("ron.wav", install), "/opt/zv/sound/ron.wav");
    EXPECT_EQ(SoundTestPath("sub\\x.wav", install), "/opt/zv/sound/sub/x.wav");
    EXPECT_EQ(SoundTestPath("abc", install), "/opt/zv/sound/abc");
    // A drive and colon is played as written; the drive names the one root here.
    EXPECT_EQ(SoundTestPath("C:\\snd\\a.wav", install), "/snd/a.wav");
    EXPECT_EQ(SoundTestPath("d:a.wav", install), "/a.wav");
    // A leading separator is played as written, from the root.
    EXPECT_EQ(SoundTestPath("\\snd\\a.wav", install), "/snd/a.wav");
    EXPECT_EQ(SoundTestPath("/tmp/a.wav", install), "/tmp/a.wav");
    // Two characters or fewer are played as written.
    EXPECT_EQ(SoundTestPath("ab", install), "ab");
    EXPECT_EQ(SoundTestPath("C:", install), "C:");
    EXPECT_EQ(SoundTestPath("", install), "");
    // Lengths count CP932 bytes: one kanji is two.
    EXPECT_EQ(SoundTestPath("音", install), "音");
    EXPECT_EQ(SoundTestPath("音a", install), "/opt/zv/sound/音a");
}

TEST(SoundPaths, MusicForms) {
    const std::string install = "/opt/zv/";
    EXPECT_EQ(MusicPath("jan#7.mid", install), "/opt/zv/sound/jan#7.mid");
    EXPECT_EQ(MusicPath("C:\\music\\b.mid", install), "/music/b.mid");
    // Unlike the sound test, a leading separator stays below sound/.
    EXPECT_EQ(MusicPath("\\b.mid", install), "/opt/zv/sound//b.mid");
    EXPECT_EQ(MusicPath("ab", install), "/opt/zv/sound/ab");
    // A full path of this system, as the file chooser returns it, is kept.
    EXPECT_EQ(MusicPath("/home/u/music/b.mid", install), "/home/u/music/b.mid");
}

}  // namespace
}  // namespace zv
