#pragma once

#include "platform/Registry.h"

namespace sekreta::platform {

// One operation's settings changes, stored together when it goes out of scope (see
// Registry::BeginBatch). A store that then fails is not reported: the program keeps working
// without its settings, as with any settings write that fails.
class RegistryBatch {
public:
    explicit RegistryBatch(Registry& registry);
    ~RegistryBatch();
    RegistryBatch(const RegistryBatch&) = delete;
    RegistryBatch& operator=(const RegistryBatch&) = delete;

private:
    Registry& m_registry;
};

}  // namespace sekreta::platform
