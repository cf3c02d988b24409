#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sekreta {

// A pass phrase typed here is UTF-8, while Windows keeps the same phrase as its Windows-1252
// bytes. A held pass phrase is in that Windows form exactly when it is not valid UTF-8: the
// Windows form of a phrase with characters outside ASCII never is.

// The same phrase in the other form, for a file that does not open under `passPhrase`: the
// Windows form of a UTF-8 phrase whose characters outside ASCII all exist in Windows-1252, or
// the UTF-8 form of a Windows form. Nothing when the phrase has no other form.
std::optional<std::string> OtherPassPhraseForm(std::string_view passPhrase);

// How a document that holds `held` keeps a new pass phrase typed here: in Windows form when it
// holds one and every character of the new phrase exists in Windows-1252, so that its file
// stays readable where it came from; otherwise as typed.
std::string NewPassPhraseForm(std::string_view held, std::string_view typed);

}  // namespace sekreta
