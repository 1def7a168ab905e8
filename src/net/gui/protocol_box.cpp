#include "net/gui/protocol_box.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "config/launcher_settings.h"
#include "gui_common/message_boxes.h"
#include "gui_common/qt_text.h"
#include "net/gui/net_dialogs.h"
#include "net/protocol_settings.h"
#include "platform/system_info.h"

namespace zv {
namespace {

template <typename W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* Label(const QString& text, const char* name = nullptr) {
    auto* label = new QLabel(text);
    if (name != nullptr) label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLabel* WrappedLabel(const QString& text, const char* name = nullptr) {
    QLabel* label = Label(text, name);
    label->setWordWrap(true);
    return label;
}

}  // namespace

TProtocolBox::TProtocolBox(QWidget* owner) : QDialog(owner) {
    setObjectName("TProtocolBox");
    setWindowTitle(QStringLiteral("麻雀  ネットワークの設定"));

    what = Named(new QLabel, "what");
    what->setTextFormat(Qt::PlainText);
    what->setToolTip(QStringLiteral(
        "文脈によって設定できる項目に差がありますが、設定した値は、すべてに共通して用いられます。"));
    QFont whatFont = what->font();
    whatFont.setBold(true);
    what->setFont(whatFont);

    auto* protocolGroup = new QGroupBox(QStringLiteral("使用するネットワークプロトコルを選択してください。"));
    protocolGroup->setObjectName("ProtocolGroupBox");
    tcpip = Named(new QRadioButton(QStringLiteral("TCP/IP")), "tcpip");
    ipxspx = Named(new QRadioButton(QStringLiteral("IPX/SPX")), "ipxspx");
    tcpip->setChecked(true);
    auto* protocolRow = new QHBoxLayout(protocolGroup);
    protocolRow->addWidget(tcpip);
    protocolRow->addWidget(ipxspx);
    protocolRow->addStretch();

    // TCP/IP page.
    TabSheetTCPIP = Named(new QWidget, "TabSheetTCPIP");
    QLabel* tcpIntro = WrappedLabel(
        QStringLiteral("ホスト名には、ゲームーサーバーが稼動しているコンピュータ名を指定します。"));
    tcpIntro->setToolTip(QStringLiteral("ｺﾝﾋﾟｭｰﾀ名として、IPアドレスも指定可能です。"));
    auto* tcpGroup = Named(new QGroupBox, "TcpipGroupBox");
    TcpipHostName = Named(new QComboBox, "TcpipHostName");
    TcpipHostName->setEditable(true);
    TcpipHostName->setInsertPolicy(QComboBox::NoInsert);
    TcpipHostName->setEditText(QStringLiteral("localhost"));
    TcpipHostName->setMinimumWidth(200);
    TcpipPortNumber = Named(new QLineEdit(QStringLiteral("4112")), "TcpipPortNumber");
    TcpipPortNumber->setFixedWidth(90);
    ReadHostsCheckBox = Named(new QCheckBox(QStringLiteral("hostsファイルを読む")), "ReadHostsCheckBox");
    ReadHostsCheckBox->setToolTip(QStringLiteral("ホスト名にhostsﾌｧｲﾙの内容を設定するかどうかの指定です。"));
    auto* tcpGrid = new QGridLayout(tcpGroup);
    tcpGrid->addWidget(Label(QStringLiteral("TCP/IPプロトコルの場合の設定"), "TCPIPHeader"), 0, 0, 1, 2);
    tcpGrid->addWidget(Label(QStringLiteral("ホスト名"), "tcpip1"), 1, 0);
    tcpGrid->addWidget(TcpipHostName, 1, 1);
    tcpGrid->addWidget(Label(QStringLiteral("ポート番号"), "tcpip2"), 2, 0);
    tcpGrid->addWidget(TcpipPortNumber, 2, 1, Qt::AlignLeft);
    tcpGrid->addWidget(ReadHostsCheckBox, 3, 1);
    tcpGrid->setColumnStretch(1, 1);
    auto* tcpPage = new QVBoxLayout(TabSheetTCPIP);
    tcpPage->addWidget(tcpIntro);
    tcpPage->addWidget(tcpGroup);
    tcpPage->addStretch();

    // IPX/SPX page.
    TabSheetIPXSPX = Named(new QWidget, "TabSheetIPXSPX");
    QLabel* ipxMsg = WrappedLabel(
        QStringLiteral("このﾊﾞｰｼﾞｮﾝでは、ネットワークナンバー、ソケットナンバーは固定です。"), "IPXMsg");
    QLabel* ipxNote = WrappedLabel(
        QStringLiteral("ノードナンバーには、ゲームサーバのステータスで表示される12桁の値を指定します。"));
    auto* ipxGroup = Named(new QGroupBox, "IpxspxGroupBox");
    IpxNetworknumber = Named(new QLineEdit(QStringLiteral("00000000")), "IpxNetworknumber");
    IpxNetworknumber->setToolTip(QStringLiteral("ﾈｯﾄﾜｰｸﾅﾝﾊﾞｰは変更できません"));
    NodeNumber = Named(new QLineEdit(QStringLiteral("000000000000")), "NodeNumber");
    NodeNumber->setToolTip(QStringLiteral("通常はMACｱﾄﾞﾚｽを指定します"));
    SocketNumber = Named(new QLineEdit(QStringLiteral("2FFF")), "SocketNumber");
    SocketNumber->setToolTip(QStringLiteral("ｿｹｯﾄﾅﾝﾊﾞｰは変更できません"));
    auto* ipxGrid = new QGridLayout(ipxGroup);
    ipxGrid->addWidget(Label(QStringLiteral("IPX/SPXプロトコルの場合の設定"), "IPXHeader"), 0, 0, 1, 2);
    ipxGrid->addWidget(Label(QStringLiteral("ネットワークナンバー"), "Ipx0"), 1, 0);
    ipxGrid->addWidget(IpxNetworknumber, 1, 1);
    ipxGrid->addWidget(Label(QStringLiteral("ノードナンバー"), "ipx1"), 2, 0);
    ipxGrid->addWidget(NodeNumber, 2, 1);
    ipxGrid->addWidget(Label(QStringLiteral("ソケットナンバー"), "ipx2"), 3, 0);
    ipxGrid->addWidget(SocketNumber, 3, 1);
    ipxGrid->setColumnStretch(1, 1);
    auto* ipxPage = new QVBoxLayout(TabSheetIPXSPX);
    ipxPage->addWidget(ipxMsg);
    ipxPage->addWidget(ipxNote);
    ipxPage->addWidget(ipxGroup);
    ipxPage->addStretch();

    // Kanji code page.
    TabSheetKanji = Named(new QWidget, "TabSheetKanji");
    auto* kanjiGroup = new QGroupBox(QStringLiteral("ﾈｯﾄﾜｰｸ上の漢字ｺｰﾄﾞ"));
    kanjiGroup->setObjectName("KanjiGroupBox");
    ShiftJIS = Named(new QRadioButton(QStringLiteral("MS漢字コード(シフトJIS)")), "ShiftJIS");
    EUC = Named(new QRadioButton(QStringLiteral("EUC")), "EUC");
    unicode = Named(new QRadioButton(QStringLiteral("UNICODE")), "unicode");
    EUC->setChecked(true);
    unicode->setEnabled(false);
    unicode->setVisible(false);
    auto* kanjiColumn = new QVBoxLayout(kanjiGroup);
    kanjiColumn->addWidget(ShiftJIS);
    kanjiColumn->addWidget(EUC);
    kanjiColumn->addWidget(unicode);
    auto* kanjiPage = new QVBoxLayout(TabSheetKanji);
    kanjiPage->addWidget(
        WrappedLabel(QStringLiteral("Windows以外のクライアントと対戦を行う場合は、EUCを選択してください。")));
    kanjiPage->addWidget(kanjiGroup);
    kanjiPage->addStretch();

    PageControl = Named(new QTabWidget, "PageControl");
    PageControl->addTab(TabSheetTCPIP, QStringLiteral("TCP/IP"));
    PageControl->addTab(TabSheetIPXSPX, QStringLiteral("IPX/SPX"));
    PageControl->addTab(TabSheetKanji, QStringLiteral("漢字コード"));
    PageControl->setMinimumWidth(500);

    OKButton = Named(new QPushButton(QStringLiteral("OK")), "OKButton");
    OKButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(what);
    layout->addWidget(protocolGroup);
    layout->addWidget(PageControl);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(tcpip, &QRadioButton::toggled, this, [this](bool on) {
        if (on) ApplyProtocolState();
    });
    connect(ipxspx, &QRadioButton::toggled, this, [this](bool on) {
        if (on) ApplyProtocolState();
    });
    connect(OKButton, &QPushButton::clicked, this, &TProtocolBox::OKButtonClick);

    FormCreate();
}

void TProtocolBox::FormCreate() { ReadHostsCheckBox->setChecked(Settings().readhosts == 1); }

void TProtocolBox::CheckProtocol(const std::string& protocol) {
    if (protocol == "TCP/IP") tcpip->setChecked(true);
    if (protocol == "IPX/SPX") ipxspx->setChecked(true);
}

void TProtocolBox::ApplyProtocolState() {
    bool tcp = tcpip->isChecked();
    int mode = ProtocolBoxMode();
    for (const std::string& name : ProtocolControlNames()) {
        if (auto* control = findChild<QWidget*>(Q(name)))
            control->setEnabled(ProtocolControlEnabled(name, tcp, mode));
    }
    PageControl->setCurrentWidget(tcp ? TabSheetTCPIP : TabSheetIPXSPX);
}

void TProtocolBox::OKButtonClick() {
    if (ipxspx->isChecked() && !NodeNumberLengthOk(S(NodeNumber->text()))) {
        ShowErrorDialog(this, "麻雀  ", "IPX/SPXのノードナンバーは12桁です。", "再入力してください。");
        return;
    }
    if (!FieldsAreStorable()) return;
    Settings().readhosts = ReadHostsCheckBox->isChecked() ? 1 : 0;
    accept();
}

void TProtocolBox::reject() {
    if (!FieldsAreStorable()) return;
    QDialog::reject();
}

bool TProtocolBox::FieldsAreStorable() {
    // The settings file has no escapes: a double quote would cut the value
    // short, so such a text is sent back for correction.
    bool storable = tcpip->isChecked() ? IsStorableText(S(TcpipHostName->currentText())) &&
                                             IsStorableText(S(TcpipPortNumber->text()))
                                       : IsStorableText(S(NodeNumber->text()));
    if (!storable)
        ShowErrorDialog(this, "麻雀  ", "ダブルクォーテーション(\")は使えません。", "再入力してください。");
    return storable;
}

void ReadHostsFile(QComboBox* list) {
    for (const std::string& name : ReadHostNames(HostsFilePath(CurrentOsKind()))) list->addItem(Q(name));
}

void RunProtocolBox(QWidget* owner, int mode, const std::string& title) {
    SetProtocolBoxMode(mode);
    LauncherSettings& settings = Settings();
    TProtocolBox box(owner);
    PlaceDialog(owner, &box);
    box.what->setText(Q(title));
    box.CheckProtocol(settings.protocol);
    if (box.ReadHostsCheckBox->isChecked()) ReadHostsFile(box.TcpipHostName);
    box.TcpipHostName->setEditText(Q(settings.hostname));
    box.TcpipPortNumber->setText(Q(settings.port));
    box.NodeNumber->setText(Q(settings.nodenum));
    box.SocketNumber->setText(Q(settings.socknum));
    box.ApplyProtocolState();
    switch (KanjiFromSetting(settings.kanji)) {
        case KanjiCode::ShiftJis:
            box.ShiftJIS->setChecked(true);
            break;
        case KanjiCode::Euc:
            box.EUC->setChecked(true);
            break;
        case KanjiCode::Unicode:
            box.unicode->setChecked(true);
            break;
    }
    box.exec();

    // Whatever closed the dialog (OK or the window frame), its state is kept.
    ProtocolChoice choice;
    choice.tcpip = box.tcpip->isChecked();
    choice.ipxspx = box.ipxspx->isChecked();
    choice.hostname = S(box.TcpipHostName->currentText());
    choice.port = S(box.TcpipPortNumber->text());
    choice.nodenum = S(box.NodeNumber->text());
    choice.socknum = S(box.SocketNumber->text());
    choice.kanji = box.ShiftJIS->isChecked() ? KanjiCode::ShiftJis
                   : box.EUC->isChecked()    ? KanjiCode::Euc
                                             : KanjiCode::Unicode;
    StoreProtocolChoice(settings, choice);
}

std::string ChooseProtocol(QWidget* owner, const std::string& protocol) {
    TProtocolBox box(owner);
    PlaceDialog(owner, &box);
    if (protocol == "TCP/IP") {
        box.tcpip->setChecked(true);
    } else {
        box.ipxspx->setChecked(true);
    }
    box.ApplyProtocolState();
    box.exec();
    return ProtocolOf(box.tcpip->isChecked());
}

}  // namespace zv
