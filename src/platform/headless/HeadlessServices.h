#pragma once

#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/Shell.h"

#include <optional>
#include <string>
#include <vector>

namespace sekreta::platform {

class HeadlessClipboard : public Clipboard {
public:
    bool SetText(std::string_view text) override;
    bool SetSecretText(std::string_view text) override;
    // What a program pasting now would get; nothing before the first copy.
    const std::optional<std::string>& Text() const { return m_text; }
    // Whether that text was marked as a secret.
    bool HoldsSecret() const { return m_secret; }
    // The next SetText fails and leaves the clipboard as it is.
    void FailNext() { m_failNext = true; }

private:
    bool Set(std::string_view text, bool secret);

    std::optional<std::string> m_text;
    bool m_secret = false;
    bool m_failNext = false;
};

// Answers at once: a failure is told before OpenUrl or ShowHelp returns.
class HeadlessShell : public Shell {
public:
    void OpenUrl(std::string_view url, FailureHandler failed) override;
    void ShowHelp(FailureHandler failed) override;

    void SetOpenUrlSucceeds(bool succeeds) { m_openUrlSucceeds = succeeds; }
    void SetShowHelpSucceeds(bool succeeds) { m_showHelpSucceeds = succeeds; }
    const std::vector<std::string>& OpenedUrls() const { return m_openedUrls; }
    int HelpShown() const { return m_helpShown; }

private:
    bool m_openUrlSucceeds = true;
    bool m_showHelpSucceeds = true;
    std::vector<std::string> m_openedUrls;
    int m_helpShown = 0;
};

class HeadlessClock : public Clock {
public:
    std::int64_t Now() override { return m_now; }
    void Set(std::int64_t now) { m_now = now; }

private:
    std::int64_t m_now = 1'700'000'000;
};

}  // namespace sekreta::platform
