#pragma once

#include "platform/CommandItems.h"

#include <functional>

class QAction;
class QWidget;

namespace sekreta::platform::qt {

// The items of a pop-up menu or the buttons of a tool bar, as the program's update handlers
// see them: the actions of the widget, in order, separators included. Each action carries its
// command number in its data.
class QtCommandItems final : public Menu {
public:
    // Makes the action for an item the program inserts.
    using ActionMaker = std::function<QAction*(unsigned id, std::string_view text)>;

    QtCommandItems(QWidget& owner, ActionMaker makeAction);

    int Count() const override;
    unsigned Id(int index) const override;
    void Enable(int index, bool enabled) override;
    void SetCheck(int index, bool checked) override;
    void SetText(int index, std::string_view text) override;
    std::string Text(int index) const override;
    // Past the end (or -1) appends.
    void Insert(int index, unsigned id, std::string_view text) override;
    void Remove(int index) override;

    // The command of an action; 0 for separators and sub-menus.
    static unsigned CommandOf(const QAction& action);
    // Gives the action its command and its text, kept as the program's bytes.
    static void SetCommand(QAction& action, unsigned id, std::string_view text);

private:
    QAction* At(int index) const;

    QWidget& m_owner;
    ActionMaker m_makeAction;
};

}  // namespace sekreta::platform::qt
