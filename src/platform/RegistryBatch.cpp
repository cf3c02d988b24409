#include "platform/RegistryBatch.h"

namespace sekreta::platform {

RegistryBatch::RegistryBatch(Registry& registry)
    : m_registry(registry)
{
    m_registry.BeginBatch();
}

RegistryBatch::~RegistryBatch()
{
    m_registry.EndBatch();
}

}  // namespace sekreta::platform
