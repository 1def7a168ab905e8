// glimpse: the picture viewer. One optional argument names the start folder.
#include <QApplication>
#include <string>
#include <vector>

#include "viewer/gui/image_form.h"
#include "viewer/picture_rules.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(zv::viewer::kBrowserTitle));

    zv::viewer::TImageForm form;
    QObject::connect(&form, &zv::viewer::TImageForm::Closed, &app, &QApplication::quit);
    form.show();

    std::vector<std::string> args;
    const QStringList arguments = QApplication::arguments();
    for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(arguments[i].toStdString());
    form.Start(args);

    return app.exec();
}
