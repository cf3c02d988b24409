#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace sekreta::platform {

// A kind of document file that the desktop opens with this program.
struct DocumentType {
    std::string extension;  // ".sek"
    std::string typeId;  // "Sekreta.Document"
    std::string typeName;  // "Sekreta Document"
    // The running program, absolute; its open, print and print-to commands name it.
    std::filesystem::path program;
    // Which of the program's icons the type's files show.
    int iconIndex = 0;
};

// The desktop's register of document types: which program opens which files.
class DocumentTypes {
public:
    virtual ~DocumentTypes() = default;

    // The type the extension is associated with now; empty when none, or when that cannot be read.
    virtual std::string Association(std::string_view extension) const = 0;
    // Registers the type, its icon and its open, print and print-to commands, and, when
    // claimExtension is set, associates the extension with it. Stops at the first write that
    // fails; false then.
    virtual bool Register(const DocumentType& type, bool claimExtension) = 0;
    // Removes what Register wrote: the extension's association only when releaseExtension is set.
    virtual void Unregister(const DocumentType& type, bool releaseExtension) = 0;
};

}  // namespace sekreta::platform
