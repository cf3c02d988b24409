#include "platform/xdg/XdgDocumentTypes.h"

#include "platform/TextEncoding.h"
#include "platform/posix/AtomicFile.h"

#include <algorithm>
#include <charconv>
#include <fnmatch.h>
#include <set>
#include <utility>

namespace sekreta::platform {

namespace {

// The compiled MIME database of a system lists every type the desktop knows: far below this.
constexpr std::size_t kLargestGlobsFile = 16 << 20;
// Our own files are a few hundred bytes; anything much larger is not what we wrote.
constexpr std::size_t kLargestOwnFile = 64 << 10;
constexpr mode_t kReadableByAll = 0644;

struct TypeNames {
    std::string application;  // Sekreta
    std::string icon;  // sekreta
    std::string fileStem;  // sekreta-document
    std::string mimeType;  // application/x-sekreta
};

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
        [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

// Nothing for an id that cannot name files: only letters, digits, dots, dashes, underscores.
std::optional<TypeNames> NamesOf(std::string_view typeId)
{
    const std::string_view application = typeId.substr(0, typeId.find('.'));
    const bool plain = std::all_of(typeId.begin(), typeId.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-'
            || c == '_';
    });
    if (!plain || application.empty())
        return std::nullopt;
    std::string stem = Lower(typeId);
    std::replace(stem.begin(), stem.end(), '.', '-');
    return TypeNames {std::string(application), Lower(application), stem, "application/x-" + Lower(application)};
}

// Text that a desktop file or an XML file can hold: UTF-8 without control characters.
bool IsWritableText(std::string_view text)
{
    return IsValidUtf8(text) && std::none_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7f;
    });
}

std::string EscapeXml(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

// A value of a desktop entry's string key: backslashes doubled, a leading space kept.
std::string EscapeDesktopString(std::string_view text)
{
    std::string escaped;
    for (const char c : text)
        escaped += c == '\\' ? std::string_view("\\\\") : std::string_view(&c, 1);
    if (escaped.starts_with(' '))
        escaped.replace(0, 1, "\\s");
    return escaped;
}

// The program as the first word of an Exec key: quoted, with the quoting's own escapes, then
// the string escapes over those, and % doubled so that it is no field code.
std::string ExecProgram(std::string_view program)
{
    std::string quoted = "\"";
    for (const char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        if (c == '%')
            quoted += '%';
        quoted += c;
    }
    quoted += '"';
    return EscapeDesktopString(quoted);
}

std::string MimePackage(const TypeNames& names, const DocumentType& type, bool claimExtension)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    xml += "  <mime-type type=\"" + names.mimeType + "\">\n";
    xml += "    <comment>" + EscapeXml(type.typeName) + "</comment>\n";
    xml += "    <icon name=\"" + names.icon + "\"/>\n";
    if (claimExtension)
        xml += "    <glob pattern=\"*" + EscapeXml(type.extension) + "\"/>\n";
    xml += "  </mime-type>\n"
           "</mime-info>\n";
    return xml;
}

std::string DesktopEntry(const TypeNames& names, const std::string& program)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name="
        + names.application
        + "\n"
          "Icon="
        + names.icon
        + "\n"
          "TryExec="
        + EscapeDesktopString(program)
        + "\n"
          "Exec="
        + ExecProgram(program)
        + " %f\n"
          "MimeType="
        + names.mimeType
        + ";\n"
          "NoDisplay=true\n"
          "Terminal=false\n";
}

enum class Outcome { Unchanged, Written, Failed };

Outcome WriteIfDifferent(const std::filesystem::path& path, const std::string& text)
{
    if (ReadWholeFile(path, kLargestOwnFile) == text)
        return Outcome::Unchanged;
    return WriteFileAtomically(path, text, kReadableByAll) ? Outcome::Written : Outcome::Failed;
}

bool RemoveIfThere(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::remove(path, error);
}

// One line of a globs2 file: weight:type:pattern, maybe followed by :flags.
struct Glob {
    int weight = 0;
    std::string_view type;
    std::string_view pattern;
    bool caseSensitive = false;
};

std::optional<Glob> ParseGlobLine(std::string_view line)
{
    const std::size_t first = line.find(':');
    const std::size_t second = first == std::string_view::npos ? first : line.find(':', first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    Glob glob;
    const auto [end, error] = std::from_chars(line.data(), line.data() + first, glob.weight);
    if (error != std::errc() || end != line.data() + first)
        return std::nullopt;
    glob.type = line.substr(first + 1, second - first - 1);
    const std::string_view rest = line.substr(second + 1);
    const std::size_t flags = rest.find(':');
    glob.pattern = rest.substr(0, flags);
    if (flags != std::string_view::npos)
        glob.caseSensitive = rest.substr(flags + 1).find("cs") != std::string_view::npos;
    if (glob.type.empty() || glob.pattern.empty())
        return std::nullopt;
    return glob;
}

}  // namespace

XdgDocumentTypes::XdgDocumentTypes(std::string typeId, XdgDirectories directories, Launcher launch)
    : m_typeId(std::move(typeId))
    , m_directories(std::move(directories))
    , m_launch(std::move(launch))
{
}

std::string XdgDocumentTypes::Association(std::string_view extension) const
{
    std::string sample = "x";
    sample += extension;
    std::vector<std::filesystem::path> databases {m_directories.dataHome / "mime"};
    for (const std::filesystem::path& dir : m_directories.dataDirs)
        databases.push_back(dir / "mime");

    // The first folder is the user's and has the last word: a type it lists as __NOGLOBS__
    // loses the patterns that the folders after it give it.
    std::set<std::string, std::less<>> overridden;
    std::string best;
    int bestWeight = -1;
    std::size_t bestLength = 0;
    for (const std::filesystem::path& database : databases) {
        const std::optional<std::string> text = ReadWholeFile(database / "globs2", kLargestGlobsFile);
        if (!text)
            continue;
        std::set<std::string, std::less<>> overriding;
        std::string_view lines = *text;
        while (!lines.empty()) {
            const std::size_t end = lines.find('\n');
            const std::string_view line = lines.substr(0, end);
            lines = end == std::string_view::npos ? std::string_view() : lines.substr(end + 1);
            if (line.empty() || line.front() == '#')
                continue;
            const std::optional<Glob> glob = ParseGlobLine(line);
            if (!glob || overridden.contains(glob->type))
                continue;
            if (glob->pattern == "__NOGLOBS__") {
                overriding.emplace(glob->type);
                continue;
            }
            const std::string pattern(glob->pattern);
            if (::fnmatch(pattern.c_str(), sample.c_str(), glob->caseSensitive ? 0 : FNM_CASEFOLD) != 0)
                continue;
            // The heaviest pattern wins, then the longest; the first folder wins a tie.
            if (glob->weight > bestWeight || (glob->weight == bestWeight && pattern.size() > bestLength)) {
                best = glob->type;
                bestWeight = glob->weight;
                bestLength = pattern.size();
            }
        }
        overridden.merge(overriding);
    }
    const std::optional<TypeNames> ours = NamesOf(m_typeId);
    if (ours && best == ours->mimeType)
        return m_typeId;
    return best;
}

bool XdgDocumentTypes::Register(const DocumentType& type, bool claimExtension)
{
    const std::optional<TypeNames> names = NamesOf(type.typeId);
    const std::string program = type.program.string();
    if (!names || !type.program.is_absolute() || !IsWritableText(program) || !IsWritableText(type.typeName)
        || !IsWritableText(type.extension))
        return false;

    const std::filesystem::path mime = m_directories.dataHome / "mime";
    const std::filesystem::path applications = m_directories.dataHome / "applications";
    const Outcome package
        = WriteIfDifferent(mime / "packages" / (names->fileStem + ".xml"), MimePackage(*names, type, claimExtension));
    if (package == Outcome::Failed)
        return false;
    if (package == Outcome::Written)
        m_launch({"update-mime-database", mime.string()});
    const Outcome entry
        = WriteIfDifferent(applications / (names->fileStem + ".desktop"), DesktopEntry(*names, program));
    if (entry == Outcome::Written)
        m_launch({"update-desktop-database", applications.string()});
    return entry != Outcome::Failed;
}

void XdgDocumentTypes::Unregister(const DocumentType& type, bool)
{
    const std::optional<TypeNames> names = NamesOf(type.typeId);
    if (!names)
        return;
    const std::filesystem::path mime = m_directories.dataHome / "mime";
    const std::filesystem::path applications = m_directories.dataHome / "applications";
    if (RemoveIfThere(mime / "packages" / (names->fileStem + ".xml")))
        m_launch({"update-mime-database", mime.string()});
    if (RemoveIfThere(applications / (names->fileStem + ".desktop")))
        m_launch({"update-desktop-database", applications.string()});
}

}  // namespace sekreta::platform
