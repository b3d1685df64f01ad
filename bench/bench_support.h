// Shared set-up of the benchmarks.
#pragma once

#include "persistence/builds.h"

#include <unistd.h>
#include <cstdint>
#include <random>
#include <string>

// The same varied builds of every job, slot grade and levels, on every run.
inline AllBuilds SampleBuilds() {
    std::mt19937 rng(7);
    AllBuilds builds;
    for (auto& job : builds.jobs) {
        job.selectedSlot = static_cast<int32_t>(rng() % 3);
        for (auto& slot : job.level) {
            slot[0] = 1 + static_cast<int32_t>(rng() % 3);
            for (int n = 1; n < kNodeCount; ++n) slot[n] = static_cast<int32_t>(rng() % 11);
        }
    }
    return builds;
}

// A save file path in a fresh scratch folder, removed again at the end.
class ScratchSaveFile {
public:
    ScratchSaveFile() {
        char pattern[] = "/tmp/tolvemar-bench-XXXXXX";
        if (::mkdtemp(pattern)) {
            m_folder = pattern;
            m_path = m_folder + "/bench.tvf";
        }
    }
    ~ScratchSaveFile() {
        if (m_folder.empty()) return;
        ::unlink(m_path.c_str());
        ::rmdir(m_folder.c_str());
    }
    bool ok() const { return !m_folder.empty(); }
    std::u16string path() const { return std::u16string(m_path.begin(), m_path.end()); }

private:
    std::string m_folder;
    std::string m_path;
};
