#include "shell/qt/shell_services.h"

#include "platform/qt/after_first_paint.h"
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
ShellServices* installedServices = nullptr;
}  // namespace

// The desktop registration writes files nobody looks at before the window
// shows; it runs once the first window has been painted.
void ShellServices::RegisterSaveFileType() {
    RunAfterFirstPaint([] { RegisterFileType(); });
}

void ShellServices::StartUpdateCheck(CTolvemarDlg& mainWindow) {
    // An accepted download closes the program through the main window's
    // ordinary close path.
    // The request itself leaves once the first window is painted: the check
    // never holds up start-up, and setting up the network takes a while.
    QPointer<CTolvemarDlg> window(&mainWindow);
    RunAfterFirstPaint([window] {
        if (!window) return;
        ::StartUpdateCheck(window, [window] {
            if (window) window->OnClose();
        });
    });
}

bool ShellServices::LoadBuilds() { return ::LoadBuilds(); }

bool ShellServices::SaveBuilds() { return ::SaveBuilds(); }

// Decoding the description table is the largest single step of start-up and
// nothing reads a description before a skill is hovered: the load runs once
// the first window has been painted, or earlier when a description is asked
// for first.
void ShellServices::LoadSkillDescriptions() {
    DeferSkillDescriptions();
    RunAfterFirstPaint([] { EnsureSkillDescriptions(); });
}

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
    return installedServices ? *installedServices : real;
}

void SetShellServices(ShellServices* services) { installedServices = services; }
