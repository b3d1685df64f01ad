// The per-user profile file over arbitrary contents: each input becomes the
// INI file, the options and all builds are read from it and checked, then
// written back into it. The writes must succeed, and a fresh read of the file
// must give back exactly the options and builds that were written.
#include "fuzz_support.h"

#include "persistence/registry_builds.h"
#include "persistence/save_data.h"
#include "platform/qt/ini_profile_store.h"
#include "shell/options.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include <string>

namespace {

AllBuilds baseline;
QString scratchFolder;
unsigned long fileCounter = 0;

bool SameOptions(const AppOptions& a, const AppOptions& b) {
    return a.SkillInfo == b.SkillInfo && a.AutoChange == b.AutoChange && a.AutoCenter == b.AutoCenter &&
           a.AutoSave == b.AutoSave && a.SexType == b.SexType && a.AutoUpdate == b.AutoUpdate &&
           a.SaveToFile == b.SaveToFile && a.Language == b.Language;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A folder of our own in memory-backed storage when there is one.
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    scratchFolder = base + QStringLiteral("/tolvemar-ini-fuzz-") + QString::number(::getpid());
    if (!QDir().mkpath(scratchFolder)) fuzz::Fail("mkpath");
    std::atexit([] { QDir(scratchFolder).removeRecursively(); });
    baseline = fuzz::Baseline();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // One file for every input, each with a new modification time: the
    // settings layer caches a parsed file by name and reads it again only
    // when its size or time changed.
    const QString path = scratchFolder + QStringLiteral("/profile.ini");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) fuzz::Fail("open");
        if (file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size)) {
            fuzz::Fail("write");
        }
    }
    const std::string native = path.toStdString();
    const struct timespec stamp[2] = {{1000000000 + static_cast<time_t>(++fileCounter), 0},
                                      {1000000000 + static_cast<time_t>(fileCounter), 0}};
    if (::utimensat(AT_FDCWD, native.c_str(), stamp, 0) != 0) fuzz::Fail("utimensat");

    AppOptions options;
    AllBuilds loaded;
    {
        IniProfileStore store(path);
        options = ReadOptions(store);
        FUZZ_CHECK(options.SkillInfo <= 1 && options.AutoChange <= 1 && options.AutoCenter <= 1 &&
                   options.AutoSave <= 1 && options.SexType <= 1 && options.AutoUpdate <= 1 &&
                   options.SaveToFile <= 1);
        FUZZ_CHECK(options.Language >= -1 && options.Language <= 2, options.Language);
        g_Options = options;
        SetProfileStore(&store);
        fuzz::ApplyAll(baseline);
        CSaveData().LoadRegistry();
        fuzz::CheckLoadedBuilds();
        loaded = CaptureBuilds();

        // Storing into whatever the file held works and keeps every value.
        FUZZ_CHECK(WriteOptions(store, options));
        FUZZ_CHECK(CSaveData().SaveRegistry());
        SetProfileStore(nullptr);
    }
    {
        IniProfileStore reread(path);
        FUZZ_CHECK(SameOptions(ReadOptions(reread), options));
        SetProfileStore(&reread);
        fuzz::ApplyAll(baseline);
        CSaveData().LoadRegistry();
        FUZZ_CHECK(CaptureBuilds() == loaded);
        SetProfileStore(nullptr);
    }
    return 0;
}
