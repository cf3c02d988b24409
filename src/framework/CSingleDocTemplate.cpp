#include "framework/CSingleDocTemplate.h"

#include "framework/CDocument.h"
#include "framework/CFrameWnd.h"
#include "framework/CWinApp.h"
#include "framework/StringTable.h"

namespace sekreta {

CSingleDocTemplate::CSingleDocTemplate(unsigned resourceId, const CRuntimeClass* documentClass,
    const CRuntimeClass* frameClass, const CRuntimeClass* viewClass)
    : m_nIDResource(resourceId)
    , m_pDocClass(documentClass)
    , m_pFrameClass(frameClass)
    , m_pViewClass(viewClass)
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    DestroyDocumentAndFrame();
}

std::string CSingleDocTemplate::GetDocString(DocStringIndex index) const
{
    const std::string docString = StringTable::Load(m_nIDResource);
    std::size_t start = 0;
    for (int field = 0; field < index; ++field) {
        start = docString.find('\n', start);
        if (start == std::string::npos)
            return {};
        ++start;
    }
    return docString.substr(start, docString.find('\n', start) - start);
}

void CSingleDocTemplate::SetDefaultTitle(CDocument& document) const
{
    const std::string title = GetDocString(docName);
    document.SetTitle(title.empty() ? StringTable::Load(IDS_UNTITLED) : title);
}

bool CSingleDocTemplate::CreateDocumentAndFrame()
{
    m_document = CreateObjectAs<CDocument>(m_pDocClass);
    if (!m_document)
        return false;
    m_document->SetDocTemplate(this);
    m_frame = CreateObjectAs<CFrameWnd>(m_pFrameClass);
    CCreateContext context {m_pViewClass, m_document.get(), this};
    if (!m_frame || !m_frame->LoadFrame(m_nIDResource, context)) {
        DestroyDocumentAndFrame();
        return false;
    }
    return true;
}

void CSingleDocTemplate::DestroyDocumentAndFrame()
{
    CWinApp* app = AfxGetApp();
    if (app && m_frame && app->m_pMainWnd == m_frame.get())
        app->m_pMainWnd = nullptr;
    m_frame.reset();
    m_document.reset();
}

void CSingleDocTemplate::InitialUpdateFrame(bool makeVisible)
{
    CWinApp* app = AfxGetApp();
    const bool first = app->m_pMainWnd == nullptr;
    if (first)
        app->m_pMainWnd = m_frame.get();
    m_frame->InitialUpdateFrame(m_document.get(), makeVisible, first ? app->m_nCmdShow : -1);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const std::optional<std::string>& pathName, bool makeVisible)
{
    bool created = false;
    if (m_document) {
        // The open file under another path (a link to it) is the open file all the same.
        const std::string& openPath = m_document->GetPathName();
        if (pathName && !openPath.empty() && AfxGetApp()->GetPlatform().files.IsSameFile(openPath, *pathName)) {
            m_frame->ActivateFrame(-1);
            return m_document.get();
        }
        if (!m_document->SaveModified())
            return nullptr;
    } else {
        if (!CreateDocumentAndFrame()) {
            AfxMessageBox(IDP_FAILED_TO_CREATE_DOC);
            return nullptr;
        }
        created = true;
    }
    CDocument& document = *m_document;

    if (!pathName) {
        SetDefaultTitle(document);
        if (!document.OnNewDocument()) {
            if (created)
                DestroyDocumentAndFrame();
            return nullptr;
        }
    } else {
        const bool wasModified = document.IsModified();
        document.SetModifiedFlag(false);
        if (!document.OnOpenDocument(*pathName)) {
            if (created) {
                DestroyDocumentAndFrame();
            } else if (!document.IsModified()) {
                // The file could not even be opened: the document is as it was.
                document.SetModifiedFlag(wasModified);
            } else {
                // Its contents are gone: leave an empty untitled document.
                SetDefaultTitle(document);
                document.OnNewDocument();
            }
            return nullptr;
        }
        document.SetPathName(*pathName);
    }
    InitialUpdateFrame(makeVisible);
    return &document;
}

void CSingleDocTemplate::CloseDocument()
{
    if (m_document)
        m_document->OnCloseDocument();
}

}  // namespace sekreta
