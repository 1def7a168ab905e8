#pragma once
// The board layout windows: the layout and tile style of the one-player game
// (TZv1FormBox) and of the network game (TZv4FormBox), and the small setup
// hub for one kind of game (TZvSetupBox).
//
// All three are created once after the settings have been read and kept
// until the program ends; each showing is modal and reuses the instance, so
// the radio buttons keep their state between showings. Every close of a
// layout window writes its choice back into the settings.
#include <QDialog>
#include <QPointer>
#include <array>
#include <string>

#include "config/launcher_settings.h"

class QCheckBox;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace zv {

// What the two layout windows share: four layouts, each with a radio button
// and a picture button, the hidden real-tiles check box and "OK".
class TLayoutFormBox : public QDialog {
    Q_OBJECT
public:
    // The four layout words, in the order their buttons are examined.
    static const std::array<const char*, 4> kLayouts;

    QRadioButton* rblarge;
    QRadioButton* rbsmall;
    QRadioButton* rblarge4;
    QRadioButton* rbsmall4;
    QToolButton* large;
    QToolButton* Small;
    QToolButton* large4;
    QToolButton* small4;
    QCheckBox* realpai;
    QPushButton* CloseButton;

    // The radio buttons in the order of kLayouts.
    std::array<QRadioButton*, 4> Radios() const { return {rblarge, rbsmall, rblarge4, rbsmall4}; }
    // The picture button of a layout word; `large` for any other word.
    QToolButton* PictureButton(const std::string& layout) const;

    void FormCreate();
    void CloseButtonClick();
    void realpaiClick();

    // Every way of closing (OK, the close box, Escape) ends here.
    void done(int result) override;

protected:
    TLayoutFormBox(QWidget* owner, std::string LauncherSettings::*layout,
                   std::int32_t LauncherSettings::*realTiles, const std::array<QString, 4>& captions);

private:
    // Writes the checked layout and the real-tiles box into the settings.
    void StoreChoice();

    std::string LauncherSettings::*layout_;
    std::int32_t LauncherSettings::*realTiles_;
};

// The one-player game's layout (zv1form, real1). Only "small" and "small4"
// are offered; "large" and "large4" still work when the setting holds them.
class TZv1FormBox : public TLayoutFormBox {
    Q_OBJECT
public:
    explicit TZv1FormBox(QWidget* owner);

    // The power-up edition offers every layout and the real-looking tiles;
    // otherwise the two smaller layouts only. The window is kept for the
    // run, so this is set before each showing.
    void OfferEveryChoice(bool every);
};

// The network game's layout (zv4form, real4).
class TZv4FormBox : public TLayoutFormBox {
    Q_OBJECT
public:
    explicit TZv4FormBox(QWidget* owner);
};

// Setup hub for one kind of game: its layout, its game record switch and its
// rules.
class LayoutWindows;

class TZvSetupBox : public QDialog {
    Q_OBJECT
public:
    // `windows` gives the layout windows the hub opens; it outlives the hub.
    TZvSetupBox(QWidget* owner, LayoutWindows& windows);

    // 1 the one-player game; any other value the network game.
    int Kind = 1;

    QToolButton* ZvInstall;
    QToolButton* haifubutton;
    QToolButton* SpeedButton1;
    QPushButton* CancelButton;

    void ZvInstallClick();
    void haifubuttonClick();
    void SpeedButton1Click();
    void CancelButtonClick();

private:
    LayoutWindows& windows_;
};

// The three kept windows of a run.
class LayoutWindows {
public:
    // Creates the missing ones in the order TZv4FormBox, TZv1FormBox,
    // TZvSetupBox, owned by `mainWindow`; those that exist are kept.
    void Create(QWidget* mainWindow);

    // Each window; created on first use (owned by `owner`) if Create has not
    // run.
    TZv1FormBox* Zv1Form(QWidget* owner);
    TZv4FormBox* Zv4Form(QWidget* owner);
    TZvSetupBox* Setup(QWidget* owner);

private:
    QPointer<TZv4FormBox> zv4Form_;
    QPointer<TZv1FormBox> zv1Form_;
    QPointer<TZvSetupBox> setup_;
};

// Places a kept window beside `owner` and shows it modally.
void ShowKeptWindow(QWidget* owner, QDialog* window);

}  // namespace zv
