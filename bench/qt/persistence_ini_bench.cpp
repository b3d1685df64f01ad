// Writing and reading all builds through the INI profile file.
#include "persistence/registry_builds.h"
#include "platform/qt/ini_profile_store.h"

#include <QTemporaryDir>

#include "../bench_support.h"

#include <benchmark/benchmark.h>

namespace {

// One write of all 80 values, including the write of the profile file.
void BM_WriteAllBuildsToIniProfile(benchmark::State& state) {
    QTemporaryDir dir;
    IniProfileStore store(dir.filePath(QStringLiteral("Tolvemar.ini")));
    AllBuilds builds = SampleBuilds();
    int round = 0;
    for (auto _ : state) {
        builds.jobs[0].level[0][1] = ++round % 11;  // a change, so the file is written
        benchmark::DoNotOptimize(WriteRegistryBuilds(store, builds));
    }
}
BENCHMARK(BM_WriteAllBuildsToIniProfile)->Unit(benchmark::kMillisecond);

void BM_ReadAllBuildsFromIniProfile(benchmark::State& state) {
    QTemporaryDir dir;
    IniProfileStore store(dir.filePath(QStringLiteral("Tolvemar.ini")));
    const AllBuilds builds = SampleBuilds();
    WriteRegistryBuilds(store, builds);
    LevelCaps caps;
    for (auto _ : state) {
        AllBuilds read = ReadRegistryBuilds(store, builds, caps);
        benchmark::DoNotOptimize(&read);
    }
}
BENCHMARK(BM_ReadAllBuildsFromIniProfile)->Unit(benchmark::kMicrosecond);

}  // namespace
