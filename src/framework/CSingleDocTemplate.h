#pragma once

#include "framework/CCmdTarget.h"

#include <memory>
#include <optional>
#include <string>

namespace sekreta {

class CDocument;
class CFrameWnd;

// The one document type of a single-document program: the document, frame and view classes
// and the resource number their menus, keys and document string share. It makes the one
// document and its frame the first time, and reuses them for every later new or opened file.
class CSingleDocTemplate : public CCmdTarget {
public:
    // The fields of the document string, by position.
    enum DocStringIndex {
        windowTitle = 0,
        docName = 1,
        fileNewName = 2,
        filterName = 3,
        filterExt = 4,
        regFileTypeId = 5,
        regFileTypeName = 6,
    };

    CSingleDocTemplate(unsigned resourceId, const CRuntimeClass* documentClass, const CRuntimeClass* frameClass,
        const CRuntimeClass* viewClass);
    ~CSingleDocTemplate() override;

    unsigned GetResourceId() const { return m_nIDResource; }
    // A field of the document string; empty when it has none.
    std::string GetDocString(DocStringIndex index) const;
    CDocument* GetDocument() const { return m_document.get(); }
    CFrameWnd* GetFrame() const { return m_frame.get(); }

    // With no path: the new-document flow. With an absolute path: opens it into the document,
    // unless it leads to the file already open, which is not read again and keeps its path.
    // Returns the document, or null when nothing was opened (the failure has been reported).
    CDocument* OpenDocumentFile(const std::optional<std::string>& pathName, bool makeVisible = true);
    void SetDefaultTitle(CDocument& document) const;
    // The program is ending: the document closes. The objects stay until the template goes,
    // since this runs inside the frame's own close request.
    void CloseDocument();

private:
    bool CreateDocumentAndFrame();
    void DestroyDocumentAndFrame();
    void InitialUpdateFrame(bool makeVisible);

    unsigned m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    // The frame goes first when destroyed: its view holds a pointer to the document.
    std::unique_ptr<CDocument> m_document;
    std::unique_ptr<CFrameWnd> m_frame;
};

}  // namespace sekreta
