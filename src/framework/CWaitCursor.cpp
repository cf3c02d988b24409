#include "framework/CWaitCursor.h"

#include "framework/CWinApp.h"

namespace sekreta {

CWaitCursor::CWaitCursor()
{
    AfxGetApp()->BeginWaitCursor();
}

CWaitCursor::~CWaitCursor()
{
    AfxGetApp()->EndWaitCursor();
}

}  // namespace sekreta
