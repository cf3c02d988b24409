// Entries reached by name as well as by number, and found by search.
#include "CliFixture.h"

namespace sekreta::test {
namespace {

class EntryLookupTest : public CliTest {
protected:
    void SetUp() override
    {
        WriteRecords(m_file,
            {{"Bank of Ada", "https://ada.example", "ada", "1", ""}, {"bank", "", "b", "2", ""},
                {"Mail", "https://mail.example", "me", "3", "PIN at the BANK"}, {"Mailbox", "", "", "4", ""},
                {"M\xC3\xBCller Shop", "", "", "5", ""}, {"Caf\xE9", "", "", "6", ""},
                {"\xD0\x9F\xD0\xBE\xD1\x87\xD1\x82\xD0\xB0", "", "", "7", ""}, {"Mai\x1B[2J", "", "", "8", ""}},
            kPhrase);
    }

    // The password of the entry that `entry` names, which is its number here.
    std::string PasswordOf(const std::string& entry)
    {
        return Ok({"show", m_file, entry, "--field", "password", "--passphrase-stdin"});
    }
};

TEST_F(EntryLookupTest, ANameIsExactElseEqualIgnoringCaseElseAUniquePrefix)
{
    EXPECT_EQ(PasswordOf("bank"), "2\n") << "exact, although \"Bank of Ada\" starts with it";
    EXPECT_EQ(PasswordOf("BANK"), "2\n") << "equal ignoring case";
    EXPECT_EQ(PasswordOf("bank "), "1\n") << "the one that starts with it";
    EXPECT_EQ(PasswordOf("mail"), "3\n");
    EXPECT_EQ(PasswordOf("MAILB"), "4\n");
    EXPECT_EQ(PasswordOf("m\xC3\x9C"), "5\n") << "capital and small umlauts are the same letter";
    EXPECT_EQ(PasswordOf("caf\xC3\x89"), "6\n") << "a Windows-1252 name, typed in UTF-8";
    EXPECT_EQ(PasswordOf("\xD0\xBF\xD0\x9E\xD0\xA7"), "7\n") << "Cyrillic";
    EXPECT_EQ(PasswordOf("7"), "7\n") << "digits alone are a number";
}

TEST_F(EntryLookupTest, EditAndRmTakeNamesToo)
{
    EXPECT_EQ(Ok({"edit", m_file, "mailb", "--user", "box", "--passphrase-stdin"}), "");
    EXPECT_EQ(Ok({"rm", m_file, "Bank of", "--passphrase-stdin"}), "");
    const std::vector<AccountRecord> records = ReadRecords(m_file, kPhrase);
    ASSERT_EQ(records.size(), 7u);
    EXPECT_EQ(records[0].account, "bank");
    EXPECT_EQ(records[2].account, "Mailbox");
    EXPECT_EQ(records[2].user, "box");
}

TEST_F(EntryLookupTest, AnAmbiguousNameListsWhatItCouldMean)
{
    const auto before = ReadBytes(m_file);
    Fails({"rm", m_file, "Mai", "--passphrase-stdin"}, kPhraseLine, 1,
        "\"Mai\" could mean any of these entries:\n3\tMail\tme\thttps://mail.example\n4\tMailbox\t\t\n"
        "8\tMai\\x1b[2J\t\t");
    Fails({"show", m_file, "b", "--passphrase-stdin"}, kPhraseLine, 1,
        "\"b\" could mean any of these entries:\n1\tBank of Ada\tada\thttps://ada.example\n2\tbank\tb\t");
    Fails({"show", m_file, "Post", "--passphrase-stdin"}, kPhraseLine, 1, "There is no entry named \"Post\".");
    Fails({"show", m_file, "9", "--passphrase-stdin"}, kPhraseLine, 1, "There is no entry 9: the file has 8 entries.");
    EXPECT_EQ(ReadBytes(m_file), before);
}

TEST_F(EntryLookupTest, SearchListsTheEntriesThatContainTheTextAnywhere)
{
    EXPECT_EQ(Ok({"search", m_file, "BANK", "--passphrase-stdin"}),
        "1\tBank of Ada\tada\thttps://ada.example\n2\tbank\tb\t\n3\tMail\tme\thttps://mail.example\n")
        << "in the notes of entry 3";
    EXPECT_EQ(Ok({"search", m_file, "ADA.EX", "--passphrase-stdin"}), "1\tBank of Ada\tada\thttps://ada.example\n");
    EXPECT_EQ(Ok({"search", m_file, "\xC3\xBC", "--json", "--passphrase-stdin"}),
        "[\n  {\n    \"index\": 5,\n    \"account\": \"M\xC3\xBCller Shop\",\n    \"user\": \"\",\n"
        "    \"url\": \"\"\n  }\n]\n");
    Fails({"search", m_file, "zzz", "--passphrase-stdin"}, kPhraseLine, 1, "No entry contains \"zzz\".");
}

TEST_F(CliTest, AnEntryOfAZeroByteFileIsRefusedBeforeAnythingIsAsked)
{
    WriteBytes(m_file, {});
    // No pass phrase is given: asking for the new one would fail differently.
    Fails({"rm", m_file, "1"}, "", 1, "There is no entry 1: the file has no entries.");
    Fails({"edit", m_file, "Bank", "--user", "x"}, "", 1, "There is no entry named \"Bank\".");
    Fails({"show", m_file, "1"}, "", 1, "There is no entry 1: the file has no entries.");
    EXPECT_TRUE(ReadBytes(m_file).empty());
}

}  // namespace
}  // namespace sekreta::test
