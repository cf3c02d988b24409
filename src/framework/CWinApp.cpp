#include "framework/CWinApp.h"

#include "framework/CCmdUI.h"
#include "framework/CCommandLineInfo.h"
#include "framework/CDocument.h"
#include "framework/CFrameWnd.h"
#include "framework/CRecentFileList.h"
#include "framework/CSingleDocTemplate.h"
#include "framework/FrameworkIds.h"
#include "framework/StringTable.h"
#include "platform/RegistryBatch.h"

namespace sekreta {

namespace {

CWinApp* g_app = nullptr;

constexpr unsigned kLongestRecentFileName = 30;
// What the process ends with when start-up could not give the user the document asked for.
constexpr int kFailedStartExitCode = 1;

}  // namespace

CWinApp* AfxGetApp()
{
    return g_app;
}

int AfxMessageBox(std::string_view text, platform::MessageButtons buttons, std::optional<platform::MessageIcon> icon)
{
    return g_app ? g_app->DoMessageBox(text, buttons, icon) : platform::IDCANCEL;
}

int AfxMessageBox(unsigned stringId, platform::MessageButtons buttons, std::optional<platform::MessageIcon> icon)
{
    return AfxMessageBox(StringTable::Load(stringId), buttons, icon);
}

CWinApp::ModalScope::ModalScope(CWinApp& app)
    : m_app(app)
{
    ++m_app.m_nModalDepth;
    m_app.ShowWaitCursorAsCounted();
}

CWinApp::ModalScope::~ModalScope()
{
    --m_app.m_nModalDepth;
    m_app.ShowWaitCursorAsCounted();
    m_app.PostNextRequest();
}

CWinApp::CWinApp(platform::Platform platform, const platform::ResourceSet& resources)
    : m_platform(platform)
    , m_resources(resources)
{
    g_app = this;
    StringTable::SetProgramStrings(resources.strings);
    m_pszAppName = StringTable::Load(IDS_APP_TITLE);
}

CWinApp::~CWinApp()
{
    // The frame and the document still reach the program while they go.
    m_docTemplate.reset();
    m_recentFileList.reset();
    StringTable::SetProgramStrings({});
    g_app = nullptr;
}

const CommandMap& CWinApp::ClassCommandMap()
{
    static const CommandMap map {&CCmdTarget::ClassCommandMap(),
        {
            MapCommand(ID_APP_EXIT, &CWinApp::OnAppExit),
            MapCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST, &CWinApp::OnOpenRecentFile),
            MapUpdate(ID_FILE_MRU_FILE1, &CWinApp::OnUpdateRecentFileMenu),
        }};
    return map;
}

const CommandMap& CWinApp::GetCommandMap() const
{
    return ClassCommandMap();
}

bool CWinApp::InitInstance()
{
    return true;
}

int CWinApp::ExitInstance()
{
    if (!m_bUnregisterRun) {
        const platform::RegistryBatch batch(m_platform.userSettings);
        SaveStdProfileSettings();
    }
    return m_nExitCode;
}

int CWinApp::Run()
{
    if (InitInstance())
        m_nExitCode = m_platform.windows.RunMessageLoop();
    return ExitInstance();
}

void CWinApp::AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate)
{
    m_docTemplate = std::move(docTemplate);
}

CDocument* CWinApp::OpenDocumentFile(const std::string& fileName)
{
    if (!m_docTemplate)
        return nullptr;
    return m_docTemplate->OpenDocumentFile(m_platform.files.Absolute(fileName).string());
}

std::string CWinApp::StripShellQuotes(std::string_view fileName)
{
    // A Linux file name may hold a double quote anywhere: only a leading one says it is quoted.
    if (fileName.empty() || fileName.front() != '"')
        return std::string(fileName);
    fileName.remove_prefix(1);
    if (const std::size_t quote = fileName.rfind('"'); quote != std::string_view::npos)
        fileName = fileName.substr(0, quote);
    return std::string(fileName);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& commandLine) const
{
    for (const std::string& argument : m_arguments)
        commandLine.ParseParam(argument);
    commandLine.ParseLast();
}

bool CWinApp::ProcessShellCommand(const CCommandLineInfo& commandLine)
{
    m_bUnderUserControl = commandLine.m_bUnderUserControl;
    switch (commandLine.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
    // With no shell conversation on Linux, a start that waits for one starts as a plain one.
    case CCommandLineInfo::FileDDE:
        OnFileNew();
        if (m_pMainWnd || OpenWaitingRequestsInstead())
            return true;
        m_nExitCode = kFailedStartExitCode;
        return false;
    case CCommandLineInfo::FileOpen:
        if (OpenDocumentFile(StripShellQuotes(commandLine.m_strFileName)) || OpenWaitingRequestsInstead())
            return true;
        m_nExitCode = kFailedStartExitCode;
        return false;
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo:
        // This run ends when its command is done, so a request taken meanwhile would be lost:
        // requests are refused instead, and their senders say so.
        m_bShellOpenEnabled = false;
        // Nothing prints: the file is opened and told to, and the program ends.
        m_nCmdShow = static_cast<int>(platform::ShowCommand::Hide);
        if (!OpenDocumentFile(StripShellQuotes(commandLine.m_strFileName)))
            m_nExitCode = kFailedStartExitCode;
        else if (m_pMainWnd)
            m_pMainWnd->OnCmdMsg(ID_FILE_PRINT_DIRECT, CommandCall::Run, nullptr);
        return false;
    case CCommandLineInfo::AppUnregister:
        m_bShellOpenEnabled = false;
        UnregisterShellFileTypes();
        DeleteSettingsKey();
        if (!commandLine.m_bRunEmbedded)
            AfxMessageBox(IDP_REGISTRY_REMOVED);
        m_bUnregisterRun = true;
        return false;
    }
    return false;
}

namespace {

platform::DocumentType DescribeDocumentType(const CSingleDocTemplate& docTemplate, const std::filesystem::path& program)
{
    // The executable holds the document's icon after the program's own.
    constexpr int kDocumentIconIndex = 1;
    return {docTemplate.GetDocString(CSingleDocTemplate::filterExt),
        docTemplate.GetDocString(CSingleDocTemplate::regFileTypeId),
        docTemplate.GetDocString(CSingleDocTemplate::regFileTypeName), program, kDocumentIconIndex};
}

// The extension is ours to claim or release when nothing else holds it.
bool ExtensionIsOurs(const platform::DocumentTypes& types, const platform::DocumentType& type)
{
    const std::string association = types.Association(type.extension);
    return association.empty() || association == type.typeId;
}

}  // namespace

void CWinApp::RegisterShellFileTypes()
{
    if (!m_docTemplate)
        return;
    const platform::DocumentType type = DescribeDocumentType(*m_docTemplate, m_strExecutable);
    if (type.typeId.empty() || type.extension.empty())
        return;
    // A failed registration is silent: the program works without it.
    m_platform.documentTypes.Register(type, ExtensionIsOurs(m_platform.documentTypes, type));
}

void CWinApp::UnregisterShellFileTypes()
{
    if (!m_docTemplate)
        return;
    const platform::DocumentType type = DescribeDocumentType(*m_docTemplate, m_strExecutable);
    if (type.typeId.empty() || type.extension.empty())
        return;
    m_platform.documentTypes.Unregister(type, ExtensionIsOurs(m_platform.documentTypes, type));
}

void CWinApp::AddToRecentFileList(const std::string& pathName)
{
    if (m_recentFileList)
        m_recentFileList->Add(pathName);
}

bool CWinApp::DoPromptFileName(
    std::string& fileName, unsigned titleId, bool openFile, const CSingleDocTemplate* docTemplate)
{
    platform::FileDialogRequest request;
    request.kind = openFile ? platform::FileDialogRequest::Kind::Open : platform::FileDialogRequest::Kind::Save;
    request.title = StringTable::Load(titleId);
    request.hideReadOnly = true;
    if (openFile) {
        request.fileMustExist = true;
        request.pathMustExist = true;
    } else {
        request.pathMustExist = true;
        request.confirmOverwrite = true;
    }
    if (docTemplate) {
        const std::string extension = docTemplate->GetDocString(CSingleDocTemplate::filterExt);
        const std::string filterName = docTemplate->GetDocString(CSingleDocTemplate::filterName);
        if (!extension.empty() && !filterName.empty()) {
            request.filters.push_back({filterName, "*" + extension});
            request.defaultExtension = extension.substr(extension.front() == '.' ? 1 : 0);
        }
    }
    request.filters.push_back({StringTable::Load(IDS_ALL_FILTER), "*.*"});
    request.initialName = fileName;
    request.initialFolder = m_lastFileFolder;

    std::optional<std::filesystem::path> chosen;
    {
        const ModalScope modal(*this);
        chosen = m_platform.windows.ChooseFile(request);
    }
    if (!chosen)
        return false;
    fileName = chosen->string();
    // Also when the open or save then fails: the user goes on from where they were.
    SetLastFileFolder(m_platform.files.Absolute(fileName).parent_path());
    return true;
}

void CWinApp::CloseMainWindow()
{
    if (m_pMainWnd)
        m_pMainWnd->Window().Show(platform::ShowCommand::Hide);
    if (m_docTemplate)
        m_docTemplate->CloseDocument();
    m_platform.windows.Quit(0);
}

void CWinApp::DeleteSettingsKey()
{
    const platform::RegistryBatch batch(m_platform.userSettings);
    const std::string registryKey = "Software\\" + m_pszRegistryKey;
    m_platform.userSettings.DeleteKey(registryKey + "\\" + m_pszProfileName);
    if (m_platform.userSettings.SubkeyNames(registryKey).empty())
        m_platform.userSettings.DeleteKey(registryKey);
}

void CWinApp::SetRegistryKey(std::string registryKey)
{
    m_pszRegistryKey = std::move(registryKey);
    m_pszProfileName = m_pszAppName;
}

std::string CWinApp::SectionPath(std::string_view section) const
{
    std::string path = "software\\" + m_pszRegistryKey + "\\" + m_pszProfileName;
    if (!section.empty()) {
        path += '\\';
        path += section;
    }
    return path;
}

int CWinApp::GetProfileInt(std::string_view section, std::string_view entry, int defaultValue)
{
    const std::string path = SectionPath(section);
    if (!m_platform.userSettings.CreateKey(path))
        return defaultValue;
    const std::optional<platform::RegistryValue> value = m_platform.userSettings.QueryValue(path, entry);
    if (!value || !std::holds_alternative<std::uint32_t>(*value))
        return defaultValue;
    return static_cast<int>(std::get<std::uint32_t>(*value));
}

std::string CWinApp::GetProfileString(std::string_view section, std::string_view entry, std::string_view defaultValue)
{
    const std::string path = SectionPath(section);
    if (!m_platform.userSettings.CreateKey(path))
        return std::string(defaultValue);
    const std::optional<platform::RegistryValue> value = m_platform.userSettings.QueryValue(path, entry);
    if (!value || !std::holds_alternative<std::string>(*value))
        return std::string(defaultValue);
    return std::get<std::string>(*value);
}

bool CWinApp::WriteProfileInt(std::string_view section, std::string_view entry, int value)
{
    return m_platform.userSettings.SetValue(SectionPath(section), entry, static_cast<std::uint32_t>(value));
}

bool CWinApp::WriteProfileString(
    std::string_view section, std::optional<std::string_view> entry, std::optional<std::string_view> value)
{
    const std::string path = SectionPath(section);
    if (!entry)
        return m_platform.userSettings.DeleteKey(path);
    if (!value)
        return m_platform.userSettings.DeleteValue(path, *entry);
    return m_platform.userSettings.SetValue(path, *entry, std::string(*value));
}

void CWinApp::LoadStdProfileSettings(unsigned maxRecentFiles)
{
    // Reading makes each missing section, and each making would write the file on its own.
    const platform::RegistryBatch batch(m_platform.userSettings);
    if (maxRecentFiles > 0) {
        m_recentFileList = std::make_unique<CRecentFileList>(
            *this, ID_FILE_MRU_FILE1, "Recent File List", "File%d", maxRecentFiles, kLongestRecentFileName);
        m_recentFileList->ReadList();
    }
    m_nPreviewPages = GetProfileInt("Settings", "PreviewPages", 0);
}

void CWinApp::SaveStdProfileSettings()
{
    if (m_recentFileList)
        m_recentFileList->WriteList();
    if (m_nPreviewPages != 0)
        WriteProfileInt("Settings", "PreviewPages", m_nPreviewPages);
}

int CWinApp::DoMessageBox(
    std::string_view text, platform::MessageButtons buttons, std::optional<platform::MessageIcon> icon)
{
    const ModalScope modal(*this);
    return m_platform.windows.ShowMessageBox(
        {std::string(text), m_pszAppName, buttons, icon.value_or(platform::MessageIcon::Exclamation)});
}

void CWinApp::BeginWaitCursor()
{
    ++m_nWaitCursorCount;
    ShowWaitCursorAsCounted();
}

void CWinApp::EndWaitCursor()
{
    if (m_nWaitCursorCount > 0)
        --m_nWaitCursorCount;
    ShowWaitCursorAsCounted();
}

void CWinApp::ShowWaitCursorAsCounted()
{
    // The platform hears only when the cursor changes, so its own count stays at 0 or 1.
    const bool shown = m_nWaitCursorCount > 0 && m_nModalDepth == 0;
    if (shown == m_bWaitCursorShown)
        return;
    m_bWaitCursorShown = shown;
    m_platform.windows.SetWaitCursor(shown);
}

bool CWinApp::OnShellRequest(std::string_view request)
{
    if (!m_bShellOpenEnabled)
        return false;
    std::optional<ShellRequest> parsed = ShellRequest::Parse(request);
    return parsed && Enqueue(std::move(*parsed));
}

bool CWinApp::OnDropFiles(std::vector<std::filesystem::path> files)
{
    return !files.empty() && Enqueue(DroppedFiles {std::move(files)});
}

bool CWinApp::Enqueue(WaitingRequest request)
{
    // A close always fits: it only ends what a request already asked for.
    if (m_waitingRequests.size() >= kLongestQueue && !std::holds_alternative<CloseRequest>(request))
        return false;
    m_waitingRequests.push_back(std::move(request));
    PostNextRequest();
    return true;
}

void CWinApp::PostNextRequest()
{
    // The outermost modal scope posts it when it ends.
    if (m_bNextRequestPosted || m_waitingRequests.empty() || m_nModalDepth > 0)
        return;
    m_bNextRequestPosted = true;
    // The program that posted it may be gone by the time it runs (tests start several in turn).
    m_platform.windows.Post([] {
        if (CWinApp* app = AfxGetApp())
            app->CarryOutNextRequest();
    });
}

void CWinApp::CarryOutNextRequest()
{
    m_bNextRequestPosted = false;
    // A modal window's own loop may run this: it then waits for the outermost one, whose end
    // posts it again, as does the request being carried out now when it is done. Before
    // start-up has shown the window, only its prompt's or box's loop can run this, so again
    // the end of that modal window posts it.
    if (m_nModalDepth > 0 || m_bCarryingOutRequest || !IsMainWindowShown() || m_waitingRequests.empty())
        return;
    CarryOutOldestRequest();
    PostNextRequest();
}

void CWinApp::CarryOutOldestRequest()
{
    const WaitingRequest request = std::move(m_waitingRequests.front());
    m_waitingRequests.pop_front();
    m_bCarryingOutRequest = true;
    CarryOut(request);
    m_bCarryingOutRequest = false;
}

void CWinApp::CarryOut(const WaitingRequest& request)
{
    if (const auto* shell = std::get_if<ShellRequest>(&request)) {
        if (shell->kind == ShellRequest::Kind::Open) {
            if (m_pMainWnd)
                m_pMainWnd->ActivateFrame(-1);
            OpenDocumentFile(shell->path);
            return;
        }
        // Nothing prints: the file is opened and told to; a program no user started then
        // closes, once this request is done.
        if (OpenDocumentFile(shell->path) && m_pMainWnd)
            m_pMainWnd->OnCmdMsg(ID_FILE_PRINT_DIRECT, CommandCall::Run, nullptr);
        if (!m_bUnderUserControl)
            Enqueue(CloseRequest {});
    } else if (const auto* dropped = std::get_if<DroppedFiles>(&request)) {
        if (m_pMainWnd)
            m_pMainWnd->Window().Activate();
        for (const std::filesystem::path& file : dropped->files)
            OpenDocumentFile(file.string());
    } else if (m_pMainWnd) {
        m_pMainWnd->OnClose();
    }
}

// The start-up's own open failed, and the program would end. But the requests that arrived
// during it (at its prompt or its error box) were taken, and their senders were told so: they
// are carried out in its place, in turn, each as the start-up open. The first that leaves a
// document open gives the program its window, and the rest wait their turn after start-up; only
// when none does, the program ends.
bool CWinApp::OpenWaitingRequestsInstead()
{
    while (!m_pMainWnd && !m_waitingRequests.empty())
        CarryOutOldestRequest();
    if (!m_pMainWnd)
        return false;
    PostNextRequest();
    return true;
}

bool CWinApp::IsMainWindowShown() const
{
    return m_pMainWnd && m_pMainWnd->Window().IsVisible();
}

void CWinApp::OnFileNew()
{
    if (m_docTemplate)
        m_docTemplate->OpenDocumentFile(std::nullopt);
}

void CWinApp::OnFileOpen()
{
    std::string fileName;
    if (DoPromptFileName(fileName, IDS_OPEN_TITLE, true, m_docTemplate.get()))
        OpenDocumentFile(fileName);
}

bool CWinApp::OnOpenRecentFile(unsigned id)
{
    if (!m_recentFileList)
        return false;
    const std::size_t slot = id - ID_FILE_MRU_FILE1;
    const std::string path = m_recentFileList->GetPath(slot);
    if (path.empty())
        return false;
    // By its path: a Save As on the way (asked before the open) may have moved the slots.
    if (!OpenDocumentFile(path))
        m_recentFileList->RemovePath(path);
    return true;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* cmdUI)
{
    if (m_recentFileList)
        m_recentFileList->UpdateMenu(cmdUI);
    else
        cmdUI->Enable(false);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd)
        m_pMainWnd->OnClose();
}

}  // namespace sekreta
