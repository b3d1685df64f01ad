#include "shell/qt/tolvemar_app.h"

#include "platform/qt/desktop_shell_open.h"
#include "platform/qt/ini_profile_store.h"
#include "platform/qt/qt_message_box.h"
#include "shell/profile_store.h"
#include "shell/qt/shell_services.h"
#include "shell/qt/tolvemar_dlg.h"

bool CTolvemarApp::InitInstance() {
    InstallQtTranslations();
    InstallQtMessageBoxHandler();
    UseDesktopShellOpen();
    IniProfileStore profile;
    SetProfileStore(&profile);
    Services().RegisterSaveFileType();
    {
        CTolvemarDlg dialog;
        dialog.DoModal();
    }
    SetProfileStore(nullptr);
    return false;
}
