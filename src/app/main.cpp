// sekreta: the desktop program. Gives Sekreta its real services: Qt's windows and clipboard,
// the file system, the settings file, the desktop's opener and file types, the system's random
// source and clock; and hands a file to the copy that is already running, if there is one.
#include "app/CSekretaApp.h"
#include "framework/CCommandLineInfo.h"
#include "framework/CFrameWnd.h"
#include "framework/CWinApp.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/ProcessPrivacy.h"
#include "platform/posix/SettingsFile.h"
#include "platform/posix/SystemRandomSource.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtWayland.h"
#include "platform/qt/QtWindowSystem.h"
#include "platform/xdg/ProgramFiles.h"
#include "platform/xdg/SingleInstance.h"
#include "platform/xdg/XdgDirectories.h"
#include "platform/xdg/XdgDocumentTypes.h"
#include "platform/xdg/XdgShell.h"

#include <QApplication>
#include <QSocketNotifier>

#include <cstdlib>
#include <ctime>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace sekreta;

class SystemClock final : public platform::Clock {
public:
    std::int64_t Now() override { return static_cast<std::int64_t>(std::time(nullptr)); }
};

bool HasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// The file named on the command line, absolute, for the running copy to open; nothing when
// the command line names no file to open, or one whose name a request cannot carry.
std::optional<std::string> FileToHandOver(const std::vector<std::string>& arguments, platform::FileSystem& files)
{
    CCommandLineInfo commandLine([&files](std::string_view name) { return files.Exists(std::string(name)); });
    for (const std::string& argument : arguments)
        commandLine.ParseParam(argument);
    commandLine.ParseLast();
    if (commandLine.m_nShellCommand != CCommandLineInfo::FileOpen)
        return std::nullopt;
    const std::string name = CWinApp::StripShellQuotes(commandLine.m_strFileName);
    const std::string path = files.Absolute(name).string();
    if (path.find('"') != std::string::npos)
        return std::nullopt;
    return path;
}

// Hands the file to the running copy; the exit status when that ends this start, nothing when
// this start is the first.
std::optional<int> HandOver(const platform::SingleInstance& instance, const std::string& path)
{
    switch (instance.HandOver("[open(\"" + path + "\")]")) {
    case platform::SingleInstance::HandOverResult::NoListener:
        return std::nullopt;
    case platform::SingleInstance::HandOverResult::Taken:
        return 0;
    case platform::SingleInstance::HandOverResult::Refused:
        std::cerr << "sekreta: the running Sekreta cannot take " << path
                  << " now (too many files are waiting, or it is ending); try again later\n";
        return 1;
    case platform::SingleInstance::HandOverResult::NoAnswer:
        break;
    }
    std::cerr << "sekreta: the running Sekreta did not answer; " << path << " was not opened\n";
    return 1;
}

// The program, once Qt has made its application: the exit status.
int Run(int argc, char** argv)
{
    QApplication::setApplicationName(QStringLiteral("Sekreta"));
    // The installed desktop entry: on Wayland the window's name and icon come from it.
    QApplication::setDesktopFileName(QStringLiteral("com.example.tavisto.sekreta"));
    // Qt has taken its own options out of argv.
    const std::vector<std::string> arguments(argv + 1, argv + argc);

    platform::PosixFileSystem files;
    std::optional<platform::SingleInstance> instance;
    if (const std::optional<std::filesystem::path> socket = platform::SingleInstance::UserSocketPath()) {
        instance.emplace(*socket);
        if (const std::optional<std::string> path = FileToHandOver(arguments, files)) {
            if (const std::optional<int> exitCode = HandOver(*instance, *path))
                return *exitCode;
        }
        if (!instance->Listen())
            instance.reset();
    }

    const std::filesystem::path executable
        = platform::RunningExecutable().value_or(files.Absolute(argc > 0 ? argv[0] : "sekreta"));
    platform::qt::QtWindowSystem windows;
    platform::qt::QtClipboard clipboard;
    platform::XdgShell shell(platform::FindUserGuide(executable), windows);
    platform::SettingsFile settings(platform::SettingsFile::UserPath("settings.ini"));
    platform::XdgDocumentTypes documentTypes("Sekreta.Document", platform::XdgDirectories::FromEnvironment());
    platform::SystemRandomSource random;
    SystemClock clock;
    CSekretaApp app({windows, files, clipboard, shell, settings, documentTypes, random, clock}, executable, arguments);

    std::optional<QSocketNotifier> requests;
    if (instance) {
        requests.emplace(instance->Descriptor(), QSocketNotifier::Read);
        // The program queues each request or refuses it, and the sender hears which at once.
        QObject::connect(&*requests, &QSocketNotifier::activated,
            [&] { instance->ServeRequests([&app](std::string_view request) { return app.OnShellRequest(request); }); });
    }
    return app.Run();
}

}  // namespace

int main(int argc, char** argv)
{
    platform::MakeProcessPrivate();
    if (!HasDisplay()) {
        std::cerr << "sekreta: no display to open a window on (DISPLAY and WAYLAND_DISPLAY are not set); "
                     "sekreta-cli works without one: sekreta-cli --help\n";
        return 1;
    }
    QApplication application(argc, argv);
    const int exitCode = Run(argc, argv);
    // Qt 6.4's Wayland plugin now and then deadlocks as it closes its connection (its event
    // thread waits for a read that never comes), and the program would stay on, without a
    // window, after one exit in ten or so. Everything of the program's own is closed by now, and
    // the compositor needs nothing more from a client that goes: there it ends without Qt's
    // teardown.
    if (platform::qt::OnWayland()) {
        std::cout.flush();
        std::cerr.flush();
        std::_Exit(exitCode);
    }
    return exitCode;
}
