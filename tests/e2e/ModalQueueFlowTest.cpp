// Requests from a second start and dropped files while a dialog, a message box or a file dialog
// waits for the user: nothing changes behind it, and each is carried out, in turn, after it
// closes. The headless backend also fails any of these flows whose dialogs or boxes appear under
// the busy cursor.
#include "TestApp.h"

#include "framework/FrameworkIds.h"
#include "resources/ControlIds.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <functional>
#include <map>

namespace sekreta::test {
namespace {

using platform::Arrival;
using platform::IDCANCEL;
using platform::IDNO;
using platform::IDOK;
using platform::IDYES;
using platform::Key;

const std::vector<AccountRecord> kThree
    = {{"Alpha", "", "a", "pa", ""}, {"Beta", "", "b", "pb", ""}, {"Gamma", "", "c", "pc", ""}};
const std::vector<AccountRecord> kFour = {{"North", "", "n", "pn", ""}, {"East", "", "e", "pe", ""},
    {"South", "", "s", "ps", ""}, {"West", "", "w", "pw", ""}};
const std::vector<AccountRecord> kFive = {{"Solo", "", "o", "po", ""}};
const AccountRecord kMine {"Mine", "", "me", "typed", ""};
const std::vector<std::pair<std::string, std::vector<AccountRecord>>> kFiles
    = {{"five.sek", kFive}, {"four.sek", kFour}, {"three.sek", kThree}};

std::vector<std::string> AccountsOf(const std::vector<AccountRecord>& records)
{
    std::vector<std::string> accounts;
    for (const AccountRecord& record : records)
        accounts.push_back(record.account);
    return accounts;
}

class ModalQueueFlow;

struct Scenario {
    std::string name;
    // The start's command line. With one, `act` scripts the start-up before it runs.
    std::vector<std::string> arguments;
    // Scripts what appears, in order, and acts as the user.
    std::function<void(ModalQueueFlow&)> act;
    // The window at the end; empty when the program ended at start-up.
    std::string caption;
    std::vector<AccountRecord> accounts;
    // Files written, with their records; every other file is left byte for byte.
    std::vector<std::pair<std::string, std::vector<AccountRecord>>> written;
    bool quits = false;
};

void PrintTo(const Scenario& scenario, std::ostream* out)
{
    *out << scenario.name;
}

class ModalQueueFlow : public ProgramTest, public testing::WithParamInterface<Scenario> {
public:
    ModalQueueFlow()
        : ProgramTest(false)
    {
        for (const auto& [name, records] : kFiles)
            m_before[name] = ReadBytes(WriteFile(name, records, "abcd"));
    }

    platform::HeadlessWindowSystem& Windows() { return m_platform.windows; }
    std::filesystem::path Path(const std::string& name) { return m_folder / name; }
    Arrival Request(const std::string& name, bool taken = true)
    {
        return Arrival::Request("[open(\"" + Path(name).string() + "\")]", taken);
    }
    CSekretaApp& App() { return *m_app; }
    using ProgramTest::ExpectMessage;
    using ProgramTest::ExpectPassPhrase;
    using ProgramTest::Frame;

    // Edit > Add of kMine; it ends up selected.
    void AddMine()
    {
        Windows()
            .ExpectDialog(IDD_ENTRY)
            .SetText(IDC_ACCOUNT, kMine.account)
            .SetText(IDC_USER, kMine.user)
            .SetText(IDC_PASSWORD, kMine.password)
            .Press(IDOK);
        EXPECT_TRUE(Frame().ChooseMenuItem(ID_EDIT_ADD));
    }
    // three.sek open, its last entry selected.
    void OpenThree()
    {
        ExpectPassPhrase("abcd");
        ASSERT_NE(m_app->OpenDocumentFile(Path("three.sek")), nullptr);
        Frame().HeadlessList().ClickRow(2);
    }

    std::map<std::string, std::vector<std::uint8_t>> m_before;
};

std::vector<AccountRecord> ThreeModified()
{
    std::vector<AccountRecord> records = kThree;
    records[2].password = "changed";
    return records;
}

const Scenario kScenarios[] = {
    {"SaveAsPrompt", {},
        [](ModalQueueFlow& t) {
            t.AddMine();
            t.Windows().ExpectFileDialog(t.Path("new.sek"));
            t.Windows()
                .ExpectDialog(IDD_PASSPHRASE)
                .Arrive(t.Request("four.sek"))
                .SetText(IDC_PASSPHRASE, "abcd")
                .Press(IDOK);
            t.Frame().PressKey(Key::S, platform::Control);
        },
        "four.sek - Sekreta", kFour, {{"new.sek", {kMine}}}},
    {"CancelledSavePrompt", {},
        [](ModalQueueFlow& t) {
            t.AddMine();
            t.Windows().ExpectFileDialog(t.Path("new.sek"));
            t.Windows().ExpectDialog(IDD_PASSPHRASE).Arrive(t.Request("four.sek")).Press(IDCANCEL);
            t.ExpectMessage("Access to " + t.Path("new.sek").string() + " was denied.");
            t.ExpectMessage("Save changes to Untitled?", IDNO);
            t.ExpectPassPhrase("abcd");
            t.Frame().PressKey(Key::S, platform::Control);
        },
        "four.sek - Sekreta", kFour, {}},
    {"Modify", {},
        [](ModalQueueFlow& t) {
            t.OpenThree();
            t.Windows()
                .ExpectDialog(IDD_ENTRY)
                .ExpectText(IDC_ACCOUNT, "Gamma")
                .Arrive(t.Request("four.sek"))
                .SetText(IDC_PASSWORD, "changed")
                .Press(IDOK);
            t.ExpectMessage("Save changes to three.sek?", IDYES);
            t.Frame().PressKey(Key::Return);
        },
        "four.sek - Sekreta", kFour, {{"three.sek", ThreeModified()}}},
    {"DropDuringModify", {},
        [](ModalQueueFlow& t) {
            t.OpenThree();
            t.Windows().ExpectDialog(IDD_ENTRY).Arrive(Arrival::Drop({t.Path("four.sek")})).Press(IDOK);
            t.ExpectMessage("Save changes to three.sek?", IDNO);
            t.Frame().DoubleClickList();
        },
        "four.sek - Sekreta", kFour, {}},
    {"Generator", {},
        [](ModalQueueFlow& t) {
            t.Windows().ExpectDialog(IDD_GENERATOR).Arrive(t.Request("four.sek")).Press(IDOK);
            t.Windows().ExpectMessageBox(IDOK);
            t.ExpectPassPhrase("abcd");
            t.Frame().ChooseMenuItem(ID_TOOLS_GENERATEPASSWORD);
        },
        "four.sek - Sekreta", kFour, {}},
    {"MessageBox", {},
        [](ModalQueueFlow& t) {
            t.AddMine();
            t.Windows().ExpectMessageBox("Save changes to Untitled?", IDCANCEL, {t.Request("four.sek")});
            t.ExpectMessage("Save changes to Untitled?", IDNO);
            t.ExpectPassPhrase("abcd");
            t.Frame().PressKey(Key::N, platform::Control);
        },
        "four.sek - Sekreta", kFour, {}},
    {"OpenDialog", {},
        [](ModalQueueFlow& t) {
            t.Windows().ExpectFileDialog(t.Path("three.sek"), {t.Request("four.sek")});
            t.ExpectPassPhrase("abcd");
            t.Frame().ChooseMenuItem(ID_FILE_OPEN);
        },
        "four.sek - Sekreta", kFour, {}},
    // The list still shows the old rows, with one selected, while the store is empty: the tool
    // bar's idle updates after each arrival must not read the store by that selection.
    {"UpdateHandlersDuringAnOpen", {},
        [](ModalQueueFlow& t) {
            t.AddMine();
            t.Windows().ExpectFileDialog(t.Path("three.sek"));
            t.ExpectMessage("Save changes to Untitled?", IDNO);
            t.Windows()
                .ExpectDialog(IDD_PASSPHRASE)
                .Arrive(t.Request("four.sek"))
                .SetText(IDC_PASSPHRASE, "wrong")
                .Press(IDOK);
            t.Windows().ExpectMessageBox("Unexpected file format.", IDOK, {t.Request("five.sek")});
            t.ExpectPassPhrase("abcd");
            t.Frame().ChooseMenuItem(ID_FILE_OPEN);
        },
        "five.sek - Sekreta", kFive, {}},
    {"PrintRequestOfAProgramNoUserStarted", {},
        [](ModalQueueFlow& t) {
            t.App().m_bUnderUserControl = false;
            const std::string print = "[print(\"" + t.Path("four.sek").string() + "\")]";
            t.Windows().ExpectFileDialog(std::nullopt, {Arrival::Request(print)});
            t.ExpectPassPhrase("abcd");
            t.Frame().ChooseMenuItem(ID_FILE_OPEN);
        },
        "four.sek - Sekreta", kFour, {}, true},
    {"TwoRequestsAtStartUp", {"three.sek"},
        [](ModalQueueFlow& t) {
            t.Windows()
                .ExpectDialog(IDD_PASSPHRASE)
                .Arrive(t.Request("four.sek"))
                .Arrive(t.Request("five.sek"))
                .SetText(IDC_PASSPHRASE, "abcd")
                .Press(IDOK);
        },
        "five.sek - Sekreta", kFive, {}},
    {"StartUpFailedOpensTheRequestInstead", {"three.sek"},
        [](ModalQueueFlow& t) {
            t.Windows().ExpectDialog(IDD_PASSPHRASE).Arrive(t.Request("four.sek")).Press(IDCANCEL);
            t.ExpectMessage("Access to " + t.Path("three.sek").string() + " was denied.");
            t.ExpectPassPhrase("abcd");
        },
        "four.sek - Sekreta", kFour, {}},
    {"StartUpFailedAndSoDidTheRequest", {"three.sek"},
        [](ModalQueueFlow& t) {
            t.Windows().ExpectDialog(IDD_PASSPHRASE).Arrive(t.Request("gone.sek")).Press(IDCANCEL);
            t.ExpectMessage("Access to " + t.Path("three.sek").string() + " was denied.");
            t.ExpectMessage(t.Path("gone.sek").string() + " was not found.");
        },
        "", {}, {}},
};

TEST_P(ModalQueueFlow, NothingChangesBehindAModalWindow)
{
    const Scenario& scenario = GetParam();
    if (scenario.arguments.empty()) {
        ASSERT_TRUE(Start({}));
        scenario.act(*this);
    } else {
        scenario.act(*this);
        EXPECT_EQ(Start(scenario.arguments), !scenario.caption.empty());
    }
    Windows().VerifyAllScriptsUsed();
    if (scenario.caption.empty()) {
        EXPECT_TRUE(Windows().Frames().empty());
    } else {
        EXPECT_EQ(Frame().Caption(), scenario.caption);
        EXPECT_EQ(ListAccounts(), AccountsOf(scenario.accounts));
    }
    EXPECT_EQ(Windows().QuitRequested(), scenario.quits);

    std::vector<std::string> names;
    for (const auto& [name, records] : scenario.written) {
        EXPECT_EQ(ReadFile(Path(name), "abcd"), records) << name;
        names.push_back(name);
    }
    for (const auto& [name, bytes] : m_before) {
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            EXPECT_EQ(ReadBytes(Path(name)), bytes) << name;
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(m_folder.Entries(), names) << "no other file is made";
}

INSTANTIATE_TEST_SUITE_P(WhileOpen, ModalQueueFlow, testing::ValuesIn(kScenarios),
    [](const testing::TestParamInfo<Scenario>& row) { return row.param.name; });

class ManyRequests : public ModalQueueFlow { };

TEST_F(ManyRequests, DuringOneMessageBoxTheBoundIsTakenAndEachRunsInATurnOfItsOwn)
{
    ASSERT_TRUE(Start({}));
    ExpectPassPhrase("abcd");
    ASSERT_NE(m_app->OpenDocumentFile(Path("four.sek")), nullptr);
    Doc().SetModifiedFlag(true);
    std::vector<Arrival> arrivals;
    for (std::size_t i = 0; i < 10'000; ++i)
        arrivals.push_back(Request("four.sek", i < CWinApp::kLongestQueue));
    Windows().ExpectMessageBox("Save changes to four.sek?", IDCANCEL, std::move(arrivals));
    const int activations = Frame().ActivationCount();
    const std::size_t turns = Windows().PostedTasksRun();
    Frame().PressKey(Key::N, platform::Control);

    // Each request for the open file shows the window and finds the file open: two activations.
    EXPECT_EQ(Frame().ActivationCount() - activations, 2 * static_cast<int>(CWinApp::kLongestQueue));
    EXPECT_EQ(Windows().PostedTasksRun() - turns, CWinApp::kLongestQueue) << "one turn of the loop each, none nested";
    EXPECT_EQ(Frame().Caption(), "four.sek - Sekreta");
    EXPECT_TRUE(Doc().IsModified());
}

}  // namespace
}  // namespace sekreta::test
