#include "records/gui/rank_box.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "support/launcher_fixture.h"
#include "support/modal.h"

namespace zv {
namespace {

class RankBoxTest : public test::LauncherFixture {
protected:
    QStringList Rows(const QListWidget* list) {
        QStringList rows;
        for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
        rows.sort();
        return rows;
    }
};

TEST_F(RankBoxTest, NetworkRankingListsPlayersWithResultsOnly) {
    dir.Write("usr/alice/zvclient.res", "result: 1 30 1\nresult: 2 5 0\nresult: 4 5 0\n");
    dir.Write("usr/bob/bob.res", "result: 1 30 1\n");
    dir.Write("usr/_default/zvclient.res", "result: 1 1 1\n");
    TRankBox box(nullptr);
    EXPECT_TRUE(box.ClientCheck->isChecked());
    EXPECT_FALSE(box.ClientCheck->isVisibleTo(&box));
    box.FillRanking();
    EXPECT_EQ(box.Header->text(),
              QString::fromUtf8("   ﾌﾟﾚｰﾔ名 ｹﾞｰﾑ数 ﾌﾟﾚｲ数  ﾎﾟｲﾝﾄ ﾁｯﾌﾟ   持ち金  1位  2位  3位  4位"));
    EXPECT_EQ(Rows(box.PlayerListBox),
              QStringList{"     alice      3      0     40    1     4500    1    1    0    1"});

    box.ClientCheck->setChecked(false);
    box.FillRanking();
    EXPECT_EQ(Rows(box.PlayerListBox),
              QStringList{"       bob      1      0     30    1     3500    1    0    0    0"});
}

TEST_F(RankBoxTest, LongNameWidensOnlyItsRow) {
    dir.Write("usr/averylongname/zvclient.res", "result: 1 1 0\n");
    dir.Write("usr/ann/zvclient.res", "result: 1 1 0\n");
    TRankBox box(nullptr);
    box.FillRanking();
    QStringList rows = Rows(box.PlayerListBox);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0], "       ann      1      0      1    0      100    1    0    0    0");
    EXPECT_EQ(rows[1], "averylongname      1      0      1    0      100    1    0    0    0");
}

TEST_F(RankBoxTest, ColumnsLineUpInTheFont) {
    // Widths counted in CP932 bytes line up when a half-width character,
    // digit or blank is one cell and a Japanese character two.
    TRankBox box(nullptr);
    for (QWidget* widget : {static_cast<QWidget*>(box.Header), static_cast<QWidget*>(box.PlayerListBox)}) {
        QFontMetrics metrics(widget->font());
        const int cell = metrics.horizontalAdvance(QLatin1Char(' '));
        EXPECT_GT(cell, 0);
        EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('0')), cell);
        EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('m')), cell);
        EXPECT_EQ(metrics.horizontalAdvance(QString::fromUtf8("ﾌ")), cell);
        EXPECT_EQ(metrics.horizontalAdvance(QString::fromUtf8("名")), 2 * cell);
    }
    EXPECT_EQ(box.windowTitle(), QString::fromUtf8("麻雀  プレーヤ情報の一覧"));
}

TEST_F(RankBoxTest, MainWindowCommandsPresetTheBoxAndLoadTheList) {
    dir.Write("usr/alice/zvclient.res", "result: 1 1 0\n");
    dir.Write("usr/alice/alice.res", "result: 2 1 0\nresult: 2 1 0\n");

    struct Seen {
        bool client = false;
        QStringList rows;
        QString header;
    };
    auto open = [&](bool clientCheck, bool loadList) {
        auto seen = std::make_shared<Seen>();
        auto shown = test::WhenShown("RankBox", [seen](QWidget* window) {
            auto* box = static_cast<TRankBox*>(window);
            seen->client = box->ClientCheck->isChecked();
            for (int i = 0; i < box->PlayerListBox->count(); ++i)
                seen->rows << box->PlayerListBox->item(i)->text();
            seen->header = box->Header->text();
            box->BitBtn1->click();
        });
        launcherDialogs.RankBox(nullptr, clientCheck, loadList);
        EXPECT_TRUE(*shown);
        return *seen;
    };

    Seen network = open(true, true);
    EXPECT_TRUE(network.client);
    ASSERT_EQ(network.rows.size(), 1);
    EXPECT_TRUE(network.rows[0].contains("alice      1"));

    Seen single = open(false, true);
    EXPECT_FALSE(single.client);
    ASSERT_EQ(single.rows.size(), 1);
    EXPECT_TRUE(single.rows[0].contains("alice      2"));

    Seen unloaded = open(false, false);  // opened as is, nothing read
    EXPECT_TRUE(unloaded.client);
    EXPECT_TRUE(unloaded.rows.isEmpty());
    EXPECT_TRUE(unloaded.header.isEmpty());
}

}  // namespace
}  // namespace zv
