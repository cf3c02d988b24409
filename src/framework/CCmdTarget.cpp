#include "framework/CCmdTarget.h"

namespace sekreta {

const CommandMap& CCmdTarget::ClassCommandMap()
{
    static const CommandMap map {nullptr, {}};
    return map;
}

const CommandMap& CCmdTarget::GetCommandMap() const
{
    return ClassCommandMap();
}

bool CCmdTarget::OnCmdMsg(unsigned id, CommandCall call, CCmdUI* cmdUI)
{
    const bool wantUpdate = call == CommandCall::Update;
    for (const CommandMap* map = &GetCommandMap(); map; map = map->base) {
        for (const CommandMapEntry& entry : map->entries) {
            if (entry.isUpdate != wantUpdate || id < entry.firstId || id > entry.lastId)
                continue;
            if (call == CommandCall::HasHandler)
                return true;
            if (entry.handler(*this, id, cmdUI))
                return true;
        }
    }
    return false;
}

}  // namespace sekreta
