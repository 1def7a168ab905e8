#pragma once
// The machine-information dialog (kept for the run), the About box and the
// credits dialog.
#include <QDialog>

class QLabel;
class QPushButton;

namespace zv {

struct MachineInfo;

class TUnameBox : public QDialog {
    Q_OBJECT
public:
    // Gathers the machine's figures now; they stay those of program start.
    explicit TUnameBox(QWidget* owner);
    void Fill(const MachineInfo& info);

    QLabel* User;
    QLabel* Comp;
    QLabel* OS;
    QLabel* OSversion;
    QLabel* InstallFolder;
    QLabel* disp;
    QLabel* Image1;
    QLabel* Image2;
    QLabel* Image3;
    QPushButton* OkButton;
};

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* owner);
    // Opens the credits; no control of the box is bound to it.
    void StaffButtonClick();

    QLabel* Label1;
    QLabel* Label6;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Image1;
    QPushButton* OkButton;
};

class TStaffBox : public QDialog {
    Q_OBJECT
public:
    explicit TStaffBox(QWidget* owner);

    QLabel* PhysMem;
    QLabel* FreeRes;
    QPushButton* OkButton;
};

// Bits per pixel of the screen the widget is on (times colour planes, which
// are always one here).
int ScreenBitsPerPixel(QWidget* widget);

// Shows the About box modally, placed beside `owner`, and destroys it.
void RunAboutBox(QWidget* owner);

}  // namespace zv
