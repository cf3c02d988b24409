#pragma once

#include <string>
#include <string_view>

namespace sekreta::platform {

// The items of a menu that is opening, or the buttons of a tool bar, as the framework's
// update handlers see them: each has a command number and can be enabled, checked, renamed.
class CommandItems {
public:
    virtual int Count() const = 0;
    // The command of item `index`; 0 for separators and for items that open a sub-menu.
    virtual unsigned Id(int index) const = 0;
    virtual void Enable(int index, bool enabled) = 0;
    virtual void SetCheck(int index, bool checked) = 0;
    virtual void SetText(int index, std::string_view text) = 0;

protected:
    ~CommandItems() = default;
};

// A pop-up menu while it opens: its items can also be added and removed (the recent files).
class Menu : public CommandItems {
public:
    virtual std::string Text(int index) const = 0;
    virtual void Insert(int index, unsigned id, std::string_view text) = 0;
    virtual void Remove(int index) = 0;

protected:
    ~Menu() = default;
};

}  // namespace sekreta::platform
