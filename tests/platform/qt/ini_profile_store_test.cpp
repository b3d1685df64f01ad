#include "platform/qt/ini_profile_store.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// Writes `content` as profile.ini in the folder and returns its path.
QString WriteProfileFile(const QTemporaryDir& dir, const QByteArray& content) {
    const QString path = dir.filePath("profile.ini");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
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

// A run killed between creating QSettings' lock file and writing its owner
// into it left an empty lock, and every profile write of the next run waited
// 30 s for it.
TEST(IniProfileStore, ALockWhoseOwnerIsGoneIsClearedAndALiveOneIsKept) {
    QTemporaryDir dir;
    const QString path = dir.filePath("profile.ini");
    const QString lockPath = path + QStringLiteral(".lock");
    const auto writeLock = [&](const QByteArray& content) {
        QFile lock(lockPath);
        EXPECT_TRUE(lock.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lock.write(content);
        lock.close();
        // Older than a lock that its creator is still about to fill.
        EXPECT_TRUE(lock.open(QIODevice::ReadWrite));
        lock.setFileTime(QDateTime::currentDateTime().addSecs(-1), QFileDevice::FileModificationTime);
    };
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const QByteArray ids = QSysInfo::machineUniqueId() + '\n' + QSysInfo::bootUniqueId() + '\n';
    const QByteArray deadOwner = QByteArray::number(gone) + "\ntolvemar\n" + host + '\n' + ids;
    const QByteArray liveOwner = QByteArray::number(::getpid()) + "\ntolvemar\n" + host + '\n' + ids;
    const QByteArray otherHost = QByteArray::number(gone) + "\ntolvemar\nelsewhere\nffff\n\n";
    const std::pair<QByteArray, bool> cases[] = {
        {"", true}, {deadOwner, true}, {liveOwner, false}, {otherHost, false}};
    for (const auto& [content, stale] : cases) {
        writeLock(content);
        EXPECT_EQ(IniProfileStore::ClearStaleLock(lockPath), stale) << content.constData();
        EXPECT_EQ(QFile::exists(lockPath), !stale) << content.constData();
        QFile::remove(lockPath);
    }
    {
        QLockFile held(lockPath);  // a running writer holds it: left alone
        ASSERT_TRUE(held.tryLock(0));
        EXPECT_FALSE(IniProfileStore::ClearStaleLock(lockPath));
        EXPECT_TRUE(QFile::exists(lockPath));
    }
    // The store clears a stale lock before it writes.
    writeLock("");
    IniProfileStore store(path);
    EXPECT_TRUE(store.WriteProfileInt(u"Position", u"xpos", 12));
    EXPECT_FALSE(QFile::exists(lockPath));
    EXPECT_EQ(IniProfileStore(path).GetProfileInt(u"Position", u"xpos", 0), 12);
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

}  // namespace
