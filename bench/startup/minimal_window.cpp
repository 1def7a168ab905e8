// The smallest Qt Widgets program that shows a window: an empty main window,
// shown, and the program ends once the events of showing it are handled,
// at once, the same way the launcher ends with ZV_EXIT_AFTER_SHOWN=1.
// With the argument "--text" the window holds one line of Japanese text, so
// that fonts are looked up and drawn: the share of start-up any window with
// text pays.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0)
        window.setCentralWidget(new QLabel(QStringLiteral("麻雀 ゲームを始める"), &window));
    window.show();
    QTimer::singleShot(0, &app, [] { std::_Exit(0); });
    return app.exec();
}
