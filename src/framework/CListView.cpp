#include "framework/CListView.h"

#include "framework/CFrameWnd.h"

namespace sekreta {

const CRuntimeClass CListView::classCListView {"CListView", nullptr, &CView::classCView};

const CRuntimeClass* CListView::GetRuntimeClass() const
{
    return &classCListView;
}

platform::ListControl& CListView::GetListCtrl() const
{
    return GetParentFrame()->Window().List();
}

}  // namespace sekreta
