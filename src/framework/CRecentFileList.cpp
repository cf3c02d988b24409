#include "framework/CRecentFileList.h"

#include "framework/CCmdUI.h"
#include "framework/CWinApp.h"
#include "platform/TextEncoding.h"

#include <algorithm>

namespace sekreta {

CRecentFileList::CRecentFileList(CWinApp& app, unsigned firstCommand, std::string section, std::string entryFormat,
    unsigned size, unsigned longestDisplayName)
    : m_app(app)
    , m_firstCommand(firstCommand)
    , m_section(std::move(section))
    , m_entryFormat(std::move(entryFormat))
    , m_longestDisplayName(longestDisplayName)
    , m_paths(size)
{
}

void CRecentFileList::Add(const std::string& path)
{
    platform::FileSystem& files = m_app.GetPlatform().files;
    const std::string absolute = files.Absolute(path).string();
    // Looking in every slot but the last: a path found there drops off the end either way. An
    // entry that leads to the same file under another path is that file's entry, and takes the
    // path just used.
    const auto searched = m_paths.end() - 1;
    auto found = std::find_if(m_paths.begin(), searched,
        [&](const std::string& listed) { return !listed.empty() && files.IsSameFile(listed, absolute); });
    if (found == searched)
        found = m_paths.end() - 1;
    std::rotate(m_paths.begin(), found, found + 1);
    m_paths.front() = absolute;
}

void CRecentFileList::Remove(std::size_t slot)
{
    if (slot >= m_paths.size())
        return;
    m_paths.erase(m_paths.begin() + static_cast<std::ptrdiff_t>(slot));
    m_paths.emplace_back();
}

void CRecentFileList::RemovePath(const std::string& path)
{
    const auto found = std::find(m_paths.begin(), m_paths.end(), path);
    if (!path.empty() && found != m_paths.end())
        Remove(static_cast<std::size_t>(found - m_paths.begin()));
}

std::string CRecentFileList::GetDisplayName(std::size_t slot, const std::filesystem::path& currentDirectory) const
{
    const std::filesystem::path path = m_paths[slot];
    if (path.parent_path() == currentDirectory)
        return m_app.GetPlatform().files.DisplayName(path);
    const std::filesystem::path shown = path.parent_path() / m_app.GetPlatform().files.DisplayName(path);
    return AbbreviatePath(shown.string(), m_longestDisplayName);
}

void CRecentFileList::UpdateMenu(CCmdUI* cmdUI)
{
    platform::Menu* menu = cmdUI->m_pMenu;
    if (!menu)
        return;
    if (m_placeholderText.empty())
        m_placeholderText = menu->Text(cmdUI->m_nIndex);
    if (m_paths.front().empty()) {
        cmdUI->SetText(m_placeholderText);
        cmdUI->Enable(false);
        return;
    }

    const int index = cmdUI->m_nIndex;
    const auto isRecentFileItem = [&](unsigned id) { return id >= m_firstCommand && id < m_firstCommand + 16; };
    while (index < menu->Count() && isRecentFileItem(menu->Id(index)))
        menu->Remove(index);

    const std::filesystem::path currentDirectory = m_app.GetPlatform().files.CurrentDirectory();
    int inserted = 0;
    for (std::size_t slot = 0; slot < m_paths.size() && !m_paths[slot].empty(); ++slot) {
        // Appended piece by piece: GCC 12 takes the same concatenation for overlapping copies.
        std::string text = "&";
        text += std::to_string((slot + 1) % 10);
        text += ' ';
        // A single "&" would underline the next letter; doubled it shows as itself.
        for (const char c : GetDisplayName(slot, currentDirectory)) {
            text += c;
            if (c == '&')
                text += '&';
        }
        menu->Insert(index + inserted, m_firstCommand + static_cast<unsigned>(slot), text);
        ++inserted;
    }
    cmdUI->m_nIndex = index + inserted - 1;
}

std::string CRecentFileList::EntryName(std::size_t slot) const
{
    std::string name = m_entryFormat;
    const std::size_t placeholder = name.find("%d");
    if (placeholder != std::string::npos)
        name.replace(placeholder, 2, std::to_string(slot + 1));
    return name;
}

void CRecentFileList::ReadList()
{
    for (std::size_t slot = 0; slot < m_paths.size(); ++slot)
        m_paths[slot] = m_app.GetProfileString(m_section, EntryName(slot), "");
}

void CRecentFileList::WriteList()
{
    m_app.WriteProfileString(m_section, std::nullopt, std::nullopt);
    for (std::size_t slot = 0; slot < m_paths.size(); ++slot) {
        if (!m_paths[slot].empty())
            m_app.WriteProfileString(m_section, EntryName(slot), m_paths[slot]);
    }
}

std::string AbbreviatePath(const std::string& path, std::size_t longest)
{
    // Lengths are counted as the menu shows the path: a UTF-8 character once, and every byte
    // of a path that is not UTF-8 (shown as Windows-1252). Cuts fall only at the ASCII "/",
    // which is never part of a longer character.
    const bool utf8 = platform::IsValidUtf8(path);
    const auto length = [utf8](std::string_view text) { return utf8 ? platform::CharacterCount(text) : text.size(); };
    const std::string_view whole = path;
    if (length(whole) <= longest)
        return path;

    const std::size_t nameStart = path.rfind('/') + 1;
    const std::string name = path.substr(nameStart);
    // The head is the root and the first folder: "/home".
    const std::size_t headEnd = path.find('/', 1);
    if (length(name) > longest || headEnd == std::string::npos || headEnd >= nameStart - 1)
        return name;
    const std::string head = path.substr(0, headEnd) + "/...";

    std::size_t tailStart = nameStart - 1;  // the separator before the name
    if (length(head) + length(whole.substr(tailStart)) > longest)
        return name;
    // Take whole parts from the end while they fit.
    while (tailStart > headEnd) {
        const std::size_t previous = path.rfind('/', tailStart - 1);
        if (previous < headEnd || length(head) + length(whole.substr(previous)) > longest)
            break;
        tailStart = previous;
    }
    return head + path.substr(tailStart);
}

}  // namespace sekreta
