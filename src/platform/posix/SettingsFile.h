#pragma once

#include "platform/Registry.h"

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace sekreta::platform {

// One key of a settings tree. Names compare without regard to ASCII letter case and keep the
// spelling they were first written with; values and subkeys are kept sorted by their names
// folded to lower case, which is also the order they are written in.
struct SettingsKey {
    struct Value {
        std::string name;
        RegistryValue value;
        bool operator==(const Value&) const = default;
    };

    std::string name;
    std::vector<Value> values;
    std::vector<SettingsKey> subkeys;

    bool operator==(const SettingsKey&) const = default;
};

// The deepest key path a settings tree holds, as the registry's own limit.
inline constexpr std::size_t kSettingsMaxDepth = 512;

// The text of a settings file, from its root key:
//
//   # Sekreta settings
//   Name=text:a root value
//
//   [software\Local AppWizard-Generated Applications\Sekreta\Recent File List]
//   File1=text:/home/me/Letters.sek
//
//   [software\Local AppWizard-Generated Applications\Sekreta\Frame]
//   Top=number:120
//
// Each line ends with a line feed. A section names a key by its path from the root; every key
// that holds values or has no subkeys gets one, parents before children, so empty keys survive.
// Numbers are decimal, 0 to 4294967295. Names, key names and texts are bytes: a control byte,
// DEL and any of % \ = [ ] are written as % and two hexadecimal digits, so that any text,
// line breaks included, comes back unchanged.
std::string FormatSettings(const SettingsKey& root);
// The tree the text holds, read leniently so that a hand edit or a damaged line loses no more
// than itself: a line that does not parse is skipped, and so are the lines of a section whose
// header does not parse (malformed, or a key deeper than kSettingsMaxDepth). Lines may end in
// CR LF, the last one without a line end; blank lines are ignored. A section
// given twice adds to the same key; of a value given twice in a key, the later one counts.
SettingsKey ParseSettings(std::string_view text);

// The user's settings, kept as a registry tree in one text file (see FormatSettings).
//
// A change is written at once, or, inside a batch, with the batch's other changes at its end:
// the new text goes to a temporary file in the same folder, is flushed to the disk and renamed
// over the old file, so a crash leaves the old settings or the new ones, never a mix. The file
// keeps its permissions (a new one is the owner's alone). A tree that holds no values is kept
// as no file: deleting the last value (or the key above it) deletes the file. The file is read
// again whenever another process has replaced it since this one last read or wrote it, except
// inside a batch.
//
// What a file holds that does not parse is skipped (see ParseSettings), and left out of the
// next write; a file larger than 1 MiB is not ours and reads as an empty tree. A path that is
// a folder, pipe or device is never read from nor written over: every change fails then, in a
// batch too.
class SettingsFile : public Registry {
public:
    // $XDG_CONFIG_HOME/sekreta/fileName, with ~/.config in place of $XDG_CONFIG_HOME when that
    // is unset, empty or not absolute. Nothing is created.
    static std::filesystem::path UserPath(std::string_view fileName);

    // The settings in `path`; its folder is created (readable by the owner alone) on the
    // first write. A symbolic link at `path` is followed: its target is read and replaced,
    // and the link stays.
    explicit SettingsFile(std::filesystem::path path);

    bool CreateKey(std::string_view path) override;
    bool KeyExists(std::string_view path) const override;
    std::optional<RegistryValue> QueryValue(std::string_view path, std::string_view name) const override;
    bool SetValue(std::string_view path, std::string_view name, const RegistryValue& value) override;
    bool DeleteValue(std::string_view path, std::string_view name) override;
    bool DeleteKey(std::string_view path) override;
    std::vector<std::string> SubkeyNames(std::string_view path) const override;
    void BeginBatch() override;
    bool EndBatch() override;

private:
    // What identifies one version of the file on the disk.
    struct Stamp {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified {};
        timespec changed {};
    };

    // Reads the file again when it is not the version last seen.
    void Refresh() const;
    // Makes `tree` the settings, on the disk first (at the batch's end inside one); false, with
    // nothing changed, when it cannot.
    bool Commit(SettingsKey tree);
    // Puts the tree on the disk; false when it cannot.
    bool Write(const SettingsKey& tree);
    // False when no write could succeed: the place holds no regular file, or a file stands
    // where a folder should be.
    bool CanWrite() const;
    std::filesystem::path Target() const;

    std::filesystem::path m_path;
    mutable SettingsKey m_root;
    mutable Stamp m_seen;
    int m_batchDepth = 0;
    bool m_batchChanged = false;
    // What the settings were when the outermost batch began.
    SettingsKey m_beforeBatch;
};

}  // namespace sekreta::platform
