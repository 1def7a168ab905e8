#include "net/gui/search_server_box.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/launcher_settings.h"
#include "gui_common/message_boxes.h"
#include "gui_common/qt_text.h"
#include "net/gui/net_dialogs.h"
#include "net/server_search.h"
#include "net/socket_helpers.h"

namespace zv {

TSearchServerBox::TSearchServerBox(QWidget* owner) : QDialog(owner) {
    setObjectName("TSearchServerBox");
    setWindowTitle(QStringLiteral("ゼルバンｹﾞｰﾑｻｰﾊﾞｰの探索"));

    auto* panel = new QFrame;
    panel->setObjectName("Panel1");
    panel->setFrameShape(QFrame::StyledPanel);
    IPaddress = new QLabel;
    IPaddress->setObjectName("IPaddress");
    IPmask = new QLabel;
    IPmask->setObjectName("IPmask");
    auto* panelGrid = new QGridLayout(panel);
    panelGrid->addWidget(new QLabel(QStringLiteral("ＩＰアドレス")), 0, 0);
    panelGrid->addWidget(IPaddress, 0, 1);
    panelGrid->addWidget(new QLabel(QStringLiteral("ネットマスク")), 1, 0);
    panelGrid->addWidget(IPmask, 1, 1);
    panelGrid->setColumnStretch(1, 1);

    ServerListBox = new QListWidget;
    ServerListBox->setObjectName("ServerListBox");
    ServerListBox->setMinimumHeight(140);
    MessageLabel = new QLabel;
    MessageLabel->setObjectName("MessageLabel");
    MessageLabel->setTextFormat(Qt::PlainText);
    MessageLabel->setMinimumWidth(280);

    FindButton = new QPushButton(QStringLiteral("検索"));
    FindButton->setObjectName("FindButton");
    OKButton = new QPushButton(QStringLiteral("OK"));
    OKButton->setObjectName("OKButton");
    CancelButton = new QPushButton(QStringLiteral("閉じる"));
    CancelButton->setObjectName("CancelButton");
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(FindButton);
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);

    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(panel);
    listColumn->addWidget(new QLabel(QStringLiteral("見つかったｹﾞｰﾑｻｰﾊﾞｰ")));
    listColumn->addWidget(ServerListBox);
    listColumn->addWidget(MessageLabel);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(listColumn, 1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(FindButton, &QPushButton::clicked, this, &TSearchServerBox::FindButtonClick);
    connect(OKButton, &QPushButton::clicked, this, &TSearchServerBox::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TSearchServerBox::CancelButtonClick);
}

void TSearchServerBox::FindButtonClick() {
    if (scanning_) return;
    scanning_ = true;
    stop_ = false;
    FindButton->setEnabled(false);
    ServerListBox->clear();

    auto progress = [this](const std::string& address) {
        // Let the window draw and take clicks before each attempt starts, so
        // the address being tried is seen and the scan can be stopped.
        QApplication::processEvents();
        if (stop_) return false;
        MessageLabel->setText(Q(address));
        MessageLabel->repaint();
        return true;
    };
    auto found = [this](const std::string& address) { ServerListBox->addItem(Q(address)); };
    ScanForServers(S(IPaddress->text()), S(IPmask->text()), Settings().port, progress, found);

    scanning_ = false;
    FindButton->setEnabled(true);
    if (!stop_) MessageLabel->setText(Q(SearchResultMessage(ServerListBox->count())));
}

void TSearchServerBox::OKButtonClick() {
    QListWidgetItem* item = ServerListBox->currentItem();
    if (item != nullptr && item->isSelected()) {
        chosen_ = S(item->text());
    } else if (ServerListBox->count() > 0) {
        chosen_ = S(ServerListBox->item(0)->text());
    }
    accept();
}

void TSearchServerBox::CancelButtonClick() { reject(); }

void TSearchServerBox::done(int result) {
    stop_ = true;
    QDialog::done(result);
}

std::string RunSearchServerBox(QWidget* owner) {
    std::string chosen;
    {
        TSearchServerBox box(owner);
        PlaceDialog(owner, &box);
        SearchIdentity identity = LocalSearchIdentity();
        box.IPaddress->setText(Q(identity.address));
        box.IPmask->setText(Q(identity.mask));
        box.MessageLabel->clear();
        WidgetDialogs dialogs(&box);
        SocketStartup(dialogs);
        box.exec();
        chosen = box.ChosenServer();
    }
    SocketCleanup();
    return chosen;
}

}  // namespace zv
