#pragma once

#include "platform/WindowSystem.h"

#include <QStringList>

class QFileDialog;
class QWidget;

namespace sekreta::platform::qt {

// The Open and Save As dialogs: the desktop's own where it offers one, Qt's otherwise.
class QtFileChooser {
public:
    // The filters as Qt lists them. A Windows pattern "*.*" means every file; here that is "*".
    static QStringList NameFilters(const std::vector<FileFilter>& filters);
    // Sets up a dialog for the request: title, filters, default extension, options, name.
    static void Prepare(QFileDialog& dialog, const FileDialogRequest& request);
    // Runs the dialog modally over `parent`; the chosen path, or nothing on Cancel. When the
    // path must exist and the chosen name's folder does not, the user is told and asked again.
    static std::optional<std::filesystem::path> Choose(const FileDialogRequest& request, QWidget* parent);
};

}  // namespace sekreta::platform::qt
