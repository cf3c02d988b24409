#pragma once

#include "cli/Arguments.h"
#include "cli/DocumentFile.h"
#include "cli/EntryListing.h"
#include "cli/LineReader.h"
#include "cli/SecretInput.h"
#include "generator/PasswordGenerator.h"
#include "platform/FileSystem.h"
#include "platform/RandomSource.h"
#include "storage/AccountRecord.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace sekreta::cli {

// The commands of sekreta-cli, one operation each. Every one reads what it needs from the
// arguments and checks it, against the file too where the file alone can tell, before it asks
// for a secret, and writes a changed file only when everything else succeeded.
// Each throws UsageError for a wrong argument or input, CArchiveException when a file is no
// Sekreta file or the pass phrase is wrong, and CFileException when a file cannot be read or
// written; a file is then left as it was.
class Commands {
public:
    // All must outlive the commands; `input` is standard input, `target` what `out` goes to.
    Commands(platform::FileSystem& fileSystem, platform::RandomSource& random, SecretInput& secrets, LineReader& input,
        std::ostream& out, OutputTarget target);

    void New(const Arguments& arguments);
    void List(const Arguments& arguments);
    void Show(const Arguments& arguments);
    void Search(const Arguments& arguments);
    void Add(const Arguments& arguments);
    void Edit(const Arguments& arguments);
    void Remove(const Arguments& arguments);
    void ChangePassPhrase(const Arguments& arguments);
    void Generate(const Arguments& arguments);
    void Export(const Arguments& arguments);
    void Import(const Arguments& arguments);

private:
    // The records of the file, opened here, for commands that only read: a blank file needs
    // no pass phrase.
    std::vector<AccountRecord> LoadForReading(DocumentFile& file);
    // The same, one record at a time, for commands that need no more than one at once.
    void VisitForReading(DocumentFile& file, const std::function<void(const AccountRecord&)>& visit);
    // The records of the file, locked and opened here, and the pass phrase to write them under;
    // a blank file gets the pass phrase of its first save. When `entry` is given, it must name an
    // entry before any pass phrase is asked for: a blank file has none.
    std::vector<AccountRecord> LoadForChange(
        DocumentFile& file, std::string& passPhrase, std::optional<std::string_view> entry = std::nullopt);
    // The entry's new password, from standard input, the terminal or the generator.
    std::string NewPassword(const Arguments& arguments, GeneratorSettings settings);

    platform::FileSystem& m_fileSystem;
    platform::RandomSource& m_random;
    SecretInput& m_secrets;
    LineReader& m_input;
    std::ostream& m_out;
    OutputTarget m_target;
};

}  // namespace sekreta::cli
