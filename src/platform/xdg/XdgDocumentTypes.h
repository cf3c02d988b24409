#pragma once

#include "platform/DocumentTypes.h"
#include "platform/xdg/ProcessLauncher.h"
#include "platform/xdg/XdgDirectories.h"

namespace sekreta::platform {

// Document types on a freedesktop desktop: a shared-mime-info package that gives the files
// their MIME type, and a desktop entry that opens that type with the program, both the
// user's own, under $XDG_DATA_HOME.
//
// The names all come from the type id, for "Sekreta.Document":
//   MIME type       application/x-sekreta        ("application/x-" and the id's first part)
//   MIME package    mime/packages/sekreta-document.xml
//   desktop entry   applications/sekreta-document.desktop (hidden from menus: it only opens
//                   files; the installed program has its own menu entry,
//                   com.example.tavisto.sekreta.desktop)
//   icon            sekreta, from the icon theme
// Windows' print commands and icon index have no counterpart here and are not written.
class XdgDocumentTypes : public DocumentTypes {
public:
    // Speaks for the document type `typeId`: Association answers with it when its MIME type
    // claims an extension. `launch` starts the desktop's database tools after a change.
    XdgDocumentTypes(std::string typeId, XdgDirectories directories, Launcher launch = LaunchDetached);

    // The MIME type whose pattern "*EXTENSION" wins in the desktop's compiled MIME database
    // (the globs2 files of $XDG_DATA_HOME/mime and each $XDG_DATA_DIRS/mime, with their
    // weights and __NOGLOBS__ overrides); our own MIME type is answered with the type id.
    // Empty when no type claims the extension. Reads files only: no program is started.
    std::string Association(std::string_view extension) const override;
    // Writes the MIME package (with the pattern only when claimExtension is set) and the
    // desktop entry naming type.program, each only when missing or different; then, for what
    // changed, starts update-mime-database or update-desktop-database on the user's folders
    // when they are installed. False when a file cannot be written, or when the program's
    // path or the type's name cannot be written into them (not UTF-8, control characters,
    // not absolute).
    bool Register(const DocumentType& type, bool claimExtension) override;
    // Deletes the package and the desktop entry that Register writes, and updates the
    // databases they were in. Other types' files are never touched, so releaseExtension
    // changes nothing here: the pattern lives in our own package.
    void Unregister(const DocumentType& type, bool releaseExtension) override;

private:
    std::string m_typeId;
    XdgDirectories m_directories;
    Launcher m_launch;
};

}  // namespace sekreta::platform
