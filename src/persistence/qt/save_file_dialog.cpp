#include "persistence/qt/save_file_dialog.h"

#include <QFileDialog>
#include <QStringList>

namespace {

void ConfigureCommon(QFileDialog& dialog) {
    dialog.setNameFilters({QString::fromLatin1(kSaveFileFilter), QString::fromLatin1(kAllFilesFilter)});
    dialog.setDefaultSuffix(QString::fromLatin1(kSaveFileSuffix));
}

std::optional<std::u16string> Run(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.first().isEmpty()) return std::nullopt;
    return files.first().toStdU16String();
}

}  // namespace

void ConfigureSaveFileDialog(QFileDialog& dialog) {
    ConfigureCommon(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
}

void ConfigureOpenFileDialog(QFileDialog& dialog) {
    ConfigureCommon(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
}

std::optional<std::u16string> QtFileDialog::GetSaveFileName() {
    QFileDialog dialog(m_parent);
    ConfigureSaveFileDialog(dialog);
    return Run(dialog);
}

std::optional<std::u16string> QtFileDialog::GetOpenFileName() {
    QFileDialog dialog(m_parent);
    ConfigureOpenFileDialog(dialog);
    return Run(dialog);
}
