#include <gtest/gtest.h>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTreeWidget>

#include "support/modal.h"
#include "viewer/gui/browse_controls.h"
#include "viewer_test_support.h"

namespace zv::viewer::test {
namespace {

class ImageFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        SaveBitmap(dir, "big.bmp", 640, 480);
        SaveBitmap(dir, "wide.BMP", 300, 20, Qt::red);
        SaveBitmap(dir, "tall.bmpx", 20, 300, Qt::blue);
        CopySample(dir, "zelvan.ico", "face.ico");
        CopySample(dir, "shapes.wmf", "shapes.wmf");
        CopySample(dir, "shapes.emf", "shapes.emf");
        dir.Write("broken.bmp", "BM this is no bitmap");
        dir.Write("notes.txt", "hello");
        dir.Write("sub/inner.bmp", "");
        form = std::make_unique<TImageForm>();
        form->Start({dir.path()});
        ASSERT_TRUE(errors.texts.isEmpty()) << errors.texts.join("\n").toStdString();
    }

    TViewForm& View() { return *form->ViewForm(); }
    QString Title() const { return form->windowTitle(); }

    zv::test::TempDir dir;
    ErrorRecorder errors;
    std::unique_ptr<TImageForm> form;
};

TEST_F(ImageFormTest, StartsWithTheControlsInTheirInitialState) {
    EXPECT_EQ(Title(), "Image Viewer");
    EXPECT_EQ(form->CaptionPrefix(), "Image Viewer - ");
    EXPECT_EQ(Find<QLineEdit>(*form, "FileEdit")->text(), "*.bmp;*.ico;*.wmf;*.emf");
    auto* filter = Find<QComboBox>(*form, "FilterComboBox1");
    EXPECT_EQ(filter->count(), 5);
    EXPECT_EQ(filter->currentIndex(), 0);
    EXPECT_EQ(filter->currentText(), "Image Files (*.bmp, *.ico, *.wmf, *.emf)");
    EXPECT_FALSE(Find<QLabel>(*form, "Image1")->isVisibleTo(form.get()));
    ASSERT_NE(Find<QComboBox>(*form, "DriveComboBox1"), nullptr);
    EXPECT_EQ(Find<QComboBox>(*form, "DriveComboBox1")->itemText(0), "/");
    EXPECT_FALSE(View().isVisible());
    EXPECT_EQ(View().windowTitle(), "View Form");
    EXPECT_EQ(form->focusWidget(), Find<QWidget>(*form, "DirectoryListBox1"));

    // The default mask is case-insensitive and hides other files and folders.
    EXPECT_EQ(ListedFiles(*form),
              (QStringList{"big.bmp", "broken.bmp", "face.ico", "shapes.emf", "shapes.wmf", "wide.BMP"}));
    // Fixed border: the window cannot be resized.
    form->show();
    EXPECT_EQ(form->minimumSize(), form->maximumSize());
}

TEST_F(ImageFormTest, BitmapGivesBothCaptionsItsSizeAndSizesTheViewer) {
    ClickFile(*form, "big.bmp");
    EXPECT_TRUE(errors.texts.isEmpty());
    EXPECT_EQ(Title(), "Image Viewer - big.bmp (640 x 480)");
    EXPECT_EQ(View().windowTitle(), "Image Viewer - big.bmp (640 x 480)");
    EXPECT_TRUE(View().isVisible());
    EXPECT_FALSE(View().isMinimized());
    EXPECT_FALSE(View().isMaximized());
    EXPECT_EQ(View().ClientSize(), QSize(640, 480));
    EXPECT_EQ(View().ScrollRange(), QSize(640, 480));
    EXPECT_EQ(View().Picture().size(), QSize(640, 480));
    EXPECT_EQ(View().Picture().pixelColor(320, 240), QColor(Qt::darkCyan));
    EXPECT_EQ(form->Image1Picture().width(), 640);
    EXPECT_EQ(Find<QLineEdit>(*form, "FileEdit")->text(), "big.bmp");
}

TEST_F(ImageFormTest, PictureLargerThanTheScreenKeepsTheViewerOnScreenAndScrolls) {
    SaveBitmap(dir, "huge.bmp", 3000, 2000);
    form->Start({dir.path()});
    ClickFile(*form, "huge.bmp");
    EXPECT_EQ(Title(), "Image Viewer - huge.bmp (3000 x 2000)");
    EXPECT_EQ(View().ScrollRange(), QSize(3000, 2000));
    QSize room = View().screen()->availableGeometry().size();
    EXPECT_LE(View().ClientSize().width(), room.width());
    EXPECT_LE(View().ClientSize().height(), room.height());
    auto* scroller = Find<QScrollArea>(View(), "ViewScroller");
    QApplication::processEvents();
    EXPECT_GT(scroller->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(scroller->verticalScrollBar()->maximum(), 0);
}

TEST_F(ImageFormTest, UpperCaseAndLongerExtensionsAreBitmaps) {
    ClickFile(*form, "wide.BMP");
    EXPECT_EQ(Title(), "Image Viewer - wide.BMP (300 x 20)");
    EXPECT_EQ(View().ClientSize(), QSize(300, 20));

    ChooseFilter(*form, 4);  // all files
    EXPECT_EQ(Find<QLineEdit>(*form, "FileEdit")->text(), "*.*");
    ClickFile(*form, "tall.bmpx");
    EXPECT_TRUE(errors.texts.isEmpty()) << errors.texts.join("\n").toStdString();
    EXPECT_EQ(Title(), "Image Viewer - tall.bmpx (20 x 300)");
    EXPECT_EQ(View().windowTitle(), Title());
    EXPECT_EQ(View().Picture().pixelColor(10, 150), QColor(Qt::blue));
}

TEST_F(ImageFormTest, IconCaptionHasNoSize) {
    ClickFile(*form, "face.ico");
    EXPECT_TRUE(errors.texts.isEmpty()) << errors.texts.join("\n").toStdString();
    EXPECT_EQ(Title(), "Image Viewer - face.ico");
    EXPECT_EQ(View().windowTitle(), "Image Viewer - face.ico");
    EXPECT_EQ(View().ClientSize(), QSize(32, 32));
    QImage picture = View().Picture();
    ASSERT_EQ(picture.size(), QSize(32, 32));
    EXPECT_EQ(picture.pixelColor(0, 0).alpha(), 0);  // outside the disc: transparent
    QColor disc = picture.pixelColor(8, 8);
    EXPECT_GT(disc.red(), 150);
    EXPECT_LT(disc.blue(), 80);
}

TEST_F(ImageFormTest, CorruptBitmapIsReportedAndThePreviousPictureStays) {
    ClickFile(*form, "big.bmp");
    View().hide();
    QImage before = View().Picture();

    ClickFile(*form, "broken.bmp");
    ASSERT_EQ(errors.texts.size(), 1);
    EXPECT_TRUE(errors.texts[0].contains("Bitmap image is not valid"));
    EXPECT_TRUE(errors.texts[0].contains("broken.bmp"));
    EXPECT_EQ(Title(), "Image Viewer - big.bmp (640 x 480)");
    EXPECT_EQ(View().windowTitle(), "Image Viewer - big.bmp (640 x 480)");
    EXPECT_EQ(View().Picture(), before);
    EXPECT_EQ(form->Image1Picture().width(), 640);
    EXPECT_FALSE(View().isVisible());  // the click stopped before showing the viewer
}

TEST_F(ImageFormTest, TruncatedBitmapEndsTheClickWithTheLoadError) {
    ClickFile(*form, "wide.BMP");
    View().hide();
    // The first 100 bytes of a 640 x 480 bitmap: headers whole, rows missing.
    dir.Write("cut.bmp", BitmapBytes(640, 480).substr(0, 100));
    dir.Write("one-byte-short.bmp", [] {
        std::string bytes = BitmapBytes(64, 48);
        bytes.pop_back();
        return bytes;
    }());
    form->Start({dir.path()});
    ClickFile(*form, "cut.bmp");
    ClickFile(*form, "one-byte-short.bmp");
    ASSERT_EQ(errors.texts.size(), 2);
    EXPECT_TRUE(errors.texts[0].contains("Bitmap image is not valid")) << errors.texts[0].toStdString();
    EXPECT_TRUE(errors.texts[0].contains("cut.bmp"));
    EXPECT_TRUE(errors.texts[1].contains("one-byte-short.bmp"));
    EXPECT_EQ(Title(), "Image Viewer - wide.BMP (300 x 20)");
    EXPECT_EQ(View().Picture().size(), QSize(300, 20));
    EXPECT_FALSE(View().isVisible());
}

TEST_F(ImageFormTest, NamesThatAreNotUtf8AreListedReadablyAndOpenTheirFiles) {
    // A Latin-1 e acute, and a name written in CP932 ("麻雀").
    dir.Write("caf\xE9.bmp", BitmapBytes(30, 20, Qt::red));
    dir.Write("\x96\x83\x90\x9D.bmp", BitmapBytes(20, 30, Qt::blue));
    form->Start({dir.path()});
    const QString cafe = QStringLiteral("caf\uFFFD.bmp");
    const QString kanji = QStringLiteral("\uFFFD\uFFFD\uFFFD\uFFFD.bmp");
    QStringList listed = ListedFiles(*form);
    ASSERT_TRUE(listed.contains(cafe)) << listed.join(", ").toStdString();
    ASSERT_TRUE(listed.contains(kanji)) << listed.join(", ").toStdString();

    ClickFile(*form, cafe);
    ASSERT_TRUE(errors.texts.isEmpty()) << errors.texts.join("\n").toStdString();
    EXPECT_EQ(Title(), QStringLiteral("Image Viewer - ") + cafe + QStringLiteral(" (30 x 20)"));
    EXPECT_EQ(View().Picture().pixelColor(15, 10), QColor(Qt::red));
    ClickFile(*form, kanji);
    ASSERT_TRUE(errors.texts.isEmpty()) << errors.texts.join("\n").toStdString();
    EXPECT_EQ(View().Picture().size(), QSize(20, 30));
    EXPECT_EQ(View().Picture().pixelColor(10, 15), QColor(Qt::blue));
}

TEST_F(ImageFormTest, FileThatIsNotOfItsKindIsRefused) {
    // An icon's bytes behind a bitmap's name, and the other way round.
    CopySample(dir, "zelvan.ico", "icon.bmp");
    CopySample(dir, "tiles.bmp", "tiles.ico");
    CopySample(dir, "tiles.bmp", "tiles.wmf");
    form->Start({dir.path()});
    for (const char* name : {"icon.bmp", "tiles.ico", "tiles.wmf"}) ClickFile(*form, name);
    ASSERT_EQ(errors.texts.size(), 3);
    EXPECT_TRUE(errors.texts[0].contains("Bitmap image is not valid"));
    EXPECT_TRUE(errors.texts[1].contains("Icon image is not valid"));
    EXPECT_TRUE(errors.texts[2].contains("Metafile is not valid"));
    EXPECT_EQ(Title(), "Image Viewer");
}

TEST_F(ImageFormTest, OtherKindShowsTheLastPictureAgain) {
    ClickFile(*form, "face.ico");
    View().hide();
    ChooseFilter(*form, 4);
    ClickFile(*form, "notes.txt");
    EXPECT_TRUE(errors.texts.isEmpty());
    EXPECT_TRUE(View().isVisible());
    EXPECT_EQ(Title(), "Image Viewer - face.ico");
    EXPECT_EQ(View().windowTitle(), "Image Viewer - face.ico");
    EXPECT_EQ(View().ClientSize(), QSize(32, 32));
    EXPECT_EQ(View().Picture().size(), QSize(32, 32));
}

TEST_F(ImageFormTest, OtherKindBeforeAnyPictureShowsAnEmptyViewer) {
    ChooseFilter(*form, 4);
    ClickFile(*form, "notes.txt");
    EXPECT_TRUE(errors.texts.isEmpty());
    EXPECT_TRUE(View().isVisible());
    EXPECT_EQ(View().windowTitle(), "Image Viewer");
    EXPECT_TRUE(View().Picture().isNull());
}

TEST_F(ImageFormTest, MetafileCaptionHasNoSizeAndViewerFitsThePicture) {
    ClickFile(*form, "shapes.emf");
    EXPECT_EQ(Title(), "Image Viewer - shapes.emf");
    EXPECT_EQ(View().ClientSize(), QSize(240, 192));
    ClickFile(*form, "shapes.wmf");
    EXPECT_EQ(Title(), "Image Viewer - shapes.wmf");
    EXPECT_EQ(View().windowTitle(), "Image Viewer - shapes.wmf");
    EXPECT_EQ(View().ClientSize(), QSize(256, 192));
    EXPECT_TRUE(errors.texts.isEmpty()) << errors.texts.join("\n").toStdString();
}

TEST_F(ImageFormTest, KeyboardChoiceInTheListActsLikeAClick) {
    auto* list = Find<QListWidget>(*form, "FileListBox1");
    list->setCurrentRow(0);  // big.bmp, chosen without a click
    EXPECT_FALSE(View().isVisible());
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(list, &down);  // broken.bmp
    QKeyEvent downAgain(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(list, &downAgain);  // face.ico
    EXPECT_EQ(errors.texts.size(), 1);
    EXPECT_EQ(Title(), "Image Viewer - face.ico");
}

TEST_F(ImageFormTest, EnterInFileEditAppliesMaskFolderAndName) {
    auto* edit = Find<QLineEdit>(*form, "FileEdit");
    auto* folders = Find<DirectoryListBox>(*form, "DirectoryListBox1");
    auto enter = [&](const QString& text) {
        edit->setText(text);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(edit, &key);
        EXPECT_TRUE(key.isAccepted());
    };

    enter("*.ico");
    EXPECT_EQ(ListedFiles(*form), QStringList{"face.ico"});
    EXPECT_EQ(edit->text(), "*.ico");

    enter("sub/*.bmp");
    EXPECT_EQ(folders->Directory(), QString::fromStdString(dir.Path("sub")));
    EXPECT_EQ(ListedFiles(*form), QStringList{"inner.bmp"});

    enter("..");
    EXPECT_EQ(folders->Directory(), QString::fromStdString(dir.path()));
    EXPECT_EQ(ListedFiles(*form), (QStringList{"big.bmp", "broken.bmp", "wide.BMP"}));

    enter("wide.BMP");
    EXPECT_EQ(Find<QListWidget>(*form, "FileListBox1")->currentItem()->text(), "wide.BMP");
    EXPECT_TRUE(errors.texts.isEmpty());

    enter("nowhere/*.bmp");
    ASSERT_EQ(errors.texts.size(), 1);
    EXPECT_TRUE(errors.texts[0].contains("nowhere"));
    EXPECT_EQ(folders->Directory(), QString::fromStdString(dir.path()));
}

TEST_F(ImageFormTest, FilterChoiceChangesTheListAndTheEdit) {
    ChooseFilter(*form, 3);
    EXPECT_EQ(ListedFiles(*form), (QStringList{"shapes.emf", "shapes.wmf"}));
    EXPECT_EQ(Find<QLineEdit>(*form, "FileEdit")->text(), "*.wmf;*.emf");
    ChooseFilter(*form, 1);
    EXPECT_EQ(ListedFiles(*form), (QStringList{"big.bmp", "broken.bmp", "wide.BMP"}));
}

TEST_F(ImageFormTest, FolderListShowsTheOpenChainAndOpensSubfolders) {
    auto* folders = Find<DirectoryListBox>(*form, "DirectoryListBox1");
    QStringList shown = folders->ShownFolders();
    ASSERT_GE(shown.size(), 3);
    EXPECT_EQ(shown.first(), folders->Root());
    EXPECT_EQ(shown[shown.size() - 2], QString::fromStdString(dir.path()));
    EXPECT_EQ(shown.last(), QString::fromStdString(dir.Path("sub")));

    QTreeWidgetItem* sub = folders->currentItem()->child(0);
    ASSERT_NE(sub, nullptr);
    emit folders->itemActivated(sub, 0);
    EXPECT_EQ(folders->Directory(), QString::fromStdString(dir.Path("sub")));
    EXPECT_EQ(ListedFiles(*form), QStringList{"inner.bmp"});
    EXPECT_EQ(folders->currentItem()->data(0, Qt::UserRole).toString(), folders->Directory());
}

TEST_F(ImageFormTest, ChoosingADriveOpensItsRoot) {
    auto* drives = Find<DriveComboBox>(*form, "DriveComboBox1");
    drives->SetRoots({"/", dir.path(), dir.Path("gone")});
    emit drives->activated(1);
    auto* folders = Find<DirectoryListBox>(*form, "DirectoryListBox1");
    EXPECT_EQ(folders->Directory(), QString::fromStdString(dir.path()));
    EXPECT_EQ(folders->Root(), QString::fromStdString(dir.path()));
    EXPECT_EQ(folders->ShownFolders().first(), QString::fromStdString(dir.path()));

    emit drives->activated(2);  // a volume that went away
    ASSERT_EQ(errors.texts.size(), 1);
    EXPECT_EQ(folders->Directory(), QString::fromStdString(dir.path()));
    EXPECT_EQ(drives->currentIndex(), 1);
}

TEST(ErrorBoxTest, FileNamesInTheMessageAreShownAsWritten) {
    SetErrorBoxHook({});
    Qt::TextFormat format = Qt::AutoText;
    QString shown;
    zv::test::WhenModal<QMessageBox>([&](QMessageBox* box) {
        format = box->textFormat();
        shown = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    ShowErrorBox(nullptr, QStringLiteral("Bitmap image is not valid: /tmp/<b>bold</b>.bmp"));
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(shown, QStringLiteral("Bitmap image is not valid: /tmp/<b>bold</b>.bmp"));
}

class ImageFormStartTest : public ::testing::Test {
protected:
    zv::test::TempDir dir;
    ErrorRecorder errors;
};

TEST_F(ImageFormStartTest, WithoutArgumentTheCurrentFolderIsShown) {
    dir.Write("here.bmp", "");
    CurrentFolderScope scope(dir.path());
    TImageForm form;
    form.Start({});
    EXPECT_EQ(Find<DirectoryListBox>(form, "DirectoryListBox1")->Directory(),
              QString::fromStdString(std::filesystem::canonical(dir.path()).string()));
    EXPECT_EQ(ListedFiles(form), QStringList{"here.bmp"});
    EXPECT_TRUE(errors.texts.isEmpty());
}

TEST_F(ImageFormStartTest, RelativeArgumentIsTakenFromTheCurrentFolder) {
    dir.Write("pics/a.ico", "");
    CurrentFolderScope scope(dir.path());
    TImageForm form;
    form.Start({"pics"});
    EXPECT_EQ(ListedFiles(form), QStringList{"a.ico"});
    EXPECT_TRUE(errors.texts.isEmpty());
}

TEST_F(ImageFormStartTest, MissingStartFolderIsReportedAndTheBrowserStaysUsable) {
    dir.Write("here.bmp", "");
    CurrentFolderScope scope(dir.path());
    TImageForm form;
    form.Start({dir.Path("no such folder")});
    ASSERT_EQ(errors.texts.size(), 1);
    EXPECT_TRUE(errors.texts[0].contains("no such folder"));
    EXPECT_TRUE(errors.texts[0].contains("does not exist"));
    EXPECT_EQ(ListedFiles(form), QStringList{"here.bmp"});

    // A file is not a folder either.
    form.Start({dir.Path("here.bmp")});
    EXPECT_EQ(errors.texts.size(), 2);
}

TEST_F(ImageFormStartTest, ClosingTheBrowserAnnouncesItAndHidesTheViewer) {
    TImageForm form;
    form.show();
    form.ViewForm()->ShowNormal();
    bool closed = false;
    QObject::connect(&form, &TImageForm::Closed, [&] { closed = true; });
    form.close();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(form.ViewForm()->isVisible());
}

}  // namespace
}  // namespace zv::viewer::test
