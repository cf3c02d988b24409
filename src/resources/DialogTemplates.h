#pragma once

#include "platform/Resources.h"

#include <span>

namespace sekreta {

// The templates of the program's dialogs, sorted by number.
std::span<const platform::DialogTemplate> DialogTemplates();

}  // namespace sekreta
