#pragma once

#include "platform/CommandItems.h"

#include <string_view>

namespace sekreta {

class CCmdTarget;

// The handle an update handler receives: the menu item or tool bar button of one command,
// or, just before a command runs, nothing but a record of whether it is enabled.
class CCmdUI {
public:
    // For the check made just before a command runs.
    explicit CCmdUI(unsigned id)
        : m_nID(id)
    {
    }
    // For item `index` of an opening menu or of the tool bar.
    CCmdUI(unsigned id, platform::CommandItems& items, int index, platform::Menu* menu)
        : m_nID(id)
        , m_nIndex(index)
        , m_pItems(&items)
        , m_pMenu(menu)
    {
    }

    void Enable(bool on = true);
    void SetCheck(int check = 1);
    void SetText(std::string_view text);

    // Lets the route's update handler set the state. When none enables or disables the item
    // and disableIfNoHandler is set, the item is enabled exactly when a target on the route
    // would run the command.
    void DoUpdate(CCmdTarget& target, bool disableIfNoHandler);

    bool IsEnabled() const { return m_bEnabled; }

    unsigned m_nID;
    int m_nIndex = -1;
    platform::CommandItems* m_pItems = nullptr;
    // Set for menus: their items may be added or removed (the recent files), and the update
    // handler then tells through m_nIndex where the menu continues.
    platform::Menu* m_pMenu = nullptr;

private:
    bool m_bEnabled = true;
    bool m_bEnableChanged = false;
};

}  // namespace sekreta
