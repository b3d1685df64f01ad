#include "shell/qt/shell_services.h"

#include "platform/qt/modal.h"

#include <QWidget>
#include "data/description_loader.h"
#include "persistence/build_store.h"
#include "shell/qt/about_dlg.h"
#include "shell/qt/file_type_registration.h"
#include "shell/qt/option_dlg.h"
#include "shell/qt/tolvemar_dlg.h"
#include "shell/qt/update_check.h"

#include <QPointer>

namespace {
ShellServices* g_services = nullptr;
}  // namespace

void ShellServices::RegisterSaveFileType() { RegisterFileType(); }

void ShellServices::StartUpdateCheck(CTolvemarDlg& mainWindow) {
    // An accepted download closes the program through the main window's
    // ordinary close path.
    QPointer<CTolvemarDlg> window(&mainWindow);
    ::StartUpdateCheck(&mainWindow, [window] {
        if (window) window->OnClose();
    });
}

bool ShellServices::LoadBuilds() { return ::LoadBuilds(); }

bool ShellServices::SaveBuilds() { return ::SaveBuilds(); }

void ShellServices::LoadSkillDescriptions() { ::LoadSkillDescriptions(); }

void ShellServices::RunOptionsDialog(QWidget* owner) {
    COptionDlg dialog(owner ? owner->window() : nullptr);
    DoModal(dialog);
}

void ShellServices::RunAboutDialog(QWidget* owner) {
    CAboutDlg dialog(owner ? owner->window() : nullptr);
    DoModal(dialog);
}

ShellServices& Services() {
    static ShellServices real;
    return g_services ? *g_services : real;
}

void SetShellServices(ShellServices* services) { g_services = services; }
