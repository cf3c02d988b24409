#include "platform/qt/QtWayland.h"

#include <QGuiApplication>

namespace sekreta::platform::qt {

bool OnWayland()
{
    // "wayland", or "wayland-egl" and the like when a variant of the plugin is chosen.
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace sekreta::platform::qt
