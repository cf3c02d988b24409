// Feeds arbitrary argument lists to the command-line rule. The input is the arguments separated
// by zero bytes; which names exist as files comes from the first byte, so the fuzzer also
// decides whether "/p" is a switch or a file. Whatever the arguments, the outcome must be one
// the program can carry out: a file to open is named, a new document names none, and the name
// can travel to a running copy in an open request and come back unchanged.
#include "framework/CCommandLineInfo.h"
#include "framework/CWinApp.h"
#include "framework/ShellRequest.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using sekreta::CCommandLineInfo;

std::vector<std::string_view> SplitArguments(std::string_view text)
{
    std::vector<std::string_view> arguments;
    while (!text.empty()) {
        const std::size_t end = text.find('\0');
        arguments.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return arguments;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t existing = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    CCommandLineInfo info([existing](std::string_view name) { return (name.size() + existing) % 3 == 0; });
    for (const std::string_view argument : SplitArguments(text))
        info.ParseParam(argument);
    info.ParseLast();

    if (info.m_nShellCommand == CCommandLineInfo::FileNew && !info.m_strFileName.empty())
        std::abort();
    if (info.m_nShellCommand == CCommandLineInfo::FileOpen && info.m_strFileName.empty())
        std::abort();
    if (info.m_bRunEmbedded && info.m_bUnderUserControl)
        std::abort();
    if (info.m_bRunAutomated && info.m_bUnderUserControl)
        std::abort();

    if (info.m_nShellCommand == CCommandLineInfo::FileOpen) {
        const std::string name = sekreta::CWinApp::StripShellQuotes(info.m_strFileName);
        if (name.find('"') == std::string::npos) {
            const std::optional<sekreta::ShellRequest> request
                = sekreta::ShellRequest::Parse("[open(\"" + name + "\")]");
            if (!request || request->kind != sekreta::ShellRequest::Kind::Open || request->path != name)
                std::abort();
        }
    }
    return 0;
}
