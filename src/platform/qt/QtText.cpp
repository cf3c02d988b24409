#include "platform/qt/QtText.h"

#include "platform/TextEncoding.h"

namespace sekreta::platform::qt {

QString ToQString(std::string_view bytes)
{
    const std::string text = DisplayText(bytes);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToBytes(const QString& text)
{
    return text.toStdString();
}

QString WithoutMnemonics(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        // "&x" shows x, "&&" shows one "&"; a lone "&" at the end stays.
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        shown += text[i];
    }
    return shown;
}

QString ToLineFeeds(const QString& text)
{
    QString converted = text;
    converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return converted;
}

QString ToCarriageReturnLineFeeds(const QString& rawText)
{
    QString converted = rawText;
    converted.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return converted;
}

}  // namespace sekreta::platform::qt
