#include "TestApp.h"

#include "framework/CArchive.h"
#include "framework/CFrameWnd.h"
#include "framework/CMemFile.h"
#include "framework/CSingleDocTemplate.h"
#include "framework/FrameworkIds.h"
#include "resources/ControlIds.h"
#include "resources/ResourceIds.h"
#include "resources/SekretaResources.h"
#include "storage/RecordFile.h"

namespace sekreta::test {

const CRuntimeClass TestListView::classTestListView {
    "TestListView", &CreateObjectOf<TestListView>, &CListView::classCListView};

const CRuntimeClass* TestListView::GetRuntimeClass() const
{
    return &classTestListView;
}

void TestListView::OnInitialUpdate()
{
    FillList(static_cast<CSekretaDoc*>(GetDocument())->m_records);
}

void TestListView::FillList(const std::vector<AccountRecord>& records)
{
    ++m_fills;
    GetListCtrl().DeleteAllItems();
    for (const AccountRecord& record : records)
        AddEntry(record);
}

void TestListView::AddEntry(const AccountRecord& record)
{
    SetEntry(GetListCtrl().InsertItem(GetListCtrl().GetItemCount(), record.account), record);
}

void TestListView::SetEntry(int index, const AccountRecord& record)
{
    GetListCtrl().SetItemText(index, 0, record.account);
    GetListCtrl().SelectItem(index);
}

void TestListView::RemoveEntry(int index)
{
    GetListCtrl().DeleteItem(index);
}

int TestListView::GetSelectedIndex() const
{
    return GetListCtrl().GetNextSelectedItem(-1);
}

TestApp::TestApp(platform::Platform platform)
    : CWinApp(platform, SekretaResources())
{
    SetRegistryKey("Local AppWizard-Generated Applications");
    LoadStdProfileSettings(4);
    AddDocTemplate(std::make_unique<CSingleDocTemplate>(
        IDR_MAINFRAME, &CSekretaDoc::classCSekretaDoc, &CFrameWnd::classCFrameWnd, &TestListView::classTestListView));
}

const CommandMap& TestApp::ClassCommandMap()
{
    static const CommandMap map {&CWinApp::ClassCommandMap(),
        {
            MapCommand(ID_FILE_NEW, &CWinApp::OnFileNew),
            MapCommand(ID_FILE_OPEN, &CWinApp::OnFileOpen),
        }};
    return map;
}

const CommandMap& TestApp::GetCommandMap() const
{
    return ClassCommandMap();
}

ProgramTest::ProgramTest()
    : m_platform([](const std::string& problem) { ADD_FAILURE() << problem; })
{
    m_platform.files.SetCurrentDirectory(m_folder.Path());
    m_app = std::make_unique<TestApp>(m_platform.Get());
    m_app->OnFileNew();
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
        LoadRecords(archive, records, passPhrase);
        return records;
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

}  // namespace sekreta::test
