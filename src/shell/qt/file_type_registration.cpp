#include "shell/qt/file_type_registration.h"

#include "shell/desktop_integration.h"
#include "shell/qt/program_icon.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include <string>

namespace {
enum class WriteResult { Unchanged, Written, Failed };

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Replaces the file atomically, and only when its content differs.
WriteResult WriteIfChanged(const QString& path, const QByteArray& content) {
    {
        QFile existing(path);
        if (existing.open(QIODevice::ReadOnly) && existing.size() == content.size() &&
            existing.readAll() == content) {
            return WriteResult::Unchanged;
        }
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return WriteResult::Failed;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return WriteResult::Failed;
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        file.commit();
        return WriteResult::Failed;
    }
    return file.commit() ? WriteResult::Written : WriteResult::Failed;
}

QByteArray ToBytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// Rebuilds the user's MIME database in the background; its output is dropped.
void UpdateMimeDatabase(const QString& mimeFolder) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    if (tool.isEmpty()) return;
    QProcess process;
    process.setProgram(tool);
    process.setArguments({mimeFolder});
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.startDetached();
}
}  // namespace

bool RegisterFileTypeIn(const QString& dataHome, const QString& executable, bool updateMimeDatabase) {
    if (dataHome.isEmpty()) return false;
    const QDir root(dataHome);
    bool ok = true;

    const WriteResult mime =
        WriteIfChanged(root.filePath(FromView(kMimePackagePath)), ToBytes(ComposeMimePackage()));
    ok = ok && mime != WriteResult::Failed;

    const QByteArray exe = executable.toUtf8();
    const WriteResult entry =
        WriteIfChanged(root.filePath(FromView(kDesktopEntryPath)),
                       ToBytes(ComposeDesktopEntry(std::string_view(exe.constData(), exe.size()))));
    ok = ok && entry != WriteResult::Failed;

    for (int size : kIconSizes) {
        const QByteArray png = ProgramIconPng(size);
        if (png.isEmpty()) {
            ok = false;
            continue;
        }
        const QString path = root.filePath(
            QStringLiteral("icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(FromView(kIconName)));
        ok = WriteIfChanged(path, png) != WriteResult::Failed && ok;
    }

    const QString mimeFolder = root.filePath(QStringLiteral("mime"));
    const bool neverBuilt = !QFileInfo::exists(QDir(mimeFolder).filePath(QStringLiteral("mime.cache")));
    if (updateMimeDatabase &&
        (mime == WriteResult::Written || (mime == WriteResult::Unchanged && neverBuilt))) {
        UpdateMimeDatabase(mimeFolder);
    }
    return ok;
}

void RegisterFileType() {
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    RegisterFileTypeIn(dataHome, QCoreApplication::applicationFilePath());
}
