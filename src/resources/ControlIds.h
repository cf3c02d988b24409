#pragma once

namespace sekreta {

// Controls of the pass phrase dialog.
enum PassPhraseControl : int {
    IDC_PASSPHRASE = 1003,
};

}  // namespace sekreta
