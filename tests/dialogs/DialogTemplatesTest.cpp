// What the dialog templates give every backend to draw from: titles, the controls in tab
// order with their words, the frames of the group boxes, mnemonics, and the styles that change
// what a field takes.
#include "dialogs/ProductInfo.h"
#include "platform/TextEncoding.h"
#include "resources/ControlIds.h"
#include "resources/ResourceIds.h"
#include "resources/SekretaResources.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <vector>

namespace sekreta {
namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::DialogTemplate;
using platform::IDC_STATIC;
using platform::IDCANCEL;
using platform::IDOK;

const DialogTemplate& Dialog(unsigned id)
{
    const DialogTemplate* dialog = SekretaResources().FindDialog(id);
    if (!dialog)
        throw std::runtime_error("no dialog " + std::to_string(id));
    return *dialog;
}

const ControlTemplate& Control(unsigned dialog, int id)
{
    for (const ControlTemplate& control : Dialog(dialog).controls) {
        if (control.id == id)
            return control;
    }
    throw std::runtime_error("no control " + std::to_string(id));
}

struct Shown {
    ControlKind kind;
    int id;
    std::string_view text;
    bool operator==(const Shown&) const = default;
};

std::vector<Shown> ShownControls(unsigned dialog)
{
    std::vector<Shown> shown;
    for (const ControlTemplate& control : Dialog(dialog).controls)
        shown.push_back({control.kind, control.id, control.kind == ControlKind::Icon ? "icon" : control.text});
    return shown;
}

TEST(DialogTemplates, TitlesSizesAndFont)
{
    struct Expected {
        unsigned id;
        std::string_view title;
        int width;
        int height;
    };
    for (const Expected& expected : {Expected {IDD_ABOUTBOX, "About Sekreta", 264, 110},
             Expected {IDD_ENTRY, "Account Entry", 204, 280}, Expected {IDD_PASSPHRASE, "Enter Passphrase", 209, 75},
             Expected {IDD_GENERATOR, "Generate Password", 164, 120}}) {
        const DialogTemplate& dialog = Dialog(expected.id);
        EXPECT_EQ(dialog.title, expected.title);
        EXPECT_EQ(dialog.width, expected.width) << expected.title;
        EXPECT_EQ(dialog.height, expected.height) << expected.title;
        EXPECT_EQ(dialog.fontName, "MS Sans Serif");
        EXPECT_EQ(dialog.fontPointSize, 8);
    }
}

TEST(DialogTemplates, ControlsInTabOrderWithTheirWords)
{
    EXPECT_EQ(ShownControls(IDD_ENTRY),
        (std::vector<Shown> {
            {ControlKind::Label, IDC_STATIC, "&Account:"},
            {ControlKind::Edit, IDC_ACCOUNT, ""},
            {ControlKind::Label, IDC_STATIC, "U&rl:"},
            {ControlKind::Edit, IDC_URL, ""},
            {ControlKind::Label, IDC_STATIC, "&User:"},
            {ControlKind::Edit, IDC_USER, ""},
            {ControlKind::Label, IDC_STATIC, "&Password:"},
            {ControlKind::Edit, IDC_PASSWORD, ""},
            {ControlKind::PushButton, IDCANCEL, "Cancel"},
            {ControlKind::DefaultPushButton, IDOK, "OK"},
            {ControlKind::GroupBox, IDC_STATIC, "&Details"},
            {ControlKind::PushButton, 3, "Pa&ssword"},
            {ControlKind::GroupBox, IDC_STATIC, "&Notes"},
            {ControlKind::Edit, IDC_NOTES, ""},
        }));
    EXPECT_EQ(ShownControls(IDD_GENERATOR),
        (std::vector<Shown> {
            {ControlKind::GroupBox, IDC_STATIC, "&Characters"},
            {ControlKind::CheckBox, IDC_LOWER, "&a-z"},
            {ControlKind::CheckBox, IDC_UPPER, "A-&Z"},
            {ControlKind::CheckBox, IDC_DIGITS, "&0-9"},
            {ControlKind::GroupBox, IDC_STATIC, "&Length"},
            {ControlKind::Edit, IDC_LENGTH, ""},
            {ControlKind::DefaultPushButton, IDOK, "OK"},
            {ControlKind::PushButton, IDCANCEL, "Cancel"},
        }));
    const std::vector<Shown> about = ShownControls(IDD_ABOUTBOX);
    ASSERT_EQ(about.size(), 7u);
    EXPECT_EQ(about[0], (Shown {ControlKind::Icon, IDC_STATIC, "icon"}));
    EXPECT_EQ(about[1], (Shown {ControlKind::Label, IDC_VERSION, "version"}));
    EXPECT_EQ(about[2],
        (Shown {ControlKind::Label, IDC_STATIC,
            "If you have any questions, or suggestions for improving this product, please contact us at:"}));
    EXPECT_EQ(about[4], (Shown {ControlKind::DefaultPushButton, IDOK, "OK"}));
    EXPECT_EQ(about[5], (Shown {ControlKind::Label, IDC_CONTACT, "url and email"}));
    EXPECT_NE(about[3].text.find("Example"), std::string_view::npos) << "a postal line: " << about[3].text;
    EXPECT_EQ(about[6].text.substr(0, 12), "Copyright \u00A9") << about[6].text;
}

TEST(DialogTemplates, TheAboutIconIsTheProgramsImage)
{
    const std::string_view image = Dialog(IDD_ABOUTBOX).controls[0].text;
    EXPECT_EQ(image, SekretaResources().FindIcon(IDR_MAINFRAME));
    EXPECT_NE(image.find("<svg"), std::string_view::npos);
}

// Every control lies inside its dialog, and each group box frames exactly the controls it
// names, counted from 1 in template order.
TEST(DialogTemplates, GroupBoxesFrameTheirControls)
{
    const auto inside = [](const ControlTemplate& inner, const ControlTemplate& outer) {
        return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.width <= outer.x + outer.width
            && inner.y + inner.height <= outer.y + outer.height;
    };
    const std::vector<std::pair<unsigned, std::map<std::size_t, std::set<std::size_t>>>> frames = {
        {IDD_ENTRY, {{11, {1, 2, 3, 4, 5, 6, 7, 8}}, {13, {14}}}},
        {IDD_GENERATOR, {{1, {2, 3, 4}}, {5, {6}}}},
        {IDD_ABOUTBOX, {}},
        {IDD_PASSPHRASE, {}},
    };
    for (const auto& [id, expected] : frames) {
        const DialogTemplate& dialog = Dialog(id);
        const ControlTemplate whole {ControlKind::GroupBox, 0, "", 0, 0, dialog.width, dialog.height, 0};
        std::map<std::size_t, std::set<std::size_t>> framed;
        for (std::size_t outer = 0; outer < dialog.controls.size(); ++outer) {
            EXPECT_TRUE(inside(dialog.controls[outer], whole)) << dialog.title << " control " << outer + 1;
            if (dialog.controls[outer].kind != ControlKind::GroupBox)
                continue;
            for (std::size_t inner = 0; inner < dialog.controls.size(); ++inner) {
                if (inner != outer && inside(dialog.controls[inner], dialog.controls[outer]))
                    framed[outer + 1].insert(inner + 1);
            }
        }
        EXPECT_EQ(framed, expected) << dialog.title;
    }
}

TEST(DialogTemplates, MnemonicsDifferWithinEachDialog)
{
    for (const unsigned id : {IDD_ABOUTBOX, IDD_ENTRY, IDD_PASSPHRASE, IDD_GENERATOR}) {
        std::set<char> seen;
        for (const ControlTemplate& control : Dialog(id).controls) {
            const std::size_t amp = control.kind == ControlKind::Icon ? std::string_view::npos : control.text.find('&');
            if (amp == std::string_view::npos || amp + 1 >= control.text.size())
                continue;
            const char mnemonic = static_cast<char>(std::tolower(static_cast<unsigned char>(control.text[amp + 1])));
            EXPECT_TRUE(seen.insert(mnemonic).second) << Dialog(id).title << ": &" << mnemonic << " twice";
        }
    }
}

TEST(DialogTemplates, OnlyThePassPhraseFieldIsBoundByItsWidth)
{
    EXPECT_EQ(Control(IDD_PASSPHRASE, IDC_PASSPHRASE).TypedCharacterLimit(), 48u);
    for (const auto& [dialog, id] : {std::pair {IDD_ENTRY, int(IDC_ACCOUNT)}, {IDD_ENTRY, IDC_URL},
             {IDD_ENTRY, IDC_USER}, {IDD_ENTRY, IDC_PASSWORD}, {IDD_ENTRY, IDC_NOTES}, {IDD_GENERATOR, IDC_LENGTH}})
        EXPECT_EQ(Control(dialog, id).TypedCharacterLimit(), std::nullopt) << id;
}

TEST(DialogTemplates, TheNotesBreakLinesOnEnterAndNeverWrap)
{
    const std::uint32_t style = Control(IDD_ENTRY, IDC_NOTES).style;
    for (const platform::ControlStyle needed : {platform::MultiLine, platform::WantReturn,
             platform::AutoHorizontalScroll, platform::AutoVerticalScroll, platform::Border, platform::TabStop})
        EXPECT_NE(style & needed, 0u) << needed;
}

TEST(DialogTemplates, TheAboutLinesFitTheirLabels)
{
    const auto fits = [](std::string_view text, const ControlTemplate& label) {
        return platform::CharacterCount(text) * platform::kDialogUnitsPerCharacter
            <= static_cast<std::size_t>(label.width);
    };
    const std::string contact = std::string(kMakerEmail) + "  " + std::string(kMakerWebAddress);
    EXPECT_TRUE(fits(contact, Control(IDD_ABOUTBOX, IDC_CONTACT))) << contact;
    EXPECT_TRUE(fits(kVersionLine, Control(IDD_ABOUTBOX, IDC_VERSION)));
    const ControlTemplate& notice = Dialog(IDD_ABOUTBOX).controls[6];
    EXPECT_TRUE(fits(notice.text, notice)) << notice.text;
    EXPECT_TRUE(kMakerEmail.ends_with("@tavisto.example.com"));
    EXPECT_TRUE(kMakerWebAddress.ends_with(".example.com"));
}

}  // namespace
}  // namespace sekreta
