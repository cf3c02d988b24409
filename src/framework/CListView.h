#pragma once

#include "framework/CView.h"
#include "platform/ListControl.h"

namespace sekreta {

// A view whose window is the list control of its frame.
class CListView : public CView {
public:
    static const CRuntimeClass classCListView;
    const CRuntimeClass* GetRuntimeClass() const override;

    platform::ListControl& GetListCtrl() const;
};

}  // namespace sekreta
