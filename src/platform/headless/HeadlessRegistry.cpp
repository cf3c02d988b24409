#include "platform/headless/HeadlessRegistry.h"

#include <cctype>
#include <map>
#include <utility>

namespace sekreta::platform {

namespace {

// Registry names compare without regard to case; ASCII folding covers every name we use.
std::string Fold(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

std::string Format(const RegistryValue& value)
{
    if (const auto* number = std::get_if<std::uint32_t>(&value))
        return std::to_string(*number);
    return "\"" + std::get<std::string>(value) + "\"";
}

}  // namespace

struct HeadlessRegistry::Key {
    struct Value {
        std::string name;
        RegistryValue value;
    };

    std::string name;
    // Both keyed by the folded name, which also sorts them without regard to case.
    std::map<std::string, std::unique_ptr<Key>> subkeys;
    std::map<std::string, Value> values;

    const Key* Find(const std::vector<std::string_view>& parts) const
    {
        const Key* key = this;
        for (const std::string_view part : parts) {
            const auto found = key->subkeys.find(Fold(part));
            if (found == key->subkeys.end())
                return nullptr;
            key = found->second.get();
        }
        return key;
    }
    Key* Find(const std::vector<std::string_view>& parts) { return const_cast<Key*>(std::as_const(*this).Find(parts)); }

    void Dump(const std::string& path, std::vector<std::string>& lines) const
    {
        const std::string prefix = path.empty() ? std::string() : path + "\\";
        if (!path.empty() && values.empty() && subkeys.empty())
            lines.push_back(path);
        for (const auto& [folded, value] : values)
            lines.push_back(prefix + "[" + value.name + "] = " + Format(value.value));
        for (const auto& [folded, subkey] : subkeys)
            subkey->Dump(prefix + subkey->name, lines);
    }
};

HeadlessRegistry::HeadlessRegistry()
    : m_root(std::make_unique<Key>())
{
}

HeadlessRegistry::~HeadlessRegistry() = default;

bool HeadlessRegistry::CreateKey(std::string_view path)
{
    Key* key = m_root.get();
    for (const std::string_view part : SplitKeyPath(path)) {
        const std::string folded = Fold(part);
        auto found = key->subkeys.find(folded);
        if (found == key->subkeys.end()) {
            // Refused at the first missing key, before anything was made.
            if (m_readOnly)
                return false;
            auto subkey = std::make_unique<Key>();
            subkey->name = part;
            found = key->subkeys.emplace(folded, std::move(subkey)).first;
            Changed();
        }
        key = found->second.get();
    }
    return true;
}

bool HeadlessRegistry::KeyExists(std::string_view path) const
{
    return m_root->Find(SplitKeyPath(path)) != nullptr;
}

std::optional<RegistryValue> HeadlessRegistry::QueryValue(std::string_view path, std::string_view name) const
{
    const Key* key = m_root->Find(SplitKeyPath(path));
    if (!key)
        return std::nullopt;
    const auto found = key->values.find(Fold(name));
    if (found == key->values.end())
        return std::nullopt;
    return found->second.value;
}

bool HeadlessRegistry::SetValue(std::string_view path, std::string_view name, const RegistryValue& value)
{
    if (m_writesBeforeFailure == 0) {
        m_writesBeforeFailure = -1;
        return false;
    }
    if (m_readOnly)
        return false;
    if (m_writesBeforeFailure > 0)
        --m_writesBeforeFailure;
    // The keys made on the way and the value are one store.
    BeginBatch();
    CreateKey(path);
    Key* key = m_root->Find(SplitKeyPath(path));
    const auto [entry, inserted] = key->values.try_emplace(Fold(name), Key::Value {std::string(name), value});
    if (!inserted)
        entry->second.value = value;
    Changed();
    EndBatch();
    return true;
}

bool HeadlessRegistry::DeleteValue(std::string_view path, std::string_view name)
{
    if (m_readOnly)
        return false;
    Key* key = m_root->Find(SplitKeyPath(path));
    if (!key || key->values.erase(Fold(name)) != 1)
        return false;
    Changed();
    return true;
}

bool HeadlessRegistry::DeleteKey(std::string_view path)
{
    std::vector<std::string_view> parts = SplitKeyPath(path);
    if (m_readOnly || parts.empty())
        return false;
    const std::string last = Fold(parts.back());
    parts.pop_back();
    Key* parent = m_root->Find(parts);
    if (!parent || parent->subkeys.erase(last) != 1)
        return false;
    Changed();
    return true;
}

std::vector<std::string> HeadlessRegistry::SubkeyNames(std::string_view path) const
{
    std::vector<std::string> names;
    if (const Key* key = m_root->Find(SplitKeyPath(path))) {
        for (const auto& [folded, subkey] : key->subkeys)
            names.push_back(subkey->name);
    }
    return names;
}

void HeadlessRegistry::BeginBatch()
{
    ++m_batchDepth;
}

bool HeadlessRegistry::EndBatch()
{
    if (m_batchDepth > 0 && --m_batchDepth == 0 && std::exchange(m_batchChanged, false))
        ++m_stores;
    return true;
}

void HeadlessRegistry::Changed()
{
    if (m_batchDepth > 0)
        m_batchChanged = true;
    else
        ++m_stores;
}

std::vector<std::string> HeadlessRegistry::Dump() const
{
    std::vector<std::string> lines;
    m_root->Dump(std::string(), lines);
    return lines;
}

}  // namespace sekreta::platform
