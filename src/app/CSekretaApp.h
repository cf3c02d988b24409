#pragma once

#include "framework/CWinApp.h"

#include <filesystem>
#include <string>
#include <vector>

namespace sekreta {

// Sekreta itself: starts with its settings, registers its document type, carries out its
// command line and shows the main window.
class CSekretaApp : public CWinApp {
public:
    // `executable` is the running program's absolute path; `arguments` follow its name.
    CSekretaApp(platform::Platform platform, std::filesystem::path executable, std::vector<std::string> arguments);

    static const CommandMap& ClassCommandMap();

    // False when the program is to end at once: the command line's file did not open, or the
    // run only unregistered the program.
    bool InitInstance() override;

    // Help > About Sekreta.
    void OnAppAbout();

protected:
    const CommandMap& GetCommandMap() const override;
};

}  // namespace sekreta
