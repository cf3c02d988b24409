#include "TestApp.h"

#include "framework/CArchive.h"
#include "framework/CMemFile.h"
#include "framework/CSingleDocTemplate.h"
#include "framework/FrameworkIds.h"
#include "resources/ControlIds.h"
#include "resources/ResourceIds.h"
#include "storage/RecordFile.h"

namespace sekreta::test {

ProgramTest::ProgramTest()
    : ProgramTest(true)
{
}

ProgramTest::ProgramTest(bool startEmpty)
    : m_platform([](const std::string& problem) { ADD_FAILURE() << problem; })
{
    m_platform.files.SetCurrentDirectory(m_folder.Path());
    if (startEmpty) {
        EXPECT_TRUE(Start({}));
    }
}

bool ProgramTest::Start(std::vector<std::string> arguments)
{
    m_app = std::make_unique<CSekretaApp>(m_platform.Get(), "/usr/bin/sekreta", std::move(arguments));
    const bool started = m_app->InitInstance();
    if (started)
        m_platform.windows.RunPostedTasks();  // as entering the message loop would
    return started;
}

void ProgramTest::Exit()
{
    m_app->ExitInstance();
}

ProgramTest::~ProgramTest()
{
    m_platform.windows.VerifyAllScriptsUsed();
    m_app.reset();
}

platform::HeadlessFrameWindow& ProgramTest::Frame()
{
    return *m_platform.windows.Frames().front();
}

CSekretaDoc& ProgramTest::Doc()
{
    return *static_cast<CSekretaDoc*>(m_app->GetDocTemplate()->GetDocument());
}

std::vector<std::string> ProgramTest::ListAccounts()
{
    std::vector<std::string> accounts;
    for (const auto& row : Frame().HeadlessList().Rows())
        accounts.push_back(row.front());
    return accounts;
}

std::filesystem::path ProgramTest::WriteFile(
    const std::string& name, const std::vector<AccountRecord>& records, const std::string& passPhrase)
{
    CMemFile memory;
    CArchive archive(memory, CArchive::store);
    StoreRecords(archive, records, passPhrase);
    archive.Close();
    const std::filesystem::path path = m_folder / name;
    WriteBytes(path, memory.Detach());
    return path;
}

std::optional<std::vector<AccountRecord>> ProgramTest::ReadFile(
    const std::filesystem::path& path, const std::string& passPhrase)
{
    try {
        CMemFile memory(ReadBytes(path));
        CArchive archive(memory, CArchive::load);
        std::vector<AccountRecord> records;
        return LoadRecords(archive, records, passPhrase) == passPhrase ? std::optional(records) : std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void ProgramTest::ExpectFileDialog(const std::filesystem::path& path)
{
    m_platform.windows.ExpectFileDialog(path);
}

void ProgramTest::ChooseOpen()
{
    EXPECT_TRUE(Frame().ChooseMenuItem(ID_FILE_OPEN));
    m_platform.windows.VerifyAllScriptsUsed();
}

void ProgramTest::ExpectPassPhrase(const std::string& passPhrase)
{
    m_platform.windows.ExpectDialog(IDD_PASSPHRASE)
        .ExpectText(IDC_PASSPHRASE, "")
        .SetText(IDC_PASSPHRASE, passPhrase)
        .Press(platform::IDOK);
}

void ProgramTest::ExpectPassPhraseCancelled()
{
    m_platform.windows.ExpectDialog(IDD_PASSPHRASE).Press(platform::IDCANCEL);
}

void ProgramTest::ExpectMessage(std::string text, int answer)
{
    m_platform.windows.ExpectMessageBox(std::move(text), answer);
}

std::string ProgramTest::ChangedOnDisk(const std::filesystem::path& path)
{
    return path.string()
        + " was changed by another program after Sekreta read it.\n\nReplace it with the entries shown here?";
}

}  // namespace sekreta::test
