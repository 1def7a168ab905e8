#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include "launcher/gui/launch_window.h"
#include "net/gui/net_dialogs.h"
#include "net/gui/ping_box.h"
#include "net/gui/protocol_box.h"
#include "net/protocol_settings.h"
#include "support/launcher_fixture.h"
#include "support/loopback_sockets.h"
#include "support/modal.h"

namespace zv {
namespace {

using test::WhenModal;

class NetworkToolCommandsTest : public test::LauncherFixture {
protected:
    test::LoopbackSockets sockets;
};

TEST_F(NetworkToolCommandsTest, CheckButtonAndMenuOpenTheServerCheck) {
    TLaunch window(launcherDialogs);
    int opened = 0;
    auto close = [&](TPingBox* box) {
        ++opened;
        EXPECT_EQ(box->parentWidget(), &window);
        EXPECT_EQ(box->pos(), window.pos() + QPoint(50, 50));
        box->OkButton->click();
    };
    WhenModal<TPingBox>(close);
    window.PingButtonClick();
    WhenModal<TPingBox>(close);
    window.PingMenuClick();
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(sockets.cleanups, 2);
}

TEST_F(NetworkToolCommandsTest, ProtocolButtonMenuAndItsTwinOpenTheClientSettings) {
    TLaunch window(launcherDialogs);
    QStringList titles;
    auto close = [&](TProtocolBox* box) {
        titles << box->what->text();
        EXPECT_EQ(ProtocolBoxMode(), 0);
        box->OKButton->click();
    };
    for (auto open :
         {&TLaunch::ProtocolButtonClick, &TLaunch::NetworkMenuClick, &TLaunch::ProtocolButtonMenuClick}) {
        SetProtocolBoxMode(1);
        WhenModal<TProtocolBox>(close);
        (window.*open)();
    }
    EXPECT_EQ(titles, QStringList(3, QStringLiteral("ネットワークの設定")));
}

}  // namespace
}  // namespace zv
