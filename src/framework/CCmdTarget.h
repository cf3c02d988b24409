#pragma once

#include "framework/CObject.h"

#include <functional>
#include <vector>

namespace sekreta {

class CCmdTarget;
class CCmdUI;

// What a command routing call asks of a target.
enum class CommandCall {
    Run,  // run the command's handler
    Update,  // let the update handler set the command's state
    HasHandler,  // only tell whether a handler for the command exists
};

// One entry of a command map: a command number or range and its handler. The handler returns
// false when it leaves the command to the next target.
struct CommandMapEntry {
    unsigned firstId;
    unsigned lastId;
    bool isUpdate;
    std::function<bool(CCmdTarget& target, unsigned id, CCmdUI* cmdUI)> handler;
};

// A class's command entries, and the map of its base class, searched after them.
struct CommandMap {
    const CommandMap* base;
    std::vector<CommandMapEntry> entries;
};

// Something commands can be routed to: it looks the command up in its class's command map.
class CCmdTarget : public CObject {
public:
    // Handles the command, or asks the next target in the route; true when a handler took it.
    virtual bool OnCmdMsg(unsigned id, CommandCall call, CCmdUI* cmdUI);

    static const CommandMap& ClassCommandMap();

protected:
    virtual const CommandMap& GetCommandMap() const;
};

// Entries for command maps, one per kind of handler.
template <typename T> CommandMapEntry MapCommand(unsigned id, void (T::*handler)())
{
    return {id, id, false, [handler](CCmdTarget& target, unsigned, CCmdUI*) {
                (static_cast<T&>(target).*handler)();
                return true;
            }};
}

// A handler for a range of commands that is told which one came and may decline it.
template <typename T>
CommandMapEntry MapCommandRange(unsigned firstId, unsigned lastId, bool (T::*handler)(unsigned id))
{
    return {firstId, lastId, false,
        [handler](CCmdTarget& target, unsigned id, CCmdUI*) { return (static_cast<T&>(target).*handler)(id); }};
}

template <typename T> CommandMapEntry MapUpdate(unsigned id, void (T::*handler)(CCmdUI*))
{
    return MapUpdateRange(id, id, handler);
}

template <typename T> CommandMapEntry MapUpdateRange(unsigned firstId, unsigned lastId, void (T::*handler)(CCmdUI*))
{
    return {firstId, lastId, true, [handler](CCmdTarget& target, unsigned, CCmdUI* cmdUI) {
                (static_cast<T&>(target).*handler)(cmdUI);
                return true;
            }};
}

}  // namespace sekreta
