#pragma once

#include "framework/CFile.h"
#include "platform/FileSystem.h"
#include "storage/AccountRecord.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace sekreta::cli {

// One .sek file as the commands see it: opened, read under a pass phrase, and replaced whole.
class DocumentFile {
public:
    // The path is made absolute at once, so that every message names the whole path.
    DocumentFile(platform::FileSystem& fileSystem, const std::filesystem::path& path);

    const std::filesystem::path& Path() const { return m_path; }

    // Takes the writers' lock on the file, held until this object goes: a command that changes
    // the file takes it before it reads anything, so that no other writer's change is lost.
    // Throws CFileException, with lockViolation and EWOULDBLOCK when another program held the
    // lock for longer than the wait.
    void Lock();
    // Opens the file for reading. Throws CFileException when it cannot be opened.
    void Open();
    // True for a file of zero bytes: the desktop program's empty document, which has no pass
    // phrase yet and is read without one. Throws CFileException.
    bool IsBlank();
    // Reads the records of the opened file and closes it. The pass phrase becomes the form
    // that opened the file (a phrase typed here may have opened it in its Windows-1252 form),
    // so that saving keeps the file readable where it came from. Throws CArchiveException
    // when it is no Sekreta file or the pass phrase is wrong, and CFileException when reading fails.
    std::vector<AccountRecord> Load(std::string& passPhrase);
    // Reads the opened file as Load does, handing each record to `visit` instead of keeping it.
    void Visit(std::string_view passPhrase, const std::function<void(const AccountRecord&)>& visit);

    // Replaces the file by one that holds `records` under the pass phrase, through a safe save
    // under the writers' lock, taken here unless Lock took it: on failure the old file stays as
    // it was. Throws UsageError when the records are more than one file can hold, and
    // CFileException when writing fails.
    void Save(const std::vector<AccountRecord>& records, std::string_view passPhrase);

private:
    platform::FileSystem& m_fileSystem;
    std::filesystem::path m_path;
    std::unique_ptr<CFile> m_file;
    std::unique_ptr<platform::FileLock> m_lock;
};

}  // namespace sekreta::cli
