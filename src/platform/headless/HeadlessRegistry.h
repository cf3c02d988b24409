#pragma once

#include "platform/Registry.h"

#include <map>
#include <memory>

namespace sekreta::platform {

// A registry hive in memory. Key names compare without regard to letter case, as the
// registry's do; value names too. Each keeps the spelling it was first written with.
class HeadlessRegistry : public Registry {
public:
    HeadlessRegistry();
    ~HeadlessRegistry() override;

    bool CreateKey(std::string_view path) override;
    bool KeyExists(std::string_view path) const override;
    std::optional<RegistryValue> QueryValue(std::string_view path, std::string_view name) const override;
    bool SetValue(std::string_view path, std::string_view name, const RegistryValue& value) override;
    bool DeleteValue(std::string_view path, std::string_view name) override;
    bool DeleteKey(std::string_view path) override;
    // Sorted without regard to case, as the registry enumerates them.
    std::vector<std::string> SubkeyNames(std::string_view path) const override;
    void BeginBatch() override;
    bool EndBatch() override;

    // How many times a store on a disk would have been written: once for each change made
    // outside a batch, once for each outermost batch that made changes.
    int Stores() const { return m_stores; }

    // From now on nothing can be created, written or deleted (a locked-down hive).
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    // The value write after `successes` more successful ones fails, once.
    void FailValueWriteAfter(int successes) { m_writesBeforeFailure = successes; }
    // Every value as `Key\Sub\[name] = 42` or `Key\Sub\[name] = "text"` (`[]` the default
    // value, no path for the root's), and every key with neither values nor subkeys as
    // `Key\Sub`. A key's values come first, then its subkeys, each sorted without regard to case:
    // the same tree always gives the same lines.
    std::vector<std::string> Dump() const;

private:
    struct Key;
    std::unique_ptr<Key> m_root;
    // Counts a change as stored, now or at the batch's end.
    void Changed();

    bool m_readOnly = false;
    int m_writesBeforeFailure = -1;
    int m_batchDepth = 0;
    bool m_batchChanged = false;
    int m_stores = 0;
};

}  // namespace sekreta::platform
