#pragma once

#include "framework/CCmdTarget.h"
#include "framework/ShellRequest.h"
#include "platform/Platform.h"
#include "platform/Resources.h"

#include <cstddef>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sekreta {

class CCommandLineInfo;
class CDocument;
class CFrameWnd;
class CRecentFileList;
class CSingleDocTemplate;

// The program: its services, resources, document template, recent files and settings, and the
// commands that belong to no window (New, Open, the recent files, Exit). There is one at a time;
// AfxGetApp finds it.
//
// It also keeps the one rule on what reaches the program from outside, for every backend:
// nothing changes the document behind an open dialog. A request (or a drop) that arrives while
// any modal loop runs (dialog, message box, file dialog, prompt, context menu) waits in a
// bounded queue and is carried out, one at a time, after the outermost modal call returns, each
// as if it had just arrived. A request that finds nothing open waits too, for the message
// loop's next turn, so that it never runs inside the code that delivered it; and nothing is
// carried out before start-up has shown the main window. Each waiting request is carried out by
// a task of its own posted to the message loop, so no number of them can grow the stack.
class CWinApp : public CCmdTarget {
public:
    // Longest queue of waiting requests and drops; a request beyond it is refused.
    static constexpr std::size_t kLongestQueue = 256;

    // Every modal loop the framework runs lives inside one of these. While any is open, waiting
    // requests stay waiting and the busy cursor is off, since the program waits for the user.
    class ModalScope {
    public:
        explicit ModalScope(CWinApp& app);
        ~ModalScope();
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;

    private:
        CWinApp& m_app;
    };

    CWinApp(platform::Platform platform, const platform::ResourceSet& resources);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    static const CommandMap& ClassCommandMap();

    virtual bool InitInstance();
    virtual int ExitInstance();
    // Start-up, the message loop, shut-down; returns the exit code.
    int Run();

    platform::Platform& GetPlatform() { return m_platform; }
    const platform::ResourceSet& GetResources() const { return m_resources; }
    CSingleDocTemplate* GetDocTemplate() const { return m_docTemplate.get(); }
    CRecentFileList* GetRecentFileList() const { return m_recentFileList.get(); }

    void AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate);
    // Opens a file named by the user, the command line, a drop or a shell request, exactly as
    // named (made absolute); returns the document, or null when nothing was opened.
    virtual CDocument* OpenDocumentFile(const std::string& fileName);
    // A file name as a command line or shell request may quote it: a name that begins with a
    // double quote loses it and ends at its last double quote; any other is kept as it is.
    static std::string StripShellQuotes(std::string_view fileName);

    // The program's arguments after its name, in order.
    void ParseCommandLine(CCommandLineInfo& commandLine) const;
    // Carries out what the command line asks; false when the program is to end at once. A file
    // that could not be opened, or a window that could not be made, also makes ExitInstance
    // return a non-zero exit code.
    bool ProcessShellCommand(const CCommandLineInfo& commandLine);
    // Tells the desktop that the document type's files open with this program, on every start.
    void RegisterShellFileTypes();
    void UnregisterShellFileTypes();
    // From now on the program takes open and print requests from the desktop.
    void EnableShellOpen() { m_bShellOpenEnabled = true; }
    // A request from the desktop or a second start, such as [open("path")]: parsed at once and
    // queued (the rule above). False refuses it: malformed, shell open not enabled, or the queue
    // full.
    bool OnShellRequest(std::string_view request);
    // Files dropped on the main window: one queued item that activates the window and opens
    // each file in turn. False when the queue is full or there are no files.
    bool OnDropFiles(std::vector<std::filesystem::path> files);
    virtual void AddToRecentFileList(const std::string& pathName);
    // The file dialogs start in the folder of the file last chosen, opened or saved in this run.
    void SetLastFileFolder(std::filesystem::path folder) { m_lastFileFolder = std::move(folder); }
    // Asks for a file name with the Open or Save As dialog, which starts in the last file folder;
    // false when the user cancelled.
    virtual bool DoPromptFileName(
        std::string& fileName, unsigned titleId, bool openFile, const CSingleDocTemplate* docTemplate);
    // Hides the main window, closes the document and ends the message loop.
    void CloseMainWindow();

    // The settings store under "Software\<registry key>\<profile name>\<section>".
    void SetRegistryKey(std::string registryKey);
    int GetProfileInt(std::string_view section, std::string_view entry, int defaultValue);
    std::string GetProfileString(std::string_view section, std::string_view entry, std::string_view defaultValue);
    bool WriteProfileInt(std::string_view section, std::string_view entry, int value);
    // With no value the entry is deleted; with no entry the whole section is.
    bool WriteProfileString(
        std::string_view section, std::optional<std::string_view> entry, std::optional<std::string_view> value);
    void LoadStdProfileSettings(unsigned maxRecentFiles = 4);
    void SaveStdProfileSettings();
    // Deletes the program's settings key with everything under it, then the registry key's own
    // key when no other program's settings are left in it.
    void DeleteSettingsKey();

    // A message box owned by the main window, captioned with the program's name; the
    // exclamation icon when the caller names none.
    int DoMessageBox(
        std::string_view text, platform::MessageButtons buttons, std::optional<platform::MessageIcon> icon);

    // CWaitCursor's count: the busy cursor shows while one lives and no modal loop is open.
    void BeginWaitCursor();
    void EndWaitCursor();

    void OnFileNew();
    void OnFileOpen();
    bool OnOpenRecentFile(unsigned id);
    void OnUpdateRecentFileMenu(CCmdUI* cmdUI);
    void OnAppExit();

    CFrameWnd* m_pMainWnd = nullptr;
    // How the main window shows the first time; -1: normally.
    int m_nCmdShow = -1;
    std::string m_pszAppName;
    std::string m_pszRegistryKey;
    std::string m_pszProfileName;
    int m_nPreviewPages = 0;
    // The running program, absolute, and its file name without folder or extension.
    std::filesystem::path m_strExecutable;
    std::string m_pszExeName;
    // The arguments after the program's name.
    std::vector<std::string> m_arguments;
    // Cleared when a switch said that no user started the program ("dde", "Embedding",
    // "Automation"): requests to print then close the window.
    bool m_bUnderUserControl = true;
    // Set when this run unregistered the program: nothing is written at exit.
    bool m_bUnregisterRun = false;

protected:
    const CommandMap& GetCommandMap() const override;

private:
    struct DroppedFiles {
        std::vector<std::filesystem::path> files;
    };
    // A print request's close of a program that no user started, carried out after the print.
    struct CloseRequest { };
    using WaitingRequest = std::variant<ShellRequest, DroppedFiles, CloseRequest>;

    std::string SectionPath(std::string_view section) const;
    bool Enqueue(WaitingRequest request);
    // Asks the message loop to carry out the next waiting request, when one waits and no modal
    // loop is open.
    void PostNextRequest();
    void CarryOutNextRequest();
    // Takes the oldest waiting request off the queue and carries it out.
    void CarryOutOldestRequest();
    void CarryOut(const WaitingRequest& request);
    bool OpenWaitingRequestsInstead();
    bool IsMainWindowShown() const;
    void ShowWaitCursorAsCounted();

    platform::Platform m_platform;
    const platform::ResourceSet& m_resources;
    std::unique_ptr<CSingleDocTemplate> m_docTemplate;
    std::unique_ptr<CRecentFileList> m_recentFileList;
    std::filesystem::path m_lastFileFolder;
    int m_nExitCode = 0;
    bool m_bShellOpenEnabled = false;
    std::deque<WaitingRequest> m_waitingRequests;
    int m_nModalDepth = 0;
    int m_nWaitCursorCount = 0;
    bool m_bWaitCursorShown = false;
    bool m_bNextRequestPosted = false;
    bool m_bCarryingOutRequest = false;
};

// The one program object, or null when there is none.
CWinApp* AfxGetApp();

int AfxMessageBox(std::string_view text, platform::MessageButtons buttons = platform::MessageButtons::Ok,
    std::optional<platform::MessageIcon> icon = std::nullopt);
// The message with that number from the string table.
int AfxMessageBox(unsigned stringId, platform::MessageButtons buttons = platform::MessageButtons::Ok,
    std::optional<platform::MessageIcon> icon = std::nullopt);

}  // namespace sekreta
