#pragma once

namespace sekreta::platform::qt {

// The desktop's warning sound for input a control refuses. Every refusal rings through here,
// so that tests, which hear nothing on their display, can count the rings.
class DesktopBeep {
public:
    static void Ring();
    // How often Ring was called since the program started.
    static int Count();
};

}  // namespace sekreta::platform::qt
