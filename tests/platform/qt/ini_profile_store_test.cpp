#include "platform/qt/ini_profile_store.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>

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
    EXPECT_EQ(store.fileName(), expected);
}

TEST(IniProfileStore, RoundTripsThroughARealFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("profile.ini");
    const std::u16string names[] = {u"검사", u"アーチャー", u"Blade/Master", u"Back\\slash",
                                    u"100% Mage", u"Key=Value", u"  spaced name  ", u"#hash;semi"};
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
    IniProfileStore store(WriteProfileFile(dir, "[Option]\nSkillInfo=abc\nAutoChange=12x\nAutoCenter=99999999999\n"
                                                "AutoSave=\nSexType= 7 \nLanguage=-2147483648\n"));
    const std::pair<const char16_t*, int32_t> values[] = {{u"SkillInfo", 5}, {u"AutoChange", 5}, {u"AutoCenter", 5},
                                                          {u"AutoSave", 5},  {u"SexType", 7},    {u"Language", INT32_MIN}};
    for (const auto& [entry, value] : values)
        EXPECT_EQ(store.GetProfileInt(u"Option", entry, 5), value) << QString::fromUtf16(entry).toStdString();
    EXPECT_EQ(store.GetProfileInt(u"Option", u"Missing", -1), -1);
    EXPECT_EQ(store.GetProfileInt(u"NoSection", u"SkillInfo", 3), 3);
    EXPECT_EQ(store.GetProfileString(u"Data", u"Missing"), u"");
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
    for (int i = 0; i < 60; ++i) store.WriteProfileInt(u"Slot", u"job" + std::u16string(1, char16_t(u'A' + i % 26)) + char16_t(u'0' + i / 26), i);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(store.EndBatch());
    EXPECT_TRUE(QFile::exists(path));
    IniProfileStore reread(path);
    EXPECT_EQ(reread.GetProfileInt(u"Slot", u"jobB2", -1), 53);
}

}  // namespace
