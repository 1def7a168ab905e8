#include "net/gui/search_server_box.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "config/launcher_settings.h"
#include "gui_common/message_boxes.h"
#include "net/gui/net_dialogs.h"
#include "support/loopback_sockets.h"
#include "support/modal.h"
#include "support/recording_dialogs.h"

namespace zv {
namespace {

using test::Listener;
using test::WhenModal;

class SearchServerBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDialogOverrideForTests(&dialogs);
        Settings() = LauncherSettings{};
        Settings().port = high.portText();
        sockets.local = {"127.0.0.1", "255.255.255.0"};
    }

    QStringList Listed(TSearchServerBox* box) {
        QStringList items;
        for (int i = 0; i < box->ServerListBox->count(); ++i) items << box->ServerListBox->item(i)->text();
        return items;
    }

    void TearDown() override { SetDialogOverrideForTests(nullptr); }

    test::LoopbackSockets sockets;
    // Game servers on three loopback hosts, on the port of the settings.
    Listener high{"127.0.0.200"};
    Listener low{"127.0.0.3", high.port()};
    Listener mid{"127.0.0.100", high.port()};
    RecordingDialogs dialogs;
};

TEST_F(SearchServerBoxTest, FullMaskFindsEveryServerAndOkTakesTheSelectedOne) {
    WhenModal<TSearchServerBox>([&](TSearchServerBox* box) {
        EXPECT_EQ(box->windowTitle(), QStringLiteral("ゼルバンｹﾞｰﾑｻｰﾊﾞｰの探索"));
        EXPECT_EQ(box->IPaddress->text(), "127.0.0.1");
        EXPECT_EQ(box->IPmask->text(), "255.255.255.0");
        EXPECT_EQ(box->MessageLabel->text(), "");
        box->FindButton->click();
        EXPECT_EQ(Listed(box), (QStringList{"127.0.0.3", "127.0.0.100", "127.0.0.200"}));
        EXPECT_EQ(box->MessageLabel->text(), QStringLiteral("ｹﾞｰﾑｻｰﾊﾞｰが、3 見つかりました。"));
        EXPECT_TRUE(box->FindButton->isEnabled());
        box->ServerListBox->setCurrentRow(1);
        box->OKButton->click();
    });
    EXPECT_EQ(RunSearchServerBox(nullptr), "127.0.0.100");
    ASSERT_EQ(sockets.tried.size(), 253u);
    EXPECT_EQ(sockets.TriedInOrder().front(), "127.0.0.2");
    EXPECT_EQ(sockets.TriedInOrder().back(), "127.0.0.254");
    EXPECT_EQ(sockets.startups, 1);
    EXPECT_EQ(sockets.cleanups, 1);
}

TEST_F(SearchServerBoxTest, AHostThatDropsConnectionsLeavesTheListInOrder) {
    // Its test runs out of time while the tests of the hosts after it
    // finish; the list still comes out in ascending order.
    test::FullListener dropping("127.0.0.2", high.port());
    if (!dropping.Valid()) GTEST_SKIP() << "the kernel does not drop connections to a full queue here";
    WhenModal<TSearchServerBox>([&](TSearchServerBox* box) {
        box->FindButton->click();
        EXPECT_EQ(Listed(box), (QStringList{"127.0.0.3", "127.0.0.100", "127.0.0.200"}));
        EXPECT_EQ(box->MessageLabel->text(), QStringLiteral("ｹﾞｰﾑｻｰﾊﾞｰが、3 見つかりました。"));
        box->OKButton->click();
    });
    EXPECT_EQ(RunSearchServerBox(nullptr), "127.0.0.3");
}

TEST_F(SearchServerBoxTest, OtherMaskStopsAt127AndOkTakesTheFirstEntry) {
    sockets.local.mask = "255.255.0.0";
    WhenModal<TSearchServerBox>([&](TSearchServerBox* box) {
        box->FindButton->click();
        EXPECT_EQ(Listed(box), (QStringList{"127.0.0.3", "127.0.0.100"}));
        EXPECT_EQ(box->MessageLabel->text(), QStringLiteral("ｹﾞｰﾑｻｰﾊﾞｰが、2 見つかりました。"));
        box->ServerListBox->clearSelection();
        box->OKButton->click();
    });
    EXPECT_EQ(RunSearchServerBox(nullptr), "127.0.0.3");
    EXPECT_EQ(sockets.TriedInOrder().back(), "127.0.0.127");
}

TEST_F(SearchServerBoxTest, SearchingTwiceEmptiesTheListFirst) {
    WhenModal<TSearchServerBox>([&](TSearchServerBox* box) {
        box->FindButton->click();
        box->FindButton->click();
        EXPECT_EQ(box->ServerListBox->count(), 3);
        box->CancelButton->click();
    });
    EXPECT_EQ(RunSearchServerBox(nullptr), "");
    EXPECT_EQ(sockets.tried.size(), 2 * 253u);
}

TEST_F(SearchServerBoxTest, NothingFoundAndOkGivesAnEmptyServer) {
    Settings().port = "1";  // nothing listens on it on these hosts
    sockets.local.mask = "255.255.255.128";
    WhenModal<TSearchServerBox>([&](TSearchServerBox* box) {
        box->FindButton->click();
        EXPECT_EQ(box->ServerListBox->count(), 0);
        EXPECT_EQ(box->MessageLabel->text(), QStringLiteral("ｹﾞｰﾑｻｰﾊﾞｰは見つかりませんでした。"));
        box->OKButton->click();
    });
    EXPECT_EQ(RunSearchServerBox(nullptr), "");
}

TEST_F(SearchServerBoxTest, CancelKeepsTheChoiceEmpty) {
    WhenModal<TSearchServerBox>([&](TSearchServerBox* box) {
        box->FindButton->click();
        box->ServerListBox->setCurrentRow(0);
        box->CancelButton->click();
    });
    EXPECT_EQ(RunSearchServerBox(nullptr), "");
}

TEST_F(SearchServerBoxTest, CloseStopsARunningScanAndTheAddressIsShown) {
    QStringList shown;
    WhenModal<TSearchServerBox>([&](TSearchServerBox* box) {
        // Watches the window during the scan, as a user would, and closes it
        // once the scan has reached host 50.
        auto* watcher = new QTimer(box);
        QObject::connect(watcher, &QTimer::timeout, box, [&, box] {
            QString text = box->MessageLabel->text();
            if (!text.isEmpty() && (shown.isEmpty() || shown.back() != text)) shown << text;
            if (box->Scanning() && text == "127.0.0.50") box->CancelButton->click();
        });
        watcher->start(0);
        // Addresses come from the network side: never read as markup.
        EXPECT_EQ(box->MessageLabel->textFormat(), Qt::PlainText);
        box->FindButton->click();
        watcher->stop();
    });
    EXPECT_EQ(RunSearchServerBox(nullptr), "");
    // Hosts 2 to 50 were started; the tests under way were finished.
    ASSERT_EQ(sockets.tried.size(), 49u);
    EXPECT_EQ(sockets.TriedInOrder().back(), "127.0.0.50");
    EXPECT_TRUE(shown.contains("127.0.0.10"));
}

TEST_F(SearchServerBoxTest, UnknownIdentityIsShown) {
    sockets.local = {};
    WhenModal<TSearchServerBox>([&](TSearchServerBox* box) {
        EXPECT_EQ(box->IPaddress->text(), "unknown");
        EXPECT_EQ(box->IPmask->text(), "unknown");
        box->close();
    });
    EXPECT_EQ(RunSearchServerBox(nullptr), "");
    EXPECT_TRUE(sockets.tried.empty());
}

}  // namespace
}  // namespace zv
