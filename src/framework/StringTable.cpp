#include "framework/StringTable.h"

#include <algorithm>
#include <array>

namespace sekreta {

namespace {

constexpr std::array kFrameworkStrings = std::to_array<platform::StringResource>({
    {IDS_OPEN_TITLE, "Open"},
    {IDS_SAVE_AS_TITLE, "Save As"},
    {IDS_ALL_FILTER, "All Files (*.*)"},
    {IDS_UNTITLED, "Untitled"},
    {IDS_UNNAMED_FILE, "an unnamed file"},
    {IDP_INVALID_FILENAME, "Invalid filename."},
    {IDP_FAILED_TO_OPEN_DOC, "Failed to open document."},
    {IDP_FAILED_TO_SAVE_DOC, "Failed to save document."},
    {IDP_ASK_TO_SAVE, "Save changes to %1?"},
    {IDP_FAILED_TO_CREATE_DOC, "Failed to create empty document."},
    {IDP_FAILED_TO_LAUNCH_HELP, "Failed to launch help."},
    {IDP_REGISTRY_REMOVED, "System registry entries have been removed and the INI file (if any) was deleted."},
    {IDP_PARSE_UINT, "Please enter a positive integer."},
    {IDP_PARSE_INT_RANGE, "Please enter an integer between %1 and %2."},
    {IDP_FAILED_INVALID_FORMAT, "Unexpected file format."},
    {IDP_FILE_CHANGED_ON_DISK,
        "%1 was changed by another program after %2 read it.\n\nReplace it with the entries shown here?"},
    {IDP_FILE_NONE + 0, "No error occurred."},
    {IDP_FILE_NONE + 1, "An unknown error occurred while accessing %1."},
    {IDP_FILE_NONE + 2, "%1 was not found."},
    {IDP_FILE_NONE + 3, "%1 contains an invalid path."},
    {IDP_FILE_NONE + 4, "%1 could not be opened because there are too many open files."},
    {IDP_FILE_NONE + 5, "Access to %1 was denied."},
    {IDP_FILE_NONE + 6, "An invalid file handle was associated with %1."},
    {IDP_FILE_NONE + 7, "%1 could not be removed because it is the current directory."},
    {IDP_FILE_NONE + 8, "%1 could not be created because the directory is full."},
    {IDP_FILE_NONE + 9, "Seek failed on %1"},
    {IDP_FILE_NONE + 10, "A hardware I/O error was reported while accessing %1."},
    {IDP_FILE_NONE + 11, "A sharing violation occurred while accessing %1."},
    {IDP_FILE_NONE + 12, "A locking violation occurred while accessing %1."},
    {IDP_FILE_NONE + 13, "Disk full while accessing %1."},
    {IDP_FILE_NONE + 14, "An attempt was made to access %1 past its end."},
});

std::span<const platform::StringResource> g_programStrings;

const platform::StringResource* Find(std::span<const platform::StringResource> table, unsigned id)
{
    const auto found = std::lower_bound(table.begin(), table.end(), id,
        [](const platform::StringResource& entry, unsigned key) { return entry.id < key; });
    return found != table.end() && found->id == id ? &*found : nullptr;
}

}  // namespace

void StringTable::SetProgramStrings(std::span<const platform::StringResource> strings)
{
    g_programStrings = strings;
}

std::string StringTable::Load(unsigned id)
{
    if (const platform::StringResource* entry = Find(kFrameworkStrings, id))
        return std::string(entry->text);
    if (const platform::StringResource* entry = Find(g_programStrings, id))
        return std::string(entry->text);
    return {};
}

std::string StringTable::Format(unsigned id, std::initializer_list<std::string_view> arguments)
{
    return FormatText(Load(id), arguments);
}

std::string StringTable::FormatText(std::string_view pattern, std::initializer_list<std::string_view> arguments)
{
    std::string result;
    result.reserve(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const auto index = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (index < arguments.size()) {
                result += *(arguments.begin() + index);
                ++i;
                continue;
            }
        }
        result += pattern[i];
    }
    return result;
}

}  // namespace sekreta
