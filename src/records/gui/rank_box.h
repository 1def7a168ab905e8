#pragma once
// The ranking: one line of totals per player under a header line, in a
// fixed-pitch font so that the columns line up.
#include <QDialog>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace zv {

class TRankBox : public QDialog {
    Q_OBJECT
public:
    explicit TRankBox(QWidget* owner);

    QLabel* Header;
    QListWidget* PlayerListBox;
    QPushButton* BitBtn1;
    QCheckBox* ClientCheck;  // checked: network results; clear: one-player results

    // Fills the header and the list from the results files chosen by ClientCheck.
    void FillRanking();
    void BitBtn1Click();
};

// The main window's ranking commands: creates the dialog, sets ClientCheck
// when `presetClient` (checked for `clientCheck`), fills the list when
// `loadList`, places the dialog, shows it modally and destroys it.
void RunRankBox(QWidget* owner, bool presetClient, bool clientCheck, bool loadList);

}  // namespace zv
