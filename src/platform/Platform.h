#pragma once

#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/RandomSource.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/WindowSystem.h"

namespace sekreta::platform {

// Every service of the system that the program uses, one interface per concern. A backend
// owns the implementations; the program reaches them only through this.
struct Platform {
    WindowSystem& windows;
    FileSystem& files;
    Clipboard& clipboard;
    Shell& shell;
    Registry& userSettings;  // HKEY_CURRENT_USER's role
    Registry& documentTypes;  // HKEY_CLASSES_ROOT's role
    RandomSource& random;
    Clock& clock;
};

}  // namespace sekreta::platform
