#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTextStream(stdout) << "zelvan: the main window is not built yet.\n";
    return 0;
}
