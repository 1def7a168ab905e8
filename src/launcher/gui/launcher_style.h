#pragma once
// The launcher's widget style: the desktop's style, with the few pictures the
// style would otherwise load from image files drawn instead. Loading the
// first such file makes Qt load every picture-format plugin, which slowed the
// appearance of the main window (its menu bar asks for one at creation).
#include <QProxyStyle>

namespace zv {

class LauncherStyle : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

}  // namespace zv
