// What the job chooser lends its file commands: the save options dialog, the
// file dialogs and its file buttons.
#pragma once

#include "persistence/file_commands.h"
#include "persistence/qt/save_file_dialog.h"

#include <functional>

class QWidget;

class QtFileCommandHost : public FileCommandHost {
public:
    // `showFileButtons` shows or hides the chooser's close-file and store
    // buttons.
    explicit QtFileCommandHost(std::function<void(bool)> showFileButtons)
        : m_showFileButtons(std::move(showFileButtons)) {}

    std::optional<SaveChoice> RunSelectSaveDlg() override;
    FileDialog& FileDialogs() override { return m_fileDialog; }
    void ShowFileButtons(bool show) override {
        if (m_showFileButtons) m_showFileButtons(show);
    }

private:
    std::function<void(bool)> m_showFileButtons;
    QtFileDialog m_fileDialog;
};
