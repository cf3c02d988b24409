#pragma once

#include "CliRunner.h"
#include "framework/CArchive.h"
#include "framework/CMemFile.h"
#include "storage/RecordFile.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sekreta::test {

inline const std::string kPhrase = "Open sesame";
inline const std::string kPhraseLine = kPhrase + "\n";

inline std::string Text(const std::vector<std::uint8_t>& bytes)
{
    return {bytes.begin(), bytes.end()};
}

inline std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return {text.begin(), text.end()};
}

// A .sek file written by the storage code itself, under the pass phrase's bytes as they are.
inline void WriteRecords(
    const std::filesystem::path& path, const std::vector<AccountRecord>& records, const std::string& passPhrase)
{
    CMemFile memory;
    CArchive archive(memory, CArchive::store);
    StoreRecords(archive, records, passPhrase);
    archive.Close();
    WriteBytes(path, memory.Detach());
}

// The records of a .sek file read by the storage code itself; openedWith becomes the form of
// the pass phrase that opened it. Throws what the reader throws.
inline std::vector<AccountRecord> ReadRecords(
    const std::filesystem::path& path, const std::string& passPhrase, std::string* openedWith = nullptr)
{
    CMemFile memory(ReadBytes(path));
    CArchive archive(memory, CArchive::load);
    std::vector<AccountRecord> records;
    const std::string form = LoadRecords(archive, records, passPhrase);
    if (openedWith)
        *openedWith = form;
    return records;
}

// A fresh folder with x.sek to be, and the real sekreta-cli to run on it.
class CliTest : public testing::Test {
protected:
    std::string Path(const std::string& name) const { return (m_folder / name).string(); }

    // Runs the program and expects it to succeed without a word on standard error.
    std::string Ok(const std::vector<std::string>& arguments, const std::string& input = kPhraseLine)
    {
        const CliResult result = RunCli(arguments, input);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.err, "");
        return result.out;
    }

    // Runs the program and expects it to fail with `status` and exactly this message.
    void Fails(
        const std::vector<std::string>& arguments, const std::string& input, int status, const std::string& message)
    {
        const CliResult result = RunCli(arguments, input);
        EXPECT_EQ(result.status, status);
        EXPECT_EQ(result.err, "sekreta-cli: " + message + "\n");
        EXPECT_EQ(result.out, "");
    }

    void MakeFile(const std::string& file) { Ok({"new", file, "--passphrase-stdin"}); }

    std::string Add(const std::string& file, std::vector<std::string> fields, const std::string& password)
    {
        fields.insert(fields.begin(), {"add", file, "--passphrase-stdin", "--password-stdin"});
        return Ok(fields, kPhraseLine + password + "\n");
    }

    TemporaryFolder m_folder;
    const std::string m_file = Path("x.sek");
};

}  // namespace sekreta::test
