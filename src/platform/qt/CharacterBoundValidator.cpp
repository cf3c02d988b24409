#include "platform/qt/CharacterBoundValidator.h"

#include "platform/qt/DesktopBeep.h"

#include <QLineEdit>

#include <algorithm>

namespace sekreta::platform::qt {

namespace {

bool StartsSurrogatePair(QStringView text, qsizetype at)
{
    return at + 1 < text.size() && text[at].isHighSurrogate() && text[at + 1].isLowSurrogate();
}

qsizetype CodePoints(QStringView text)
{
    qsizetype count = 0;
    for (qsizetype at = 0; at < text.size(); at += StartsSurrogatePair(text, at) ? 2 : 1)
        ++count;
    return count;
}

QStringView FirstCodePoints(QStringView text, qsizetype count)
{
    qsizetype end = 0;
    for (; end < text.size() && count > 0; --count)
        end += StartsSurrogatePair(text, end) ? 2 : 1;
    return text.first(end);
}

// How many leading units the texts share, never ending inside a surrogate pair of `text`.
qsizetype CommonPrefixLength(QStringView text, QStringView other)
{
    const qsizetype shortest = std::min(text.size(), other.size());
    qsizetype length = 0;
    while (length < shortest && text[length] == other[length])
        ++length;
    if (length > 0 && text[length - 1].isHighSurrogate())
        --length;
    return length;
}

}  // namespace

CharacterBoundValidator::CharacterBoundValidator(QLineEdit& edit, std::size_t limit)
    : QValidator(&edit)
    , m_limit(static_cast<qsizetype>(limit))
    , m_before(edit.text())
{
    connect(&edit, &QLineEdit::textChanged, this, [this](const QString& text) { m_before = text; });
}

QValidator::State CharacterBoundValidator::validate(QString& input, int& position) const
{
    if (CodePoints(input) <= m_limit)
        return Acceptable;
    // The cursor stands after what was put in; the text after it is the end the field had.
    const QStringView text(input);
    QStringView after = text.sliced(std::clamp<qsizetype>(position, 0, text.size()));
    if (!QStringView(m_before).endsWith(after))
        after = {};
    const QStringView head = text.first(text.size() - after.size());
    const QStringView kept = head.first(CommonPrefixLength(head, QStringView(m_before).chopped(after.size())));
    const QStringView inserted = head.sliced(kept.size());
    const qsizetype room = std::max<qsizetype>(0, m_limit - CodePoints(kept) - CodePoints(after));
    const QStringView fits = FirstCodePoints(inserted, room);
    if (fits.size() == inserted.size())
        return Acceptable;
    DesktopBeep::Ring();
    // Nothing of it fits: the field takes the change back as if the key had not been pressed.
    if (fits.isEmpty())
        return Invalid;
    QString bounded;
    bounded.reserve(kept.size() + fits.size() + after.size());
    bounded.append(kept).append(fits).append(after);
    position = static_cast<int>(kept.size() + fits.size());
    input = std::move(bounded);
    return Acceptable;
}

}  // namespace sekreta::platform::qt
