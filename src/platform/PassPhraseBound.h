#pragma once

#include "platform/Resources.h"

#include <cstddef>

namespace sekreta::platform {

// The pass phrase field is this many dialog units wide and keeps to its width, so a pass phrase
// has at most this many characters on every backend. The command line makes no file under a
// longer one, which the desktop program could never be given.
inline constexpr int kPassPhraseFieldWidth = 195;
inline constexpr std::size_t kLongestPassPhrase = kPassPhraseFieldWidth / kDialogUnitsPerCharacter;

}  // namespace sekreta::platform
