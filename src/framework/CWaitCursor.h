#pragma once

namespace sekreta {

// Shows the wait cursor for as long as it lives, except while a modal window waits for the user.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

}  // namespace sekreta
