#include "cli/DocumentFile.h"

#include "cli/UsageError.h"
#include "framework/CArchive.h"
#include "framework/CArchiveException.h"
#include "framework/SafeSave.h"
#include "storage/RecordFile.h"

namespace sekreta::cli {

DocumentFile::DocumentFile(platform::FileSystem& fileSystem, const std::filesystem::path& path)
    : m_fileSystem(fileSystem)
    , m_path(fileSystem.Absolute(path))
{
}

void DocumentFile::Lock()
{
    m_lock = LockForWriting(m_fileSystem, m_path);
}

void DocumentFile::Open()
{
    m_file = CFile::OpenForReading(m_fileSystem, m_path);
}

bool DocumentFile::IsBlank()
{
    return m_file->GetLength() == 0;
}

void DocumentFile::Visit(std::string_view passPhrase, const std::function<void(const AccountRecord&)>& visit)
{
    CArchive archive(*m_file, CArchive::load);
    VisitRecords(archive, passPhrase, visit);
    m_file->Close();
}

std::vector<AccountRecord> DocumentFile::Load(std::string& passPhrase)
{
    std::vector<AccountRecord> records;
    CArchive archive(*m_file, CArchive::load);
    passPhrase = LoadRecords(archive, records, passPhrase);
    m_file->Close();
    return records;
}

void DocumentFile::Save(const std::vector<AccountRecord>& records, std::string_view passPhrase)
{
    if (!m_lock)
        Lock();
    try {
        SafeSave(
            m_fileSystem, m_path,
            [&](CFile& file) {
                CArchive archive(file, CArchive::store);
                StoreRecords(archive, records, passPhrase);
                archive.Close();
            },
            SavedPermissions::keepOld, *m_lock);
    } catch (const CArchiveException&) {
        // Writing fails on its contents only when they are more than one file can hold.
        throw UsageError("The entries are too large for one file.");
    }
}

}  // namespace sekreta::cli
