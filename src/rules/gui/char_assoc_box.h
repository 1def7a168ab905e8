#pragma once
// The association of characters with the computer-player programs that play
// them. One dialog per run, kept between openings; see RunCharAssocBox.
#include <QDialog>
#include <QTableWidget>

#include "config/char_assoc.h"

class QLabel;
class QPushButton;

namespace zv {

// The grid of the association dialog; it can hand an open cell editor's text
// to its cell, so that a close in mid-edit keeps what was typed.
class TCharAssocGrid : public QTableWidget {
    Q_OBJECT
public:
    using QTableWidget::QTableWidget;
    void CommitEdit();
};

class TCharAssocBox : public QDialog {
    Q_OBJECT
public:
    static constexpr int kRows = 20;

    explicit TCharAssocBox(QWidget* owner);

    // Fills the rows in list order with the first 20 pairs.
    void SetPairs(const CharAssocPairs& pairs);
    // Every row, top to bottom, as (character, program).
    CharAssocPairs Rows() const;

    QLabel* Label1;
    QLabel* Label2;
    TCharAssocGrid* Grid;
    QPushButton* CloseButton;

    void CloseButtonClick();
    void done(int result) override;
};

// The dialog kept for the run, or nullptr before its first showing.
TCharAssocBox* CurrentCharAssocBox();
// Forgets the kept dialog and the stored association text (tests).
void ResetCharAssocBoxForTests();

}  // namespace zv
