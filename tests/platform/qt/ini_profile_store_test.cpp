#include "platform/qt/ini_profile_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

// Runs `body` in a child, as an unprivileged user when `drop` is set, and
// gives its result: -1 when it had not ended within 10 s (it is then killed),
// 100 when it could not drop. The store a body makes is gone before the
// child exits, so its private folder goes with it.
int RunInChild(bool drop, const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (drop &&
            (::setresgid(kNobody, kNobody, kNobody) != 0 || ::setresuid(kNobody, kNobody, kNobody) != 0))
            ::_exit(100);
        ::_exit(body());
    }
    int status = 0;
    bool ended = false;
    if (!QTest::qWaitFor([&] { return ended || (ended = ::waitpid(child, &status, WNOHANG) == child); },
                         10000)) {
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes `content` as the file at `path`, folders made, and returns the path.
QString WriteFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
}

QString WriteProfileFile(const QTemporaryDir& dir, const QByteArray& content) {
    return WriteFile(dir.filePath("profile.ini"), content);
}

TEST(IniProfileStore, UsesTheTolvemarFileUnderTheConfigHome) {
    IniProfileStore store;
    const QString expected = QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath("Tolvemar/Tolvemar.ini");
    EXPECT_EQ(store.FileName(), expected);
}

TEST(IniProfileStore, RoundTripsThroughARealFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("profile.ini");
    const std::u16string names[] = {u"검사",      u"アーチャー", u"Blade/Master",    u"Back\\slash",
                                    u"100% Mage", u"Key=Value",  u"  spaced name  ", u"#hash;semi"};
    {
        IniProfileStore store(path);
        int i = 0;
        for (const auto& name : names) {
            EXPECT_TRUE(store.WriteProfileInt(u"Slot", name, i - 3));
            EXPECT_TRUE(store.WriteProfileString(u"Data", name + u"1", u"0123456789ABCDEF@x=y;z"));
            ++i;
        }
        EXPECT_TRUE(store.WriteProfileInt(u"Option", u"Language", INT32_MIN));
    }
    IniProfileStore reread(path);
    int i = 0;
    for (const auto& name : names) {
        EXPECT_EQ(reread.GetProfileInt(u"Slot", name, 99), i - 3);
        EXPECT_EQ(reread.GetProfileString(u"Data", name + u"1"), u"0123456789ABCDEF@x=y;z");
        ++i;
    }
    EXPECT_EQ(reread.GetProfileInt(u"Option", u"Language", 0), INT32_MIN);
    // '/' in a name must not have made a group: the plain prefix is absent.
    EXPECT_EQ(reread.GetProfileInt(u"Slot", u"Blade", 42), 42);
}

TEST(IniProfileStore, AbsentAndMalformedValuesReadAsTheDefault) {
    QTemporaryDir dir;
    IniProfileStore store(WriteProfileFile(dir,
                                           "[Option]\nSkillInfo=abc\nAutoChange=12x\nAutoCenter=99999999999\n"
                                           "AutoSave=\nSexType= 7 \nLanguage=-2147483648\n"));
    const std::pair<const char16_t*, int32_t> values[] = {{u"SkillInfo", 5},  {u"AutoChange", 5},
                                                          {u"AutoCenter", 5}, {u"AutoSave", 5},
                                                          {u"SexType", 7},    {u"Language", INT32_MIN}};
    for (const auto& [entry, value] : values)
        EXPECT_EQ(store.GetProfileInt(u"Option", entry, 5), value) << QString::fromUtf16(entry).toStdString();
    EXPECT_EQ(store.GetProfileInt(u"Option", u"Missing", -1), -1);
    EXPECT_EQ(store.GetProfileInt(u"NoSection", u"SkillInfo", 3), 3);
    EXPECT_EQ(store.GetProfileString(u"Data", u"Missing"), u"");
}

// QSettings reads an unquoted value with commas as a list; its text is the
// parts QSettings read. A second reader of the file gave other text for a
// hand-edited file (a kept "; comment", a cut continuation, a raw escape) and
// "" for one with CR line ends or a byte-order mark, which reset the build.
TEST(IniProfileStore, AListValueReadsAsThePartsQSettingsRead) {
    const std::pair<QByteArray, std::vector<std::pair<std::u16string, std::u16string>>> files[] = {
        {"\xEF\xBB\xBF[Data]\rlist=1,2,3\rSlash%252FName1=4,5\r",
         {{u"list", u"1,2,3"}, {u"Slash/Name1", u"4,5"}}},
        {"[Data]\nlist=1,2 ; note\nescaped=\\x41,B\ncont=1,\\\n2,3\nspaced = a, \"b,c\" ,d \n"
         "typed=@Rect(1 2 3 4)\n",
         {{u"list", u"1,2"},
          {u"escaped", u"A,B"},
          {u"cont", u"1,2,3"},
          {u"spaced", u"a,b,c,d"},
          {u"typed", u"default"}}},
    };
    for (const auto& [content, values] : files) {
        QTemporaryDir dir;
        IniProfileStore store(WriteProfileFile(dir, content));
        for (const auto& [entry, text] : values)
            EXPECT_EQ(store.GetProfileString(u"Data", entry, u"default"), text)
                << QString::fromStdU16String(entry).toStdString();
    }
}

// QSettings waits for its lock file without limit: a lock that can never be
// taken (a folder, a link, a file closed to this user) froze every profile
// write for ever, a live holder for as long as it held it, and an empty lock
// left by a crash for 30 s. Each write runs in a child that must end well
// before those 30 s; when the tests run as the superuser, who may open any
// file, the child drops to an unprivileged user.
TEST(IniProfileStore, AWriteTakesTheLockOrFailsWithinABound) {
    const bool root = ::geteuid() == 0;
    QTemporaryDir dir;
    const QString home = dir.filePath("home");
    ASSERT_TRUE(QDir().mkpath(home));
    if (root) {
        ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0711), 0);
        ASSERT_EQ(::chown(QFile::encodeName(home).constData(), kNobody, kNobody), 0);
    }
    const QString path = home + QStringLiteral("/profile.ini");
    const QString lockPath = path + QStringLiteral(".lock");
    const QByteArray lockName = QFile::encodeName(lockPath);
    const auto giveToChild = [&](const QString& file) {
        if (root) {
            ASSERT_EQ(::lchown(QFile::encodeName(file).constData(), kNobody, kNobody), 0);
        }
    };
    // A lock file as a writer leaves it, `age` seconds old.
    const auto makeLock = [&](const QString& file, const QByteArray& content, int age, mode_t mode) {
        QFile lock(file);
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lock.write(content);
        lock.close();
        const timespec times[2] = {{std::time(nullptr) - age, 0}, {std::time(nullptr) - age, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), mode), 0);
        giveToChild(file);
    };
    // Writes xpos=value in a child: 0 when the write succeeded, 1 when it
    // failed, -1 when it had not ended at the limit.
    const auto writeInChild = [&](int value) {
        return RunInChild(root, [&] {
            IniProfileStore store(path);
            return store.WriteProfileInt(u"Position", u"xpos", value) ? 0 : 1;
        });
    };
    const auto written = [&](int value) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) &&
               file.readAll().contains("xpos=" + QByteArray::number(value) + '\n');
    };

    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
    const QByteArray ids = QSysInfo::machineUniqueId() + '\n' + QSysInfo::bootUniqueId() + '\n';
    const QByteArray deadOwner =
        QByteArray::number(gone) + "\ntolvemar\n" + QSysInfo::machineHostName().toUtf8() + '\n' + ids;
    const QString target = home + QStringLiteral("/target");
    struct Case {
        const char* lock;
        std::function<void()> make;
        bool cleared;
    };
    const Case cases[] = {
        {"empty, left by a crash", [&] { makeLock(lockPath, "", 1, 0644); }, true},
        {"naming a process that is gone", [&] { makeLock(lockPath, deadOwner, 1, 0644); }, true},
        {"naming a process of another host",
         [&] { makeLock(lockPath, "4242\ntolvemar\nelsewhere\nffff\n\n", 0, 0644); }, false},
        {"an empty file closed to this user", [&] { makeLock(lockPath, "", 100, 0); }, false},
        {"a folder",
         [&] {
             ASSERT_TRUE(QDir().mkdir(lockPath));
             giveToChild(lockPath);
         },
         false},
        {"a link to nowhere",
         [&] {
             ASSERT_EQ(::symlink("nowhere", lockName.constData()), 0);
             giveToChild(lockPath);
         },
         false},
        {"a link to an empty file",
         [&] {
             makeLock(target, "", 1, 0644);
             ASSERT_EQ(::symlink("target", lockName.constData()), 0);
             giveToChild(lockPath);
         },
         false},
    };
    int value = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lock);
        c.make();
        struct stat before {};
        ASSERT_EQ(::lstat(lockName.constData(), &before), 0);
        const int result = writeInChild(++value);
        ASSERT_NE(result, 100) << "could not drop to an unprivileged user";
        ASSERT_NE(result, -1) << "the write was still waiting for the lock";
        EXPECT_EQ(result, c.cleared ? 0 : 1);
        EXPECT_EQ(written(value), c.cleared);
        struct stat after {};
        const bool kept = ::lstat(lockName.constData(), &after) == 0;
        EXPECT_EQ(kept, !c.cleared);
        if (kept) {
            EXPECT_EQ(after.st_mode, before.st_mode);
        }
        QFile::remove(target);
        if (!QFile::remove(lockPath)) QDir().rmdir(lockPath);
    }
    // A lock that a live process holds is kept, and the write gives up; once
    // the holder is done, a new write gets through.
    QLockFile held(lockPath);
    ASSERT_TRUE(held.tryLock(0));
    giveToChild(lockPath);
    EXPECT_EQ(writeInChild(++value), 1);
    EXPECT_TRUE(QFile::exists(lockPath));
    held.unlock();
    EXPECT_EQ(writeInChild(++value), 0);
    EXPECT_TRUE(written(value));
}

TEST(IniProfileStore, ReportsAWriteThatCannotReachTheDisk) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    IniProfileStore store(dir.filePath("not-a-folder/profile.ini"));
    EXPECT_FALSE(store.WriteProfileInt(u"Option", u"Language", 1));
    EXPECT_FALSE(store.WriteProfileString(u"Data", u"x", u"y"));
    store.BeginBatch();
    EXPECT_TRUE(store.WriteProfileInt(u"Slot", u"a", 1));  // held until the batch ends
    EXPECT_FALSE(store.EndBatch());

    // A failed write of the file itself (a folder in its place) is reported,
    // and once the obstacle is gone a new write stores every value since.
    const QString path = dir.filePath("profile.ini");
    ASSERT_TRUE(QDir().mkdir(path));
    IniProfileStore blocked(path);
    EXPECT_FALSE(blocked.WriteProfileInt(u"Option", u"Language", 2));
    ASSERT_TRUE(QDir().rmdir(path));
    EXPECT_TRUE(blocked.WriteProfileString(u"Data", u"x", u"y"));
    IniProfileStore reread(path);
    EXPECT_EQ(reread.GetProfileInt(u"Option", u"Language", -1), 2);
    EXPECT_EQ(reread.GetProfileString(u"Data", u"x"), u"y");
}

TEST(IniProfileStore, AMalformedLineInTheFileDoesNotFailTheWrites) {
    // Stray text before the first section and a control byte: the settings
    // layer skips them but reported a format error on every later write.
    for (const QByteArray& content : {QByteArray("+\n[Option]\nLanguage=1\n"), QByteArray("\x1a")}) {
        QTemporaryDir dir;
        const QString path = WriteProfileFile(dir, content);
        IniProfileStore store(path);
        EXPECT_EQ(store.GetProfileInt(u"Option", u"Language", -1), content.size() > 1 ? 1 : -1);
        EXPECT_TRUE(store.WriteProfileInt(u"Option", u"SexType", 1));
        store.BeginBatch();
        EXPECT_TRUE(store.WriteProfileString(u"Data", u"a0", u"4a"));
        EXPECT_TRUE(store.EndBatch());
        IniProfileStore reread(path);
        EXPECT_EQ(reread.GetProfileInt(u"Option", u"SexType", 0), 1);
        EXPECT_EQ(reread.GetProfileString(u"Data", u"a0"), u"4a");
    }
}

TEST(IniProfileStore, BatchWritesOnceAndKeepsEveryValue) {
    QTemporaryDir dir;
    const QString path = dir.filePath("profile.ini");
    IniProfileStore store(path);
    store.BeginBatch();
    for (int i = 0; i < 60; ++i)
        store.WriteProfileInt(
            u"Slot", u"job" + std::u16string(1, char16_t(u'A' + i % 26)) + char16_t(u'0' + i / 26), i);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(store.EndBatch());
    EXPECT_TRUE(QFile::exists(path));
    IniProfileStore reread(path);
    EXPECT_EQ(reread.GetProfileInt(u"Slot", u"jobB2", -1), 53);
}

// QSettings' own write does not check its last flush (Qt 6.4): on a full disk
// it put a cut file in place of the profile and reported success, and the
// next start found neither options nor builds. Four KiB are left free, room
// for the lock file and not for the profile.
TEST(IniProfileStore, AFullDiskLeavesTheProfileWholeAndFailsTheWrite) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only the superuser may mount the small file system this test fills";
    QTemporaryDir dir;
    const QByteArray at = QFile::encodeName(dir.path());
    if (::mount("tmpfs", at.constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "no file system can be mounted here: " << std::strerror(errno);
    const std::unique_ptr<const char, void (*)(const char*)> unmount(
        at.constData(), [](const char* folder) { ::umount2(folder, MNT_DETACH); });
    const QString path = WriteProfileFile(dir, "[Option]\nLanguage=1\nAutoSave=0\n");
    const QByteArray before = FileBytes(path);
    IniProfileStore store(path);

    const int filler = ::open((at + "/filler").constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const std::vector<char> page(4096, 'x');
    off_t filled = 0;
    while (::write(filler, page.data(), page.size()) == 4096) filled += 4096;
    ASSERT_EQ(::ftruncate(filler, filled - 4096), 0);
    ::close(filler);

    const std::u16string levels(100, u'3');
    store.BeginBatch();
    for (char16_t job = u'A'; job < u'A' + 20; ++job)
        for (char16_t slot = u'0'; slot < u'3'; ++slot)
            store.WriteProfileString(u"Data", {job, slot}, levels);
    EXPECT_FALSE(store.EndBatch());
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(store.GetProfileString(u"Data", u"T2"), levels);  // waits, and reads see it

    ASSERT_EQ(::unlink((at + "/filler").constData()), 0);
    EXPECT_TRUE(store.WriteProfileInt(u"Option", u"SexType", 1));
    IniProfileStore reread(path);
    EXPECT_EQ(reread.GetProfileInt(u"Option", u"Language", -1), 1);
    EXPECT_EQ(reread.GetProfileString(u"Data", u"T2"), levels);
}

// Every write replaced the profile with what this store held: a profile
// restored from a backup, or one that another instance wrote, was lost.
TEST(IniProfileStore, AProfileChangedSinceItWasReadIsKeptAsBakBeforeItIsReplaced) {
    QTemporaryDir dir;
    const QString path = dir.filePath("profile.ini");
    const QString backup = path + QStringLiteral(".bak");
    IniProfileStore first(path);  // nothing there yet
    IniProfileStore second(path);
    ASSERT_TRUE(second.WriteProfileInt(u"Option", u"Language", 2));
    const QByteArray secondWrote = FileBytes(path);
    ASSERT_TRUE(first.WriteProfileInt(u"Position", u"xpos", 5));
    EXPECT_EQ(FileBytes(backup), secondWrote);
    EXPECT_EQ(IniProfileStore(path).GetProfileInt(u"Option", u"Language", -1), 2);  // and its value stays

    ASSERT_TRUE(QFile::remove(backup));
    ASSERT_TRUE(first.WriteProfileInt(u"Position", u"ypos", 6));  // as it left the file
    EXPECT_FALSE(QFile::exists(backup));

    ASSERT_TRUE(QFile::remove(path));
    WriteProfileFile(dir, "[Option]\nLanguage=1\n");
    ASSERT_TRUE(first.WriteProfileInt(u"Position", u"ypos", 7));
    EXPECT_EQ(FileBytes(backup), QByteArray("[Option]\nLanguage=1\n"));
}

// After a failed write, the next one made a new QSettings over the file,
// which wrote what was left under its own lock, waiting without limit (30 s
// for a lock left by a crash), and no longer read the system-wide files. The
// first write fails on a read-only profile, which the superuser could write:
// the child then runs as an unprivileged user. It is killed if it waits 10 s.
TEST(IniProfileStore, AWriteAfterAFailedOneIsBoundedAndKeepsEveryFallback) {
    const bool root = ::geteuid() == 0;
    QTemporaryDir dir;
    const QString system = dir.filePath("xdg");
    WriteFile(system + QStringLiteral("/Tolvemar/Tolvemar.ini"), "[Option]\nSexType=1\n");
    const QString folder = dir.filePath("config/Tolvemar");
    const QString path = WriteFile(folder + QStringLiteral("/Tolvemar.ini"), "[Option]\nLanguage=1\n");
    const QString lockPath = path + QStringLiteral(".lock");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    if (root) {
        ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0711), 0);
        for (const QString& owned : {dir.filePath("config"), folder, path})
            ASSERT_EQ(::chown(QFile::encodeName(owned).constData(), kNobody, kNobody), 0);
    }

    const int result = RunInChild(root, [&] {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config")));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(system));
        int faults = 0;
        IniProfileStore store;
        if (store.WriteProfileInt(u"Option", u"AutoSave", 0)) faults |= 1;
        if (store.GetProfileInt(u"Option", u"AutoSave", 1) != 0) faults |= 2;
        if (::chmod(QFile::encodeName(path).constData(), 0644) != 0) faults |= 4;
        WriteFile(lockPath, {});  // empty, as a crash between its creation and its first write leaves it
        if (!store.WriteProfileInt(u"Option", u"Language", 2)) faults |= 8;
        if (store.GetProfileInt(u"Option", u"SexType", 0) != 1) faults |= 16;
        const QByteArray written = FileBytes(path);
        if (!written.contains("AutoSave=0\n") || !written.contains("Language=2\n")) faults |= 32;
        return faults;
    });
    ASSERT_NE(result, 100) << "could not drop to an unprivileged user";
    EXPECT_EQ(result, 0)
        << "-1: still waiting; 1: a read-only profile was written; 2: a waiting value not read; "
           "8: the retry failed; 16: the system file was no longer read; 32: a value was lost";
}

// A named pipe in the profile's place blocked the program before its first
// window, for ever. Anything but a regular file is a profile that could not
// be read, and is never replaced. Nothing waits on it either: once a folder
// in its place is gone, QSettings wrote the value of the failed write again
// on its own at the next event loop turn, waiting for as long as another
// process held the lock. A link to a profile that is not there now is
// written through.
TEST(IniProfileStore, AProfileThatIsNotARegularFileNeverBlocksAndIsNeverReplaced) {
    QTemporaryDir dir;
    const QString pipe = dir.filePath("pipe.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString folder = dir.filePath("folder.ini");
    ASSERT_TRUE(QDir().mkdir(folder));
    for (const QString& path : {pipe, folder}) {
        SCOPED_TRACE(path.toStdString());
        const int result = RunInChild(false, [&] {
            IniProfileStore store(path);
            const int read = store.GetProfileInt(u"Option", u"Language", -1) == -1 ? 0 : 1;
            const int written = store.WriteProfileInt(u"Option", u"Language", 1) ? 2 : 0;
            if (path == folder && QDir().rmdir(folder)) {
                QLockFile held(folder + QStringLiteral(".lock"));
                if (!held.tryLock(0)) return 4;
                QCoreApplication::processEvents();
            }
            return read | written;
        });
        EXPECT_EQ(result, 0) << "-1: blocked; 1: read something; 2: replaced it";
    }
    struct stat info {};
    ASSERT_EQ(::lstat(QFile::encodeName(pipe).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_FALSE(QFile::exists(folder));  // nothing was written while the lock was held

    ASSERT_TRUE(QDir().mkdir(dir.filePath("stick")));
    const QString link = dir.filePath("linked.ini");
    ASSERT_TRUE(QFile::link(QStringLiteral("stick/profile.ini"), link));
    IniProfileStore linked(link);
    EXPECT_TRUE(linked.WriteProfileInt(u"Option", u"Language", 1));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(FileBytes(dir.filePath("stick/profile.ini")).contains("Language=1\n"));
}

}  // namespace
