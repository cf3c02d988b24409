// The list of entries as files open, and the ways a file reaches the running program: the Open
// dialog with names that hold quotes, dropped files, requests from the desktop.
#include "TestApp.h"

#include "framework/FrameworkIds.h"
#include "resources/ResourceIds.h"

namespace sekreta::test {
namespace {

using platform::IDNO;
using platform::IDOK;

const std::vector<AccountRecord> kLetters = {{"Bank", "https://bank.example", "me", "s3cret", ""},
    {"Mail", "", "me@mail.example", "pw", ""}, {"Shop", "https://shop.example", "buyer", "x", ""}};
const std::vector<AccountRecord> kOther = {{"Club", "https://club.example", "member", "pw", ""}};

using Rows = std::vector<std::vector<std::string>>;
using Columns = std::vector<platform::HeadlessListControl::Column>;

class ListAndOpen : public ProgramTest {
protected:
    platform::HeadlessListControl& List() { return Frame().HeadlessList(); }

    void OpenWithDialog(const std::filesystem::path& path, const std::string& passPhrase = "abcd")
    {
        ExpectFileDialog(path);
        ExpectPassPhrase(passPhrase);
        ChooseOpen();
    }
};

TEST_F(ListAndOpen, AnEmptyDocumentShowsThreeHeadedColumnsInReportMode)
{
    EXPECT_EQ(List().Columns(), (Columns {{"Account", 400}, {"User", 200}, {"URL", 200}}));
    EXPECT_EQ(List().GetStyle() & 0xFFFF, 0x800Du);
    EXPECT_TRUE(List().Rows().empty());
    EXPECT_EQ(List().SelectedRow(), -1);
}

TEST_F(ListAndOpen, ColumnsAreRecomputedFromTheWidthAtEachNewOrOpen)
{
    List().SetClientWidth(403);
    EXPECT_EQ(List().Columns()[0].width, 400) << "a resize alone changes nothing";
    Frame().ChooseMenuItem(ID_FILE_NEW);
    EXPECT_EQ(List().Columns(), (Columns {{"Account", 201}, {"User", 100}, {"URL", 100}}));
}

TEST_F(ListAndOpen, AnOpenedFileFillsTheListInFileOrderWithTheLastRowSelected)
{
    OpenWithDialog(WriteFile("Letters.sek", kLetters, "abcd"));
    EXPECT_EQ(List().Rows(),
        (Rows {{"Bank", "me", "https://bank.example"}, {"Mail", "me@mail.example", ""},
            {"Shop", "buyer", "https://shop.example"}}));
    EXPECT_EQ(List().SelectedRow(), 2);
    EXPECT_EQ(Frame().Caption(), "Letters.sek - Sekreta");
}

// A zero byte, which only a foreign file holds, ends the cell and the copy; the field keeps it.
TEST_F(ListAndOpen, CellsShowTheFirst128BytesUpToAZeroByte)
{
    const std::string account(200, 'a');
    const std::string user(127, 'u');
    // 127 ASCII letters and a two-byte letter: the cell stops before the letter it would split.
    const std::string url = std::string(127, 'w') + "é";
    const std::vector<AccountRecord> records
        = {{account, url, user, "", ""}, {{"Bank\0x", 6}, "", {"\0me", 3}, {"pw\0rest", 7}, ""}};
    OpenWithDialog(WriteFile("Long.sek", records, "abcd"));
    EXPECT_EQ(List().Rows(), (Rows {{std::string(128, 'a'), user, std::string(127, 'w')}, {"Bank", "", ""}}));
    EXPECT_TRUE(Frame().PressKey(platform::Key::P, platform::Control));
    EXPECT_EQ(m_platform.clipboard.Text(), "pw");
    EXPECT_EQ(Doc().m_records, records);
}

TEST_F(ListAndOpen, AFileWhoseNameHoldsQuotesOpensFromTheOpenDialog)
{
    const auto best = WriteFile("my \"best\".sek", kLetters, "abcd");
    OpenWithDialog(best);
    EXPECT_EQ(Doc().GetPathName(), best.string());
    EXPECT_EQ(Frame().Caption(), "my \"best\".sek - Sekreta");
}

TEST_F(ListAndOpen, ALeadingQuoteNamesItsOwnFileAndSaveWritesThatFile)
{
    const auto quoted = WriteFile("\"a.sek", kLetters, "abcd");
    const auto plain = WriteFile("a.sek", kOther, "abcd");
    OpenWithDialog(quoted);
    EXPECT_EQ(Doc().m_records, kLetters);

    Doc().m_records.pop_back();
    Doc().SetModifiedFlag(true);
    EXPECT_TRUE(Frame().PressKey(platform::Key::S, platform::Control));
    EXPECT_EQ(ReadFile(quoted, "abcd")->size(), 2u);
    EXPECT_EQ(ReadFile(plain, "abcd"), kOther);
}

// Windows keeps a typed "Grüße €" as its Windows-1252 bytes; here the same phrase is typed in UTF-8.
// A new pass phrase keeps that form, which also opens a file written here under the typed one.
TEST_F(ListAndOpen, AFileFromWindowsOpensUnderThePhraseTypedHereAndIsSavedBackAsItCame)
{
    const std::string windowsBytes = "Gr\xFC\xDF"
                                     "e \x80";
    const auto path = WriteFile("Windows.sek", kLetters, windowsBytes);
    OpenWithDialog(path, "Grüße €");
    EXPECT_EQ(Doc().m_records, kLetters);
    EXPECT_EQ(Doc().m_strPassPhrase, windowsBytes);

    Doc().m_records = kOther;
    Doc().SetModifiedFlag(true);
    EXPECT_TRUE(Frame().PressKey(platform::Key::S, platform::Control));
    EXPECT_EQ(ReadFile(path, windowsBytes), kOther);
    ExpectPassPhrase("Maß ½ Liter");
    EXPECT_TRUE(Frame().ChooseMenuItem(ID_FILE_PASSPHRASE));
    EXPECT_TRUE(Frame().PressKey(platform::Key::S, platform::Control));
    EXPECT_EQ(ReadFile(path, "Ma\xDF \xBD Liter"), kOther);
    ExpectFileDialog(WriteFile("here.sek", kLetters, "Maß ½ Liter"));
    ChooseOpen();
    EXPECT_EQ(Doc().m_strPassPhrase, "Maß ½ Liter") << "here.sek opened";
}

TEST_F(ListAndOpen, DroppedFilesOpenInTurnAndTheLastOneThatOpensStays)
{
    const auto first = WriteFile("first.sek", kLetters, "abcd");
    const auto second = WriteFile("second.sek", kOther, "abcd");
    ExpectPassPhrase("abcd");
    ExpectMessage((m_folder / "gone.sek").string() + " was not found.");
    Frame().DropFiles({first, second, m_folder / "gone.sek"});
    EXPECT_EQ(Doc().GetPathName(), second.string());
    EXPECT_EQ(Doc().m_records, kOther);
    EXPECT_GT(Frame().ActivationCount(), 0);
}

TEST_F(ListAndOpen, ADroppedFileAsksToSaveTheChangesFirst)
{
    Doc().m_records = kOther;
    Doc().SetModifiedFlag(true);
    ExpectMessage("Save changes to Untitled?", IDNO);
    ExpectPassPhrase("abcd");
    Frame().DropFiles({WriteFile("Letters.sek", kLetters, "abcd")});
    EXPECT_EQ(Doc().m_records, kLetters);
}

TEST_F(ListAndOpen, AnOpenRequestRestoresTheWindowAndOpensTheFile)
{
    const auto letters = WriteFile("Letters.sek", kLetters, "abcd");
    Frame().Show(platform::ShowCommand::Minimized);
    ExpectPassPhrase("abcd");
    EXPECT_TRUE(Frame().SendShellRequest("[open(\"" + letters.string() + "\")]"));
    EXPECT_FALSE(Frame().IsMinimized());
    EXPECT_EQ(Frame().Caption(), "Letters.sek - Sekreta");
}

TEST_F(ListAndOpen, PrintRequestsOpenTheFileAndLeaveTheWindowOfAUser)
{
    const auto letters = WriteFile("Letters.sek", kLetters, "abcd");
    ExpectPassPhrase("abcd");
    EXPECT_TRUE(Frame().SendShellRequest("[printto(\"" + letters.string() + "\",\"Office\",\"winspool\",\"LPT1:\")]"));
    EXPECT_EQ(Doc().GetPathName(), letters.string());
    EXPECT_FALSE(m_platform.windows.QuitRequested());
}

TEST_F(ListAndOpen, MalformedRequestsAreRefusedAndChangeNothing)
{
    const auto letters = WriteFile("Letters.sek", kLetters, "abcd");
    for (const std::string& request :
        {"[open(" + letters.string() + ")]", "[open(\"" + letters.string(), "[OPEN(\"" + letters.string() + "\")]",
            "open(\"" + letters.string() + "\")", "[printto(\"" + letters.string() + "\")]", std::string()}) {
        EXPECT_FALSE(Frame().SendShellRequest(request)) << request;
    }
    EXPECT_EQ(Frame().Caption(), "Untitled - Sekreta");
}

}  // namespace
}  // namespace sekreta::test
