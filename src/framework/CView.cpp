#include "framework/CView.h"

#include "framework/CDocument.h"

namespace sekreta {

const CRuntimeClass CView::classCView {"CView", nullptr, &CCmdTarget::classCObject};

const CRuntimeClass* CView::GetRuntimeClass() const
{
    return &classCView;
}

void CView::OnInitialUpdate() { }

void CView::OnDblclk() { }

void CView::OnContextMenu(platform::Point) { }

bool CView::OnCmdMsg(unsigned id, CommandCall call, CCmdUI* cmdUI)
{
    if (CCmdTarget::OnCmdMsg(id, call, cmdUI))
        return true;
    return m_pDocument && m_pDocument->OnCmdMsg(id, call, cmdUI);
}

void CView::Attach(CFrameWnd* frame, CDocument* document)
{
    m_pFrame = frame;
    m_pDocument = document;
}

}  // namespace sekreta
