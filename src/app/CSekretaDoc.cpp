#include "app/CSekretaDoc.h"

#include "app/CSekretaView.h"
#include "dialogs/CPassPhraseDlg.h"
#include "framework/CFileException.h"
#include "resources/ResourceIds.h"
#include "storage/RecordFile.h"

namespace sekreta {

const CRuntimeClass CSekretaDoc::classCSekretaDoc {
    "CSekretaDoc", &CreateObjectOf<CSekretaDoc>, &CDocument::classCDocument};

const CRuntimeClass* CSekretaDoc::GetRuntimeClass() const
{
    return &classCSekretaDoc;
}

const CommandMap& CSekretaDoc::ClassCommandMap()
{
    static const CommandMap map {&CDocument::ClassCommandMap(),
        {
            MapCommand(ID_FILE_PASSPHRASE, &CSekretaDoc::OnFilePassPhrase),
        }};
    return map;
}

const CommandMap& CSekretaDoc::GetCommandMap() const
{
    return ClassCommandMap();
}

CSekretaView* CSekretaDoc::GetListView() const
{
    POSITION position = GetFirstViewPosition();
    return dynamic_cast<CSekretaView*>(GetNextView(position));
}

void CSekretaDoc::Serialize(CArchive& archive)
{
    if (m_strPassPhrase.empty()) {
        CPassPhraseDlg dialog;
        if (dialog.DoModal() != platform::IDOK)
            throw CFileException(CFileException::accessDenied);
        // Kept even when the read or write that follows fails.
        m_strPassPhrase = dialog.m_strPassPhrase;
    }
    if (archive.IsLoading()) {
        Load(archive);
        if (CSekretaView* view = GetListView())
            view->FillList(m_records);
    } else {
        Store(archive);
    }
}

void CSekretaDoc::DeleteContents()
{
    m_records.clear();
}

bool CSekretaDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    m_records.clear();
    if (CSekretaView* view = GetListView())
        view->FillList(m_records);
    m_strPassPhrase.clear();
    return true;
}

void CSekretaDoc::Load(CArchive& archive)
{
    m_strPassPhrase = LoadRecords(archive, m_records, m_strPassPhrase);
}

void CSekretaDoc::Store(CArchive& archive) const
{
    StoreRecords(archive, m_records, m_strPassPhrase);
}

void CSekretaDoc::OnFilePassPhrase()
{
    CPassPhraseDlg dialog;
    if (dialog.DoModal() != platform::IDOK)
        return;
    m_strPassPhrase = dialog.m_strPassPhrase;
    SetModifiedFlag(true);
}

void CSekretaDoc::ModifySelected() { }

}  // namespace sekreta
