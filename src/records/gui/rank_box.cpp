#include "records/gui/rank_box.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui_common/message_boxes.h"
#include "gui_common/qt_text.h"
#include "records/ranking.h"

namespace zv {
namespace {

// A fixed-pitch font in which a Japanese character is as wide as two
// half-width ones, so that widths counted in CP932 bytes line up.
QFont RankingFont() {
    QFont font(QStringLiteral("IPAGothic"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

}  // namespace

TRankBox::TRankBox(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("RankBox"));
    setWindowTitle(QString::fromUtf8("麻雀  プレーヤ情報の一覧"));

    Header = new QLabel(this);
    Header->setObjectName(QStringLiteral("Header"));
    Header->setFont(RankingFont());
    Header->setTextFormat(Qt::PlainText);
    // The list's frame and item margin, so that the header sits over the columns.
    Header->setContentsMargins(4, 0, 0, 0);

    PlayerListBox = new QListWidget(this);
    PlayerListBox->setObjectName(QStringLiteral("PlayerListBox"));
    PlayerListBox->setFont(RankingFont());
    PlayerListBox->setSortingEnabled(false);
    PlayerListBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    ClientCheck = new QCheckBox(QString::fromUtf8("クライアント"), this);
    ClientCheck->setObjectName(QStringLiteral("ClientCheck"));
    ClientCheck->setChecked(true);
    ClientCheck->setVisible(false);

    BitBtn1 = new QPushButton(QString::fromUtf8("閉じる"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    connect(BitBtn1, &QPushButton::clicked, this, &TRankBox::BitBtn1Click);

    // Wide enough for the header line and a few more characters.
    const QFontMetrics metrics(RankingFont());
    PlayerListBox->setMinimumSize(metrics.horizontalAdvance(QString(72, QLatin1Char('0'))) + 24,
                                  metrics.height() * 14);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Header);
    layout->addWidget(PlayerListBox, 1);
    layout->addLayout(buttons);
}

void TRankBox::FillRanking() {
    Header->setText(Q(RankingHeader()));
    PlayerListBox->clear();
    for (const std::string& row : CollectRankingRows(ClientCheck->isChecked()))
        PlayerListBox->addItem(Q(row));
}

void TRankBox::BitBtn1Click() { close(); }

void RunRankBox(QWidget* owner, bool presetClient, bool clientCheck, bool loadList) {
    TRankBox box(owner);
    if (presetClient) box.ClientCheck->setChecked(clientCheck);
    if (loadList) box.FillRanking();
    PlaceDialog(owner, &box);
    box.exec();
}

}  // namespace zv
