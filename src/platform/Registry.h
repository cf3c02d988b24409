#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sekreta::platform {

// A value of a registry key: a 32-bit number or a text.
using RegistryValue = std::variant<std::uint32_t, std::string>;

// The parts of a key path; empty parts (doubled, leading or trailing backslashes) are skipped.
std::vector<std::string_view> SplitKeyPath(std::string_view path);

// A tree of keys holding named values, like one hive of the Windows registry: the user's
// settings are kept in one.
// Key paths separate their parts with a backslash. The empty value name is a key's default value.
class Registry {
public:
    virtual ~Registry() = default;

    // Opens the key, creating it and every missing key above it; false when it cannot.
    virtual bool CreateKey(std::string_view path) = 0;
    virtual bool KeyExists(std::string_view path) const = 0;
    virtual std::optional<RegistryValue> QueryValue(std::string_view path, std::string_view name) const = 0;
    // Creates the key when needed; false when the key or the value cannot be written.
    virtual bool SetValue(std::string_view path, std::string_view name, const RegistryValue& value) = 0;
    virtual bool DeleteValue(std::string_view path, std::string_view name) = 0;
    // Deletes the key with all its subkeys and values; false when it was not there or cannot go.
    virtual bool DeleteKey(std::string_view path) = 0;
    virtual std::vector<std::string> SubkeyNames(std::string_view path) const = 0;

    // Until the matching EndBatch, changes are held back and reach the store together at its
    // end, so that one operation's many settings cost one write; reads see them at once.
    // Batches nest: the outermost end stores. Inside a batch a change fails at once where the
    // store is known to refuse it.
    virtual void BeginBatch() = 0;
    // False when the batch's changes could not be stored; they are then undone, as one failed
    // write would change nothing.
    virtual bool EndBatch() = 0;
};

}  // namespace sekreta::platform
