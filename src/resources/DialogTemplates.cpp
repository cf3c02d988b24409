#include "resources/DialogTemplates.h"

#include "resources/ControlIds.h"
#include "resources/ResourceIds.h"

namespace sekreta {

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::DialogTemplate;
using platform::IDC_STATIC;

constexpr ControlTemplate kPassPhraseControls[] = {
    {ControlKind::Label, IDC_STATIC, "Enter &Passphrase. Case, spaces and punctuation are important.", 5, 5, 195, 20,
        platform::WordWrap},
    {ControlKind::Edit, IDC_PASSPHRASE, "", 5, 30, 195, 12, platform::Border | platform::TabStop},
    {ControlKind::PushButton, platform::IDCANCEL, "Cancel", 95, 50, 50, 15, platform::TabStop},
    {ControlKind::DefaultPushButton, platform::IDOK, "OK", 150, 50, 50, 15, platform::TabStop},
};

constexpr DialogTemplate kDialogs[] = {
    {IDD_PASSPHRASE, "Enter Passphrase", 209, 75, "MS Sans Serif", 8, kPassPhraseControls},
};

}  // namespace

std::span<const platform::DialogTemplate> DialogTemplates()
{
    return kDialogs;
}

}  // namespace sekreta
