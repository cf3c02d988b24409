#include "framework/CWaitCursor.h"

#include "framework/CWinApp.h"

namespace sekreta {

CWaitCursor::CWaitCursor()
{
    AfxGetApp()->GetPlatform().windows.SetWaitCursor(true);
}

CWaitCursor::~CWaitCursor()
{
    AfxGetApp()->GetPlatform().windows.SetWaitCursor(false);
}

}  // namespace sekreta
