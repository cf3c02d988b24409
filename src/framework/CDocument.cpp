#include "framework/CDocument.h"

#include "framework/CArchiveException.h"
#include "framework/CFileException.h"
#include "framework/CFrameWnd.h"
#include "framework/CSingleDocTemplate.h"
#include "framework/CView.h"
#include "framework/CWaitCursor.h"
#include "framework/CWinApp.h"
#include "framework/FrameworkIds.h"
#include "framework/SafeSave.h"
#include "framework/StringTable.h"

#include <algorithm>

namespace sekreta {

namespace {

constexpr std::size_t kArchiveBufferSize = 4096;

platform::FileSystem& Files()
{
    return AfxGetApp()->GetPlatform().files;
}

}  // namespace

const CRuntimeClass CDocument::classCDocument {"CDocument", nullptr, &CCmdTarget::classCObject};

const CRuntimeClass* CDocument::GetRuntimeClass() const
{
    return &classCDocument;
}

const CommandMap& CDocument::ClassCommandMap()
{
    static const CommandMap map {&CCmdTarget::ClassCommandMap(),
        {
            MapCommand(ID_FILE_SAVE, &CDocument::OnFileSave),
            MapCommand(ID_FILE_SAVE_AS, &CDocument::OnFileSaveAs),
        }};
    return map;
}

const CommandMap& CDocument::GetCommandMap() const
{
    return ClassCommandMap();
}

void CDocument::SetTitle(const std::string& title)
{
    m_strTitle = title;
    for (CView* view : m_views) {
        if (CFrameWnd* frame = view->GetParentFrame())
            frame->OnUpdateFrameTitle();
    }
}

void CDocument::SetPathName(const std::string& pathName, bool addToRecentFiles)
{
    const std::filesystem::path absolute = Files().Absolute(pathName);
    m_strPathName = absolute.string();
    SetTitle(Files().DisplayName(absolute));
    AfxGetApp()->SetLastFileFolder(absolute.parent_path());
    if (addToRecentFiles)
        AfxGetApp()->AddToRecentFileList(m_strPathName);
}

void CDocument::SetModifiedFlag(bool modified)
{
    m_bModified = modified;
}

void CDocument::AddView(CView* view)
{
    m_views.push_back(view);
}

void CDocument::RemoveView(CView* view)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

POSITION CDocument::GetFirstViewPosition() const
{
    return m_views.empty() ? 0 : 1;
}

CView* CDocument::GetNextView(POSITION& position) const
{
    if (position == 0 || position > m_views.size())
        return nullptr;
    CView* view = m_views[position - 1];
    position = position < m_views.size() ? position + 1 : 0;
    return view;
}

bool CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.clear();
    m_fileIdentity.reset();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const std::string& pathName)
{
    std::unique_ptr<CFile> file;
    try {
        file = CFile::OpenForReading(Files(), pathName);
    } catch (const std::exception& failure) {
        ReportSaveLoadException(pathName, &failure, false, IDP_FAILED_TO_OPEN_DOC);
        return false;
    }

    DeleteContents();
    SetModifiedFlag(true);
    platform::FileIdentity identity;
    try {
        CWaitCursor wait;
        // The file read, not whatever the path may lead to by the time the reading is done.
        identity = file->GetIdentity();
        CArchive archive(*file, CArchive::load, kArchiveBufferSize);
        // An empty file, such as the desktop's "new document" makes, is an empty document.
        if (file->GetLength() != 0)
            Serialize(archive);
        archive.Close();
        file->Close();
    } catch (const std::exception& failure) {
        file->Abort();
        DeleteContents();
        ReportSaveLoadException(pathName, &failure, false, IDP_FAILED_TO_OPEN_DOC);
        return false;
    }
    m_fileIdentity = identity;
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const std::string& pathName)
{
    try {
        CWaitCursor wait;
        // Held from the check to the rename, so that no other writer slips in between.
        const std::unique_ptr<platform::FileLock> lock = LockForWriting(Files(), pathName);
        if (!MayReplace(pathName))
            return false;
        m_fileIdentity = SafeSave(
            Files(), pathName,
            [this](CFile& file) {
                CArchive archive(file, CArchive::store, kArchiveBufferSize);
                Serialize(archive);
                archive.Close();
            },
            SavedPermissions::keepOld, *lock);
    } catch (const std::exception& failure) {
        ReportSaveLoadException(pathName, &failure, true, IDP_FAILED_TO_SAVE_DOC);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CDocument::MayReplace(const std::string& pathName)
{
    if (!m_fileIdentity || Files().Absolute(pathName).string() != m_strPathName)
        return true;
    platform::FileIdentity current;
    if (Files().Identify(pathName, current) || current == *m_fileIdentity)
        return true;
    const std::string question
        = StringTable::Format(IDP_FILE_CHANGED_ON_DISK, {m_strPathName, AfxGetApp()->m_pszAppName});
    return AfxMessageBox(question, platform::MessageButtons::YesNo, platform::MessageIcon::Exclamation)
        == platform::IDYES;
}

void CDocument::OnCloseDocument()
{
    DeleteContents();
}

void CDocument::DeleteContents() { }

void CDocument::Serialize(CArchive&) { }

bool CDocument::SaveModified()
{
    if (!IsModified())
        return true;
    std::string name;
    if (!m_strPathName.empty())
        name = Files().DisplayName(m_strPathName);
    else
        name = m_strTitle.empty() ? StringTable::Load(IDS_UNTITLED) : m_strTitle;

    switch (AfxMessageBox(StringTable::Format(IDP_ASK_TO_SAVE, {name}), platform::MessageButtons::YesNoCancel)) {
    case platform::IDYES:
        return DoFileSave();
    case platform::IDNO:
        return true;
    default:
        return false;
    }
}

bool CDocument::CanCloseFrame(CFrameWnd*)
{
    return SaveModified();
}

bool CDocument::DoSave(const std::optional<std::string>& pathName, bool replace)
{
    std::string newName;
    if (pathName) {
        newName = *pathName;
    } else {
        newName = m_strPathName;
        if (newName.empty()) {
            // The title up to the first character a file name should not start a word with.
            newName = m_strTitle.substr(0, m_strTitle.find_first_of(" #%;/\\"));
            if (m_pDocTemplate)
                newName += m_pDocTemplate->GetDocString(CSingleDocTemplate::filterExt);
        }
        if (!AfxGetApp()->DoPromptFileName(newName, IDS_SAVE_AS_TITLE, false, m_pDocTemplate))
            return false;
    }

    CWaitCursor wait;
    // A copy saved under another name leaves the document's own file the one it remembers.
    const std::optional<platform::FileIdentity> ownFile = m_fileIdentity;
    if (!OnSaveDocument(newName))
        return false;
    if (replace)
        SetPathName(newName);
    else
        m_fileIdentity = ownFile;
    return true;
}

bool CDocument::DoFileSave()
{
    if (m_strPathName.empty() || Files().IsReadOnly(m_strPathName) || !Files().Exists(m_strPathName))
        return DoSave(std::nullopt);
    return DoSave(m_strPathName);
}

void CDocument::ReportSaveLoadException(
    const std::string& pathName, const std::exception* failure, bool, unsigned defaultMessageId)
{
    if (dynamic_cast<const CUserException*>(failure))
        return;

    std::string message;
    if (const auto* archiveFailure = dynamic_cast<const CArchiveException*>(failure)) {
        switch (archiveFailure->m_cause) {
        case CArchiveException::endOfFile:
        case CArchiveException::badIndex:
        case CArchiveException::badClass:
        case CArchiveException::badSchema:
            message = StringTable::Load(IDP_FAILED_INVALID_FORMAT);
            break;
        default:
            break;
        }
    } else if (const auto* fileFailure = dynamic_cast<const CFileException*>(failure)) {
        CFileException named = *fileFailure;
        if (named.m_strFileName.empty())
            named.m_strFileName = pathName;
        message = named.GetErrorMessage();
    }
    if (message.empty())
        message = StringTable::Load(defaultMessageId);
    AfxMessageBox(message, platform::MessageButtons::Ok, platform::MessageIcon::Exclamation);
}

void CDocument::OnFileSave()
{
    DoFileSave();
}

void CDocument::OnFileSaveAs()
{
    DoSave(std::nullopt);
}

}  // namespace sekreta
