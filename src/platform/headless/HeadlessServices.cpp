#include "platform/headless/HeadlessServices.h"

namespace sekreta::platform {

bool HeadlessClipboard::SetText(std::string_view text)
{
    return Set(text, false);
}

bool HeadlessClipboard::SetSecretText(std::string_view text)
{
    return Set(text, true);
}

bool HeadlessClipboard::Set(std::string_view text, bool secret)
{
    if (m_failNext) {
        m_failNext = false;
        return false;
    }
    m_text = std::string(text);
    m_secret = secret;
    return true;
}

void HeadlessShell::OpenUrl(std::string_view url, FailureHandler failed)
{
    m_openedUrls.emplace_back(url);
    if (!m_openUrlSucceeds)
        failed();
}

void HeadlessShell::ShowHelp(FailureHandler failed)
{
    ++m_helpShown;
    if (!m_showHelpSucceeds)
        failed();
}

}  // namespace sekreta::platform
