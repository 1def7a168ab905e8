#include "records/gui/haifu_box.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/launcher_settings.h"
#include "gui_common/message_boxes.h"
#include "gui_common/qt_text.h"
#include "records/game_records.h"
#include "start/program_start.h"

namespace zv {
namespace {

HaifuFileChooser& TestChooser() {
    static HaifuFileChooser chooser;
    return chooser;
}

std::optional<std::string> ChooseWithFileDialog(QWidget* owner, const std::string& folder) {
    QFileDialog dialog(owner, QString::fromUtf8("牌譜ﾌｧｲﾙの参照"), Q(folder));
    dialog.setObjectName(QStringLiteral("HaifuFileOpenDialog"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(QStringLiteral("fu"));
    // "All files" is every name here, with or without a dot.
    dialog.setNameFilters({QString::fromUtf8("牌譜ﾌｧｲﾙ(*.fu)"), QString::fromUtf8("すべてのﾌｧｲﾙ(*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return S(dialog.selectedFiles().front());
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption, const char* hint) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    if (hint != nullptr) button->setToolTip(QString::fromUtf8(hint));
    return button;
}

}  // namespace

void SetHaifuFileChooserForTests(HaifuFileChooser chooser) { TestChooser() = std::move(chooser); }

THaifuBox::THaifuBox(QWidget* owner, bool powerUp) : QDialog(owner) {
    setObjectName(QStringLiteral("HaifuBox"));
    setWindowTitle(QString::fromUtf8("麻雀  牌譜の分析"));

    HaifuFileName = new QLineEdit(this);
    HaifuFileName->setObjectName(QStringLiteral("HaifuFileName"));
    ReferButton = Button(this, "ReferButton", "参照", "牌譜ﾌｧｲﾙを参照します");

    auto* group = new QGroupBox(QString::fromUtf8("見つかった牌譜の一覧"), this);
    ListBox = new QListWidget(group);
    ListBox->setObjectName(QStringLiteral("ListBox"));
    ListBox->setMinimumSize(460, 200);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(ListBox);

    FindButton = Button(this, "FindButton", "牌譜の収集", "牌譜ﾌｧｲﾙを探します");
    ViewButton = Button(this, "ViewButton", "牌譜を見る", "牌譜を見ます");
    AnalizeButton = Button(this, "AnalizeButton", "牌譜を分析", "牌譜の分析結果を表示します");
    ExecButton = Button(this, "ExecButton", "ツール", "牌譜分析ツールを直接起動します");
    PlviewButton = Button(this, "PlviewButton", "再生", nullptr);
    PlviewButton->setVisible(powerUp);
    CancelButton = Button(this, "CancelButton", "閉じる", nullptr);

    connect(FindButton, &QPushButton::clicked, this, &THaifuBox::FindButtonClick);
    connect(ListBox, &QListWidget::itemClicked, this, &THaifuBox::ListBoxClick);
    connect(ReferButton, &QPushButton::clicked, this, &THaifuBox::ReferButtonClick);
    connect(ViewButton, &QPushButton::clicked, this, &THaifuBox::ViewButtonClick);
    connect(AnalizeButton, &QPushButton::clicked, this, &THaifuBox::AnalizeButtonClick);
    connect(ExecButton, &QPushButton::clicked, this, &THaifuBox::ExecButtonClick);
    connect(PlviewButton, &QPushButton::clicked, this, &THaifuBox::PlviewButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &THaifuBox::CancelButtonClick);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(HaifuFileName, 1);
    fileRow->addWidget(ReferButton);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {FindButton, ViewButton, AnalizeButton, ExecButton, PlviewButton})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(CancelButton);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QString::fromUtf8("牌譜ファイル"), this));
    left->addLayout(fileRow);
    left->addWidget(group, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
}

void THaifuBox::FindButtonClick() {
    ListBox->clear();
    const std::vector<std::string> found = CollectUserRecords();
    for (const std::string& path : found) ListBox->addItem(Q(path));
    if (!found.empty()) {
        ShowMsgBox(this, "牌譜の収集", std::to_string(found.size()) + "個の牌譜が見つかりました");
    } else {
        ShowMsgBox(this, "牌譜の収集", "牌譜は見つかりませんでした");
    }
}

void THaifuBox::ListBoxClick() {
    if (QListWidgetItem* item = ListBox->currentItem()) HaifuFileName->setText(item->text());
}

void THaifuBox::ReferButtonClick() {
    const std::string folder = Settings().UserDir;
    std::optional<std::string> chosen =
        TestChooser() ? TestChooser()(this, folder) : ChooseWithFileDialog(this, folder);
    if (chosen) HaifuFileName->setText(Q(*chosen));
}

std::string THaifuBox::ChosenRecord(const char* what) {
    if (HaifuFileName->text().isEmpty()) {
        QListWidgetItem* item = ListBox->currentItem();
        if (item != nullptr && item->isSelected()) HaifuFileName->setText(item->text());
    }
    if (HaifuFileName->text().isEmpty()) {
        ShowErrorDialog(this, what, "ﾌｧｲﾙが指定されていません", "");
        return {};
    }
    return S(HaifuFileName->text());
}

void THaifuBox::ViewButtonClick() {
    std::string record = ChosenRecord("牌譜の閲覧");
    if (record.empty()) return;
    WidgetDialogs dialogs(this);
    RunCommand(dialogs, ViewRecordCommand(record), kShowNormal);
}

void THaifuBox::AnalizeButtonClick() {
    std::string record = ChosenRecord("牌譜の分析");
    if (record.empty()) return;
    WidgetDialogs dialogs(this);
    RunCommand(dialogs, AnalyseRecordCommand(record), kShowNormal);
}

void THaifuBox::ExecButtonClick() {
    WidgetDialogs dialogs(this);
    RunCommand(dialogs, AnalyserCommand(), kShowNormal);
}

void THaifuBox::PlviewButtonClick() {
    WidgetDialogs dialogs(this);
    if (!TryCommand(dialogs, ReplayRecordCommand(S(HaifuFileName->text())), kShowNormal)) {
        ShowErrorDialog(this, "麻雀", "牌譜の再生はパワーアップ版でサポートされる予定です",
                        "過去の牌譜を再生する機能です");
    }
}

void THaifuBox::CancelButtonClick() { close(); }

void RunHaifuBox(QWidget* owner, bool powerUp) {
    THaifuBox box(owner, powerUp);
    PlaceDialog(owner, &box);
    box.exec();
}

}  // namespace zv
