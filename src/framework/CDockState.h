#pragma once

#include "platform/FrameWindow.h"

#include <string>
#include <string_view>
#include <vector>

namespace sekreta {

class CWinApp;

// The layout of a frame's bars as the settings keep it: a summary section "<profile>-Summary"
// and one section "<profile>-Bar<n>" per bar worth saving. The tool bar and the status bar
// are saved, and each side of the frame that holds a docked bar, with its slots: 0, then the
// bars of each row followed by 0.
class CDockState {
public:
    // Dock sides are bars of their own, with numbers of their own.
    enum DockBarId : unsigned {
        AFX_IDW_DOCKBAR_TOP = 59419,
        AFX_IDW_DOCKBAR_LEFT = 59420,
        AFX_IDW_DOCKBAR_RIGHT = 59421,
        AFX_IDW_DOCKBAR_BOTTOM = 59422,
    };

    struct BarInfo {
        unsigned barId = 0;
        bool visible = true;
        bool horizontal = true;
        bool floating = false;
        platform::Point position {-1, -1};
        int mruWidth = 32767;
        bool docking = false;
        unsigned mruDockId = 0;
        platform::Rect mruDockRect;
        unsigned mruFloatStyle = 0;
        platform::Point mruFloatPosition;
        std::vector<unsigned> slots;
        bool isDockSide = false;
    };

    // Reads the layout from a frame window with this tool bar and status bar.
    void GetState(const platform::FrameWindow& window, unsigned toolBarId, unsigned statusBarId);
    // Puts the tool bar and the status bar where the layout says.
    void SetState(platform::FrameWindow& window, unsigned toolBarId, unsigned statusBarId) const;
    void SaveState(CWinApp& app, std::string_view profileName) const;
    // Positions are scaled to the current screen and kept on it.
    void LoadState(CWinApp& app, std::string_view profileName, platform::Size screen, platform::Size icon);

    std::vector<BarInfo> m_bars;
    platform::Size m_screen;

private:
    // A dock side that holds no bar and sits where the frame put it says nothing worth keeping.
    static bool IsWorthSaving(const BarInfo& bar);
    static void SaveBar(CWinApp& app, const std::string& section, const BarInfo& bar);
    static BarInfo LoadBar(CWinApp& app, const std::string& section);
};

}  // namespace sekreta
