#include "launcher/gui/launcher_style.h"

#include "gui_common/button_pictures.h"

namespace zv {

QIcon LauncherStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                  const QWidget* widget) const {
    if (icon == SP_ToolBarHorizontalExtensionButton) return ExtensionArrowPicture(false);
    if (icon == SP_ToolBarVerticalExtensionButton) return ExtensionArrowPicture(true);
    return QProxyStyle::standardIcon(icon, option, widget);
}

}  // namespace zv
