// Every file the launcher saves, under every way a save can fail: the new
// file cannot be created (no such folder, a folder that is a regular file,
// an injected create failure), the disk fills while writing, or the rename
// that replaces the old file fails. Each failure is reported with the
// file's path and what failed, and the old file stays byte for byte, with
// no temporary file left beside it.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "config/codec.h"
#include "config/file_io.h"
#include "config/launcher_settings.h"
#include "rules/character_file.h"
#include "rules/rule_file.h"
#include "sound/sound_settings.h"
#include "support/fault_env.h"
#include "support/recording_dialogs.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

using test::SaveFault;

constexpr const char* kOpenFailed = "ファイルをオープンできません";
constexpr const char* kWriteFailed = "ファイルを書き出し時にエラーです";

// One kind of saved file: its name in the user folder, and a save that
// reports through `dialogs` (savers that return a result report it as the
// same two messages, so all kinds are checked alike).
struct Saver {
    const char* name;
    std::function<void(const std::string& folder, MessageDialogs& dialogs)> save;
};

void ReportResult(SaveResult result, const std::string& path, MessageDialogs& dialogs) {
    if (result == SaveResult::CannotCreate) dialogs.ShowErrorDialog(path, kOpenFailed, "");
    if (result == SaveResult::WriteFailed) dialogs.ShowErrorDialog(path, kWriteFailed, "");
}

std::vector<Saver> Savers() {
    return {
        {"launch.nuc",
         [](const std::string& folder, MessageDialogs& dialogs) {
             LauncherSettings settings;
             settings.UserDir = folder;
             settings.player1 = "新しい名前";
             WriteLauncherSettings(settings, dialogs);
         }},
        {"sound.nuc",
         [](const std::string& folder, MessageDialogs& dialogs) {
             SoundValues values = DefaultSoundValues();
             values[0] = "新.wav";
             WriteSoundNuc(folder + "/sound.nuc", values, dialogs);
         }},
        {"zelvan1.pf",
         [](const std::string& folder, MessageDialogs& dialogs) {
             std::string path = RulesFilePath(folder, kOnePlayerGame);
             ReportResult(WriteRulesFile(path, LocalRules()), path, dialogs);
         }},
        {"server.pf",
         [](const std::string& folder, MessageDialogs& dialogs) {
             std::string path = RulesFilePath(folder, 0);
             ReportResult(WriteRulesFile(path, LocalRules()), path, dialogs);
         }},
        {"chara.pf",
         [](const std::string& folder, MessageDialogs& dialogs) {
             std::string path = folder + "/chara.pf";
             CharacterValues values = DefaultCharacterValues("chara");
             values.displayName = "キャラ";
             ReportResult(SaveCharacterFile(path, values), path, dialogs);
         }},
    };
}

// Old content that is not what any save writes: CP932 text, a lone LF and
// no final line end.
const std::string kOldBytes = ToCp932("(define player1 \"古い\")\r\n# 残す\nparam: pao = 1");

class SaveFaultsTest : public ::testing::Test {
protected:
    test::FaultInjectionEnv faults;  // saves fail where a test says

    std::size_t FilesIn(const std::string& folder) const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
    }

    test::TempDir dir;
};

TEST_F(SaveFaultsTest, InjectedFaultsReportAndKeepTheOldFile) {
    struct Case {
        SaveFault fault;
        const char* message;
    };
    for (const Saver& saver : Savers()) {
        for (Case c : {Case{SaveFault::Create, kOpenFailed}, Case{SaveFault::Write, kWriteFailed},
                       Case{SaveFault::Rename, kWriteFailed}}) {
            SCOPED_TRACE(std::string(saver.name) + " fault " + std::to_string(static_cast<int>(c.fault)));
            std::string path = dir.Write(saver.name, kOldBytes);
            RecordingDialogs dialogs;
            faults.Inject(c.fault);
            saver.save(dir.path(), dialogs);
            faults.Inject(SaveFault::None);

            ASSERT_EQ(dialogs.calls.size(), 1u);
            EXPECT_EQ(dialogs.calls[0].kind, "error");
            EXPECT_EQ(dialogs.calls[0].texts, (std::vector<std::string>{path, c.message, ""}));
            EXPECT_EQ(dir.Read(saver.name), kOldBytes);
            EXPECT_EQ(FilesIn(dir.path()), 1u);  // no temporary file left behind

            // The fault is gone once cleared: the next save goes through.
            dialogs.calls.clear();
            saver.save(dir.path(), dialogs);
            EXPECT_TRUE(dialogs.calls.empty());
            EXPECT_NE(dir.Read(saver.name), kOldBytes);
            EXPECT_EQ(FilesIn(dir.path()), 1u);
            std::filesystem::remove(path);
        }
    }
}

TEST_F(SaveFaultsTest, AFolderWithoutRoomForATemporaryFileStillSaves) {
    // The folder takes no new file, but the file itself may be written: it
    // is rewritten in place. When that fails too, the old bytes stay.
    for (const Saver& saver : Savers()) {
        SCOPED_TRACE(saver.name);
        dir.Write(saver.name, kOldBytes);
        RecordingDialogs dialogs;
        faults.Inject(SaveFault::NoTemporary);
        saver.save(dir.path(), dialogs);
        faults.Inject(SaveFault::None);
        EXPECT_TRUE(dialogs.calls.empty());
        std::string saved = dir.Read(saver.name);
        EXPECT_NE(saved, kOldBytes);

        // What the rewrite left is what a normal save writes.
        std::filesystem::remove(dir.Path(saver.name));
        saver.save(dir.path(), dialogs);
        EXPECT_EQ(dir.Read(saver.name), saved);

        dir.Write(saver.name, kOldBytes);
        faults.Inject(SaveFault::NoTemporaryWrite);
        saver.save(dir.path(), dialogs);
        faults.Inject(SaveFault::None);
        ASSERT_EQ(dialogs.calls.size(), 1u);
        EXPECT_EQ(dialogs.calls[0].texts[1], kWriteFailed);
        EXPECT_EQ(dir.Read(saver.name), kOldBytes);
        EXPECT_EQ(FilesIn(dir.path()), 1u);
        std::filesystem::remove(dir.Path(saver.name));
    }
}

TEST_F(SaveFaultsTest, UnwritableFoldersCannotBeOpened) {
    // A user folder whose parent is a regular file cannot hold files, even
    // for root; nor can one that does not exist.
    dir.Write("plain-file", "not a folder");
    for (const std::string& folder :
         {dir.Path("plain-file/guest"), dir.Path("plain-file"), dir.Path("missing")}) {
        for (const Saver& saver : Savers()) {
            SCOPED_TRACE(folder + " " + saver.name);
            RecordingDialogs dialogs;
            saver.save(folder, dialogs);
            ASSERT_EQ(dialogs.calls.size(), 1u);
            EXPECT_EQ(dialogs.calls[0].texts,
                      (std::vector<std::string>{folder + "/" + saver.name, kOpenFailed, ""}));
        }
    }
    EXPECT_EQ(dir.Read("plain-file"), "not a folder");
    EXPECT_FALSE(std::filesystem::exists(dir.Path("missing")));
    EXPECT_EQ(FilesIn(dir.path()), 1u);
}

TEST_F(SaveFaultsTest, AFolderInThePlaceOfTheFileIsLeftAlone) {
    // The rename cannot replace a folder with a file: reported as a failed
    // write, the folder and what it holds stay.
    for (const Saver& saver : Savers()) {
        SCOPED_TRACE(saver.name);
        std::string inside = dir.Write(std::string(saver.name) + "/keep", kOldBytes);
        RecordingDialogs dialogs;
        saver.save(dir.path(), dialogs);
        ASSERT_EQ(dialogs.calls.size(), 1u);
        EXPECT_EQ(dialogs.calls[0].texts[1], kWriteFailed);
        EXPECT_EQ(dir.Read(std::string(saver.name) + "/keep"), kOldBytes);
        std::filesystem::remove_all(dir.Path(saver.name));
        EXPECT_EQ(FilesIn(dir.path()), 0u);
    }
}

TEST_F(SaveFaultsTest, ASymlinkedFileKeepsItsTargetWhenTheSaveFails) {
    for (const Saver& saver : Savers()) {
        SCOPED_TRACE(saver.name);
        std::string target = dir.Write(std::string("real-") + saver.name, kOldBytes);
        std::filesystem::create_symlink(target, dir.Path(saver.name));
        RecordingDialogs dialogs;
        faults.Inject(SaveFault::Rename);
        saver.save(dir.path(), dialogs);
        faults.Inject(SaveFault::None);
        EXPECT_EQ(dialogs.calls.size(), 1u);
        EXPECT_TRUE(std::filesystem::is_symlink(dir.Path(saver.name)));
        EXPECT_EQ(dir.Read(std::string("real-") + saver.name), kOldBytes);
        EXPECT_EQ(FilesIn(dir.path()), 2u);
        std::filesystem::remove(dir.Path(saver.name));
        std::filesystem::remove(target);
    }
}

}  // namespace
}  // namespace zv
