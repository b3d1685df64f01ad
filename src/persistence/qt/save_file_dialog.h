// The file dialogs of the save and load commands: save files (*.tvf) or any
// file, "tvf" added to a name typed without a suffix.
#pragma once

#include "platform/file_dialog.h"

class QFileDialog;
class QWidget;

inline constexpr char kSaveFileFilter[] = "Tolvemar Save Files(*.tvf)";
inline constexpr char kAllFilesFilter[] = "All Files (*)";
inline constexpr char kSaveFileSuffix[] = "tvf";

// Sets up a dialog for choosing a file to save to: it asks itself before an
// existing file is replaced.
void ConfigureSaveFileDialog(QFileDialog& dialog);
// Sets up a dialog for choosing an existing file to open.
void ConfigureOpenFileDialog(QFileDialog& dialog);

class QtFileDialog : public FileDialog {
public:
    // The dialogs have no owner window, so they centre on the screen.
    explicit QtFileDialog(QWidget* parent = nullptr) : m_parent(parent) {}
    std::optional<std::u16string> GetSaveFileName() override;
    std::optional<std::u16string> GetOpenFileName() override;

private:
    QWidget* m_parent;
};
