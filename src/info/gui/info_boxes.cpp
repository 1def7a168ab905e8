#include "info/gui/info_boxes.h"

#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "gui_common/button_pictures.h"
#include "gui_common/dialog_widgets.h"
#include "gui_common/message_boxes.h"
#include "gui_common/qt_text.h"
#include "info/machine_info.h"
#include "platform/system_info.h"

namespace zv {
namespace {

QPushButton* MakeOkButton(QDialog* dialog) {
    auto* button = new QPushButton(QStringLiteral("OK"), dialog);
    button->setObjectName(QStringLiteral("OkButton"));
    button->setDefault(true);
    QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::accept);
    return button;
}

QHBoxLayout* RightAligned(QWidget* widget) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(widget);
    return row;
}

void FixSize(QDialog* dialog) {
    dialog->adjustSize();
    dialog->setFixedSize(dialog->sizeHint());
}

// The product picture: a tile in the launcher's own picture style.
QPixmap ProductPicture(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF tile(size * 0.2, size * 0.08, size * 0.6, size * 0.84);
    painter.setPen(QPen(QColor(60, 90, 60), 2));
    painter.setBrush(QColor(250, 248, 236));
    painter.drawRoundedRect(tile, size * 0.08, size * 0.08);
    painter.setPen(QColor(190, 30, 30));
    QFont font = painter.font();
    font.setPixelSize(size / 2);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(tile, Qt::AlignCenter, QStringLiteral("中"));
    return picture;
}

}  // namespace

int ScreenBitsPerPixel(QWidget* widget) {
    QScreen* screen = widget != nullptr && widget->screen() != nullptr ? widget->screen()
                                                                       : QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->depth() : 0;
}

TUnameBox::TUnameBox(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("TUnameBox"));
    setWindowTitle(QStringLiteral("麻雀  コンピュータについて"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinimizeButtonHint);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    const char* captions[] = {"ユーザ名",   "コンピュータ名", "オペレーティングシステム",
                              "バージョン", "パス",           "発色数"};
    User = PlainLabel(this, "User");
    Comp = PlainLabel(this, "Comp", QStringLiteral("unknown"));
    OS = PlainLabel(this, "OS");
    OSversion = PlainLabel(this, "OSversion");
    InstallFolder = PlainLabel(this, "InstallFolder");
    InstallFolder->setWordWrap(true);
    InstallFolder->setMinimumWidth(260);
    disp = PlainLabel(this, "disp");
    QLabel* values[] = {User, Comp, OS, OSversion, InstallFolder, disp};
    for (int row = 0; row < 6; ++row) {
        grid->addWidget(new QLabel(QString::fromUtf8(captions[row]), this), row, 0, Qt::AlignTop);
        values[row]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(values[row], row, 1, Qt::AlignTop);
    }

    auto* pictures = new QVBoxLayout;
    const char* pictureNames[] = {"Image1", "Image2", "Image3"};
    const char* buttons[] = {"RuleButton", "WakeRulebook", "UnameButton"};
    QLabel** images[] = {&Image1, &Image2, &Image3};
    for (int i = 0; i < 3; ++i) {
        *images[i] = PlainLabel(this, pictureNames[i]);
        (*images[i])->setPixmap(LauncherButtonPicture(buttons[i]).pixmap(32, 32));
        pictures->addWidget(*images[i]);
    }
    pictures->addStretch();

    auto* body = new QHBoxLayout;
    body->addLayout(pictures);
    body->addSpacing(8);
    body->addLayout(grid, 1);

    OkButton = MakeOkButton(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(RightAligned(OkButton));

    Fill(GatherMachineInfo(ScreenBitsPerPixel(owner)));
    FixSize(this);
}

void TUnameBox::Fill(const MachineInfo& info) {
    User->setText(Q(info.User));
    if (!info.Comp.empty()) Comp->setText(Q(info.Comp));
    OS->setText(Q(info.OS));
    OSversion->setText(Q(info.OSversion));
    InstallFolder->setText(Q(info.InstallFolder));
    disp->setText(Q(info.disp));
}

TAboutBox::TAboutBox(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("TAboutBox"));
    setWindowTitle(QStringLiteral("ゼルバンライトについて"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinimizeButtonHint);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);

    Image1 = PlainLabel(panel, "Image1");
    Image1->setPixmap(ProductPicture(96));
    Label1 = PlainLabel(panel, "Label1", QStringLiteral("ゼルバンライト"));
    QFont title = Label1->font();
    title.setPointSizeF(title.pointSizeF() * 1.6);
    title.setBold(true);
    Label1->setFont(title);
    Label3 = PlainLabel(panel, "Label3", QStringLiteral("+"));
    Label6 = PlainLabel(panel, "Label6", QStringLiteral("制作：ゼルバン開発チーム"));
    Label2 = PlainLabel(panel, "Label2", QStringLiteral("発行：ゼルバン・プロジェクト"));

    auto* text = new QVBoxLayout;
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(Label1);
    titleRow->addWidget(Label3);
    titleRow->addStretch();
    text->addLayout(titleRow);
    text->addSpacing(8);
    text->addWidget(Label6);
    text->addWidget(Label2);
    text->addStretch();

    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->addWidget(Image1, 0, Qt::AlignTop);
    panelLayout->addSpacing(12);
    panelLayout->addLayout(text, 1);

    OkButton = MakeOkButton(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addLayout(RightAligned(OkButton));
    FixSize(this);
}

void TAboutBox::StaffButtonClick() {
    TStaffBox staff(this);
    PlaceDialog(this, &staff);
    staff.exec();
}

TStaffBox::TStaffBox(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("TStaffBox"));
    setWindowTitle(QStringLiteral("麻雀  コントリビュータ"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint);

    auto* layout = new QVBoxLayout(this);
    auto* staff = new QGridLayout;
    const char* roles[][2] = {
        {"プログラム", "ゼルバン開発チーム"},
        {"グラフィック", "ゼルバン開発チーム"},
        {"サウンド", "ゼルバン開発チーム"},
        {"テスト", "ゼルバン・プロジェクトのみなさん"},
    };
    int row = 0;
    for (const auto& role : roles) {
        staff->addWidget(new QLabel(QString::fromUtf8(role[0]), this), row, 0);
        staff->addWidget(new QLabel(QString::fromUtf8(role[1]), this), row, 1);
        ++row;
    }
    layout->addLayout(staff);
    layout->addSpacing(8);
    layout->addWidget(new QLabel(QStringLiteral("Thanks"), this));
    layout->addWidget(new QLabel(QStringLiteral("バグレポートを送ってくださったみなさん"), this));
    layout->addWidget(new QLabel(QStringLiteral("励ましをくださったみなさん"), this));
    layout->addSpacing(8);
    auto* terms = new QLabel(QStringLiteral("このソフトウェアは自由に複製・配布できます。改変したものを配布す"
                                            "る場合は、その旨を明記してください。"),
                             this);
    terms->setWordWrap(true);
    layout->addWidget(terms);
    layout->addSpacing(8);

    auto* memory = new QGridLayout;
    memory->addWidget(new QLabel(QStringLiteral("メモリ"), this), 0, 0);
    memory->addWidget(new QLabel(QStringLiteral("利用可能リソース"), this), 0, 1);
    PhysMem = PlainLabel(this, "PhysMem");
    FreeRes = PlainLabel(this, "FreeRes");
    memory->addWidget(PhysMem, 1, 0);
    memory->addWidget(FreeRes, 1, 1);
    layout->addLayout(memory);

    if (auto status = CurrentSystemInfo().Memory()) {
        PhysMem->setText(Q(FormatPhysicalMemory(status->totalPhysicalBytes)));
        FreeRes->setText(Q(FormatMemoryLoad(status->memoryLoadPercent)));
    } else {
        PhysMem->setText(QStringLiteral("unknown"));
        FreeRes->setText(QStringLiteral("unknown"));
    }

    OkButton = MakeOkButton(this);
    layout->addLayout(RightAligned(OkButton));
    terms->setMinimumWidth(320);
    FixSize(this);
}

void RunAboutBox(QWidget* owner) {
    TAboutBox about(owner);
    PlaceDialog(owner, &about);
    about.exec();
}

}  // namespace zv
