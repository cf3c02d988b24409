#pragma once

namespace sekreta::platform::qt {

// Whether the program's windows are a Wayland compositor's: it neither places them where the
// program asks nor tells the program where they are or whether they are minimised.
bool OnWayland();

}  // namespace sekreta::platform::qt
