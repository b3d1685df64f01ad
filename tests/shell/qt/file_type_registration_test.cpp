#include "shell/qt/file_type_registration.h"

#include "shell/desktop_integration.h"
#include "shell/qt/program_icon.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <csignal>
#include <utility>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QByteArray Bytes(const std::string& text) { return QByteArray::fromStdString(text); }

QString IconPath(const QDir& root, int size) {
    return root.filePath(QStringLiteral("icons/hicolor/%1x%1/apps/tolvemar.png").arg(size));
}

// True while an update-mime-database or update-desktop-database process runs
// on a folder inside `dataHome`. The registration starts them detached, so
// their end is seen here, in the process table.
bool CacheToolRunsIn(const QString& dataHome) {
    const QByteArray folder = dataHome.toUtf8() + '/';
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        pid.toInt(&isPid);
        if (!isPid) continue;
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!cmdline.open(QIODevice::ReadOnly)) continue;
        const QList<QByteArray> args = cmdline.readAll().split('\0');
        if (args.size() >= 2 && args[0].endsWith("-database") && args[1].startsWith(folder)) return true;
    }
    return false;
}

const QString kEntry = QStringLiteral("applications/tolvemar-save-file.desktop");
const QString kOddExecutable = QStringLiteral("/opt/My Games/\"Tol\" $HOME 100%/bin\\x/tolvemar");

TEST(FileTypeRegistration, WritesThePackageTheEntryAndTheIcons) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QDir root(temp.path());
    // An installed menu entry in the same folder (an install for the user)
    // is neither replaced nor shadowed.
    ASSERT_TRUE(root.mkpath(QStringLiteral("applications")));
    QFile installed(root.filePath("applications/tolvemar.desktop"));
    ASSERT_TRUE(installed.open(QIODevice::WriteOnly) && installed.write("[Desktop Entry]\n") > 0);
    installed.close();
    EXPECT_TRUE(RegisterFileTypeIn(temp.path(), kOddExecutable, false));
    EXPECT_EQ(ReadAll(installed.fileName()), QByteArray("[Desktop Entry]\n"));

    EXPECT_EQ(ReadAll(root.filePath("mime/packages/tolvemar.xml")), Bytes(ComposeMimePackage()));
    const QByteArray entry = ReadAll(root.filePath(kEntry));
    EXPECT_EQ(entry, Bytes(ComposeDesktopEntry(kOddExecutable.toStdString(), DesktopEntryUse::FileTypeOnly)));
    EXPECT_TRUE(entry.contains("\nNoDisplay=true\n"));
    EXPECT_TRUE(
        entry.contains("\nExec=\"/opt/My Games/\\\\\"Tol\\\\\" \\\\$HOME 100%%/bin\\\\\\\\x/tolvemar\" %f\n"))
        << entry.toStdString();
    for (int size : kIconSizes) {
        EXPECT_EQ(ReadAll(IconPath(root, size)), ProgramIconPng(size)) << size;
        EXPECT_EQ(QImage(IconPath(root, size)).size(), QSize(size, size)) << size;
    }
    EXPECT_FALSE(QFileInfo::exists(root.filePath("applications/mimeapps.list")));
    EXPECT_FALSE(QFileInfo::exists(root.filePath("mimeapps.list")));

    const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (!validator.isEmpty()) {
        QProcess process;
        process.start(validator, {root.filePath(kEntry)});
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 0);
        EXPECT_EQ(process.readAll(), QByteArray());
    }
}

TEST(FileTypeRegistration, RewritesOnlyWhatChanged) {
    QTemporaryDir temp;
    const QDir root(temp.path());
    ASSERT_TRUE(RegisterFileTypeIn(temp.path(), QStringLiteral("/usr/bin/tolvemar"), false));
    const QDateTime old = QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC);
    const QStringList paths = {root.filePath("mime/packages/tolvemar.xml"), root.filePath(kEntry),
                               IconPath(root, 48)};
    for (const QString& path : paths) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(old, QFileDevice::FileModificationTime));
    }
    ASSERT_TRUE(RegisterFileTypeIn(temp.path(), QStringLiteral("/usr/bin/tolvemar"), false));
    for (const QString& path : paths)
        EXPECT_EQ(QFileInfo(path).lastModified().toUTC(), old) << path.toStdString();

    // Another executable: only the desktop entry is replaced.
    ASSERT_TRUE(RegisterFileTypeIn(temp.path(), QStringLiteral("/opt/tolvemar"), false));
    EXPECT_NE(QFileInfo(paths[1]).lastModified().toUTC(), old);
    EXPECT_EQ(QFileInfo(paths[0]).lastModified().toUTC(), old);
    EXPECT_TRUE(ReadAll(paths[1]).contains("\nExec=/opt/tolvemar %f\n"));

    // A damaged file is put right.
    {
        QFile file(paths[0]);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("<mime-info");
    }
    // On a full disk (no file may grow) the damaged file stays as it was.
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlim_t allowed = std::exchange(limit.rlim_cur, 0);
    const auto onTooLarge = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool written = RegisterFileTypeIn(temp.path(), QStringLiteral("/usr/bin/tolvemar"), false);
    limit.rlim_cur = allowed;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, onTooLarge);
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadAll(paths[0]), QByteArray("<mime-info"));
    ASSERT_TRUE(RegisterFileTypeIn(temp.path(), QStringLiteral("/opt/tolvemar"), false));
    EXPECT_EQ(ReadAll(paths[0]), Bytes(ComposeMimePackage()));
}

TEST(FileTypeRegistration, UnwritableFoldersAreIgnored) {
    QTemporaryDir temp;
    const QDir root(temp.path());
    // A plain file where a folder should be stops writing there (also for root).
    {
        QFile blocker(root.filePath("applications"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    EXPECT_FALSE(RegisterFileTypeIn(temp.path(), QStringLiteral("/usr/bin/tolvemar"), false));
    EXPECT_EQ(ReadAll(root.filePath("mime/packages/tolvemar.xml")), Bytes(ComposeMimePackage()));
    EXPECT_TRUE(QFileInfo::exists(IconPath(root, 16)));
    EXPECT_TRUE(QFileInfo(root.filePath("applications")).isFile());

    {
        QFile file(root.filePath("not-a-folder"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    EXPECT_FALSE(
        RegisterFileTypeIn(root.filePath("not-a-folder/share"), QStringLiteral("/usr/bin/tolvemar")));
    EXPECT_FALSE(RegisterFileTypeIn(QString(), QStringLiteral("/usr/bin/tolvemar")));
}

// The MIME database gives a .tvf file its type, and the desktop database
// names the entry that opens it.
TEST(FileTypeRegistration, BuildsTheDatabasesWhenTheToolsAreThere) {
    if (QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("update-desktop-database")).isEmpty()) {
        GTEST_SKIP() << "update-mime-database or update-desktop-database not installed";
    }
    QTemporaryDir temp;
    const QDir root(temp.path());
    RegisterFileTypeIn(temp.path(), QStringLiteral("/usr/bin/tolvemar"));
    const QString typeFile = root.filePath("mime/application/x-tolvemar-save.xml");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return QFileInfo::exists(typeFile) && QFileInfo::exists(root.filePath("mime/globs2")); },
        20000));
    EXPECT_TRUE(ReadAll(root.filePath("mime/globs2")).contains("application/x-tolvemar-save:*.tvf"));
    // Let the background tools finish before the folder goes away.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !CacheToolRunsIn(temp.path()); }, 20000));
    EXPECT_TRUE(QFileInfo::exists(root.filePath("mime/mime.cache")));
    EXPECT_TRUE(ReadAll(root.filePath("applications/mimeinfo.cache"))
                    .contains("\napplication/x-tolvemar-save=tolvemar-save-file.desktop;\n"));
}

TEST(FileTypeRegistration, RegistersTheRunningExecutableUnderTheDataHome) {
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    ASSERT_FALSE(dataHome.isEmpty());
    RegisterFileType();
    const QByteArray entry = ReadAll(QDir(dataHome).filePath(kEntry));
    EXPECT_TRUE(entry.contains("\nExec=" + QCoreApplication::applicationFilePath().toUtf8() + " %f\n"))
        << entry.toStdString();
    // The databases are rebuilt in the background; let that finish before
    // the temporary data folder goes away.
    if (!QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty()) {
        const QString mime = QDir(dataHome).filePath("mime");
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return QFileInfo::exists(mime + "/mime.cache") && !CacheToolRunsIn(dataHome); }, 20000));
    }
}

}  // namespace
