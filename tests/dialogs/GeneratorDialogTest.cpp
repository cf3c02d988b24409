// The password generator dialog: what it opens with, how it reads the length and the kinds of
// characters, and the passwords it makes from the program's random source.
#include "DialogTest.h"

#include "dialogs/CGeneratorDlg.h"
#include "generator/PasswordRules.h"
#include "resources/ControlIds.h"
#include "resources/ResourceIds.h"

#include <stdexcept>
#include <vector>

namespace sekreta::test {
namespace {

using platform::IDCANCEL;
using platform::IDOK;

const std::string kRangeMessage = "Please enter an integer between 4 and 128.";
const std::string kNumberMessage = "Please enter a positive integer.";

// What both callers set before running the generator.
void Preset(CGeneratorDlg& generator)
{
    generator.m_nLength = 8;
    generator.m_bLower = 1;
}

struct Kinds {
    int lower;
    int upper;
    int digits;
};

const Kinds kEveryCombination[]
    = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {0, 0, 1}, {1, 0, 1}, {0, 1, 1}, {1, 1, 1}};

class GeneratorDialog : public DialogTest { };

TEST_F(GeneratorDialog, OpensWithThePresetAndTheFocusOnTheLowerCaseBox)
{
    Windows()
        .ExpectDialog(IDD_GENERATOR)
        .ExpectText(IDC_LENGTH, "8")
        .ExpectCheck(IDC_LOWER, 1)
        .ExpectCheck(IDC_UPPER, 0)
        .ExpectCheck(IDC_DIGITS, 0)
        .ExpectFocus(IDC_LOWER)
        .PressEnter();
    CGeneratorDlg generator;
    Preset(generator);
    EXPECT_EQ(generator.DoModal(), IDOK);
    EXPECT_EQ(generator.m_nLength, 8u);
    EXPECT_EQ(generator.m_bLower, 1);
    EXPECT_EQ(generator.m_bUpper, 0);
    EXPECT_EQ(generator.m_bDigits, 0);
    EXPECT_EQ(Windows().DialogsShown(), std::vector<unsigned> {IDD_GENERATOR});
}

TEST_F(GeneratorDialog, PinsThePasswordsOfEveryCombinationChosenInTheDialog)
{
    // From the seed for each combination: a password of 12 chosen in the dialog, then one of 8.
    const std::vector<std::vector<std::string>> expected = {
        {"acikynefebom", "iluwenuf"},
        {"acikynefebom", "iluwenuf"},
        {"ACIKYNEFEBOM", "ILUWENUF"},
        {"Acikynefebom", "Ityfosec"},
        {"104395111050", "47815710"},
        {"acikynefebo0", "ityfose0"},
        {"ACIKYNEFEBO0", "ITYFOSE0"},
        {"Acikynefebo3", "uweNufa1"},
    };
    std::vector<std::vector<std::string>> made;
    for (const Kinds& kinds : kEveryCombination) {
        m_platform.random = platform::CrtRandomSource(kSeed);
        Windows()
            .ExpectDialog(IDD_GENERATOR)
            .SetCheck(IDC_LOWER, kinds.lower)
            .SetCheck(IDC_UPPER, kinds.upper)
            .SetCheck(IDC_DIGITS, kinds.digits)
            .SetText(IDC_LENGTH, "12")
            .Press(IDOK);
        CGeneratorDlg generator;
        Preset(generator);
        ASSERT_EQ(generator.DoModal(), IDOK);
        std::vector<std::string> passwords {generator.Generate()};
        generator.m_nLength = 8;
        passwords.push_back(generator.Generate());
        made.push_back(passwords);

        EXPECT_EQ(generator.m_bLower, kinds.upper || kinds.digits ? kinds.lower : 1)
            << "only the lack of both other kinds turns lower case on";
        EXPECT_EQ(generator.m_bUpper, kinds.upper);
        EXPECT_EQ(generator.m_bDigits, kinds.digits);
    }
    EXPECT_EQ(made, expected);
    EXPECT_TRUE(Windows().MessageBoxes().empty());
}

TEST_F(GeneratorDialog, DrawTakesTheProgramsRandomSource)
{
    CGeneratorDlg generator;
    std::vector<unsigned> indexes;
    for (const unsigned n : {2u, 20u, 6u, 10u, 126u, 1u})
        indexes.push_back(generator.Draw(n));
    EXPECT_EQ(indexes, (std::vector<unsigned> {0, 2, 0, 4, 47, 0}));
}

TEST_F(GeneratorDialog, ALengthOutsideFourTo128GivesTheRangeMessage)
{
    for (const char* length : {"3", "129", "0", "99999999999"}) {
        Windows()
            .ExpectDialog(IDD_GENERATOR)
            .SetText(IDC_LENGTH, length)
            .SetCheck(IDC_LOWER, 0)
            .SetCheck(IDC_UPPER, 1)
            .SetCheck(IDC_DIGITS, 1)
            .Press(IDOK)
            .ExpectFocus(IDC_LENGTH, true)
            .ExpectText(IDC_LENGTH, length)
            .Press(IDCANCEL);
        Windows().ExpectMessageBox(kRangeMessage, IDOK);
        CGeneratorDlg generator;
        Preset(generator);
        EXPECT_EQ(generator.DoModal(), IDCANCEL) << length;
        EXPECT_EQ(generator.m_bLower, 1) << "the check boxes are read only after the length passes";
        EXPECT_EQ(generator.m_bUpper, 0);
        EXPECT_EQ(generator.m_bDigits, 0);
    }
    EXPECT_EQ(Windows().MessageBoxes().size(), 4u);
    ExpectEveryMessageBoxShown(platform::MessageIcon::Exclamation);
}

TEST_F(GeneratorDialog, ALengthThatIsNoUnsignedNumberGivesTheNumberMessage)
{
    for (const char* length : {"-1", "12a", "0x10", "", "1 2", "+"}) {
        Windows()
            .ExpectDialog(IDD_GENERATOR)
            .SetText(IDC_LENGTH, length)
            .SetCheck(IDC_DIGITS, 1)
            .PressEnter()
            .ExpectFocus(IDC_LENGTH, true)
            .Press(IDCANCEL);
        Windows().ExpectMessageBox(kNumberMessage, IDOK);
        CGeneratorDlg generator;
        Preset(generator);
        EXPECT_EQ(generator.DoModal(), IDCANCEL) << length;
        EXPECT_EQ(generator.m_nLength, 8u) << length;
        EXPECT_EQ(generator.m_bDigits, 0) << length;
    }
    ExpectEveryMessageBoxShown(platform::MessageIcon::Exclamation);
}

TEST_F(GeneratorDialog, BlanksAroundTheNumberAndAPlusSignAreAccepted)
{
    const std::pair<const char*, std::uint32_t> accepted[] = {{" 12 ", 12}, {"+12", 12}, {"\t4", 4}, {"128", 128}};
    for (const auto& [length, expected] : accepted) {
        Windows().ExpectDialog(IDD_GENERATOR).SetText(IDC_LENGTH, length).SetCheck(IDC_UPPER, 1).Press(IDOK);
        CGeneratorDlg generator;
        Preset(generator);
        EXPECT_EQ(generator.DoModal(), IDOK) << length;
        EXPECT_EQ(generator.m_nLength, expected) << length;
        EXPECT_EQ(generator.m_bUpper, 1) << length;
        EXPECT_EQ(generator.Generate().size(), expected) << length;
    }
    EXPECT_TRUE(Windows().MessageBoxes().empty());
}

TEST_F(GeneratorDialog, ACorrectedLengthIsTakenOnTheNextOK)
{
    Windows()
        .ExpectDialog(IDD_GENERATOR)
        .SetText(IDC_LENGTH, "12a")
        .SetCheck(IDC_LOWER, 0)
        .SetCheck(IDC_DIGITS, 1)
        .Press(IDOK)
        .ExpectFocus(IDC_LENGTH, true)
        .Type("3")
        .Press(IDOK)
        .ExpectFocus(IDC_LENGTH, true)
        .Type("16")
        .Press(IDOK);
    Windows().ExpectMessageBox(kNumberMessage, IDOK);
    Windows().ExpectMessageBox(kRangeMessage, IDOK);
    CGeneratorDlg generator;
    Preset(generator);
    EXPECT_EQ(generator.DoModal(), IDOK);
    EXPECT_EQ(generator.m_nLength, 16u);
    EXPECT_EQ(generator.m_bLower, 0);
    EXPECT_EQ(generator.m_bDigits, 1);
    EXPECT_EQ(generator.Generate(), "1043951110540348");
}

TEST_F(GeneratorDialog, CancelReadsNothing)
{
    Windows()
        .ExpectDialog(IDD_GENERATOR)
        .SetText(IDC_LENGTH, "20")
        .SetCheck(IDC_LOWER, 0)
        .SetCheck(IDC_UPPER, 1)
        .Press(IDCANCEL);
    CGeneratorDlg generator;
    Preset(generator);
    EXPECT_EQ(generator.DoModal(), IDCANCEL);
    EXPECT_EQ(generator.m_nLength, 8u);
    EXPECT_EQ(generator.m_bLower, 1);
    EXPECT_EQ(generator.m_bUpper, 0);
}

TEST_F(GeneratorDialog, EveryPasswordKeepsTheRulesOfItsKinds)
{
    for (const Kinds& kinds : kEveryCombination) {
        for (std::uint32_t length = 4; length <= 128; ++length) {
            for (int repeat = 0; repeat < 4; ++repeat) {
                CGeneratorDlg generator;
                generator.m_nLength = length;
                generator.m_bLower = kinds.lower;
                generator.m_bUpper = kinds.upper;
                generator.m_bDigits = kinds.digits;
                const std::string password = generator.Generate();
                const GeneratorSettings settings {length, kinds.lower != 0, kinds.upper != 0, kinds.digits != 0};
                ASSERT_EQ(BrokenGeneratorRule(password, settings), "")
                    << password << " from " << kinds.lower << kinds.upper << kinds.digits;
            }
        }
    }
}

TEST_F(GeneratorDialog, GenerateRefusesALengthThatOKWouldNotLetThrough)
{
    for (const std::uint32_t length : {0u, 3u, 129u}) {
        CGeneratorDlg generator;
        generator.m_nLength = length;
        EXPECT_THROW(generator.Generate(), std::out_of_range) << length;
        EXPECT_EQ(generator.m_bLower, 0) << length;
    }
    EXPECT_EQ(m_platform.random.Next(), 6648) << "nothing was drawn";
}

}  // namespace
}  // namespace sekreta::test
