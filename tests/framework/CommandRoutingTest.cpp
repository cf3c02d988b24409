// How commands travel: view, document, frame, application; update handlers on menus, the tool
// bar and just before a command runs; items nobody handles grayed.
#include "framework/CCmdUI.h"
#include "framework/CDocument.h"
#include "framework/CFrameWnd.h"
#include "framework/CSingleDocTemplate.h"
#include "framework/CView.h"
#include "framework/CWinApp.h"
#include "platform/headless/HeadlessFrameWindow.h"
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

namespace sekreta {
namespace {

constexpr unsigned kViewCommand = 100;
constexpr unsigned kDocumentCommand = 101;
constexpr unsigned kFrameCommand = 102;
constexpr unsigned kAppCommand = 103;
constexpr unsigned kSharedCommand = 104;
constexpr unsigned kToggleCommand = 105;
constexpr unsigned kUnhandledCommand = 106;
constexpr unsigned kResource = 1;

std::vector<std::string> g_ran;
bool g_toggleEnabled = false;

constexpr platform::MenuItemTemplate kItems[] = {
    {kViewCommand, "View"},
    {kDocumentCommand, "Document"},
    {0, ""},
    {kFrameCommand, "Frame"},
    {kAppCommand, "App"},
    {kSharedCommand, "Shared"},
    {kToggleCommand, "Toggle"},
    {kUnhandledCommand, "Unhandled"},
};
constexpr platform::PopupTemplate kPopups[] = {{"&Menu", kItems}};
constexpr platform::MenuTemplate kMenus[] = {{kResource, kPopups}};
constexpr platform::Accelerator kKeys[]
    = {{platform::Key::T, platform::Control, kToggleCommand}, {platform::Key::U, platform::Control, kUnhandledCommand}};
constexpr platform::AcceleratorTable kAccelerators[] = {{kResource, kKeys}};
constexpr platform::ToolBarButton kButtons[]
    = {{kToggleCommand, {}}, {0, {}}, {kUnhandledCommand, {}}, {kAppCommand, {}}};
constexpr platform::ToolBarTemplate kToolBars[] = {{kResource, 16, 15, 23, 22, kButtons}};
constexpr platform::StringResource kStrings[] = {{kResource, "Routing\n\nRouting\n\n\n\n"}};
const platform::ResourceSet kResources {kMenus, kAccelerators, kToolBars, {}, kStrings, {}};

class RoutingView : public CView {
public:
    static const CRuntimeClass classRoutingView;
    const CRuntimeClass* GetRuntimeClass() const override { return &classRoutingView; }
    void OnViewCommand() { g_ran.push_back("view"); }
    void OnShared() { g_ran.push_back("view shared"); }

protected:
    const CommandMap& GetCommandMap() const override
    {
        static const CommandMap map {&CView::ClassCommandMap(),
            {MapCommand(kViewCommand, &RoutingView::OnViewCommand),
                MapCommand(kSharedCommand, &RoutingView::OnShared)}};
        return map;
    }
};
const CRuntimeClass RoutingView::classRoutingView {"RoutingView", &CreateObjectOf<RoutingView>, &CView::classCView};

class RoutingDocument : public CDocument {
public:
    static const CRuntimeClass classRoutingDocument;
    const CRuntimeClass* GetRuntimeClass() const override { return &classRoutingDocument; }
    void OnDocumentCommand() { g_ran.push_back("document"); }
    void OnShared() { g_ran.push_back("document shared"); }
    void OnToggle() { g_ran.push_back("toggle"); }
    void OnUpdateToggle(CCmdUI* cmdUI)
    {
        cmdUI->Enable(g_toggleEnabled);
        cmdUI->SetCheck(g_toggleEnabled ? 1 : 0);
        cmdUI->SetText(g_toggleEnabled ? "Toggle (on)" : "Toggle (off)");
    }

protected:
    const CommandMap& GetCommandMap() const override
    {
        static const CommandMap map {&CDocument::ClassCommandMap(),
            {MapCommand(kDocumentCommand, &RoutingDocument::OnDocumentCommand),
                MapCommand(kSharedCommand, &RoutingDocument::OnShared),
                MapCommand(kToggleCommand, &RoutingDocument::OnToggle),
                MapUpdate(kToggleCommand, &RoutingDocument::OnUpdateToggle)}};
        return map;
    }
};
const CRuntimeClass RoutingDocument::classRoutingDocument {
    "RoutingDocument", &CreateObjectOf<RoutingDocument>, &CDocument::classCDocument};

class RoutingFrame : public CFrameWnd {
public:
    static const CRuntimeClass classRoutingFrame;
    const CRuntimeClass* GetRuntimeClass() const override { return &classRoutingFrame; }
    void OnFrameCommand() { g_ran.push_back("frame"); }

protected:
    const CommandMap& GetCommandMap() const override
    {
        static const CommandMap map {
            &CCmdTarget::ClassCommandMap(), {MapCommand(kFrameCommand, &RoutingFrame::OnFrameCommand)}};
        return map;
    }
};
const CRuntimeClass RoutingFrame::classRoutingFrame {
    "RoutingFrame", &CreateObjectOf<RoutingFrame>, &CFrameWnd::classCFrameWnd};

class RoutingApp : public CWinApp {
public:
    explicit RoutingApp(platform::Platform platform)
        : CWinApp(platform, kResources)
    {
        AddDocTemplate(std::make_unique<CSingleDocTemplate>(kResource, &RoutingDocument::classRoutingDocument,
            &RoutingFrame::classRoutingFrame, &RoutingView::classRoutingView));
    }
    void OnAppCommand() { g_ran.push_back("app"); }

protected:
    const CommandMap& GetCommandMap() const override
    {
        static const CommandMap map {&CWinApp::ClassCommandMap(), {MapCommand(kAppCommand, &RoutingApp::OnAppCommand)}};
        return map;
    }
};

class CommandRouting : public testing::Test {
protected:
    CommandRouting()
    {
        g_ran.clear();
        g_toggleEnabled = false;
        m_app.OnFileNew();
    }
    ~CommandRouting() override { m_platform.windows.VerifyAllScriptsUsed(); }

    platform::HeadlessFrameWindow& Frame() { return *m_platform.windows.Frames().front(); }

    platform::HeadlessPlatform m_platform {[](const std::string& problem) { ADD_FAILURE() << problem; }};
    RoutingApp m_app {m_platform.Get()};
};

TEST_F(CommandRouting, EachCommandReachesTheFirstTargetThatHandlesIt)
{
    for (const unsigned id : {kViewCommand, kDocumentCommand, kFrameCommand, kAppCommand, kSharedCommand})
        EXPECT_TRUE(Frame().ChooseMenuItem(id));
    EXPECT_EQ(g_ran, (std::vector<std::string> {"view", "document", "frame", "app", "view shared"}));
    EXPECT_EQ(Frame().Caption(), "Untitled - Routing");
}

TEST_F(CommandRouting, AnOpeningMenuShowsEachCommandsStateAndGraysWhatNobodyHandles)
{
    using Item = platform::HeadlessFrameWindow::ItemState;
    EXPECT_EQ(Frame().OpenMenu("&Menu"),
        (std::vector<Item> {
            {kViewCommand, "View", true, false},
            {kDocumentCommand, "Document", true, false},
            {0, "", true, false},
            {kFrameCommand, "Frame", true, false},
            {kAppCommand, "App", true, false},
            {kSharedCommand, "Shared", true, false},
            {kToggleCommand, "Toggle (off)", false, false},
            {kUnhandledCommand, "Unhandled", false, false},
        }));
    g_toggleEnabled = true;
    EXPECT_EQ(Frame().OpenMenu("&Menu")[6], (Item {kToggleCommand, "Toggle (on)", true, true}));
}

TEST_F(CommandRouting, ADisabledCommandIsDroppedWhateverSentIt)
{
    EXPECT_FALSE(Frame().ChooseMenuItem(kToggleCommand));
    EXPECT_TRUE(Frame().PressKey(platform::Key::T, platform::Control)) << "the key sends its command";
    EXPECT_FALSE(Frame().ClickToolBarButton(kToggleCommand));
    EXPECT_TRUE(g_ran.empty()) << "but the disabled command does not run";

    g_toggleEnabled = true;
    EXPECT_TRUE(Frame().PressKey(platform::Key::T, platform::Control));
    EXPECT_TRUE(Frame().ClickToolBarButton(kToggleCommand));
    EXPECT_EQ(g_ran, (std::vector<std::string> {"toggle", "toggle"}));
}

TEST_F(CommandRouting, IdleUpdatesTheToolBar)
{
    using Item = platform::HeadlessFrameWindow::ItemState;
    Frame().Idle();
    EXPECT_EQ(Frame().ToolBarButtons(),
        (std::vector<Item> {{kToggleCommand, "Toggle (off)", false, false}, {kUnhandledCommand, "", false, false},
            {kAppCommand, "", true, false}}));
    EXPECT_TRUE(Frame().PressKey(platform::Key::U, platform::Control));
    EXPECT_TRUE(g_ran.empty());
}

TEST(RuntimeClass, MakesObjectsAndKnowsItsBases)
{
    EXPECT_STREQ(RoutingFrame::classRoutingFrame.m_lpszClassName, "RoutingFrame");
    EXPECT_TRUE(RoutingFrame::classRoutingFrame.IsDerivedFrom(&CFrameWnd::classCFrameWnd));
    EXPECT_TRUE(RoutingFrame::classRoutingFrame.IsDerivedFrom(&CObject::classCObject));
    EXPECT_FALSE(RoutingFrame::classRoutingFrame.IsDerivedFrom(&CView::classCView));

    const std::unique_ptr<CDocument> document = CreateObjectAs<CDocument>(&RoutingDocument::classRoutingDocument);
    ASSERT_NE(document, nullptr);
    EXPECT_TRUE(document->IsKindOf(&CDocument::classCDocument));
    EXPECT_EQ(CreateObjectAs<CView>(&RoutingDocument::classRoutingDocument), nullptr) << "a document is no view";
    EXPECT_EQ(CView::classCView.CreateObject(), nullptr) << "an abstract class makes nothing";
}

TEST(DocumentTemplate, ReportsWhenNoDocumentCanBeMade)
{
    platform::HeadlessPlatform platform {[](const std::string& problem) { ADD_FAILURE() << problem; }};
    CWinApp app(platform.Get(), kResources);
    app.AddDocTemplate(std::make_unique<CSingleDocTemplate>(
        kResource, &RoutingDocument::classRoutingDocument, &RoutingFrame::classRoutingFrame, &CView::classCView));
    platform.windows.ExpectMessageBox("Failed to create empty document.", platform::IDOK);
    app.OnFileNew();
    platform.windows.VerifyAllScriptsUsed();
    EXPECT_EQ(app.GetDocTemplate()->GetDocument(), nullptr);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_TRUE(platform.windows.Frames().empty());
}

}  // namespace
}  // namespace sekreta
