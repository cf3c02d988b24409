#include "resources/DialogTemplates.h"

#include "platform/PassPhraseBound.h"
#include "resources/ControlIds.h"
#include "resources/Images.h"
#include "resources/ResourceIds.h"

namespace sekreta {

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::DialogTemplate;
using platform::IDC_STATIC;

constexpr std::string_view kFont = "MS Sans Serif";
constexpr int kFontPointSize = 8;

// A single-line field that scrolls sideways, so it takes text of any length.
constexpr std::uint32_t kTextField = platform::Border | platform::AutoHorizontalScroll | platform::TabStop;

// The icon's image is only known when the program is linked, so this array is filled at start-up.
const ControlTemplate kAboutControls[] = {
    {ControlKind::Icon, IDC_STATIC, kImageApp, 11, 8, 20, 20, platform::NoStyle},
    {ControlKind::Label, IDC_VERSION, "version", 54, 7, 158, 8, platform::AlignCenter},
    {ControlKind::Label, IDC_STATIC,
        "If you have any questions, or suggestions for improving this product, please contact us at:", 35, 35, 195, 16,
        platform::AlignCenter | platform::WordWrap},
    {ControlKind::Label, IDC_STATIC, "Tavisto Software Ltd., 17 Example Street, Springfield EX1 2AB", 35, 67, 196, 20,
        platform::AlignCenter | platform::WordWrap},
    {ControlKind::DefaultPushButton, platform::IDOK, "OK", 39, 91, 50, 14, platform::TabStop},
    {ControlKind::Label, IDC_CONTACT, "url and email", 7, 55, 252, 8, platform::AlignCenter},
    {ControlKind::Label, IDC_STATIC, "Copyright \u00A9 2003-2025 Tavisto Software", 65, 19, 152, 8, platform::NoStyle},
};

constexpr ControlTemplate kEntryControls[] = {
    {ControlKind::Label, IDC_STATIC, "&Account:", 10, 25, 35, 8, platform::AlignRight},
    {ControlKind::Edit, IDC_ACCOUNT, "", 55, 20, 120, 12, kTextField},
    {ControlKind::Label, IDC_STATIC, "U&rl:", 10, 45, 35, 8, platform::AlignRight},
    {ControlKind::Edit, IDC_URL, "", 55, 40, 120, 12, kTextField},
    {ControlKind::Label, IDC_STATIC, "&User:", 10, 65, 35, 8, platform::AlignRight},
    {ControlKind::Edit, IDC_USER, "", 55, 60, 120, 12, kTextField},
    {ControlKind::Label, IDC_STATIC, "&Password:", 10, 85, 35, 8, platform::AlignRight},
    {ControlKind::Edit, IDC_PASSWORD, "", 55, 80, 120, 12, kTextField},
    {ControlKind::PushButton, platform::IDCANCEL, "Cancel", 90, 255, 50, 15, platform::TabStop},
    {ControlKind::DefaultPushButton, platform::IDOK, "OK", 145, 255, 50, 15, platform::TabStop},
    {ControlKind::GroupBox, IDC_STATIC, "&Details", 5, 5, 190, 105, platform::NoStyle},
    {ControlKind::PushButton, IDC_GENERATE_PASSWORD, "Pa&ssword", 10, 255, 55, 15, platform::TabStop},
    {ControlKind::GroupBox, IDC_STATIC, "&Notes", 5, 120, 190, 125, platform::NoStyle},
    // Long lines scroll instead of wrapping, so the notes keep the line breaks the user typed.
    {ControlKind::Edit, IDC_NOTES, "", 15, 135, 170, 100,
        platform::MultiLine | platform::Border | platform::TabStop | platform::WantReturn
            | platform::AutoHorizontalScroll | platform::AutoVerticalScroll},
};

// The field does not scroll sideways: the pass phrase can be no longer than it shows.
constexpr ControlTemplate kPassPhraseControls[] = {
    {ControlKind::Label, IDC_STATIC, "Enter &Passphrase. Case, spaces and punctuation are important.", 5, 5, 195, 20,
        platform::WordWrap},
    {ControlKind::Edit, IDC_PASSPHRASE, "", 5, 30, platform::kPassPhraseFieldWidth, 12,
        platform::Border | platform::TabStop},
    {ControlKind::PushButton, platform::IDCANCEL, "Cancel", 95, 50, 50, 15, platform::TabStop},
    {ControlKind::DefaultPushButton, platform::IDOK, "OK", 150, 50, 50, 15, platform::TabStop},
};
// sekreta-cli refuses new pass phrases by the same count.
static_assert(kPassPhraseControls[1].TypedCharacterLimit() == platform::kLongestPassPhrase);

constexpr ControlTemplate kGeneratorControls[] = {
    {ControlKind::GroupBox, IDC_STATIC, "&Characters", 5, 5, 150, 35, platform::NoStyle},
    {ControlKind::CheckBox, IDC_LOWER, "&a-z", 15, 20, 25, 10, platform::TabStop},
    {ControlKind::CheckBox, IDC_UPPER, "A-&Z", 65, 20, 27, 10, platform::TabStop},
    {ControlKind::CheckBox, IDC_DIGITS, "&0-9", 115, 20, 25, 10, platform::TabStop},
    {ControlKind::GroupBox, IDC_STATIC, "&Length", 5, 50, 150, 35, platform::NoStyle},
    {ControlKind::Edit, IDC_LENGTH, "", 15, 65, 40, 12, kTextField},
    {ControlKind::DefaultPushButton, platform::IDOK, "OK", 50, 95, 50, 15, platform::TabStop},
    {ControlKind::PushButton, platform::IDCANCEL, "Cancel", 105, 95, 50, 15, platform::TabStop},
};

constexpr DialogTemplate kDialogs[] = {
    {IDD_ABOUTBOX, "About Sekreta", 264, 110, kFont, kFontPointSize, kAboutControls},
    {IDD_ENTRY, "Account Entry", 204, 280, kFont, kFontPointSize, kEntryControls},
    {IDD_PASSPHRASE, "Enter Passphrase", 209, 75, kFont, kFontPointSize, kPassPhraseControls},
    {IDD_GENERATOR, "Generate Password", 164, 120, kFont, kFontPointSize, kGeneratorControls},
};

}  // namespace

std::span<const platform::DialogTemplate> DialogTemplates()
{
    return kDialogs;
}

}  // namespace sekreta
