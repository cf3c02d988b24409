#include "platform/Resources.h"

#include <algorithm>

namespace sekreta::platform {

namespace {

template <typename T> const T* FindById(std::span<const T> items, unsigned id)
{
    const auto found = std::find_if(items.begin(), items.end(), [id](const T& item) { return item.id == id; });
    return found == items.end() ? nullptr : &*found;
}

}  // namespace

const MenuTemplate* ResourceSet::FindMenu(unsigned id) const
{
    return FindById(menus, id);
}

const AcceleratorTable* ResourceSet::FindAccelerators(unsigned id) const
{
    return FindById(accelerators, id);
}

const ToolBarTemplate* ResourceSet::FindToolBar(unsigned id) const
{
    return FindById(toolBars, id);
}

const DialogTemplate* ResourceSet::FindDialog(unsigned id) const
{
    return FindById(dialogs, id);
}

std::string_view ResourceSet::FindIcon(unsigned id) const
{
    const IconResource* icon = FindById(icons, id);
    return icon ? icon->image : std::string_view();
}

}  // namespace sekreta::platform
