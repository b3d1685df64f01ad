// Crash-safe saving of the per-user profile file: a child stores all builds in
// it over and over and is killed at random moments; the file must always read
// back as one whole save.
#include "persistence/kill_loop.h"

#include "persistence/registry_builds.h"
#include "platform/qt/ini_profile_store.h"
#include "shell/options.h"
#include "shell/profile_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

TEST(CrashSafeProfile, AKilledSaveLeavesThePreviousOrTheNewWholeProfile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("Tolvemar.ini"));
    const AppOptions savedOptions = g_Options;
    g_Options.Language = 0;  // the child stores under the Korean titles
    int checks = 0;
    const auto load = [&]() -> std::optional<AllBuilds> {
        // Read from a copy under a new name: the settings layer caches files
        // by name and could miss a change made within the same millisecond.
        const QString copy = dir.filePath(QStringLiteral("check-%1.ini").arg(++checks));
        if (!QFile::copy(file, copy)) {
            ADD_FAILURE() << "no profile file";
            return std::nullopt;
        }
        AllBuilds builds;
        {
            IniProfileStore store(copy);
            // A missing value would read as its default and not match.
            builds = ReadRegistryBuilds(store, AllBuilds{}, CurrentLevelCaps());
        }
        QFile::remove(copy);
        return builds;
    };
    // A killed child leaves its private copies behind: they go to a folder of
    // the test's own.
    const QByteArray savedTemp = qgetenv("TMPDIR");
    const QString temp = dir.filePath(QStringLiteral("tmp"));
    ASSERT_TRUE(QDir().mkpath(temp));
    qputenv("TMPDIR", QFile::encodeName(temp));
    const kill_test::KillStats stats = kill_test::RunKillLoop("profile", file.toStdString(), load);
    if (savedTemp.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", savedTemp);
    g_Options = savedOptions;
    EXPECT_EQ(stats.kills, kill_test::KillCount());
    const QStringList leftovers =
        QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : leftovers) {
        // The profile, its lock and backup, and the temporary files of killed writes.
        EXPECT_TRUE(
            name.startsWith(QStringLiteral("Tolvemar.ini")) ||
            (name.startsWith(QStringLiteral(".Tolvemar.ini.")) && name.endsWith(QStringLiteral(".tmp"))))
            << name.toStdString();
    }
    RecordProperty("kills", stats.kills);
    RecordProperty("previous", stats.previousSave);
    RecordProperty("new", stats.newSave);
    std::cout << "[ kills    ] files left in the folder: " << leftovers.join(u' ').toStdString() << "\n";
}

}  // namespace
