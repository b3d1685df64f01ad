#include "shell/qt/tolvemar_app.h"

#include "platform/qt/qt_message_box.h"
#include "shell/qt/shell_services.h"
#include "shell/qt/tolvemar_dlg.h"

bool CTolvemarApp::InitInstance() {
    InstallQtTranslations();
    InstallQtMessageBoxHandler();
    // PENDING(lead): install the INI profile store here.
    Services().RegisterSaveFileType();
    {
        CTolvemarDlg dialog;
        dialog.DoModal();
    }
    return false;
}
