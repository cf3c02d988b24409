// The pass phrase field's width and where the focus goes after a refused phrase.
#include "DialogTest.h"

#include "dialogs/CPassPhraseDlg.h"
#include "resources/ControlIds.h"
#include "resources/ResourceIds.h"

namespace sekreta::test {
namespace {

using platform::IDCANCEL;
using platform::IDOK;

class PassPhraseDialog : public DialogTest { };

std::string Repeated(std::string_view text, int times)
{
    std::string result;
    for (int i = 0; i < times; ++i)
        result += text;
    return result;
}

TEST_F(PassPhraseDialog, TheFieldTakesTheFirst48CharactersTyped)
{
    const std::string alphabet = "abcdefghijklmnopqrstuvwxyz";
    Windows()
        .ExpectDialog(IDD_PASSPHRASE)
        .SetText(IDC_PASSPHRASE, alphabet + alphabet + alphabet)
        .ExpectText(IDC_PASSPHRASE, alphabet + alphabet.substr(0, 22))
        .Press(IDOK);
    CPassPhraseDlg dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strPassPhrase, alphabet + alphabet.substr(0, 22));
}

TEST_F(PassPhraseDialog, TheWidthCountsCharactersNotBytes)
{
    Windows()
        .ExpectDialog(IDD_PASSPHRASE)
        .Type(Repeated("\xC3\xA9", 40))
        .Type(Repeated("\xE2\x82\xAC", 7))
        .Type("xyz")
        .Press(IDOK);
    CPassPhraseDlg dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strPassPhrase, Repeated("\xC3\xA9", 40) + Repeated("\xE2\x82\xAC", 7) + "x");
}

TEST_F(PassPhraseDialog, AfterTheRefusalTheFocusIsBackInTheFieldWithTheTextAsItWas)
{
    Windows()
        .ExpectDialog(IDD_PASSPHRASE)
        .Type("abc")
        .Press(IDOK)
        .ExpectFocus(IDC_PASSPHRASE, false)
        .ExpectText(IDC_PASSPHRASE, "abc")
        .Type("d")
        .PressEnter();
    Windows().ExpectMessageBox("Please enter a pass phrase of at least 4 characters", IDOK);
    CPassPhraseDlg dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strPassPhrase, "abcd");
    ExpectEveryMessageBoxShown(platform::MessageIcon::None);
}

TEST_F(PassPhraseDialog, CancelAfterARefusalReturnsCancel)
{
    Windows().ExpectDialog(IDD_PASSPHRASE).PressEnter().ExpectFocus(IDC_PASSPHRASE, true).Press(IDCANCEL);
    Windows().ExpectMessageBox("Please enter a pass phrase of at least 4 characters", IDOK);
    CPassPhraseDlg dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

}  // namespace
}  // namespace sekreta::test
