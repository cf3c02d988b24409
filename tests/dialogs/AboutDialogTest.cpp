// The About box as the About command fills it.
#include "DialogTest.h"

#include "dialogs/CAboutDlg.h"
#include "dialogs/ProductInfo.h"
#include "resources/ControlIds.h"
#include "resources/ResourceIds.h"

namespace sekreta::test {
namespace {

using platform::IDCANCEL;
using platform::IDOK;

class AboutBox : public DialogTest {
protected:
    // As the About command sets it up.
    static void Fill(CAboutDlg& about)
    {
        about.m_strVersion = kVersionLine;
        about.m_strContact = std::string(kMakerEmail) + "  " + std::string(kMakerWebAddress);
    }
};

TEST_F(AboutBox, ShowsTheVersionLineAndTheContactLine)
{
    Windows()
        .ExpectDialog(IDD_ABOUTBOX)
        .ExpectText(IDC_VERSION, "Tavisto Sekreta V1.0.1")
        .ExpectText(IDC_CONTACT, "sekreta@tavisto.example.com  https://tavisto.example.com")
        .ExpectFocus(IDOK)
        .Press(IDOK);
    CAboutDlg about;
    Fill(about);
    EXPECT_EQ(about.DoModal(), IDOK);
}

TEST_F(AboutBox, OKEnterEscAndTheCloseBoxOnlyClose)
{
    Windows().ExpectDialog(IDD_ABOUTBOX).Press(IDOK);
    Windows().ExpectDialog(IDD_ABOUTBOX).PressEnter();
    Windows().ExpectDialog(IDD_ABOUTBOX).Press(IDCANCEL);
    for (const int expected : {IDOK, IDOK, IDCANCEL}) {
        CAboutDlg about;
        Fill(about);
        EXPECT_EQ(about.DoModal(), expected);
        EXPECT_EQ(about.m_strVersion, "Tavisto Sekreta V1.0.1");
        EXPECT_EQ(about.m_strContact, "sekreta@tavisto.example.com  https://tavisto.example.com");
    }
    EXPECT_TRUE(Windows().MessageBoxes().empty());
    EXPECT_EQ(Windows().DialogsShown().size(), 3u);
}

}  // namespace
}  // namespace sekreta::test
