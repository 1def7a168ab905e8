#include "rules/gui/char_select_box.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/launcher_settings.h"
#include "gui_common/message_boxes.h"
#include "gui_common/qt_text.h"
#include "rules/gui/characters.h"

namespace zv {
namespace {

CharacterPicked& Callback() {
    static CharacterPicked callback;
    return callback;
}

// The item last reported. It belongs to a list that dies with its dialog,
// so the dialog forgets it when it is destroyed.
const QListWidgetItem* g_lastReported = nullptr;

}  // namespace

void SetCharSelectCallback(CharacterPicked callback) { Callback() = std::move(callback); }

TCharSelectBox::TCharSelectBox(QWidget* owner) : QDialog(owner) {
    setObjectName("TCharSelectBox");
    setWindowTitle(QStringLiteral("麻雀  キャラクタ選択"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    MainMenu = new QMenuBar(this);
    MainMenu->setObjectName("MainMenu");
    MainMenu->setNativeMenuBar(false);
    QMenu* view = MainMenu->addMenu(QStringLiteral("表示"));
    view->setObjectName("ViewMenu");
    NormalMenu = view->addAction(QStringLiteral("フェイス"));
    NormalMenu->setObjectName("NormalMenu");
    ListMenu = view->addAction(QStringLiteral("リスト"));
    ListMenu->setObjectName("ListMenu");

    ListView = new QListWidget(this);
    ListView->setObjectName("ListView");
    ListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView->setMinimumSize(420, 240);

    ReadFaceCheckBox = new QCheckBox(QStringLiteral("顔のグラフィックを読み込む"), this);
    ReadFaceCheckBox->setObjectName("ReadFaceCheckBox");
    ReadFaceCheckBox->setToolTip(QStringLiteral("次回有効になります"));
    ReadFaceCheckBox->setVisible(false);

    CancelButton = new QPushButton(QStringLiteral("閉じる"), this);
    CancelButton->setObjectName("CancelButton");
    CancelButton->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ReadFaceCheckBox);
    buttons->addStretch();
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(MainMenu);
    layout->addWidget(ListView, 1);
    layout->addLayout(buttons);

    FillCharacterList(this, ListView);
    ApplyCharacterListStyle(ListView, CharacterListStyle());
    ReadFaceCheckBox->setChecked(Settings().readface == 1);

    connect(NormalMenu, &QAction::triggered, this, &TCharSelectBox::NormalMenuClick);
    connect(ListMenu, &QAction::triggered, this, &TCharSelectBox::ListMenuClick);
    connect(CancelButton, &QPushButton::clicked, this, &TCharSelectBox::CancelButtonClick);
    connect(ListView, &QListWidget::itemSelectionChanged, this, &TCharSelectBox::ListViewChange);
    connect(ListView, &QListWidget::currentItemChanged, this, &TCharSelectBox::ListViewChange);
}

TCharSelectBox::~TCharSelectBox() {
    for (int i = 0; i < ListView->count(); ++i)
        if (ListView->item(i) == g_lastReported) g_lastReported = nullptr;
}

void TCharSelectBox::NormalMenuClick() {
    ApplyCharacterListStyle(ListView, CharacterListKind::LargeIcons);
    Settings().liststyle = "normal";
}

void TCharSelectBox::ListMenuClick() {
    ApplyCharacterListStyle(ListView, CharacterListKind::PlainList);
    Settings().liststyle = "list";
}

void TCharSelectBox::CancelButtonClick() {
    Settings().readface = ReadFaceCheckBox->isChecked() ? 1 : 0;
    reject();
}

void TCharSelectBox::ListViewChange() {
    const QList<QListWidgetItem*> selected = ListView->selectedItems();
    if (selected.isEmpty()) return;
    QListWidgetItem* item = selected.front();
    if (item == ListView->currentItem() && item != g_lastReported && Callback()) Callback()(S(item->text()));
    g_lastReported = item;
}

void RunCharSelectBox(QWidget* owner, CharacterPicked picked) {
    TCharSelectBox box(owner);
    PlaceBelow(owner, &box);
    SetCharSelectCallback(std::move(picked));
    box.exec();
}

}  // namespace zv
