// dialogshot INSTALL_DIR OUT.png WINDOW: starts the launcher's main window as
// if the program had been installed in INSTALL_DIR (user "guest"), opens one
// of its windows through the main window's own command and saves a picture
// of it, with a plain caption bar carrying the window title. Meant to run
// under QT_QPA_PLATFORM=offscreen (scripts/make-screenshots.sh).
//
// WINDOW is "main" (the main window itself), "menus-off" or "menus-on" (the
// main window with the power-up switch off or on and each of its menus
// opened below it), or the command that opens the window: play, rule,
// layout, char, record, sound, uname or about.
#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "config/file_io.h"
#include "config/launcher_settings.h"
#include "launcher/gui/launch_window.h"
#include "launcher/gui/subsystem_dialogs.h"
#include "platform/platform.h"

namespace {

// The installation folder is the one named on the command line, not the
// folder of this program.
class ShotPlatform : public zv::LinuxPlatform {
public:
    explicit ShotPlatform(std::string dir) : dir_(std::move(dir)) {
        if (!dir_.empty() && dir_.back() != '/') dir_ += '/';
    }
    std::string InstallDir() const override { return dir_; }

private:
    std::string dir_;
};

// The picture of a window below a caption bar with its title.
QImage Framed(QWidget* window) {
    const QPixmap body = window->grab();
    QFont font = window->font();
    font.setBold(true);
    const int bar = QFontMetrics(font).height() + 10;
    QImage image(body.width() + 2, body.height() + bar + 1, QImage::Format_RGB32);
    image.fill(QColor(0x3a, 0x5f, 0x8f));
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(8, 0, image.width() - 16, bar), Qt::AlignVCenter | Qt::AlignLeft,
                     window->windowTitle());
    painter.drawPixmap(1, bar, body);
    return image;
}

// Gives the user a settings file that has seen a few starts, so that no
// start-up tip covers the window.
void PrepareUser(const std::string& installDir) {
    const std::string dir = installDir + "usr/guest/";
    const std::string file = dir + "launch.nuc";
    if (zv::ReadTextFile(file).has_value()) return;
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    zv::LauncherSettings settings;
    settings.count = 7;
    zv::SaveFileAtomically(file, zv::EncodeCrLfLines(zv::LaunchNucLines(settings)));
}

// The framed main window with every visible menu of its bar opened, side
// by side below it (submenus included).
QImage WithMenus(zv::TLaunch* window) {
    std::vector<QPixmap> menus;
    std::function<void(QMenu*)> grabMenu = [&](QMenu* menu) {
        menu->popup(window->mapToGlobal(QPoint(0, window->height())));
        QApplication::processEvents();
        menus.push_back(menu->grab());
        menu->hide();
        for (QAction* action : menu->actions())
            if (action->menu() != nullptr && action->isVisible()) grabMenu(action->menu());
    };
    for (QAction* action : window->MainMenu->actions())
        if (action->isVisible() && action->menu() != nullptr) grabMenu(action->menu());
    const QImage top = Framed(window);
    int width = 0;
    int height = 0;
    for (const QPixmap& menu : menus) {
        width += menu.width() + 8;
        height = std::max(height, menu.height());
    }
    QImage image(std::max(top.width(), width), top.height() + 8 + height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.drawImage(0, 0, top);
    int x = 0;
    for (const QPixmap& menu : menus) {
        painter.drawPixmap(x, top.height() + 8, menu);
        x += menu.width() + 8;
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s INSTALL_DIR OUT.png WINDOW\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    ShotPlatform platform(argv[1]);
    zv::SetPlatform(&platform);
    PrepareUser(platform.InstallDir());
    zv::Settings().UserOverride = "guest";

    zv::SubsystemDialogs dialogs;
    zv::TLaunch window(dialogs);
    dialogs.CreateKeptWindows(&window);
    window.show();
    QApplication::processEvents();

    const QString out = QString::fromLocal8Bit(argv[2]);
    const std::string which = argv[3];
    if (which == "main") return Framed(&window).save(out) ? 0 : 1;
    if (which == "menus-off" || which == "menus-on") {
        if (window.PowerUpMenuItem->isChecked() != (which == "menus-on")) window.PowerUpMenuItem->trigger();
        QApplication::processEvents();
        return WithMenus(&window).save(out) ? 0 : 1;
    }

    const std::map<std::string, std::function<void()>> commands = {
        {"play", [&] { window.Zv1ExecClick(); }},         {"rule", [&] { window.RuleButtonClick(); }},
        {"layout", [&] { window.ZvInstallClick(); }},     {"char", [&] { window.CharButtonClick(); }},
        {"record", [&] { window.HaifuswButtonClick(); }}, {"sound", [&] { window.SoundButtonClick(); }},
        {"uname", [&] { window.UnameButtonClick(); }},    {"about", [&] { window.AboutClick(); }},
    };
    auto command = commands.find(which);
    if (command == commands.end()) {
        std::fprintf(stderr, "%s: unknown window \"%s\"\n", argv[0], argv[3]);
        return 2;
    }

    // The command shows its dialog modally; once it is on screen, take its
    // picture and close it, which returns from the command.
    bool saved = false;
    bool found = false;
    QTimer::singleShot(300, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || dialog == &window) return;
        found = true;
        saved = Framed(dialog).save(out);
        if (auto* box = qobject_cast<QDialog*>(dialog))
            box->reject();
        else
            dialog->close();
    });
    command->second();
    if (!found) {
        std::fprintf(stderr, "%s: the command \"%s\" opened no window\n", argv[0], argv[3]);
        return 1;
    }
    return saved ? 0 : 1;
}
