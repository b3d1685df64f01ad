#include "shell/qt/shell_services.h"

#include "platform/qt/modal.h"

#include <QWidget>
#include "shell/qt/option_dlg.h"

namespace {
ShellServices* g_services = nullptr;
}  // namespace

void ShellServices::RegisterSaveFileType() {
    // PENDING(periph): call the desktop file-type registration here.
}

void ShellServices::StartUpdateCheck(CTolvemarDlg& mainWindow) {
    (void)mainWindow;
    // PENDING(periph): start the update check here.
}

bool ShellServices::LoadBuilds() {
    // PENDING(persist): return ::LoadBuilds();
    return true;
}

bool ShellServices::SaveBuilds() {
    // PENDING(persist): return ::SaveBuilds();
    return true;
}

void ShellServices::LoadSkillDescriptions() {
    // PENDING(content): ::LoadSkillDescriptions();
}

void ShellServices::RunOptionsDialog(QWidget* owner) {
    COptionDlg dialog(owner ? owner->window() : nullptr);
    DoModal(dialog);
}

void ShellServices::RunAboutDialog(QWidget* owner) {
    (void)owner;
    // PENDING(periph): run CAboutDlg modally here.
}

ShellServices& Services() {
    static ShellServices real;
    return g_services ? *g_services : real;
}

void SetShellServices(ShellServices* services) { g_services = services; }
