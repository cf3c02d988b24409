#include "app/CSekretaApp.h"

#include "app/CMainFrame.h"
#include "app/CSekretaDoc.h"
#include "app/CSekretaView.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/ProductInfo.h"
#include "framework/CCommandLineInfo.h"
#include "framework/CSingleDocTemplate.h"
#include "framework/FrameworkIds.h"
#include "resources/ResourceIds.h"
#include "resources/SekretaResources.h"

namespace sekreta {

namespace {

constexpr unsigned kRecentFiles = 4;

}  // namespace

CSekretaApp::CSekretaApp(
    platform::Platform platform, std::filesystem::path executable, std::vector<std::string> arguments)
    : CWinApp(platform, SekretaResources())
{
    m_pszExeName = executable.stem().string();
    m_strExecutable = std::move(executable);
    m_arguments = std::move(arguments);
}

const CommandMap& CSekretaApp::ClassCommandMap()
{
    static const CommandMap map {&CWinApp::ClassCommandMap(),
        {
            MapCommand(ID_APP_ABOUT, &CSekretaApp::OnAppAbout),
            MapCommand(ID_FILE_NEW, &CWinApp::OnFileNew),
            MapCommand(ID_FILE_OPEN, &CWinApp::OnFileOpen),
        }};
    return map;
}

const CommandMap& CSekretaApp::GetCommandMap() const
{
    return ClassCommandMap();
}

bool CSekretaApp::InitInstance()
{
    SetRegistryKey("Local AppWizard-Generated Applications");
    LoadStdProfileSettings(kRecentFiles);
    AddDocTemplate(std::make_unique<CSingleDocTemplate>(
        IDR_MAINFRAME, &CSekretaDoc::classCSekretaDoc, &CMainFrame::classCMainFrame, &CSekretaView::classCSekretaView));
    EnableShellOpen();
    RegisterShellFileTypes();

    platform::FileSystem& files = GetPlatform().files;
    CCommandLineInfo commandLine([&files](std::string_view name) { return files.Exists(std::string(name)); });
    ParseCommandLine(commandLine);
    if (!ProcessShellCommand(commandLine))
        return false;

    m_pMainWnd->Window().Show(platform::ShowCommand::Show);
    m_pMainWnd->Window().AcceptDroppedFiles(true);
    return true;
}

void CSekretaApp::OnAppAbout()
{
    CAboutDlg dialog;
    dialog.m_strVersion = kVersionLine;
    dialog.m_strContact = std::string(kMakerEmail) + "  " + std::string(kMakerWebAddress);
    dialog.DoModal();
}

}  // namespace sekreta
