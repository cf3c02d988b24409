#include "storage/CSekretaDoc.h"

#include "storage/RecordFile.h"

namespace sekreta {

void CSekretaDoc::DeleteContents()
{
    m_records.clear();
}

void CSekretaDoc::Load(CArchive& archive)
{
    LoadRecords(archive, m_records, m_strPassPhrase);
}

void CSekretaDoc::Store(CArchive& archive) const
{
    StoreRecords(archive, m_records, m_strPassPhrase);
}

}  // namespace sekreta
