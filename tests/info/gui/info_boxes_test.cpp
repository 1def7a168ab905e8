#include "info/gui/info_boxes.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "info/machine_info.h"
#include "support/fake_platform.h"
#include "support/fake_system_info.h"
#include "support/modal.h"

namespace zv {
namespace {

TEST(InfoBoxes, MachineInformationShowsTheSystemFigures) {
    test::FakePlatform platform;
    test::FakeSystemInfo system;
    platform.installDir = "/opt/zelvan/";
    platform.userName = "taro";
    system.computerName = "mahjong-pc";
    system.version = OsVersion{3, "Linux", "Debian GNU/Linux 12 (bookworm)", 6, 1, 0};
    TUnameBox box(nullptr);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("麻雀  コンピュータについて"));
    EXPECT_EQ(box.User->text(), QStringLiteral("taro"));
    EXPECT_EQ(box.Comp->text(), QStringLiteral("mahjong-pc"));
    EXPECT_EQ(box.OS->text(), QStringLiteral("Linux Debian GNU/Linux 12 (bookworm)"));
    EXPECT_EQ(box.OSversion->text(), QStringLiteral("6.1 0"));
    EXPECT_EQ(box.InstallFolder->text(), QStringLiteral("/opt/zelvan/"));
    EXPECT_FALSE(box.disp->text().isEmpty());
}

TEST(InfoBoxes, NamesAndFoldersAreShownAsPlainText) {
    test::FakePlatform platform;
    test::FakeSystemInfo system;
    platform.installDir = "/opt/<b>zelvan</b>/";
    platform.userName = "<i>taro</i>";
    system.computerName = "<h1>pc</h1>";
    TUnameBox box(nullptr);
    for (QLabel* label : {box.User, box.Comp, box.OS, box.OSversion, box.InstallFolder, box.disp})
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
    EXPECT_EQ(box.InstallFolder->text(), QStringLiteral("/opt/<b>zelvan</b>/"));
    EXPECT_EQ(box.User->text(), QStringLiteral("<i>taro</i>"));
}

TEST(InfoBoxes, UnknownComputerNameKeepsTheFormText) {
    test::FakePlatform platform;
    test::FakeSystemInfo system;
    platform.userName = "taro";
    TUnameBox box(nullptr);
    EXPECT_EQ(box.Comp->text(), QStringLiteral("unknown"));
}

TEST(InfoBoxes, CreditsShowMemory) {
    test::FakeSystemInfo system;
    system.memory = MemoryStatus{65536ull * 1024, 37};
    TStaffBox staff(nullptr);
    EXPECT_EQ(staff.windowTitle(), QStringLiteral("麻雀  コントリビュータ"));
    EXPECT_EQ(staff.PhysMem->text(), QStringLiteral("65,536 KB"));
    EXPECT_EQ(staff.FreeRes->text(), QStringLiteral("37 %"));
    EXPECT_FALSE(staff.windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST(InfoBoxes, AboutOpensTheCreditsPlaced) {
    test::FakeSystemInfo system;
    TAboutBox about(nullptr);
    about.move(200, 150);
    EXPECT_EQ(about.Label1->text(), QStringLiteral("ゼルバンライト"));
    QPoint placed;
    auto shown = test::WhenShown(QStringLiteral("TStaffBox"), [&](QWidget* staff) {
        placed = staff->pos();
        test::Child<QPushButton>(staff, "OkButton")->click();
    });
    about.StaffButtonClick();
    EXPECT_TRUE(*shown);
    EXPECT_EQ(placed, QPoint(250, 200));
}

}  // namespace
}  // namespace zv
