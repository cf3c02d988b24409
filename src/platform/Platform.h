#pragma once

#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/DocumentTypes.h"
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
    Registry& userSettings;
    DocumentTypes& documentTypes;
    RandomSource& random;
    Clock& clock;
};

}  // namespace sekreta::platform
