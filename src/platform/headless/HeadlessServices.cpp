#include "platform/headless/HeadlessServices.h"

namespace sekreta::platform {

bool HeadlessClipboard::SetText(std::string_view text)
{
    if (m_failNext) {
        m_failNext = false;
        return false;
    }
    m_text = std::string(text);
    return true;
}

bool HeadlessShell::OpenUrl(std::string_view url)
{
    m_openedUrls.emplace_back(url);
    return m_openUrlSucceeds;
}

bool HeadlessShell::ShowHelp()
{
    ++m_helpShown;
    return m_showHelpSucceeds;
}

}  // namespace sekreta::platform
