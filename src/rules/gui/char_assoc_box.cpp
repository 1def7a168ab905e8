#include "rules/gui/char_assoc_box.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/nuclear.h"
#include "gui_common/message_boxes.h"
#include "gui_common/qt_text.h"
#include "rules/gui/characters.h"

namespace zv {
namespace {

QPointer<TCharAssocBox> g_box;

void DeleteKeptBox() { delete g_box.data(); }

std::string CellText(const QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item == nullptr ? std::string() : S(item->text());
}

}  // namespace

void TCharAssocGrid::CommitEdit() {
    if (state() != QAbstractItemView::EditingState) return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

TCharAssocBox::TCharAssocBox(QWidget* owner) : QDialog(owner) {
    setObjectName("TCharAssocBox");
    setWindowTitle(QStringLiteral("麻雀  キャラクタの関連づけ"));
    setWindowFlags(kFixedDialogFlags);

    Label1 = new QLabel(QStringLiteral("キャラクタとコンピュータプレーヤプログラムを関連づけます。"
                                       "ここに関連づけがない場合は、zvauto.exeが仮定されます。"),
                        this);
    Label1->setObjectName("Label1");
    Label2 = new QLabel(
        QStringLiteral("zvauto.exe以外のコンピュータプレーヤを入手した場合はここで設定を行います。"), this);
    Label2->setObjectName("Label2");
    for (QLabel* label : {Label1, Label2}) {
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
    }

    Grid = new TCharAssocGrid(kRows, 2, this);
    Grid->setObjectName("Grid");
    Grid->setHorizontalHeaderLabels({QStringLiteral("キャラクタ"), QStringLiteral("プログラム名")});
    Grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    Grid->verticalHeader()->setDefaultSectionSize(Grid->fontMetrics().height() + 8);
    Grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                          QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < 2; ++column) Grid->setItem(row, column, new QTableWidgetItem);
    Grid->setMinimumSize(440, 300);

    CloseButton = new QPushButton(QStringLiteral("閉じる"), this);
    CloseButton->setObjectName("CloseButton");
    CloseButton->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(Grid, 1);
    layout->addLayout(buttons);
    setMinimumWidth(540);

    connect(CloseButton, &QPushButton::clicked, this, &TCharAssocBox::CloseButtonClick);
}

void TCharAssocBox::SetPairs(const CharAssocPairs& pairs) {
    for (int row = 0; row < kRows; ++row) {
        bool filled = row < static_cast<int>(pairs.size());
        Grid->item(row, 0)->setText(filled ? Q(pairs[row].first) : QString());
        Grid->item(row, 1)->setText(filled ? Q(pairs[row].second) : QString());
    }
}

CharAssocPairs TCharAssocBox::Rows() const {
    CharAssocPairs rows;
    for (int row = 0; row < kRows; ++row) rows.emplace_back(CellText(Grid, row, 0), CellText(Grid, row, 1));
    return rows;
}

void TCharAssocBox::CloseButtonClick() { accept(); }

void TCharAssocBox::done(int result) {
    Grid->CommitEdit();
    QDialog::done(result);
}

TCharAssocBox* CurrentCharAssocBox() { return g_box.data(); }

void ResetCharAssocBoxForTests() {
    DeleteKeptBox();
    SetCharAssocDialogText(std::nullopt);
}

void RunCharAssocBox(QWidget* owner, const NucNode* list) {
    if (g_box.isNull()) {
        // Kept without a parent so that it outlives the window that opened
        // it; deleted while the application object still exists.
        g_box = new TCharAssocBox(nullptr);
        static bool cleanupRegistered = false;
        if (!cleanupRegistered) {
            qAddPostRoutine(DeleteKeptBox);
            cleanupRegistered = true;
        }
        CharAssocPairs pairs;
        int length = NucLength(list);
        for (int i = 0; i < length && i < TCharAssocBox::kRows; ++i) {
            std::string character;
            std::string program;
            NucEntryName(list, i, character);
            NucEntryValue(list, i, program);
            pairs.emplace_back(character, program);
        }
        g_box->SetPairs(pairs);
    }
    PlaceDialog(owner, g_box);
    g_box->exec();
    SetCharAssocDialogText(CharAssocTextFromRows(g_box->Rows()));
}

}  // namespace zv
