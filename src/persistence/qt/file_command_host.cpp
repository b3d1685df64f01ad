#include "persistence/qt/file_command_host.h"

#include "persistence/qt/select_save_dlg.h"

std::optional<SaveChoice> QtFileCommandHost::RunSelectSaveDlg() {
    CSelectSaveDlg dialog;
    if (dialog.DoModal() != QDialog::Accepted) return std::nullopt;
    return SaveChoice{dialog.Job(), dialog.Slot()};
}
