#include "platform/qt/DesktopBeep.h"

#include <QApplication>

namespace sekreta::platform::qt {

namespace {

// Only the user-interface thread rings.
int g_rings = 0;

}  // namespace

void DesktopBeep::Ring()
{
    ++g_rings;
    QApplication::beep();
}

int DesktopBeep::Count()
{
    return g_rings;
}

}  // namespace sekreta::platform::qt
