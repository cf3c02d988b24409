#include "platform/qt/QtClipboard.h"

#include "platform/qt/QtText.h"

#include <QClipboard>
#include <QGuiApplication>

namespace sekreta::platform::qt {

bool QtClipboard::SetText(std::string_view text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(ToQString(text), QClipboard::Clipboard);
    return true;
}

}  // namespace sekreta::platform::qt
