#pragma once

#include "platform/Resources.h"

namespace sekreta {

// The program's menus, keys, tool bar, dialog templates and texts.
const platform::ResourceSet& SekretaResources();

}  // namespace sekreta
