// The document's life around its pass phrase: when it is asked for, what an answer or a
// cancel does, and what state open, save, new and a change of pass phrase leave behind.
#include "TestApp.h"

#include "framework/FrameworkIds.h"
#include "resources/ControlIds.h"
#include "resources/ResourceIds.h"

namespace sekreta::test {
namespace {

using platform::IDCANCEL;
using platform::IDNO;
using platform::IDOK;

const std::vector<AccountRecord> kLetters
    = {{"Bank", "https://bank.example", "me", "s3cret", "PIN 1234"}, {"Mail", "", "me@example.com", "hunter22", ""}};
const std::vector<AccountRecord> kOther = {{"Shop", "https://shop.example", "buyer", "pw", ""}};

class PassPhraseFlow : public ProgramTest { };

TEST_F(PassPhraseFlow, OpeningAsksForThePassPhraseAndListsTheEntries)
{
    const auto path = WriteFile("Letters.sek", kLetters, "abcd");
    ExpectFileDialog(path);
    ExpectPassPhrase("abcd");
    ChooseOpen();

    EXPECT_EQ(Doc().m_records, kLetters);
    EXPECT_EQ(ListAccounts(), (std::vector<std::string> {"Bank", "Mail"}));
    EXPECT_EQ(Doc().m_strPassPhrase, "abcd");
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(Doc().GetPathName(), path.string());
    EXPECT_EQ(Frame().Caption(), "Letters.sek - Sekreta");
}

TEST_F(PassPhraseFlow, ASecondFileUnderTheHeldPassPhraseOpensWithoutAsking)
{
    ExpectFileDialog(WriteFile("a.sek", kLetters, "abcd"));
    ExpectPassPhrase("abcd");
    ChooseOpen();
    ExpectFileDialog(WriteFile("b.sek", kOther, "abcd"));
    ChooseOpen();

    EXPECT_EQ(Doc().m_records, kOther);
    EXPECT_EQ(ListAccounts(), std::vector<std::string> {"Shop"});
    EXPECT_EQ(m_platform.windows.DialogsShown().size(), 1u);
}

TEST_F(PassPhraseFlow, ASecondFileUnderAnotherPassPhraseFailsThenAsksOnTheNextTry)
{
    ExpectFileDialog(WriteFile("a.sek", kLetters, "abcd"));
    ExpectPassPhrase("abcd");
    ChooseOpen();

    const auto other = WriteFile("b.sek", kOther, "efgh");
    ExpectFileDialog(other);
    ExpectMessage("Unexpected file format.");
    ChooseOpen();
    EXPECT_TRUE(Doc().m_records.empty());
    EXPECT_TRUE(ListAccounts().empty());
    EXPECT_EQ(Doc().m_strPassPhrase, "");
    EXPECT_EQ(Doc().GetPathName(), "");
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(Frame().Caption(), "Untitled - Sekreta");
    const platform::MessageBoxRequest& box = m_platform.windows.MessageBoxes().back();
    EXPECT_EQ(box.caption, "Sekreta");
    EXPECT_EQ(box.icon, platform::MessageIcon::Exclamation);
    EXPECT_EQ(box.buttons, platform::MessageButtons::Ok);

    ExpectFileDialog(other);
    ExpectPassPhrase("efgh");
    ChooseOpen();
    EXPECT_EQ(Doc().m_records, kOther);
}

TEST_F(PassPhraseFlow, AWrongPassPhraseLeavesAnEmptyUntitledDocument)
{
    ExpectFileDialog(WriteFile("a.sek", kLetters, "abcd"));
    ExpectPassPhrase("abce");
    ExpectMessage("Unexpected file format.");
    ChooseOpen();

    EXPECT_TRUE(Doc().m_records.empty());
    EXPECT_EQ(Doc().m_strPassPhrase, "");
    EXPECT_EQ(Doc().GetTitle(), "Untitled");
}

TEST_F(PassPhraseFlow, CancellingThePromptWhileOpeningDeniesAccessToTheFullPath)
{
    Doc().m_records = kOther;
    ExpectFileDialog(WriteFile("a.sek", kLetters, "abcd"));
    ExpectPassPhraseCancelled();
    ExpectMessage("Access to " + (m_folder / "a.sek").string() + " was denied.");
    ChooseOpen();

    EXPECT_TRUE(Doc().m_records.empty());
    EXPECT_TRUE(ListAccounts().empty());
    EXPECT_EQ(Doc().m_strPassPhrase, "");
    EXPECT_EQ(Doc().GetTitle(), "Untitled");
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(PassPhraseFlow, AnEmptyFileOpensWithoutAskingAndKeepsTheHeldPassPhrase)
{
    ExpectFileDialog(WriteFile("a.sek", kLetters, "abcd"));
    ExpectPassPhrase("abcd");
    ChooseOpen();
    const auto empty = m_folder / "Empty.sek";
    WriteBytes(empty, {});
    ExpectFileDialog(empty);
    ChooseOpen();

    EXPECT_TRUE(Doc().m_records.empty());
    EXPECT_TRUE(ListAccounts().empty());
    EXPECT_EQ(Doc().m_strPassPhrase, "abcd");
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(Frame().Caption(), "Empty.sek - Sekreta");
}

TEST_F(PassPhraseFlow, AFileThatCannotBeOpenedLeavesTheDocumentAsItWas)
{
    ExpectFileDialog(WriteFile("a.sek", kLetters, "abcd"));
    ExpectPassPhrase("abcd");
    ChooseOpen();
    Doc().SetModifiedFlag(true);
    const auto missing = m_folder / "gone.sek";
    ExpectFileDialog(missing);
    ExpectMessage("Save changes to a.sek?", IDNO);
    ExpectMessage(missing.string() + " was not found.");
    ChooseOpen();

    EXPECT_EQ(Doc().m_records, kLetters);
    EXPECT_EQ(Doc().m_strPassPhrase, "abcd");
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Doc().GetTitle(), "a.sek");
}

TEST_F(PassPhraseFlow, AChangedPassPhraseThatIsNotSavedLeavesTheFileUnderTheOldOne)
{
    const auto path = WriteFile("a.sek", kLetters, "abcd");
    ExpectFileDialog(path);
    ExpectPassPhrase("abcd");
    ChooseOpen();
    ExpectPassPhrase("wxyz");
    EXPECT_TRUE(Frame().ChooseMenuItem(ID_FILE_PASSPHRASE));
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Doc().m_strPassPhrase, "wxyz");

    ExpectMessage("Save changes to a.sek?", IDNO);
    Frame().RequestClose();

    EXPECT_TRUE(m_platform.windows.QuitRequested());
    EXPECT_EQ(ReadFile(path, "abcd"), kLetters);
    EXPECT_EQ(ReadFile(path, "wxyz"), std::nullopt);
}

TEST_F(PassPhraseFlow, AChangedPassPhraseIsUsedBySaveWithoutAsking)
{
    const auto path = WriteFile("a.sek", kLetters, "abcd");
    ExpectFileDialog(path);
    ExpectPassPhrase("abcd");
    ChooseOpen();
    ExpectPassPhrase("wxyz");
    Frame().ChooseMenuItem(ID_FILE_PASSPHRASE);

    EXPECT_TRUE(Frame().PressKey(platform::Key::S, platform::Control));
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(m_platform.windows.DialogsShown().size(), 2u) << "no prompt during the save";
    EXPECT_EQ(ReadFile(path, "wxyz"), kLetters);
    EXPECT_EQ(ReadFile(path, "abcd"), std::nullopt);
}

TEST_F(PassPhraseFlow, CancellingAChangeOfPassPhraseChangesNothing)
{
    ExpectFileDialog(WriteFile("a.sek", kLetters, "abcd"));
    ExpectPassPhrase("abcd");
    ChooseOpen();
    m_platform.windows.ExpectDialog(IDD_PASSPHRASE).SetText(IDC_PASSPHRASE, "wxyz").Press(IDCANCEL);
    Frame().ChooseMenuItem(ID_FILE_PASSPHRASE);

    EXPECT_EQ(Doc().m_strPassPhrase, "abcd");
    EXPECT_FALSE(Doc().IsModified());
}

TEST_F(PassPhraseFlow, APassPhraseOfThreeCharactersIsRefusedAndOneOfFourBlanksTaken)
{
    const auto path = m_folder / "new.sek";
    m_platform.windows.ExpectFileDialog(path);
    m_platform.windows.ExpectDialog(IDD_PASSPHRASE)
        .SetText(IDC_PASSPHRASE, "abc")
        .Press(IDOK)
        .ExpectText(IDC_PASSPHRASE, "abc")
        .SetText(IDC_PASSPHRASE, "")
        .Press(IDOK)
        .SetText(IDC_PASSPHRASE, "    ")
        .Press(IDOK);
    ExpectMessage("Please enter a pass phrase of at least 4 characters");
    ExpectMessage("Please enter a pass phrase of at least 4 characters");
    Frame().ChooseMenuItem(ID_FILE_SAVE);
    m_platform.windows.VerifyAllScriptsUsed();

    const platform::MessageBoxRequest& refusal = m_platform.windows.MessageBoxes().front();
    EXPECT_EQ(refusal.icon, platform::MessageIcon::None);
    EXPECT_EQ(refusal.buttons, platform::MessageButtons::Ok);
    EXPECT_EQ(refusal.caption, "Sekreta");
    EXPECT_EQ(Doc().m_strPassPhrase, "    ");
    EXPECT_EQ(ReadFile(path, "    "), std::vector<AccountRecord> {});
}

TEST_F(PassPhraseFlow, TheFirstSaveAsksOnceAfterTheFileNameAndTheNextSaveNotAtAll)
{
    Doc().m_records = kLetters;
    Doc().SetModifiedFlag(true);
    const auto path = m_folder / "Letters.sek";
    m_platform.windows.ExpectFileDialog(path);
    ExpectPassPhrase("abcd");
    Frame().ChooseMenuItem(ID_FILE_SAVE);
    m_platform.windows.VerifyAllScriptsUsed();
    EXPECT_EQ(ReadFile(path, "abcd"), kLetters);
    EXPECT_EQ(Frame().Caption(), "Letters.sek - Sekreta");

    Doc().m_records.push_back(kOther.front());
    Doc().SetModifiedFlag(true);
    Frame().ChooseMenuItem(ID_FILE_SAVE);
    EXPECT_EQ(ReadFile(path, "abcd")->size(), 3u);
    EXPECT_EQ(m_platform.windows.DialogsShown().size(), 1u);
}

TEST_F(PassPhraseFlow, CancellingThePromptWhileSavingLeavesNoFileAndTheDocumentAsItWas)
{
    Doc().m_records = kLetters;
    Doc().SetModifiedFlag(true);
    const auto path = m_folder / "Letters.sek";
    m_platform.windows.ExpectFileDialog(path);
    ExpectPassPhraseCancelled();
    ExpectMessage("Access to " + path.string() + " was denied.");
    Frame().ChooseMenuItem(ID_FILE_SAVE);
    m_platform.windows.VerifyAllScriptsUsed();

    EXPECT_TRUE(m_folder.Entries().empty());
    EXPECT_EQ(Doc().m_records, kLetters);
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Doc().m_strPassPhrase, "");
    EXPECT_EQ(Doc().GetTitle(), "Untitled");
}

TEST_F(PassPhraseFlow, ANewDocumentForgetsThePassPhrase)
{
    ExpectFileDialog(WriteFile("a.sek", kLetters, "abcd"));
    ExpectPassPhrase("abcd");
    ChooseOpen();
    Frame().ChooseMenuItem(ID_FILE_NEW);
    EXPECT_TRUE(Doc().m_records.empty());
    EXPECT_TRUE(ListAccounts().empty());
    EXPECT_EQ(Doc().m_strPassPhrase, "");
    EXPECT_EQ(Frame().Caption(), "Untitled - Sekreta");

    const auto path = m_folder / "b.sek";
    m_platform.windows.ExpectFileDialog(path);
    ExpectPassPhrase("efgh");
    Frame().ChooseMenuItem(ID_FILE_SAVE);
    m_platform.windows.VerifyAllScriptsUsed();
    EXPECT_EQ(ReadFile(path, "efgh"), std::vector<AccountRecord> {});
}

}  // namespace
}  // namespace sekreta::test
