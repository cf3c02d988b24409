#include "cli/CsvImport.h"

#include <gtest/gtest.h>

#include <vector>

namespace sekreta::cli {
namespace {

AccountRecord Record(
    std::string account, std::string url = {}, std::string user = {}, std::string password = {}, std::string notes = {})
{
    return {std::move(account), std::move(url), std::move(user), std::move(password), std::move(notes)};
}

struct CsvCase {
    const char* name;
    std::string text;
    std::vector<AccountRecord> records;
};

void PrintTo(const CsvCase& csvCase, std::ostream* out)
{
    *out << csvCase.name;
}

class CsvImportTest : public testing::TestWithParam<CsvCase> { };

TEST_P(CsvImportTest, FindsTheFieldsOfEveryRow)
{
    EXPECT_EQ(RecordsFromCsv(GetParam().text, "in.csv"), GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(Layouts, CsvImportTest,
    testing::Values(CsvCase {"KeePassXCImportLayout",
                        "\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\"\r\n"
                        "\"\",\"Mail\",\"me\",\"pw\",\"https://m\",\"n\"\r\n",
                        {Record("Mail", "https://m", "me", "pw", "n")}},
        CsvCase {"ColumnsByNameInAnyOrderAndCase", "\xEF\xBB\xBFnotes,url,TOTP,password,username,title\nN,U,x,P,Us,T\n",
            {Record("T", "U", "Us", "P", "N")}},
        CsvCase {"MissingColumnsAndBlankLines", "Password,Title\n1,A\n\n\r\n2,B",
            {Record("A", "", "", "1"), Record("B", "", "", "2")}},
        CsvCase {"BlanksAroundHeaderNames", "Title, Username ,\tPassword\t,  URL\nA, u,p ,x\n",
            {Record("A", "x", " u", "p ")}},
        CsvCase {"QuotesCommasAndLineBreaks", "Title,Notes,Password\n\"a \"\"q\"\", b\",\"l1\nl2\r\nl3\rl4\",\n",
            {Record("a \"q\", b", "", "", "", "l1\r\nl2\r\nl3\rl4")}},
        CsvCase {"QuoteInsideAPlainField", "Title,Password\n5\" disk,x\"y\n", {Record("5\" disk", "", "", "x\"y")}},
        CsvCase {"CarriageReturnsEndRows", "Title,Password\rA,1\rB,2\r",
            {Record("A", "", "", "1"), Record("B", "", "", "2")}},
        CsvCase {"EmptyFieldsAtTheEnd", "Title,Password,\nA,,\n\"\",\"\",\"\"", {Record("A"), Record("")}},
        CsvCase {"HeaderAlone", "Title,Password\r\n", {}}),
    [](const testing::TestParamInfo<CsvCase>& testInfo) { return testInfo.param.name; });

}  // namespace
}  // namespace sekreta::cli
