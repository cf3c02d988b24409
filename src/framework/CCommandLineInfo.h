#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace sekreta {

// What the command line asks the program to do: the shell command, the file it names and,
// for printing to a given printer, that printer's names. Arguments are fed in order.
class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister };

    // `fileExists` tells whether a file of that name exists: an argument such as "/p" is then
    // that file, not a switch.
    explicit CCommandLineInfo(std::function<bool(std::string_view)> fileExists);

    // One argument after the program's name.
    void ParseParam(std::string_view argument);
    // After the last argument: a file named without a command is opened.
    void ParseLast();

    ShellCommand m_nShellCommand = FileNew;
    std::string m_strFileName;
    std::string m_strPrinterName;
    std::string m_strDriverName;
    std::string m_strPortName;
    bool m_bRunEmbedded = false;
    bool m_bRunAutomated = false;
    bool m_bUnderUserControl = true;

private:
    // Carries out the switch; false when `name` is none of the switches.
    bool ParseSwitch(std::string_view name);
    void ParseParameter(std::string_view parameter);

    std::function<bool(std::string_view)> m_fileExists;
    int m_nParameters = 0;
};

}  // namespace sekreta
