#include "QtDialogServices.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>

namespace
{

// Both file dialogs start where the user last chose a file, also in a later
// run, so loading an MDF file and saving its RLF file beside it takes no
// browsing. The names give the file ~/.config/Lumarc/Lumarc.conf.
const QString kSettingsName = QStringLiteral("Lumarc");
const QString kLastFolderKey = QStringLiteral("FileDialogs/lastFolder");

QString lastFolder()
{
    const QString folder = QSettings(kSettingsName, kSettingsName).value(kLastFolderKey).toString();
    // A folder removed since then would leave the dialog somewhere odd.
    return !folder.isEmpty() && QDir(folder).exists() ? folder : QString();
}

void rememberFolderOf(const QString& file)
{
    QSettings(kSettingsName, kSettingsName).setValue(kLastFolderKey, QFileInfo(file).absolutePath());
}

std::optional<QString> askForFile(QWidget* parent, const FileDialogRequest& request,
                                  QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(mode);
    // Opening needs an existing file; saving asks before replacing one (the
    // file dialog's default) and needs an existing folder.
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(request.nameFilters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (const QString folder = lastFolder(); !folder.isEmpty())
        dialog.setDirectory(folder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    rememberFolderOf(dialog.selectedFiles().constFirst());
    return dialog.selectedFiles().constFirst();
}

} // namespace

std::optional<QString> QtDialogServices::openFileName(QWidget* parent, const FileDialogRequest& request)
{
    return askForFile(parent, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogServices::saveFileName(QWidget* parent, const FileDialogRequest& request)
{
    for (;;)
    {
        std::optional<QString> path = askForFile(parent, request, QFileDialog::AcceptSave);
        // A read-only file is not offered for replacing: the save would
        // otherwise rename a new file over it.
        const QFileInfo chosen(path.value_or(QString()));
        if (!path || !chosen.exists() || chosen.isWritable())
            return path;
        showMessage(parent, *path + "\nThis file is read-only. Choose another name.", request.title,
                    MessageIcon::Error);
    }
}

void QtDialogServices::showMessage(QWidget* parent, const QString& text, const QString& caption,
                                   MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::NoIcon, caption, text,
                    QMessageBox::Ok, parent);
    box.exec();
}
