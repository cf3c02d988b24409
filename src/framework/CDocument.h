#pragma once

#include "framework/CArchive.h"
#include "framework/CCmdTarget.h"
#include "platform/FileSystem.h"

#include <cstddef>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace sekreta {

class CFrameWnd;
class CSingleDocTemplate;
class CView;

// Walks a document's views: 0 is past the last one.
using POSITION = std::size_t;

// A document: what one file holds, its path, title and modified flag, and the views showing
// it. The framework's new, open, save and close flows call its hooks.
class CDocument : public CCmdTarget {
public:
    CDocument() = default;
    ~CDocument() override = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    static const CRuntimeClass classCDocument;
    const CRuntimeClass* GetRuntimeClass() const override;
    static const CommandMap& ClassCommandMap();

    const std::string& GetTitle() const { return m_strTitle; }
    // Sets the title and refreshes the caption of every frame showing the document.
    virtual void SetTitle(const std::string& title);
    const std::string& GetPathName() const { return m_strPathName; }
    // Stores the absolute path, titles the document after the file, and adds the path to the
    // recent-file list when addToRecentFiles is set.
    virtual void SetPathName(const std::string& pathName, bool addToRecentFiles = true);
    bool IsModified() const { return m_bModified; }
    virtual void SetModifiedFlag(bool modified = true);

    void AddView(CView* view);
    void RemoveView(CView* view);
    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& position) const;

    CSingleDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    void SetDocTemplate(CSingleDocTemplate* docTemplate) { m_pDocTemplate = docTemplate; }

    // The framework's part empties the document, its path and its modified flag.
    virtual bool OnNewDocument();
    // Reads the file; reports any failure itself and returns false.
    virtual bool OnOpenDocument(const std::string& pathName);
    // Writes the file through a temporary file beside it, under the writers' lock of the file.
    // When that is the document's own file and another program changed it since the document
    // read or wrote it, asks first; No writes nothing. Reports any failure and returns false.
    virtual bool OnSaveDocument(const std::string& pathName);
    virtual void OnCloseDocument();
    virtual void DeleteContents();
    virtual void Serialize(CArchive& archive);

    // Asks "Save changes to ...?" when modified; true when the caller may go on.
    virtual bool SaveModified();
    virtual bool CanCloseFrame(CFrameWnd* frame);
    // Saves under `pathName`, or under a name the user chooses when there is none.
    virtual bool DoSave(const std::optional<std::string>& pathName, bool replace = true);
    virtual bool DoFileSave();
    // Shows the one message box for a failed open or save; `failure` is null for failures
    // that are not exceptions of the standard kind.
    virtual void ReportSaveLoadException(
        const std::string& pathName, const std::exception* failure, bool saving, unsigned defaultMessageId);

    void OnFileSave();
    void OnFileSaveAs();

protected:
    const CommandMap& GetCommandMap() const override;

private:
    // True when the save may replace the file: it is not the document's own, it is as the
    // document last read or wrote it, it is gone, or the user says to replace it.
    bool MayReplace(const std::string& pathName);

    std::string m_strTitle;
    std::string m_strPathName;
    bool m_bModified = false;
    // The document's file as the document last read or wrote it; none for a new document.
    std::optional<platform::FileIdentity> m_fileIdentity;
    std::vector<CView*> m_views;
    CSingleDocTemplate* m_pDocTemplate = nullptr;
};

}  // namespace sekreta
