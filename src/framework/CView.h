#pragma once

#include "framework/CCmdTarget.h"
#include "platform/Geometry.h"

namespace sekreta {

class CDocument;
class CFrameWnd;

// A view of the document in a frame's client area. Commands it does not handle go on to its
// document.
class CView : public CCmdTarget {
public:
    static const CRuntimeClass classCView;
    const CRuntimeClass* GetRuntimeClass() const override;

    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const { return m_pFrame; }

    // After every New and Open.
    virtual void OnInitialUpdate();
    // The user double-clicked in the view.
    virtual void OnDblclk();
    // The user asked for a context menu, at a point in screen coordinates.
    virtual void OnContextMenu(platform::Point screenPoint);

    bool OnCmdMsg(unsigned id, CommandCall call, CCmdUI* cmdUI) override;

    // Done by the frame that makes the view.
    void Attach(CFrameWnd* frame, CDocument* document);

private:
    CFrameWnd* m_pFrame = nullptr;
    CDocument* m_pDocument = nullptr;
};

}  // namespace sekreta
