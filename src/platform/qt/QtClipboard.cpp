#include "platform/qt/QtClipboard.h"

#include "platform/qt/QtText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace sekreta::platform::qt {

bool QtClipboard::SetText(std::string_view text)
{
    return Set(text, false);
}

bool QtClipboard::SetSecretText(std::string_view text)
{
    return Set(text, true);
}

bool QtClipboard::Set(std::string_view text, bool secret)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    // The clipboard takes the data over.
    auto* data = new QMimeData;
    data->setText(ToQString(text));
    if (secret)
        data->setData(QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret"));
    clipboard->setMimeData(data, QClipboard::Clipboard);
    return true;
}

}  // namespace sekreta::platform::qt
