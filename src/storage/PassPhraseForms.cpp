#include "storage/PassPhraseForms.h"

#include "platform/TextEncoding.h"

namespace sekreta {

namespace {

bool IsWindowsForm(std::string_view passPhrase)
{
    return !platform::IsValidUtf8(passPhrase);
}

}  // namespace

std::optional<std::string> OtherPassPhraseForm(std::string_view passPhrase)
{
    if (IsWindowsForm(passPhrase))
        return platform::Windows1252ToUtf8(passPhrase);
    return platform::Windows1252Form(passPhrase);
}

std::string NewPassPhraseForm(std::string_view held, std::string_view typed)
{
    if (IsWindowsForm(held)) {
        if (std::optional<std::string> windowsForm = platform::Windows1252Form(typed))
            return std::move(*windowsForm);
    }
    return std::string(typed);
}

}  // namespace sekreta
