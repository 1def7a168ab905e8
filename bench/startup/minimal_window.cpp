// The smallest Qt Widgets program that shows a window: an empty main window,
// shown, and the program ends once the events of showing it are handled,
// at once, the same way the launcher ends with ZV_EXIT_AFTER_SHOWN=1.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <cstdlib>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.show();
    QTimer::singleShot(0, &app, [] { std::_Exit(0); });
    return app.exec();
}
