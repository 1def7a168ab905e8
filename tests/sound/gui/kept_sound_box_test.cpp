#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "sound/audio_output.h"
#include "sound/gui/launcher_music.h"
#include "sound/gui/sound_box.h"
#include "sound/media_commands.h"
#include "support/event_loop.h"
#include "support/launcher_fixture.h"
#include "support/modal.h"

namespace zv {
namespace {

class RecordingCommands : public MediaCommands {
public:
    RecordingCommands() { SetMediaCommands(this); }
    ~RecordingCommands() override { SetMediaCommands(nullptr); }
    int SendString(const std::string& command, std::string& reply, const MediaNotify&) override {
        reply.clear();
        sent.push_back(command);
        return kMediaOk;
    }
    std::vector<std::string> sent;
};

class SilentAudio : public AudioOutput {
public:
    SilentAudio() { SetAudio(this); }
    ~SilentAudio() override { SetAudio(nullptr); }
    bool PlaySoundFile(const std::string& path) override {
        played.push_back(path);
        return true;
    }
    bool OpenMusic(const std::string&) override { return false; }
    bool PlayMusic(std::function<void()>) override { return false; }
    void CloseMusic() override {}
    std::vector<std::string> played;
};

class KeptSoundBoxTest : public test::LauncherFixture {
protected:
    // Shows the window and waits until what follows its first paint (the
    // music's start among it) has run.
    static void ShowAndWaitForTheMusicStart(TLaunch& window) {
        window.show();
        ASSERT_TRUE(test::ProcessEventsUntil([&] {
            return window.findChild<QObject*>("FirstPaintWatch", Qt::FindDirectChildrenOnly) == nullptr;
        }));
        WaitForLauncherMusicStart();
    }

    RecordingCommands commands;
    SilentAudio audio;
};

TEST_F(KeptSoundBoxTest, MainWindowRunsTheMusicAndKeepsTheSoundBox) {
    dir.Write("usr/guest/sound.nuc", "(define sound_ron \"r2.wav\")\r\n");
    {
        TLaunch window(launcherDialogs);
        // The music starts once the window has been painted, on a thread of
        // its own, so that neither the window nor its first paint waits for
        // the audio libraries and the piece to load.
        QCoreApplication::processEvents();
        EXPECT_TRUE(commands.sent.empty());
        ShowAndWaitForTheMusicStart(window);
        EXPECT_EQ(commands.sent, (std::vector<std::string>{
                                     "open \"" + dir.path() + "/sound/jan#7.mid\" type sequencer alias bgm",
                                     "play bgm from 0 notify"}));
        launcherDialogs.CreateKeptWindows(&window);
        TSoundBox* box = launcherDialogs.KeptSoundBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->parent(), &window);
        EXPECT_EQ(box->findChild<QLineEdit*>("RonButton")->text(), QStringLiteral("r2.wav"));
        launcherDialogs.CreateKeptWindows(&window);  // created once only
        EXPECT_EQ(launcherDialogs.KeptSoundBox(), box);

        window.move(100, 80);
        QPoint placed;
        auto shown = test::WhenShown("SoundBox", [&](QWidget* shownBox) {
            placed = shownBox->pos();
            // Test play reports through the launcher's message dialogs.
            auto* ron = shownBox->findChild<QLineEdit*>("RonButton");
            QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(3, 3), ron->mapToGlobal(QPointF(3, 3)),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(ron, &twice);
            shownBox->findChild<QPushButton*>("Cancel")->click();
        });
        window.SoundButtonClick();
        EXPECT_TRUE(*shown);
        EXPECT_EQ(placed, window.pos() + QPoint(50, 50));
        EXPECT_EQ(audio.played, std::vector<std::string>{dir.path() + "/sound/r2.wav"});
        ASSERT_FALSE(dialogs.Of("message").empty());  // after the start-up tip
        EXPECT_EQ(dialogs.Of("message").back().texts,
                  (std::vector<std::string>{"麻雀", "r2.wavのサウンドテスト"}));
    }
    // Closing the window closes the music device; the box went with it.
    EXPECT_EQ(commands.sent.back(), "close bgm");
    EXPECT_EQ(launcherDialogs.KeptSoundBox(), nullptr);
}

TEST_F(KeptSoundBoxTest, NoMusicWhenSwitchedOff) {
    LauncherSettings stored;
    stored.playbgm = 0;
    WriteLaunchNuc(stored);
    {
        TLaunch window(launcherDialogs);
        ShowAndWaitForTheMusicStart(window);
    }
    EXPECT_EQ(commands.sent, std::vector<std::string>{"close bgm"});
}

}  // namespace
}  // namespace zv
