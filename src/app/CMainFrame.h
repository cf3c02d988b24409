#pragma once

#include "framework/CFrameWnd.h"

namespace sekreta {

// The main window: menus, keys, the tool bar, the status bar and the list. It comes back at
// the size, place, show state and bar layout it was closed with.
class CMainFrame : public CFrameWnd {
public:
    static const CRuntimeClass classCMainFrame;
    const CRuntimeClass* GetRuntimeClass() const override;
    static const CommandMap& ClassCommandMap();

    // Writes the bar layout and the placement, then closes as every frame does.
    void OnClose() override;

    // Help > Help Topics: the user guide.
    void OnHelpFinder();

protected:
    const CommandMap& GetCommandMap() const override;
    // The saved placement, pulled back so that a corner of the window stays on the screen.
    bool PreCreateWindow(CREATESTRUCT& cs) override;
    // The tool bar from its template, the one-pane status bar, and the saved bar layout.
    bool OnCreate() override;
};

}  // namespace sekreta
