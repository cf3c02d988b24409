#include "framework/CCommandLineInfo.h"

#include <algorithm>
#include <cctype>

namespace sekreta {

namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

CCommandLineInfo::CCommandLineInfo(std::function<bool(std::string_view)> fileExists)
    : m_fileExists(std::move(fileExists))
{
}

void CCommandLineInfo::ParseParam(std::string_view argument)
{
    // A Linux path begins with "/", so "/name" is a switch only when it names one and no file
    // of that name is there; "-name" is always a switch, known or not.
    if (!argument.empty() && argument.front() == '-') {
        ParseSwitch(argument.substr(1));
        return;
    }
    if (!argument.empty() && argument.front() == '/' && !m_fileExists(argument) && ParseSwitch(argument.substr(1)))
        return;
    ParseParameter(argument);
}

bool CCommandLineInfo::ParseSwitch(std::string_view name)
{
    if (name == "pt") {
        m_nShellCommand = FilePrintTo;
    } else if (name == "p") {
        m_nShellCommand = FilePrint;
    } else if (EqualIgnoringCase(name, "Unregister") || EqualIgnoringCase(name, "Unregserver")) {
        m_nShellCommand = AppUnregister;
    } else if (name == "dde") {
        m_nShellCommand = FileDDE;
        m_bUnderUserControl = false;
    } else if (EqualIgnoringCase(name, "Embedding")) {
        m_bRunEmbedded = true;
        m_bUnderUserControl = false;
    } else if (EqualIgnoringCase(name, "Automation")) {
        m_bRunAutomated = true;
        m_bUnderUserControl = false;
    } else {
        return false;
    }
    return true;
}

void CCommandLineInfo::ParseParameter(std::string_view parameter)
{
    ++m_nParameters;
    if (m_nParameters == 1) {
        m_strFileName = parameter;
        return;
    }
    if (m_nShellCommand != FilePrintTo)
        return;
    if (m_nParameters == 2)
        m_strPrinterName = parameter;
    else if (m_nParameters == 3)
        m_strDriverName = parameter;
    else if (m_nParameters == 4)
        m_strPortName = parameter;
}

void CCommandLineInfo::ParseLast()
{
    if (m_nShellCommand == FileNew && !m_strFileName.empty())
        m_nShellCommand = FileOpen;
}

}  // namespace sekreta
