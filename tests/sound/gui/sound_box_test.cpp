#include "sound/gui/sound_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>

#include "config/codec.h"
#include "config/file_io.h"
#include "config/launcher_settings.h"
#include "gui_common/qt_text.h"
#include "sound/audio_output.h"
#include "support/fake_platform.h"
#include "support/recording_dialogs.h"
#include "support/temp_dir.h"

namespace zv {
namespace {

class FakeAudio : public AudioOutput {
public:
    FakeAudio() { SetAudio(this); }
    ~FakeAudio() override { SetAudio(nullptr); }
    bool PlaySoundFile(const std::string& path) override {
        played.push_back(path);
        return playable;
    }
    bool OpenMusic(const std::string&) override { return false; }
    bool PlayMusic(std::function<void()>) override { return false; }
    void CloseMusic() override {}
    std::vector<std::string> played;
    bool playable = true;
};

// The lines of a saved file, which must be CP932 with CR LF line ends.
std::vector<std::string> SplitText(const std::string& bytes) {
    EXPECT_TRUE(bytes.size() >= 2 && bytes.substr(bytes.size() - 2) == "\r\n");
    return SplitLines(FromCp932(bytes));
}

void Click(QWidget* widget) {
    QPointF at(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

void DoubleClick(QWidget* widget) {
    Click(widget);
    QPointF at(5, 5);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &twice);
}

// Types text at the end of an edit, as the user would.
void Type(QLineEdit* edit, const QString& text) {
    edit->setCursorPosition(edit->text().size());
    for (QChar c : text) {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &key);
    }
}

class SoundBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.installDir = std::string(ZV_STAGE_DIR);
        saved = Settings();
        Settings().UserDir = dir.path();
        TSoundBox::SetFileChooserForTests([this](QWidget*, const QString& title, const QString& folder,
                                                 const QString& filter) -> std::optional<QString> {
            chooserTitle = title;
            chooserFolder = folder;
            chooserFilter = filter;
            ++chooserCalls;
            return chosen;
        });
    }
    void TearDown() override {
        TSoundBox::SetFileChooserForTests({});
        Settings() = saved;
    }

    std::unique_ptr<TSoundBox> Make() {
        auto box = std::make_unique<TSoundBox>(nullptr, dialogs);
        box->show();
        return box;
    }
    QLineEdit* Edit(TSoundBox& box, const char* name) { return box.findChild<QLineEdit*>(name); }

    test::FakePlatform platform;
    test::TempDir dir;
    LauncherSettings saved;
    RecordingDialogs dialogs;
    std::optional<QString> chosen;
    QString chooserTitle, chooserFolder, chooserFilter;
    int chooserCalls = 0;
};

TEST_F(SoundBoxTest, LayoutNamesCaptionsAndPages) {
    auto box = Make();
    EXPECT_EQ(box->windowTitle(), QStringLiteral("麻雀  サウンド設定"));
    for (const auto& event : SoundEvents()) {
        QLineEdit* edit = Edit(*box, event.component);
        ASSERT_NE(edit, nullptr) << event.component;
        EXPECT_EQ(edit->text(), Q(event.fallback));
    }
    QTabWidget* pages = box->PageControl;
    ASSERT_EQ(pages->count(), 7);
    QStringList captions;
    for (int i = 0; i < pages->count(); ++i) captions << pages->tabText(i);
    EXPECT_EQ(captions,
              (QStringList{"アクション", "モード", "宣言", "コマンド", "その他1", "その他2", "BGM"}));
    EXPECT_EQ(pages->tabToolTip(2), QStringLiteral("宣言をおこなったとき"));
    // Rows stand in the pages' own order, not the file's.
    EXPECT_TRUE(pages->widget(3)->isAncestorOf(Edit(*box, "Pai")));
    EXPECT_TRUE(pages->widget(4)->isAncestorOf(Edit(*box, "GameEnd")));
    auto row = [&](int page, const char* name) {
        return pages->widget(page)->layout()->indexOf(Edit(*box, name));
    };
    EXPECT_LT(row(3, "Pai"), row(3, "Tumogiri"));
    EXPECT_LT(row(3, "cancelbutton"), row(3, "CmdButton"));
    EXPECT_LT(row(4, "openning"), row(4, "Yaku"));
    EXPECT_LT(row(4, "_4th"), row(4, "GameEnd"));
    EXPECT_EQ(box->findChild<QPushButton*>("RefFileName")->text(), QStringLiteral("参照"));
    EXPECT_EQ(box->findChild<QPushButton*>("Save")->text(), QStringLiteral("OK"));
    EXPECT_EQ(box->findChild<QPushButton*>("Cancel")->text(), QStringLiteral("閉じる"));
    EXPECT_EQ(box->findChild<QCheckBox*>("BgmCheckBox")->text(), QStringLiteral("BGMを鳴らす"));
    EXPECT_EQ(box->CurrentEdit(), nullptr);
}

TEST_F(SoundBoxTest, FileWithOnlyRonAndTheBgmSettings) {
    dir.Write("sound.nuc", "(define sound_ron \"myron.wav\")\r\n");
    Settings().bgm = "other.mid";
    Settings().playbgm = 0;
    auto box = Make();
    EXPECT_EQ(Edit(*box, "RonButton")->text(), QStringLiteral("myron.wav"));
    EXPECT_EQ(Edit(*box, "TumoButton")->text(), QStringLiteral("tumo.wav"));
    EXPECT_EQ(Edit(*box, "Pai")->text(), QStringLiteral("pai.wav"));
    EXPECT_EQ(box->Bgm->text(), QStringLiteral("other.mid"));
    EXPECT_FALSE(box->BgmCheckBox->isChecked());
    EXPECT_EQ(box->CurrentEdit(), nullptr);  // filling the edits is not a change by the user

    Click(box->Save);
    EXPECT_EQ(box->result(), QDialog::Accepted);
    auto lines = SplitText(dir.Read("sound.nuc"));
    ASSERT_EQ(lines.size(), 36u);
    EXPECT_EQ(lines[0], "(define sound_tumo \"tumo.wav\")");
    EXPECT_EQ(lines[1], "(define sound_ron \"myron.wav\")");
    EXPECT_EQ(lines[35], "(define sound_pai \"pai.wav\")");
}

TEST_F(SoundBoxTest, NoFileStillShowsTheBgmSettings) {
    Settings().bgm = "";
    Settings().playbgm = 7;
    auto box = Make();
    EXPECT_EQ(box->Bgm->text(), QString());
    EXPECT_TRUE(box->BgmCheckBox->isChecked());
}

TEST_F(SoundBoxTest, BrowseDoesNothingBeforeAnEditWasTouched) {
    auto box = Make();
    chosen = QStringLiteral("/tmp/chosen.wav");
    Click(box->RefFileName);
    EXPECT_EQ(chooserCalls, 1);
    EXPECT_EQ(chooserTitle, QStringLiteral("ｻｳﾝﾄﾞﾌｧｲﾙを参照"));
    EXPECT_EQ(chooserFolder, Q(std::string(ZV_STAGE_DIR) + "sound"));
    EXPECT_TRUE(chooserFilter.startsWith(QStringLiteral("ｻｳﾝﾄﾞﾌｧｲﾙ (*.wav *.mid)")));
    for (const auto& event : SoundEvents()) EXPECT_EQ(Edit(*box, event.component)->text(), Q(event.fallback));
    EXPECT_EQ(box->Bgm->text(), QStringLiteral("jan#7.mid"));
}

TEST_F(SoundBoxTest, BrowseFillsTheEditLastClickedOrChanged) {
    auto box = Make();
    chosen = QStringLiteral("/snd/a.wav");
    Click(Edit(*box, "KanButton"));
    Click(box->RefFileName);
    EXPECT_EQ(Edit(*box, "KanButton")->text(), QStringLiteral("/snd/a.wav"));

    Type(Edit(*box, "Mangan"), "x");  // a change moves the current edit
    EXPECT_EQ(box->CurrentEdit(), Edit(*box, "Mangan"));
    chosen = std::nullopt;  // cancelled: nothing changes
    Click(box->RefFileName);
    EXPECT_EQ(Edit(*box, "Mangan")->text(), QStringLiteral("mangan.wavx"));

    // A click on the music edit does not make it current; a change does.
    Click(box->Bgm);
    EXPECT_EQ(box->CurrentEdit(), Edit(*box, "Mangan"));
    Type(box->Bgm, "z");
    EXPECT_EQ(box->CurrentEdit(), box->Bgm);
    chosen = QStringLiteral("/music/b.mid");
    Click(box->RefFileName);
    EXPECT_EQ(box->Bgm->text(), QStringLiteral("/music/b.mid"));
    EXPECT_EQ(Edit(*box, "Mangan")->text(), QStringLiteral("mangan.wavx"));
}

TEST_F(SoundBoxTest, DoubleClickTestPlays) {
    FakeAudio audio;
    auto box = Make();
    DoubleClick(Edit(*box, "RonButton"));
    EXPECT_EQ(box->CurrentEdit(), Edit(*box, "RonButton"));
    ASSERT_EQ(audio.played, std::vector<std::string>{std::string(ZV_STAGE_DIR) + "sound/ron.wav"});
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].kind, "message");
    EXPECT_EQ(dialogs.calls[0].texts, (std::vector<std::string>{"麻雀", "ron.wavのサウンドテスト"}));

    audio.playable = false;
    Edit(*box, "TieButton")->setText(QStringLiteral("\\snd\\t.wav"));
    DoubleClick(Edit(*box, "TieButton"));
    EXPECT_EQ(audio.played.back(), "/snd/t.wav");
    ASSERT_EQ(dialogs.Of("error").size(), 1u);
    EXPECT_EQ(dialogs.Of("error")[0].texts,
              (std::vector<std::string>{"麻雀", "\\snd\\t.wav演奏できませんでした",
                                        "PlaySound(\\snd\\t.wav)が失敗しました"}));

    // The music edit has no test.
    DoubleClick(box->Bgm);
    EXPECT_EQ(audio.played.size(), 2u);
    EXPECT_EQ(box->CurrentEdit(), Edit(*box, "TieButton"));
}

TEST_F(SoundBoxTest, TestPlayOfTheShippedSoundsRealDevice) {
    // SDL's dummy driver (set for GUI tests) or a real device: the shipped
    // default file must be found and accepted; a missing one must not.
    auto box = Make();
    DoubleClick(Edit(*box, "Yaku"));
    Edit(*box, "Furi")->setText(QStringLiteral("no-such-file.wav"));
    DoubleClick(Edit(*box, "Furi"));
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_EQ(dialogs.calls[0].kind, "message");
    EXPECT_EQ(dialogs.calls[1].kind, "error");
}

TEST_F(SoundBoxTest, OkSavesTheFileAndTheMusicSettings) {
    auto box = Make();
    Type(Edit(*box, "Pai"), "2");
    Edit(*box, "TumoButton")->setText(QStringLiteral("ツモ\"x.wav"));
    box->Bgm->setText(QStringLiteral("C:\\bgm.mid"));
    box->BgmCheckBox->setChecked(false);
    Click(box->Save);
    EXPECT_EQ(box->result(), QDialog::Accepted);
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(Settings().bgm, "C:\\bgm.mid");
    EXPECT_EQ(Settings().playbgm, 0);
    auto lines = SplitText(dir.Read("sound.nuc"));
    ASSERT_EQ(lines.size(), 36u);
    EXPECT_EQ(lines[35], "(define sound_pai \"pai.wav2\")");
    EXPECT_EQ(lines[0], "(define sound_tumo \"ツモ\")");  // up to the quote

    // A new box (next run) reads what was saved.
    auto next = Make();
    EXPECT_EQ(Edit(*next, "Pai")->text(), QStringLiteral("pai.wav2"));
    EXPECT_EQ(Edit(*next, "TumoButton")->text(), QStringLiteral("ツモ"));
}

TEST_F(SoundBoxTest, FailedSaveKeepsTheDialogOpenAndTheSettings) {
    auto box = Make();
    Settings().UserDir = dir.Path("missing");
    Settings().playbgm = 1;
    box->BgmCheckBox->setChecked(false);
    Click(box->Save);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(Settings().playbgm, 1);
    ASSERT_EQ(dialogs.Of("error").size(), 1u);
    EXPECT_EQ(dialogs.Of("error")[0].texts, (std::vector<std::string>{dir.Path("missing") + "/sound.nuc",
                                                                      "ファイルをオープンできません", ""}));
}

TEST_F(SoundBoxTest, CloseWritesNothingAndKeepsTheTypedTexts) {
    dir.Write("sound.nuc", "(define sound_kan \"k.wav\")\r\n");
    auto box = Make();
    Click(Edit(*box, "RonButton"));
    Type(Edit(*box, "KanButton"), "9");
    box->Bgm->setText(QStringLiteral("new.mid"));
    Click(box->Cancel);
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(box->result(), QDialog::Rejected);
    EXPECT_EQ(dir.Read("sound.nuc"), "(define sound_kan \"k.wav\")\r\n");
    EXPECT_EQ(Settings().bgm, "jan#7.mid");

    // Shown again: the typed texts and the current edit are still there.
    box->show();
    EXPECT_EQ(Edit(*box, "KanButton")->text(), QStringLiteral("k.wav9"));
    EXPECT_EQ(box->Bgm->text(), QStringLiteral("new.mid"));
    chosen = QStringLiteral("/x/k2.wav");
    Click(box->RefFileName);
    EXPECT_EQ(Edit(*box, "KanButton")->text(), QStringLiteral("/x/k2.wav"));
}

}  // namespace
}  // namespace zv
