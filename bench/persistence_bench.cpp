// Save file encoding and decoding, and writing all builds to the profile.
#include "persistence/builds.h"
#include "persistence/registry_builds.h"
#include "persistence/save_data.h"
#include "persistence/save_file.h"
#include "shell/profile_store.h"

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

LevelCaps FullCaps() {
    LevelCaps caps;
    for (auto& job : caps.jobs) {
        for (int n = 1; n < kNodeCount; ++n) job.maxLevel[n] = 10;
    }
    return caps;
}

void BM_EncodeSaveFile(benchmark::State& state) {
    const AllBuilds builds = SampleBuilds();
    for (auto _ : state) {
        std::vector<uint8_t> bytes = EncodeSaveFile(builds, 7, 2);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_EncodeSaveFile);

void BM_DecodeSaveFile(benchmark::State& state) {
    const std::vector<uint8_t> bytes = EncodeSaveFile(SampleBuilds(), 7, 2);
    const LevelCaps caps = FullCaps();
    for (auto _ : state) {
        DecodedSaveFile decoded = DecodeSaveFile(bytes.data(), bytes.size(), caps);
        benchmark::DoNotOptimize(&decoded);
    }
}
BENCHMARK(BM_DecodeSaveFile);

// The whole load path short of the disk: caps from the tables, decode, apply.
void BM_DecodeAndApplySaveFile(benchmark::State& state) {
    const std::vector<uint8_t> bytes = EncodeSaveFile(SampleBuilds(), 7, 2);
    for (auto _ : state) {
        const DecodedSaveFile decoded = DecodeSaveFile(bytes.data(), bytes.size(), CurrentLevelCaps());
        for (int job = 0; job < kJobCount; ++job) {
            if (decoded.present[job]) ApplyJobBuilds(job, decoded.builds.jobs[job]);
        }
    }
}
BENCHMARK(BM_DecodeAndApplySaveFile);

// CSaveData::SaveFile to a real file: capture, encode, write a temporary file,
// flush it to disk and rename it into place.
void BM_SaveFileToDisk(benchmark::State& state) {
    const ScratchSaveFile file;
    if (!file.ok()) {
        state.SkipWithError("no scratch folder");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(CSaveData().SaveFile(18, 0, file.path()));
}
BENCHMARK(BM_SaveFileToDisk)->Unit(benchmark::kMicrosecond);

void BM_LoadFileFromDisk(benchmark::State& state) {
    const ScratchSaveFile file;
    if (!file.ok()) {
        state.SkipWithError("no scratch folder");
        return;
    }
    CSaveData().SaveFile(18, 0, file.path());
    for (auto _ : state) benchmark::DoNotOptimize(CSaveData().LoadFile(file.path()).status);
}
BENCHMARK(BM_LoadFileFromDisk)->Unit(benchmark::kMicrosecond);

void BM_WriteAllBuildsToMemoryProfile(benchmark::State& state) {
    const AllBuilds builds = SampleBuilds();
    MemoryProfileStore store;
    for (auto _ : state) benchmark::DoNotOptimize(WriteRegistryBuilds(store, builds));
}
BENCHMARK(BM_WriteAllBuildsToMemoryProfile)->Unit(benchmark::kMicrosecond);

void BM_ReadAllBuildsFromMemoryProfile(benchmark::State& state) {
    const AllBuilds builds = SampleBuilds();
    const LevelCaps caps = FullCaps();
    MemoryProfileStore store;
    WriteRegistryBuilds(store, builds);
    for (auto _ : state) {
        AllBuilds read = ReadRegistryBuilds(store, builds, caps);
        benchmark::DoNotOptimize(&read);
    }
}
BENCHMARK(BM_ReadAllBuildsFromMemoryProfile)->Unit(benchmark::kMicrosecond);

}  // namespace
