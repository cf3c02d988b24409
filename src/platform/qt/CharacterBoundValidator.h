#pragma once

#include <QString>
#include <QValidator>

#include <cstddef>

class QLineEdit;

namespace sekreta::platform::qt {

// Keeps a single-line field to a number of characters, counted as code points (the program
// counts a UTF-8 sequence once), for typing and pasting alike. Of what the user puts in, only
// the start that fits is kept, at the place it went: the field holds its text before that
// place, a prefix of the input and its text after. Whatever is refused beeps. A text the
// program sets must be set with the validator taken off, so that it is shown whole.
class CharacterBoundValidator final : public QValidator {
public:
    CharacterBoundValidator(QLineEdit& edit, std::size_t limit);

    State validate(QString& input, int& position) const override;

private:
    qsizetype m_limit;
    // The field's text before the change that is being validated.
    QString m_before;
};

}  // namespace sekreta::platform::qt
