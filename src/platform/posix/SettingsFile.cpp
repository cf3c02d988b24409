#include "platform/posix/SettingsFile.h"

#include "platform/posix/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace sekreta::platform {

namespace {

constexpr std::string_view kSignature = "# Sekreta settings\n";
constexpr std::string_view kNumberTag = "number:";
constexpr std::string_view kTextTag = "text:";
// Far more than any settings this program keeps; a larger file is not ours.
constexpr std::size_t kLargestFile = 1 << 20;

// ---- names -------------------------------------------------------------------------------

char FoldChar(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool LessFolded(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return FoldChar(x) < FoldChar(y); });
}

bool EqualFolded(std::string_view a, std::string_view b)
{
    return std::equal(
        a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return FoldChar(x) == FoldChar(y); });
}

// Where an element named `name` is or would go in a list sorted by folded names.
template <typename List> auto Position(List& list, std::string_view name)
{
    return std::lower_bound(list.begin(), list.end(), name,
        [](const auto& element, std::string_view wanted) { return LessFolded(element.name, wanted); });
}

template <typename List> auto Find(List& list, std::string_view name)
{
    const auto found = Position(list, name);
    return found != list.end() && EqualFolded(found->name, name) ? found : list.end();
}

// ---- the tree ----------------------------------------------------------------------------

const SettingsKey* FindKey(const SettingsKey& root, const std::vector<std::string_view>& parts)
{
    const SettingsKey* key = &root;
    for (const std::string_view part : parts) {
        const auto found = Find(key->subkeys, part);
        if (found == key->subkeys.end())
            return nullptr;
        key = &*found;
    }
    return key;
}

SettingsKey* FindKey(SettingsKey& root, const std::vector<std::string_view>& parts)
{
    return const_cast<SettingsKey*>(FindKey(std::as_const(root), parts));
}

// The key, created with every missing key above it; `created` tells whether any was.
SettingsKey& MakeKey(SettingsKey& root, const std::vector<std::string_view>& parts, bool& created)
{
    SettingsKey* key = &root;
    for (const std::string_view part : parts) {
        auto found = Position(key->subkeys, part);
        if (found == key->subkeys.end() || !EqualFolded(found->name, part)) {
            found = key->subkeys.insert(found, SettingsKey {std::string(part), {}, {}});
            created = true;
        }
        key = &*found;
    }
    return *key;
}

bool HoldsValues(const SettingsKey& key)
{
    return !key.values.empty() || std::any_of(key.subkeys.begin(), key.subkeys.end(), [](const SettingsKey& subkey) {
        return HoldsValues(subkey);
    });
}

// ---- the text form -----------------------------------------------------------------------

bool MustEscape(unsigned char byte)
{
    return byte < 0x20 || byte == 0x7f || byte == '%' || byte == '\\' || byte == '=' || byte == '[' || byte == ']';
}

void AppendEscaped(std::string& out, std::string_view bytes)
{
    constexpr std::string_view kHex = "0123456789ABCDEF";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (MustEscape(byte)) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0xf];
        } else {
            out += c;
        }
    }
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The bytes an escaped text stands for; nothing when it holds a byte that should have been
// escaped or a % without two hexadecimal digits.
std::optional<std::string> Unescape(std::string_view escaped)
{
    std::string bytes;
    bytes.reserve(escaped.size());
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        const char c = escaped[i];
        if (c != '%') {
            if (MustEscape(static_cast<unsigned char>(c)))
                return std::nullopt;
            bytes += c;
            continue;
        }
        if (i + 2 >= escaped.size())
            return std::nullopt;
        const int high = HexDigit(escaped[i + 1]);
        const int low = HexDigit(escaped[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return bytes;
}

void AppendValues(std::string& out, const SettingsKey& key)
{
    for (const SettingsKey::Value& value : key.values) {
        AppendEscaped(out, value.name);
        out += '=';
        if (const auto* number = std::get_if<std::uint32_t>(&value.value)) {
            out += kNumberTag;
            out += std::to_string(*number);
        } else {
            out += kTextTag;
            AppendEscaped(out, std::get<std::string>(value.value));
        }
        out += '\n';
    }
}

void AppendSections(std::string& out, const SettingsKey& key, const std::string& path)
{
    if (!key.values.empty() || key.subkeys.empty()) {
        out += "\n[";
        out += path;
        out += "]\n";
        AppendValues(out, key);
    }
    for (const SettingsKey& subkey : key.subkeys) {
        std::string subpath = path;
        subpath += '\\';
        AppendEscaped(subpath, subkey.name);
        AppendSections(out, subkey, subpath);
    }
}

std::optional<RegistryValue> ParseValueData(std::string_view data)
{
    if (data.starts_with(kTextTag)) {
        std::optional<std::string> text = Unescape(data.substr(kTextTag.size()));
        if (!text)
            return std::nullopt;
        return RegistryValue(std::move(*text));
    }
    if (!data.starts_with(kNumberTag))
        return std::nullopt;
    const std::string_view digits = data.substr(kNumberTag.size());
    if (digits.empty() || digits.size() > 10
        || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    std::uint64_t number = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (number > 0xffffffffu)
        return std::nullopt;
    return RegistryValue(static_cast<std::uint32_t>(number));
}

// The key a section header names, made when missing; null when the header is malformed or
// too deep. A section given twice opens the same key again.
SettingsKey* OpenSection(SettingsKey& root, std::string_view header)
{
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t separator = header.find('\\', start);
        const std::string_view escaped = header.substr(start, separator - start);
        std::optional<std::string> part = Unescape(escaped);
        if (!part || part->empty() || parts.size() == kSettingsMaxDepth)
            return nullptr;
        parts.push_back(std::move(*part));
        if (separator == std::string_view::npos)
            break;
        start = separator + 1;
    }
    const std::vector<std::string_view> views(parts.begin(), parts.end());
    bool created = false;
    return &MakeKey(root, views, created);
}

// ---- files -------------------------------------------------------------------------------

std::filesystem::path HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        return home;
    std::vector<char> buffer(16384);
    passwd entry {};
    passwd* result = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result && result->pw_dir)
        return result->pw_dir;
    return "/";
}

bool SameTime(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

std::string FormatSettings(const SettingsKey& root)
{
    std::string out(kSignature);
    AppendValues(out, root);
    for (const SettingsKey& subkey : root.subkeys) {
        std::string path;
        AppendEscaped(path, subkey.name);
        AppendSections(out, subkey, path);
    }
    return out;
}

SettingsKey ParseSettings(std::string_view text)
{
    SettingsKey root;
    // Null while the lines belong to a section whose header did not parse.
    SettingsKey* current = &root;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        // A carriage return is always escaped inside a value, so one at the end is a line end.
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.empty())
            continue;
        if (line.front() == '[') {
            current = line.back() == ']' ? OpenSection(root, line.substr(1, line.size() - 2)) : nullptr;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!current || equals == std::string_view::npos)
            continue;
        std::optional<std::string> name = Unescape(line.substr(0, equals));
        std::optional<RegistryValue> value = ParseValueData(line.substr(equals + 1));
        if (!name || !value)
            continue;
        // A value given twice: the later line, as a hand edit appended it, wins.
        const auto position = Position(current->values, *name);
        if (position != current->values.end() && EqualFolded(position->name, *name))
            position->value = std::move(*value);
        else
            current->values.insert(position, SettingsKey::Value {std::move(*name), std::move(*value)});
    }
    return root;
}

std::filesystem::path SettingsFile::UserPath(std::string_view fileName)
{
    std::filesystem::path config;
    if (const char* home = std::getenv("XDG_CONFIG_HOME"); home && home[0] == '/')
        config = home;
    else
        config = HomeFolder() / ".config";
    return config / "sekreta" / fileName;
}

SettingsFile::SettingsFile(std::filesystem::path path)
    : m_path(std::move(path))
{
    // Never matches a real file, so the first use reads it.
    m_seen.exists = true;
    m_seen.size = -1;
}

std::filesystem::path SettingsFile::Target() const
{
    // Followed by hand, so that a link to a file not made yet leads to where it will be made.
    std::filesystem::path target = m_path;
    std::error_code error;
    for (int links = 0; links < 40 && std::filesystem::is_symlink(target, error); ++links) {
        const std::filesystem::path next = std::filesystem::read_symlink(target, error);
        if (error)
            break;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

void SettingsFile::Refresh() const
{
    // A batch's changes are not on the disk yet: the file would take them back.
    if (m_batchDepth > 0)
        return;
    const std::filesystem::path target = Target();
    struct stat status { };
    Stamp now;
    if (::stat(target.c_str(), &status) == 0)
        now = {true, status.st_dev, status.st_ino, status.st_size, status.st_mtim, status.st_ctim};
    const bool same = now.exists == m_seen.exists
        && (!now.exists
            || (now.device == m_seen.device && now.inode == m_seen.inode && now.size == m_seen.size
                && SameTime(now.modified, m_seen.modified) && SameTime(now.changed, m_seen.changed)));
    if (same)
        return;
    m_seen = now;
    // Keys made by this process but never written (a tree without values has no file) stay
    // while the file stays away.
    if (!now.exists && !HoldsValues(m_root))
        return;
    std::optional<std::string> text;
    if (now.exists && S_ISREG(status.st_mode))
        text = ReadWholeFile(target, kLargestFile);
    m_root = text ? ParseSettings(*text) : SettingsKey {};
}

bool SettingsFile::CanWrite() const
{
    const std::filesystem::path target = Target();
    struct stat status { };
    if (::lstat(target.c_str(), &status) == 0)
        return S_ISREG(status.st_mode);
    // The nearest folder that is there must be a folder; the missing ones below it are made.
    for (std::filesystem::path folder = target.parent_path();; folder = folder.parent_path()) {
        if (::stat(folder.c_str(), &status) == 0)
            return S_ISDIR(status.st_mode);
        if (errno != ENOENT || folder == folder.parent_path())
            return false;
    }
}

bool SettingsFile::Write(const SettingsKey& tree)
{
    const std::filesystem::path target = Target();
    struct stat status { };
    const bool exists = ::lstat(target.c_str(), &status) == 0;
    if (exists && !S_ISREG(status.st_mode))
        return false;
    if (HoldsValues(tree)) {
        // A file the user gave other permissions (one shared through a link, say) keeps them.
        const mode_t mode = exists ? status.st_mode & 0777 : 0600;
        if (!WriteFileAtomically(target, FormatSettings(tree), mode))
            return false;
    } else if (exists && ::unlink(target.c_str()) != 0 && errno != ENOENT) {
        return false;
    }
    // Remember this version, so that only other writers make it read again.
    if (::stat(target.c_str(), &status) == 0)
        m_seen = {true, status.st_dev, status.st_ino, status.st_size, status.st_mtim, status.st_ctim};
    else
        m_seen = {};
    return true;
}

bool SettingsFile::Commit(SettingsKey tree)
{
    if (m_batchDepth > 0) {
        if (!CanWrite())
            return false;
        m_batchChanged = true;
    } else if (!Write(tree)) {
        return false;
    }
    m_root = std::move(tree);
    return true;
}

void SettingsFile::BeginBatch()
{
    if (m_batchDepth == 0) {
        Refresh();
        m_beforeBatch = m_root;
    }
    ++m_batchDepth;
}

bool SettingsFile::EndBatch()
{
    if (m_batchDepth == 0 || --m_batchDepth > 0 || !std::exchange(m_batchChanged, false))
        return true;
    if (Write(m_root))
        return true;
    // As after one failed write, nothing has changed.
    m_root = std::move(m_beforeBatch);
    return false;
}

bool SettingsFile::CreateKey(std::string_view path)
{
    const std::vector<std::string_view> parts = SplitKeyPath(path);
    if (parts.size() > kSettingsMaxDepth)
        return false;
    Refresh();
    if (FindKey(m_root, parts))
        return true;
    SettingsKey tree = m_root;
    bool created = false;
    MakeKey(tree, parts, created);
    if (!HoldsValues(tree)) {
        // Nothing to write: such a tree is kept as no file.
        m_root = std::move(tree);
        return true;
    }
    return Commit(std::move(tree));
}

bool SettingsFile::KeyExists(std::string_view path) const
{
    Refresh();
    return FindKey(m_root, SplitKeyPath(path)) != nullptr;
}

std::optional<RegistryValue> SettingsFile::QueryValue(std::string_view path, std::string_view name) const
{
    Refresh();
    const SettingsKey* key = FindKey(m_root, SplitKeyPath(path));
    if (!key)
        return std::nullopt;
    const auto found = Find(key->values, name);
    if (found == key->values.end())
        return std::nullopt;
    return found->value;
}

bool SettingsFile::SetValue(std::string_view path, std::string_view name, const RegistryValue& value)
{
    const std::vector<std::string_view> parts = SplitKeyPath(path);
    if (parts.size() > kSettingsMaxDepth)
        return false;
    Refresh();
    if (const SettingsKey* key = FindKey(m_root, parts)) {
        const auto found = Find(key->values, name);
        if (found != key->values.end() && found->value == value)
            return true;
    }
    SettingsKey tree = m_root;
    bool created = false;
    SettingsKey& key = MakeKey(tree, parts, created);
    const auto position = Position(key.values, name);
    if (position != key.values.end() && EqualFolded(position->name, name))
        position->value = value;
    else
        key.values.insert(position, SettingsKey::Value {std::string(name), value});
    return Commit(std::move(tree));
}

bool SettingsFile::DeleteValue(std::string_view path, std::string_view name)
{
    const std::vector<std::string_view> parts = SplitKeyPath(path);
    Refresh();
    const SettingsKey* key = FindKey(m_root, parts);
    if (!key || Find(key->values, name) == key->values.end())
        return false;
    SettingsKey tree = m_root;
    SettingsKey* copy = FindKey(tree, parts);
    copy->values.erase(Find(copy->values, name));
    return Commit(std::move(tree));
}

bool SettingsFile::DeleteKey(std::string_view path)
{
    std::vector<std::string_view> parts = SplitKeyPath(path);
    if (parts.empty())
        return false;
    Refresh();
    if (!FindKey(m_root, parts))
        return false;
    const std::string_view last = parts.back();
    parts.pop_back();
    SettingsKey tree = m_root;
    SettingsKey* parent = FindKey(tree, parts);
    parent->subkeys.erase(Find(parent->subkeys, last));
    return Commit(std::move(tree));
}

std::vector<std::string> SettingsFile::SubkeyNames(std::string_view path) const
{
    Refresh();
    std::vector<std::string> names;
    if (const SettingsKey* key = FindKey(m_root, SplitKeyPath(path))) {
        for (const SettingsKey& subkey : key->subkeys)
            names.push_back(subkey.name);
    }
    return names;
}

}  // namespace sekreta::platform
