#pragma once

#include "platform/DocumentTypes.h"
#include "platform/headless/HeadlessRegistry.h"

namespace sekreta::platform {

// Document types kept as the Windows registry keeps them under its classes root: a key named
// after the type with its icon and shell commands, and a key for the extension naming the
// type. Tests read the keys, or make a write fail, through Classes().
class HeadlessDocumentTypes : public DocumentTypes {
public:
    std::string Association(std::string_view extension) const override;
    bool Register(const DocumentType& type, bool claimExtension) override;
    void Unregister(const DocumentType& type, bool releaseExtension) override;

    HeadlessRegistry& Classes() { return m_classes; }

private:
    // Deletes the key, then each key above it that is left without subkeys.
    void RemoveKeyAndEmptyParents(std::string path);

    HeadlessRegistry m_classes;
};

}  // namespace sekreta::platform
