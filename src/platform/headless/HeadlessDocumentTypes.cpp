#include "platform/headless/HeadlessDocumentTypes.h"

namespace sekreta::platform {

namespace {

std::string CommandKey(const DocumentType& type, std::string_view verb)
{
    return type.typeId + "\\shell\\" + std::string(verb) + "\\command";
}

}  // namespace

std::string HeadlessDocumentTypes::Association(std::string_view extension) const
{
    const std::optional<RegistryValue> value = m_classes.QueryValue(extension, "");
    if (!value || !std::holds_alternative<std::string>(*value))
        return {};
    return std::get<std::string>(*value);
}

bool HeadlessDocumentTypes::Register(const DocumentType& type, bool claimExtension)
{
    const std::string program = type.program.string();
    const bool written = m_classes.SetValue(type.typeId, "", type.typeName)
        && m_classes.SetValue(type.typeId + "\\DefaultIcon", "", program + "," + std::to_string(type.iconIndex))
        && m_classes.SetValue(CommandKey(type, "open"), "", program + " \"%1\"")
        && m_classes.SetValue(CommandKey(type, "print"), "", program + " /p \"%1\"")
        && m_classes.SetValue(CommandKey(type, "printto"), "", program + " /pt \"%1\" \"%2\" \"%3\" \"%4\"");
    if (!written || !claimExtension)
        return written;
    return m_classes.SetValue(type.extension, "", type.typeId)
        && m_classes.SetValue(type.extension + "\\ShellNew", "NullFile", std::string());
}

void HeadlessDocumentTypes::Unregister(const DocumentType& type, bool releaseExtension)
{
    RemoveKeyAndEmptyParents(type.typeId + "\\DefaultIcon");
    for (const std::string_view verb : {"open", "print", "printto"})
        RemoveKeyAndEmptyParents(CommandKey(type, verb));
    if (releaseExtension) {
        RemoveKeyAndEmptyParents(type.extension + "\\ShellNew");
        RemoveKeyAndEmptyParents(type.extension);
    }
}

void HeadlessDocumentTypes::RemoveKeyAndEmptyParents(std::string path)
{
    if (!m_classes.DeleteKey(path))
        return;
    for (std::size_t slash = path.rfind('\\'); slash != std::string::npos; slash = path.rfind('\\')) {
        path.resize(slash);
        if (!m_classes.SubkeyNames(path).empty())
            return;
        m_classes.DeleteKey(path);
    }
}

}  // namespace sekreta::platform
