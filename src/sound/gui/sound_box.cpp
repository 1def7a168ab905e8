#include "sound/gui/sound_box.h"

#include <QCheckBox>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "config/launcher_settings.h"
#include "config/message_dialogs.h"
#include "gui_common/qt_text.h"
#include "platform/platform.h"
#include "sound/audio_output.h"
#include "sound/sound_settings.h"

namespace zv {
namespace {

TSoundBox::FileChooser& TestChooser() {
    static TSoundBox::FileChooser chooser;
    return chooser;
}

std::optional<QString> ChooseFile(QWidget* parent, const QString& title, const QString& folder,
                                  const QString& filter) {
    if (TestChooser()) return TestChooser()(parent, title, folder, filter);
    QString file = QFileDialog::getOpenFileName(parent, title, folder, filter);
    if (file.isEmpty()) return std::nullopt;
    return file;
}

QLabel* WrappedLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

}  // namespace

void TSoundBox::SetFileChooserForTests(FileChooser chooser) { TestChooser() = std::move(chooser); }

TSoundBox::TSoundBox(QWidget* owner, MessageDialogs& dialogs) : QDialog(owner), dialogs_(dialogs) {
    setObjectName(QStringLiteral("SoundBox"));
    setWindowTitle(QStringLiteral("麻雀  サウンド設定"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    auto* layout = new QVBoxLayout(this);
    // The notes stand on one line each; the dialog is as wide as they are.
    layout->addWidget(
        new QLabel(QStringLiteral("各イベントが発生したときに鳴らすサウンドファイルを指定します。 "
                                  "任意のサウンドファイルを指定可能です。"),
                   this));
    layout->addWidget(
        new QLabel(QStringLiteral("ファイル名をダブルクリックをするとサウンドテストが行われます。"), this));

    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->setUsesScrollButtons(false);  // all seven tabs always in sight
    for (const SoundPage& page : SoundPages()) {
        int tab = PageControl->addTab(BuildEventPage(page), Q(page.caption));
        PageControl->setTabToolTip(tab, Q(page.hint));
    }
    PageControl->addTab(BuildBgmPage(), QStringLiteral("BGM"));
    layout->addWidget(PageControl, 1);

    auto* buttons = new QHBoxLayout;
    RefFileName = new QPushButton(QStringLiteral("参照"), this);
    RefFileName->setObjectName(QStringLiteral("RefFileName"));
    RefFileName->setToolTip(QStringLiteral("ﾌｧｲﾙを参照します"));
    RefFileName->setAutoDefault(false);
    Save = new QPushButton(QStringLiteral("OK"), this);
    Save->setObjectName(QStringLiteral("Save"));
    Save->setDefault(true);
    Cancel = new QPushButton(QStringLiteral("閉じる"), this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    Cancel->setAutoDefault(false);
    buttons->addWidget(RefFileName);
    buttons->addStretch(1);
    buttons->addWidget(Save);
    buttons->addWidget(Cancel);
    layout->addLayout(buttons);

    connect(RefFileName, &QPushButton::clicked, this, &TSoundBox::RefFileNameClick);
    connect(Save, &QPushButton::clicked, this, &TSoundBox::SaveClick);
    connect(Cancel, &QPushButton::clicked, this, &TSoundBox::CancelClick);

    FormCreate();
    setFixedSize(sizeHint());
}

QWidget* TSoundBox::BuildEventPage(const SoundPage& page) {
    auto* widget = new QWidget;
    auto* grid = new QGridLayout(widget);
    int row = 0;
    for (int index : page.events) {
        const SoundEvent& event = SoundEvents()[static_cast<std::size_t>(index)];
        auto* edit = new QLineEdit(Q(event.fallback), widget);
        edit->setObjectName(Q(event.component));
        edit->setMinimumWidth(260);
        auto* label = new QLabel(Q(event.label), widget);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        ++row;
        EventEdits[static_cast<std::size_t>(index)] = edit;
        // Clicks and double-clicks are seen by the filter; changes here.
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textEdited, this, [this, edit] { current_ = edit; });
    }
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);
    return widget;
}

QWidget* TSoundBox::BuildBgmPage() {
    auto* widget = new QWidget;
    auto* layout = new QVBoxLayout(widget);
    Bgm = new QLineEdit(QStringLiteral("jan#7.mid"), widget);
    Bgm->setObjectName(QStringLiteral("Bgm"));
    BgmCheckBox = new QCheckBox(QStringLiteral("BGMを鳴らす"), widget);
    BgmCheckBox->setObjectName(QStringLiteral("BgmCheckBox"));
    BgmCheckBox->setChecked(true);
    layout->addWidget(Bgm);
    layout->addWidget(BgmCheckBox);
    layout->addWidget(WrappedLabel(QStringLiteral("BGMには、MIDIファイルを指定してください。"), widget));
    layout->addWidget(WrappedLabel(QStringLiteral("BGMを鳴らさない場合は空白にしてください。"), widget));
    layout->addWidget(WrappedLabel(QStringLiteral("次回のラウンチャの起動時に有効になります。"), widget));
    layout->addStretch(1);
    // The music has no test; only a change makes it the current edit.
    connect(Bgm, &QLineEdit::textEdited, this, [this] { current_ = Bgm; });
    return widget;
}

void TSoundBox::FormCreate() {
    SoundValues values = DefaultSoundValues();
    ReadSoundNuc(SoundNucPath(Settings()), values);  // a missing file keeps the defaults
    for (std::size_t i = 0; i < kSoundEventCount; ++i) EventEdits[i]->setText(Q(values[i]));
    Bgm->setText(Q(Settings().bgm));
    BgmCheckBox->setChecked(Settings().playbgm != 0);
}

bool TSoundBox::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit != nullptr && edit != Bgm) {
        if (event->type() == QEvent::MouseButtonPress) {
            current_ = edit;
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            current_ = edit;
            TestPlay(edit);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TSoundBox::TestPlay(QLineEdit* edit) {
    std::string name = S(edit->text());
    std::string path = SoundTestPath(name, CurrentPlatform().InstallDir());
    if (CurrentAudio().PlaySoundFile(path))
        dialogs_.ShowMsgBox("麻雀", name + "のサウンドテスト");
    else
        dialogs_.ShowErrorDialog("麻雀", name + "演奏できませんでした",
                                 "PlaySound(" + name + ")が失敗しました");
}

void TSoundBox::RefFileNameClick() {
    auto file =
        ChooseFile(this, QStringLiteral("ｻｳﾝﾄﾞﾌｧｲﾙを参照"), Q(CurrentPlatform().InstallDir() + "sound"),
                   QStringLiteral("ｻｳﾝﾄﾞﾌｧｲﾙ (*.wav *.mid);;wavﾌｧｲﾙ (*.wav);;midﾌｧｲﾙ (*.mid);;"
                                  "すべてのﾌｧｲﾙ (*)"));
    if (!file || current_ == nullptr) return;
    current_->setText(*file);
}

void TSoundBox::SaveClick() {
    SoundValues values;
    for (std::size_t i = 0; i < kSoundEventCount; ++i) values[i] = S(EventEdits[i]->text());
    if (!WriteSoundNuc(SoundNucPath(Settings()), values, dialogs_)) return;  // the dialog stays open
    accept();
    Settings().bgm = S(Bgm->text());
    Settings().playbgm = BgmCheckBox->isChecked() ? 1 : 0;
}

void TSoundBox::CancelClick() { reject(); }

}  // namespace zv
