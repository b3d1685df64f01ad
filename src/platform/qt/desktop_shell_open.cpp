#include "platform/qt/desktop_shell_open.h"

#include "platform/shell_open.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

void UseDesktopShellOpen() {
    SetShellOpenHandler([](const std::u16string& address) {
        QDesktopServices::openUrl(QUrl(QString::fromStdU16String(address), QUrl::TolerantMode));
    });
}
