#include "shell/qt/file_type_registration.h"

#include "platform/file_io.h"
#include "shell/desktop_integration.h"
#include "shell/qt/program_icon.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <string>

namespace {
enum class WriteResult { Unchanged, Written, Failed };

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Replaces the file atomically, and only when its content differs. A write
// that fails (a full disk) leaves the old file whole.
WriteResult WriteIfChanged(const QString& path, const QByteArray& content) {
    {
        QFile existing(path);
        if (existing.open(QIODevice::ReadOnly) && existing.size() == content.size() &&
            existing.readAll() == content) {
            return WriteResult::Unchanged;
        }
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return WriteResult::Failed;
    return WriteFileAtomic(path.toStdU16String(), content.constData(), static_cast<size_t>(content.size()))
               ? WriteResult::Written
               : WriteResult::Failed;
}

QByteArray ToBytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// Runs a desktop database tool on `folder` in the background; its output is
// dropped.
void RunCacheTool(const QString& name, const QString& folder) {
    const QString tool = QStandardPaths::findExecutable(name);
    if (tool.isEmpty()) return;
    QProcess process;
    process.setProgram(tool);
    process.setArguments({folder});
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.startDetached();
}

// True when the folder's cache of desktop entries by MIME type names the
// entry a start writes.
bool CacheNames(const QDir& applications) {
    QFile cache(applications.filePath(QStringLiteral("mimeinfo.cache")));
    return cache.open(QIODevice::ReadOnly) &&
           cache.readAll().contains(
               QByteArray(kFileTypeEntryName.data(), static_cast<qsizetype>(kFileTypeEntryName.size())));
}
}  // namespace

bool RegisterFileTypeIn(const QString& dataHome, const QString& executable, bool updateCaches) {
    if (dataHome.isEmpty()) return false;
    const QDir root(dataHome);
    bool ok = true;

    const WriteResult mime =
        WriteIfChanged(root.filePath(FromView(kMimePackagePath)), ToBytes(ComposeMimePackage()));
    ok = ok && mime != WriteResult::Failed;

    const QByteArray exe = executable.toUtf8();
    const QDir applications(root.filePath(FromView(kDesktopEntryFolder)));
    const WriteResult entry =
        WriteIfChanged(applications.filePath(FromView(kFileTypeEntryName)),
                       ToBytes(ComposeDesktopEntry(std::string_view(exe.constData(), exe.size()),
                                                   DesktopEntryUse::FileTypeOnly)));
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

    if (!updateCaches) return ok;
    const QString mimeFolder = root.filePath(QStringLiteral("mime"));
    const bool neverBuilt = !QFileInfo::exists(QDir(mimeFolder).filePath(QStringLiteral("mime.cache")));
    if (mime == WriteResult::Written || (mime == WriteResult::Unchanged && neverBuilt))
        RunCacheTool(QStringLiteral("update-mime-database"), mimeFolder);
    // File managers find the entry for the type through the folder's
    // mimeinfo.cache.
    if (entry == WriteResult::Written || (entry == WriteResult::Unchanged && !CacheNames(applications))) {
        RunCacheTool(QStringLiteral("update-desktop-database"), applications.path());
    }
    return ok;
}

void RegisterFileType() {
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    RegisterFileTypeIn(dataHome, QCoreApplication::applicationFilePath());
}
