#include "gui_common/first_paint.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QIcon>
#include <QImage>
#include <string>
#include <vector>

#include "gui_common/button_pictures.h"
#include "launcher/gui/interface_font.h"
#include "support/event_loop.h"

namespace zv {
namespace {

using std::chrono::milliseconds;

class CountingWidget : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

TEST(FirstPaintTest, ActionsRunOnceAfterTheFirstPaintInTheOrderGiven) {
    CountingWidget window;
    std::vector<std::string> ran;
    AfterFirstPaint(&window, [&] { ran.push_back("first after " + std::to_string(window.paints)); });
    AfterFirstPaint(&window, [&] { ran.push_back("second"); });
    QCoreApplication::processEvents();
    EXPECT_TRUE(ran.empty());  // not shown yet

    window.show();
    ASSERT_TRUE(test::ProcessEventsUntil([&] { return ran.size() == 2; }));
    EXPECT_EQ(ran, (std::vector<std::string>{"first after 1", "second"}));

    window.repaint();
    QCoreApplication::processEvents();
    EXPECT_EQ(ran.size(), 2u);
}

TEST(FirstPaintTest, AWindowNotPaintedInTimeRunsTheActionOnceAndAGoneWindowNever) {
    int ran = 0;
    {
        CountingWidget hidden;
        AfterFirstPaint(
            &hidden, [&] { ++ran; }, milliseconds(20));
        ASSERT_TRUE(test::ProcessEventsUntil([&] { return ran == 1; }));
        hidden.show();  // a late first paint does not run it again
        ASSERT_TRUE(test::ProcessEventsUntil([&] { return hidden.paints > 0; }));
        QCoreApplication::processEvents();
        EXPECT_EQ(ran, 1);
    }
    {
        CountingWidget gone;
        AfterFirstPaint(
            &gone, [&] { ++ran; }, milliseconds(20));
    }
    test::ProcessEventsUntil([] { return false; }, 60);
    EXPECT_EQ(ran, 1);
}

TEST(InterfaceFontTest, TheJapaneseFontHasJapaneseLettersAndKeepsTheSize) {
    QString family = FindJapaneseInterfaceFont().get();
    ASSERT_FALSE(family.isEmpty()) << "the machine has Japanese fonts installed";
    EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese))
        << family.toStdString();

    const QFont before = QApplication::font();
    UseInterfaceFont(family);
    EXPECT_EQ(QApplication::font().family(), family);
    EXPECT_EQ(QApplication::font().pointSizeF(), before.pointSizeF());
    UseInterfaceFont(QString());  // no Japanese font: the font stays
    EXPECT_EQ(QApplication::font().family(), family);
    QApplication::setFont(before);
}

// Pictures are drawn at the size asked for; a disabled one is the same
// picture, greyed.
TEST(ButtonPicturesTest, PicturesAreDrawnAtTheSizeAskedForAndGreyedWhenDisabled) {
    for (const QIcon& icon : {LauncherButtonPicture("RuleButton"), ExtensionArrowPicture(true)}) {
        for (int side : {16, 26, 48}) {
            QImage normal = icon.pixmap(side, side).toImage();
            EXPECT_EQ(normal.size(), QSize(side, side));
            bool drawn = false;
            for (int y = 0; y < side && !drawn; ++y)
                for (int x = 0; x < side && !drawn; ++x) drawn = qAlpha(normal.pixel(x, y)) > 0;
            EXPECT_TRUE(drawn) << side;
        }
        EXPECT_NE(icon.pixmap(26, 26, QIcon::Disabled).toImage(), icon.pixmap(26, 26).toImage());
    }
    EXPECT_EQ(LauncherButtonPicture("RuleButton").pixmap(26, 26).toImage(),
              LauncherButtonPicture("RuleButton").pixmap(26, 26).toImage());
}

}  // namespace
}  // namespace zv
