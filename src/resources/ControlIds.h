#pragma once

namespace sekreta {

// Controls of the About box.
enum AboutControl : int {
    IDC_CONTACT = 1004,
    IDC_VERSION = 1022,
};

// Controls of the account entry dialog.
enum EntryControl : int {
    IDC_GENERATE_PASSWORD = 3,  // the "Pa&ssword" button
    IDC_ACCOUNT = 1001,
    IDC_USER = 1002,
    IDC_PASSWORD = 1003,
    IDC_URL = 1004,
    IDC_NOTES = 1006,
};

// Controls of the pass phrase dialog.
enum PassPhraseControl : int {
    IDC_PASSPHRASE = 1003,
};

// Controls of the password generator.
enum GeneratorControl : int {
    IDC_LOWER = 1002,
    IDC_UPPER = 1003,
    IDC_DIGITS = 1004,
    IDC_LENGTH = 1005,
};

}  // namespace sekreta
