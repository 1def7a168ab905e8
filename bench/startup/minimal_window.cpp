// The smallest Qt Widgets program that shows a window: an empty main window,
// shown, and the program ends once it has been painted for the first time,
// at once, the same way the launcher ends with ZV_EXIT_AFTER_SHOWN=1.
// With the argument "--text" the window holds one line of Japanese text, so
// that fonts are looked up and drawn: the share of start-up any window with
// text pays.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <cstdlib>
#include <cstring>

namespace {

// Ends the program after the window's first paint (posted, so that its
// children are painted too).
class ExitAfterPaint : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) QTimer::singleShot(0, [] { std::_Exit(0); });
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0)
        window.setCentralWidget(new QLabel(QStringLiteral("麻雀 ゲームを始める"), &window));
    ExitAfterPaint exitAfterPaint;
    window.installEventFilter(&exitAfterPaint);
    window.show();
    return app.exec();
}
