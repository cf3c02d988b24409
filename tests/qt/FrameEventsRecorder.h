#pragma once

#include "platform/FrameWindow.h"

#include <functional>
#include <string>
#include <vector>

namespace sekreta::test {

// Frame events as a test wants them: what the window sends is recorded, and a test can answer
// menus opening, idle updates, prompts and tips.
class FrameEventsRecorder final : public platform::FrameWindowEvents {
public:
    struct Sent {
        unsigned id;
        platform::CommandSource source;
        bool operator==(const Sent&) const = default;
    };

    void OnCommand(unsigned id, platform::CommandSource source) override { commands.push_back({id, source}); }
    void OnInitMenuPopup(platform::Menu& menu) override
    {
        ++menusOpened;
        if (onInitMenu)
            onInitMenu(menu);
    }
    void OnIdleUpdate(platform::CommandItems& toolBar) override
    {
        ++idleUpdates;
        if (onIdle)
            onIdle(toolBar);
    }
    void OnClose() override { ++closeRequests; }
    void OnListDoubleClick() override { ++doubleClicks; }
    void OnListContextMenu(platform::Point screenPoint) override { contextMenus.push_back(screenPoint); }
    void OnDropFiles(const std::vector<std::filesystem::path>& files) override { dropped.push_back(files); }
    bool OnShellRequest(std::string_view) override { return false; }
    void OnMenuSelect(unsigned id) override { selected.push_back(id); }
    std::string GetToolTipText(unsigned id) override { return id == 0 ? std::string() : "Tip " + std::to_string(id); }
    bool OnQueryEndSession() override { return true; }
    void OnEndSession() override { }

    std::vector<Sent> commands;
    int menusOpened = 0;
    int idleUpdates = 0;
    int closeRequests = 0;
    int doubleClicks = 0;
    std::vector<platform::Point> contextMenus;
    std::vector<std::vector<std::filesystem::path>> dropped;
    std::vector<unsigned> selected;
    std::function<void(platform::Menu&)> onInitMenu;
    std::function<void(platform::CommandItems&)> onIdle;
};

}  // namespace sekreta::test
