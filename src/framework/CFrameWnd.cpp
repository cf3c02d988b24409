#include "framework/CFrameWnd.h"

#include "framework/CCmdUI.h"
#include "framework/CDockState.h"
#include "framework/CDocument.h"
#include "framework/CSingleDocTemplate.h"
#include "framework/CView.h"
#include "framework/CWinApp.h"
#include "framework/FrameworkIds.h"
#include "framework/StringTable.h"
#include "platform/RegistryBatch.h"

namespace sekreta {

const CRuntimeClass CFrameWnd::classCFrameWnd {"CFrameWnd", &CreateObjectOf<CFrameWnd>, &CCmdTarget::classCObject};

const CRuntimeClass* CFrameWnd::GetRuntimeClass() const
{
    return &classCFrameWnd;
}

const CommandMap& CFrameWnd::ClassCommandMap()
{
    static const CommandMap map {&CCmdTarget::ClassCommandMap(),
        {
            MapCommandRange(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, &CFrameWnd::OnBarCheck),
            MapUpdateRange(ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, &CFrameWnd::OnUpdateControlBarMenu),
        }};
    return map;
}

const CommandMap& CFrameWnd::GetCommandMap() const
{
    return ClassCommandMap();
}

CFrameWnd::~CFrameWnd()
{
    if (m_view && m_view->GetDocument())
        m_view->GetDocument()->RemoveView(m_view.get());
}

bool CFrameWnd::PreCreateWindow(CREATESTRUCT&)
{
    return true;
}

bool CFrameWnd::OnCreate()
{
    return true;
}

bool CFrameWnd::LoadFrame(unsigned resourceId, const CCreateContext& context)
{
    CWinApp& app = *AfxGetApp();
    // The placement and the bar layout are read here; reading makes each missing section.
    const platform::RegistryBatch batch(app.GetPlatform().userSettings);

    const platform::ResourceSet& resources = app.GetResources();
    platform::FrameTemplate frame {resources.FindMenu(resourceId), resources.FindAccelerators(resourceId),
        resources.FindToolBar(resourceId), ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, resources.FindIcon(resourceId)};
    m_strTitle = context.m_pNewDocTemplate ? context.m_pNewDocTemplate->GetDocString(CSingleDocTemplate::windowTitle)
                                           : std::string();
    m_window = app.GetPlatform().windows.CreateFrameWindow(frame, *this);
    if (!m_window)
        return false;
    // The window exists hidden already, so the adjustment can ask it about the screen.
    CREATESTRUCT cs;
    if (!PreCreateWindow(cs)) {
        m_window.reset();
        return false;
    }
    if (cs.windowRect) {
        // The window keeps its rectangle in work-area coordinates.
        const platform::Rect workArea = m_window->WorkArea();
        platform::Rect normal = *cs.windowRect;
        normal.left -= workArea.left;
        normal.right -= workArea.left;
        normal.top -= workArea.top;
        normal.bottom -= workArea.top;
        m_window->SetPlacement({m_window->GetPlacement().showState, normal});
    }
    m_view = CreateObjectAs<CView>(context.m_pNewViewClass);
    if (!m_view)
        return false;
    m_view->Attach(this, context.m_pCurrentDoc);
    if (context.m_pCurrentDoc)
        context.m_pCurrentDoc->AddView(m_view.get());
    return OnCreate();
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    return m_view ? m_view->GetDocument() : nullptr;
}

void CFrameWnd::OnUpdateFrameTitle()
{
    const CDocument* document = GetActiveDocument();
    m_window->SetCaption(document ? document->GetTitle() + " - " + m_strTitle : m_strTitle);
}

void CFrameWnd::InitialUpdateFrame(CDocument* document, bool makeVisible, int showCommand)
{
    if (document) {
        POSITION position = document->GetFirstViewPosition();
        while (CView* view = document->GetNextView(position))
            view->OnInitialUpdate();
    }
    OnUpdateFrameTitle();
    if (makeVisible)
        ActivateFrame(showCommand);
}

void CFrameWnd::ActivateFrame(int showCommand)
{
    if (showCommand == -1) {
        if (!m_window->IsVisible())
            m_window->Show(platform::ShowCommand::Normal);
        else if (m_window->IsMinimized())
            m_window->Show(platform::ShowCommand::Restore);
    } else {
        m_window->Show(static_cast<platform::ShowCommand>(showCommand));
    }
    if (showCommand != static_cast<int>(platform::ShowCommand::Hide))
        m_window->Activate();
}

bool CFrameWnd::OnCmdMsg(unsigned id, CommandCall call, CCmdUI* cmdUI)
{
    if (m_view && m_view->OnCmdMsg(id, call, cmdUI))
        return true;
    if (CCmdTarget::OnCmdMsg(id, call, cmdUI))
        return true;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(id, call, cmdUI);
}

void CFrameWnd::OnCommand(unsigned id, platform::CommandSource)
{
    // A command whose update handler disables it now is dropped without a word, whatever
    // menu, key or button it came from.
    CCmdUI state(id);
    state.DoUpdate(*this, false);
    if (state.IsEnabled())
        OnCmdMsg(id, CommandCall::Run, nullptr);
}

void CFrameWnd::UpdateCommandItems(platform::CommandItems& items, platform::Menu* menu)
{
    for (int index = 0; index < items.Count(); ++index) {
        const unsigned id = items.Id(index);
        if (id == 0)
            continue;
        CCmdUI cmdUI(id, items, index, menu);
        cmdUI.DoUpdate(*this, true);
        // An update handler that added or removed items says where the menu goes on.
        index = cmdUI.m_nIndex;
    }
}

void CFrameWnd::OnInitMenuPopup(platform::Menu& menu)
{
    UpdateCommandItems(menu, &menu);
}

void CFrameWnd::OnIdleUpdate(platform::CommandItems& toolBar)
{
    UpdateCommandItems(toolBar, nullptr);
}

void CFrameWnd::OnClose()
{
    CDocument* document = GetActiveDocument();
    if (document && !document->CanCloseFrame(this))
        return;
    AfxGetApp()->CloseMainWindow();
}

void CFrameWnd::OnListDoubleClick()
{
    if (m_view)
        m_view->OnDblclk();
}

void CFrameWnd::OnListContextMenu(platform::Point screenPoint)
{
    if (m_view)
        m_view->OnContextMenu(screenPoint);
}

void CFrameWnd::OnDropFiles(const std::vector<std::filesystem::path>& files)
{
    AfxGetApp()->OnDropFiles(files);
}

bool CFrameWnd::OnShellRequest(std::string_view request)
{
    return AfxGetApp()->OnShellRequest(request);
}

void CFrameWnd::OnMenuSelect(unsigned id)
{
    m_window->SetStatusText(id == 0 ? StringTable::Load(IDS_IDLE_MESSAGE) : GetMessageString(id));
}

std::string CFrameWnd::GetMessageString(unsigned id) const
{
    const std::string text = StringTable::Load(id);
    return text.substr(0, text.find('\n'));
}

std::string CFrameWnd::GetToolTipText(unsigned id)
{
    const std::string text = StringTable::Load(id);
    const std::size_t lineBreak = text.find('\n');
    return lineBreak == std::string::npos ? std::string() : text.substr(lineBreak + 1);
}

bool CFrameWnd::OnQueryEndSession()
{
    CDocument* document = GetActiveDocument();
    return !document || document->SaveModified();
}

void CFrameWnd::OnEndSession()
{
    // The user has already answered for the changes: nothing more is asked, and the window
    // keeps the placement it was last closed with.
    AfxGetApp()->CloseMainWindow();
}

void CFrameWnd::SaveBarState(std::string_view profileName) const
{
    CDockState state;
    state.GetState(*m_window, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR);
    state.SaveState(*AfxGetApp(), profileName);
}

void CFrameWnd::LoadBarState(std::string_view profileName)
{
    CDockState state;
    state.LoadState(*AfxGetApp(), profileName, m_window->ScreenSize(), m_window->IconSize());
    state.SetState(*m_window, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR);
}

bool CFrameWnd::OnBarCheck(unsigned id)
{
    m_window->ShowBar(id, !m_window->IsBarVisible(id));
    return true;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(m_window->IsBarVisible(cmdUI->m_nID) ? 1 : 0);
}

}  // namespace sekreta
