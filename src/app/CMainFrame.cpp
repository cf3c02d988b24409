#include "app/CMainFrame.h"

#include "framework/CView.h"
#include "framework/CWinApp.h"
#include "framework/FrameworkIds.h"
#include "framework/StringTable.h"
#include "platform/RegistryBatch.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <array>

namespace sekreta {

namespace {

constexpr std::string_view kPlacementSection = "Frame";
constexpr std::string_view kBarProfile = "General";

// Farther than any screen reaches, yet far enough from the ends of int that the sums and
// differences of such values stay numbers. A damaged or foreign settings file may hold edges
// at the ends of their range; positions and sizes beyond this are brought back to it.
constexpr long long kFarthest = 1 << 24;

int Bounded(long long value)
{
    return static_cast<int>(std::clamp(value, -kFarthest, kFarthest));
}

}  // namespace

const CRuntimeClass CMainFrame::classCMainFrame {"CMainFrame", &CreateObjectOf<CMainFrame>, &CFrameWnd::classCFrameWnd};

const CRuntimeClass* CMainFrame::GetRuntimeClass() const
{
    return &classCMainFrame;
}

const CommandMap& CMainFrame::ClassCommandMap()
{
    static const CommandMap map {&CFrameWnd::ClassCommandMap(),
        {
            MapCommand(ID_HELP_FINDER, &CMainFrame::OnHelpFinder),
            MapCommand(ID_HELP_CONTENTS, &CMainFrame::OnHelpFinder),
        }};
    return map;
}

const CommandMap& CMainFrame::GetCommandMap() const
{
    return ClassCommandMap();
}

bool CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    CWinApp& app = *AfxGetApp();
    // Read in this order; the first missing entry leaves the platform's own placement.
    std::array<int, 5> saved {};
    constexpr std::array<std::string_view, 5> kEntries {"Status", "Top", "Left", "Bottom", "Right"};
    for (std::size_t i = 0; i < kEntries.size(); ++i) {
        saved[i] = app.GetProfileInt(kPlacementSection, kEntries[i], -1);
        if (saved[i] == -1)
            return CFrameWnd::PreCreateWindow(cs);
    }
    const auto [status, top, left, bottom, right] = saved;
    app.m_nCmdShow = status;

    // Only the far edges are guarded: at least an icon's square stays inside the screen's right
    // and bottom edges. A negative position is kept as it is, and so is the size, each as far
    // as kFarthest.
    const platform::Rect workArea = Window().WorkArea();
    const platform::Size screen = Window().ScreenSize();
    const platform::Size icon = Window().IconSize();
    const int x = Bounded(std::min<long long>(static_cast<long long>(left) + workArea.left, screen.width - icon.width));
    const int y = Bounded(std::min<long long>(static_cast<long long>(top) + workArea.top, screen.height - icon.height));
    const int width = Bounded(static_cast<long long>(right) - left);
    const int height = Bounded(static_cast<long long>(bottom) - top);
    cs.windowRect = platform::Rect {x, y, x + width, y + height};
    return CFrameWnd::PreCreateWindow(cs);
}

bool CMainFrame::OnCreate()
{
    if (!CFrameWnd::OnCreate())
        return false;
    if (!AfxGetApp()->GetResources().FindToolBar(IDR_MAINFRAME))
        return false;
    LoadBarState(kBarProfile);
    return true;
}

void CMainFrame::OnClose()
{
    CWinApp& app = *AfxGetApp();
    {
        // One write of the settings file for the layout and the placement, done before the
        // save prompt, so that a Cancel there keeps them.
        const platform::RegistryBatch batch(app.GetPlatform().userSettings);
        SaveBarState(kBarProfile);
        const platform::WindowPlacement placement = Window().GetPlacement();
        app.WriteProfileInt(kPlacementSection, "Status", placement.showState);
        app.WriteProfileInt(kPlacementSection, "Top", placement.normal.top);
        app.WriteProfileInt(kPlacementSection, "Left", placement.normal.left);
        app.WriteProfileInt(kPlacementSection, "Bottom", placement.normal.bottom);
        app.WriteProfileInt(kPlacementSection, "Right", placement.normal.right);
    }
    CFrameWnd::OnClose();
}

void CMainFrame::OnHelpFinder()
{
    AfxGetApp()->GetPlatform().shell.ShowHelp([] { AfxMessageBox(IDP_FAILED_TO_LAUNCH_HELP); });
}

}  // namespace sekreta
