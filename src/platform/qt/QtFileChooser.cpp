#include "platform/qt/QtFileChooser.h"

#include "platform/qt/QtText.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace sekreta::platform::qt {

QStringList QtFileChooser::NameFilters(const std::vector<FileFilter>& filters)
{
    QStringList names;
    for (const FileFilter& filter : filters) {
        const QString pattern = ToQString(filter.pattern);
        const QString linuxPattern = pattern == QStringLiteral("*.*") ? QStringLiteral("*") : pattern;
        QString name = ToQString(filter.name);
        // Qt reads the patterns from the parentheses of the name; the name shows them too.
        const QString written = QStringLiteral("(%1)").arg(pattern);
        if (name.endsWith(written))
            name.chop(written.size());
        else
            name += u' ';
        names << name + QStringLiteral("(%1)").arg(linuxPattern);
    }
    return names;
}

void QtFileChooser::Prepare(QFileDialog& dialog, const FileDialogRequest& request)
{
    const bool open = request.kind == FileDialogRequest::Kind::Open;
    dialog.setWindowTitle(ToQString(request.title));
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open && request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(NameFilters(request.filters));
    dialog.setDefaultSuffix(ToQString(request.defaultExtension));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    // A Linux file dialog has no read-only box to hide; a read-only file opens as any other.
    // A folder removed since the dialog was last used leaves the dialog's own choice.
    const QString folder = QFile::decodeName(QByteArray::fromStdString(request.initialFolder.string()));
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        dialog.setDirectory(folder);
    if (!request.initialName.empty()) {
        const QString name = QFile::decodeName(QByteArray::fromStdString(request.initialName.string()));
        const QFileInfo info(name);
        if (request.initialName.has_parent_path())
            dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
}

std::optional<std::filesystem::path> QtFileChooser::Choose(const FileDialogRequest& request, QWidget* parent)
{
    FileDialogRequest shown = request;
    for (;;) {
        QFileDialog dialog(parent);
        dialog.setObjectName(QStringLiteral("fileDialog"));
        Prepare(dialog, shown);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        const QString chosen = dialog.selectedFiles().front();
        const QFileInfo file(chosen);
        if (!request.pathMustExist || QFileInfo(file.absolutePath()).isDir())
            return std::filesystem::path(QFile::encodeName(chosen).toStdString());
        // Qt's own dialog takes a name in a folder that is not there; the dialog comes back,
        // in the folder it showed and with the name alone, as Windows' does.
        QMessageBox box(QMessageBox::Warning, dialog.windowTitle(),
            QStringLiteral("%1\nPath does not exist.\nCheck the path and try again.").arg(chosen), QMessageBox::Ok,
            parent);
        box.setObjectName(QStringLiteral("messageBox"));
        box.exec();
        shown.initialFolder = QFile::encodeName(dialog.directory().absolutePath()).toStdString();
        shown.initialName = QFile::encodeName(file.fileName()).toStdString();
    }
}

}  // namespace sekreta::platform::qt
