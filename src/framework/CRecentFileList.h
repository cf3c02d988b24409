#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace sekreta {

class CCmdUI;
class CWinApp;

// The most recently opened files, newest first: kept in the settings store and shown in the
// File menu as numbered items in place of the placeholder item.
class CRecentFileList {
public:
    CRecentFileList(CWinApp& app, unsigned firstCommand, std::string section, std::string entryFormat, unsigned size,
        unsigned longestDisplayName);

    std::size_t GetSize() const { return m_paths.size(); }
    // The path in a slot; empty for a free slot.
    const std::string& GetPath(std::size_t slot) const { return m_paths[slot]; }

    // Puts the path at the top, moving its file's entry there when that file is already listed,
    // under this path or another one that leads to it.
    void Add(const std::string& path);
    // Empties a slot; the later ones move up.
    void Remove(std::size_t slot);
    // Removes the path's entry, if it is listed, as Remove does its slot.
    void RemovePath(const std::string& path);

    // The text a menu shows for a slot's path: the name alone when the file is in the current
    // folder, else the path shortened to the longest display name.
    std::string GetDisplayName(std::size_t slot, const std::filesystem::path& currentDirectory) const;
    // Replaces the placeholder item with one item per listed file, or grays it when none is.
    void UpdateMenu(CCmdUI* cmdUI);

    void ReadList();
    void WriteList();

private:
    std::string EntryName(std::size_t slot) const;

    CWinApp& m_app;
    unsigned m_firstCommand;
    std::string m_section;
    std::string m_entryFormat;
    unsigned m_longestDisplayName;
    std::vector<std::string> m_paths;
    std::string m_placeholderText;
};

// A path cut to at most `longest` characters: its first folder, "/...", and as many of its last
// parts as fit; the file name alone when even that is too long.
std::string AbbreviatePath(const std::string& path, std::size_t longest);

}  // namespace sekreta
