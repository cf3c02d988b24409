#pragma once

#include "framework/CCmdTarget.h"
#include "platform/Platform.h"
#include "platform/Resources.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
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
class CWinApp : public CCmdTarget {
public:
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
    // From now on the main frame carries out open and print requests from the desktop.
    void EnableShellOpen() { m_bShellOpenEnabled = true; }
    bool IsShellOpenEnabled() const { return m_bShellOpenEnabled; }
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
    std::string SectionPath(std::string_view section) const;

    platform::Platform m_platform;
    const platform::ResourceSet& m_resources;
    std::unique_ptr<CSingleDocTemplate> m_docTemplate;
    std::unique_ptr<CRecentFileList> m_recentFileList;
    std::filesystem::path m_lastFileFolder;
    int m_nExitCode = 0;
    bool m_bShellOpenEnabled = false;
};

// The one program object, or null when there is none.
CWinApp* AfxGetApp();

int AfxMessageBox(std::string_view text, platform::MessageButtons buttons = platform::MessageButtons::Ok,
    std::optional<platform::MessageIcon> icon = std::nullopt);
// The message with that number from the string table.
int AfxMessageBox(unsigned stringId, platform::MessageButtons buttons = platform::MessageButtons::Ok,
    std::optional<platform::MessageIcon> icon = std::nullopt);

}  // namespace sekreta
