#include "shell/qt/program_icon.h"

#include "shell/desktop_integration.h"

#include <QFile>
#include <QString>

// The icons live in a resource file of the static library; its initialiser
// must be called by name (and outside any namespace).
static bool InitIconResources() {
    Q_INIT_RESOURCE(icons);
    return true;
}

namespace {
void EnsureIconResources() {
    static const bool done = InitIconResources();
    (void)done;
}

QString IconResourcePath(int size) {
    return QStringLiteral(":/icons/hicolor/%1x%1/apps/tolvemar.png").arg(size);
}
}  // namespace

QIcon ProgramIcon() {
    EnsureIconResources();
    QIcon icon;
    for (int size : kIconSizes) icon.addFile(IconResourcePath(size), QSize(size, size));
    return icon;
}

QByteArray ProgramIconPng(int size) {
    EnsureIconResources();
    QFile file(IconResourcePath(size));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}
