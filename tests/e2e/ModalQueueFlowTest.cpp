// Requests and drops that arrive while a dialog, box or prompt waits: nothing changes behind it,
// and each is carried out in turn once it has closed. (Headless fails any busy cursor there.)
#include "TestApp.h"

#include "framework/FrameworkIds.h"
#include "resources/ControlIds.h"
#include "resources/ResourceIds.h"

#include <functional>
#include <map>

namespace sekreta::test {
namespace {

using platform::Arrival;
using platform::IDOK;
using platform::Key;

AccountRecord Entry(const std::string& account, const std::string& password = "pw")
{
    return {account, "", "", password, ""};
}

const std::map<std::string, std::vector<AccountRecord>> kFiles
    = {{"five.sek", {Entry("Solo")}}, {"four.sek", {Entry("North"), Entry("East"), Entry("South"), Entry("West")}},
        {"three.sek", {Entry("Alpha"), Entry("Beta"), Entry("Gamma")}}};

struct Scenario;

class ModalQueueFlow : public ProgramTest, public testing::WithParamInterface<Scenario> {
public:
    ModalQueueFlow()
        : ProgramTest(false)
    {
        for (const auto& [name, records] : kFiles)
            m_before[name] = ReadBytes(WriteFile(name, records, "abcd"));
    }

    platform::DialogScript& Expect(unsigned dialog) { return m_platform.windows.ExpectDialog(dialog); }
    platform::HeadlessWindowSystem& Windows() { return m_platform.windows; }
    std::filesystem::path Path(const std::string& name) { return m_folder / name; }
    Arrival Request(const std::string& name, bool taken = true, const std::string& verb = "open")
    {
        return Arrival::Request("[" + verb + "(\"" + Path(name).string() + "\")]", taken);
    }
    using ProgramTest::ExpectMessage;
    using ProgramTest::ExpectPassPhrase;
    using ProgramTest::Frame;

    void AddMine()
    {
        Expect(IDD_ENTRY).SetText(IDC_ACCOUNT, "Mine").SetText(IDC_PASSWORD, "typed").Press(IDOK);
        EXPECT_TRUE(Frame().ChooseMenuItem(ID_EDIT_ADD));
    }

    std::map<std::string, std::vector<std::uint8_t>> m_before;
};

struct Scenario {
    std::string name;
    std::vector<std::string> arguments;  // with a command line, `act` scripts the start-up
    std::function<void(ModalQueueFlow&)> act;  // scripts what appears, then acts as the user
    std::string shown;  // the file open at the end
    std::map<std::string, std::vector<AccountRecord>> written = {};  // every other file stays as it was
};

const Scenario kScenarios[] = {
    {"SaveAsPrompt", {},
        [](ModalQueueFlow& t) {
            t.AddMine();
            t.Windows().ExpectFileDialog(t.Path("new.sek"));
            t.Expect(IDD_PASSPHRASE).Arrive(t.Request("four.sek")).SetText(IDC_PASSPHRASE, "abcd").Press(IDOK);
            t.Frame().PressKey(Key::S, platform::Control);
        },
        "four.sek", {{"new.sek", {Entry("Mine", "typed")}}}},
    {"ModifyWithARequestAndADrop", {},
        [](ModalQueueFlow& t) {
            t.ExpectPassPhrase("abcd");
            AfxGetApp()->OpenDocumentFile(t.Path("three.sek").string());
            platform::DialogScript& entry = t.Expect(IDD_ENTRY);
            entry.Arrive(t.Request("four.sek")).Arrive(Arrival::Drop({t.Path("five.sek")}));
            entry.SetText(IDC_PASSWORD, "changed").Press(IDOK);
            t.ExpectMessage("Save changes to three.sek?", platform::IDYES);
            t.Frame().PressKey(Key::Return);
        },
        "five.sek", {{"three.sek", {Entry("Alpha"), Entry("Beta"), Entry("Gamma", "changed")}}}},
    {"GeneratorAndAPrintRequest", {},
        [](ModalQueueFlow& t) {
            AfxGetApp()->m_bUnderUserControl = false;  // so the print request closes it
            t.Expect(IDD_GENERATOR).Arrive(t.Request("four.sek", true, "print")).Press(IDOK);
            t.Windows().ExpectMessageBox(IDOK);  // the password it made
            t.ExpectPassPhrase("abcd");
            t.Frame().ChooseMenuItem(ID_TOOLS_GENERATEPASSWORD);
            EXPECT_TRUE(t.Windows().QuitRequested());
        },
        "four.sek"},
    // The queue takes its bound, refuses the rest, and carries out each in a turn of the loop of its own.
    {"TenThousandDuringOneMessageBox", {},
        [](ModalQueueFlow& t) {
            t.AddMine();
            std::vector<Arrival> arrivals;
            for (std::size_t i = 0; i < 10'000; ++i)
                arrivals.push_back(t.Request("four.sek", i < CWinApp::kLongestQueue));
            t.Windows().ExpectMessageBox("Save changes to Untitled?", platform::IDCANCEL, std::move(arrivals));
            t.ExpectMessage("Save changes to Untitled?", platform::IDNO);
            t.ExpectPassPhrase("abcd");
            const std::size_t turns = t.Windows().PostedTasksRun();
            t.Frame().PressKey(Key::N, platform::Control);
            EXPECT_EQ(t.Windows().PostedTasksRun() - turns, CWinApp::kLongestQueue);
        },
        "four.sek"},
    // The old row stays selected over the emptied store: idle updates must not read by it.
    {"OpenDialogAndUpdateHandlersDuringTheOpen", {},
        [](ModalQueueFlow& t) {
            t.AddMine();
            t.Windows().ExpectFileDialog(t.Path("three.sek"), {t.Request("four.sek")});
            t.ExpectMessage("Save changes to Untitled?", platform::IDNO);
            t.Expect(IDD_PASSPHRASE).Arrive(t.Request("five.sek")).SetText(IDC_PASSPHRASE, "wrong").Press(IDOK);
            t.Windows().ExpectMessageBox("Unexpected file format.", IDOK, {t.Request("five.sek")});
            t.ExpectPassPhrase("abcd");
            t.Frame().ChooseMenuItem(ID_FILE_OPEN);
        },
        "five.sek"},
    {"TwoRequestsAtStartUp", {"three.sek"},
        [](ModalQueueFlow& t) {
            platform::DialogScript& prompt = t.Expect(IDD_PASSPHRASE);
            prompt.Arrive(t.Request("four.sek")).Arrive(t.Request("five.sek"));
            prompt.SetText(IDC_PASSPHRASE, "abcd").Press(IDOK);
        },
        "five.sek"},
    {"StartUpFailed", {"three.sek"},
        [](ModalQueueFlow& t) {
            t.Expect(IDD_PASSPHRASE)
                .Arrive(t.Request("gone.sek"))
                .Arrive(t.Request("four.sek"))
                .Press(platform::IDCANCEL);
            t.ExpectMessage("Access to " + t.Path("three.sek").string() + " was denied.");
            t.ExpectMessage(t.Path("gone.sek").string() + " was not found.");
            t.ExpectPassPhrase("abcd");
        },
        "four.sek"},
};

TEST_P(ModalQueueFlow, NothingChangesBehindAModalWindow)
{
    const Scenario& row = GetParam();
    if (!row.arguments.empty())
        row.act(*this);
    ASSERT_TRUE(Start(row.arguments));
    if (row.arguments.empty())
        row.act(*this);
    EXPECT_EQ(Frame().Caption(), row.shown + " - Sekreta");
    std::vector<std::string> accounts;
    for (const AccountRecord& record : kFiles.at(row.shown))
        accounts.push_back(record.account);
    EXPECT_EQ(ListAccounts(), accounts);
    std::map<std::string, std::vector<AccountRecord>> files = row.written;
    files.insert(kFiles.begin(), kFiles.end());
    std::vector<std::string> names;
    for (const auto& [name, records] : files) {
        EXPECT_EQ(ReadFile(Path(name), "abcd"), records) << name;
        EXPECT_TRUE(row.written.contains(name) || ReadBytes(Path(name)) == m_before[name]) << name << " was rewritten";
        names.push_back(name);
    }
    EXPECT_EQ(m_folder.Entries(), names) << "no other file is made";
}

INSTANTIATE_TEST_SUITE_P(WhileOpen, ModalQueueFlow, testing::ValuesIn(kScenarios),
    [](const testing::TestParamInfo<Scenario>& row) { return row.param.name; });

}  // namespace
}  // namespace sekreta::test
