// The save file reader over arbitrary file contents. Each input is written to
// an in-memory file and read through CSaveData::LoadFile, as the program reads
// any file a user picks; the result is then applied to the trees and checked.
// A file that loads must also survive a save and a reload unchanged.
#include "fuzz_support.h"

#include "persistence/save_data.h"
#include "persistence/save_file.h"

#include <sys/mman.h>
#include <unistd.h>
#include <string>

namespace {

int memFile = -1;
std::u16string memFilePath;
AllBuilds baseline;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    memFile = ::memfd_create("tolvemar-save-fuzz", MFD_CLOEXEC);
    if (memFile < 0) fuzz::Fail("memfd_create");
    const std::string path = "/proc/self/fd/" + std::to_string(memFile);
    memFilePath.assign(path.begin(), path.end());
    baseline = fuzz::Baseline();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using fuzz::Fail;
    fuzz::ApplyAll(baseline);
    if (::ftruncate(memFile, 0) != 0) Fail("ftruncate");
    if (size > 0 && ::pwrite(memFile, data, size, 0) != static_cast<ssize_t>(size)) Fail("pwrite");

    const SaveFileLoad load = CSaveData().LoadFile(memFilePath);
    FUZZ_CHECK(load.status == SaveFileStatus::Ok || load.status == SaveFileStatus::BadHeader);
    const int32_t packed = load.Packed();
    if (load.status != SaveFileStatus::Ok) {
        FUZZ_CHECK(packed == NO_JOB);
        FUZZ_CHECK(CaptureBuilds() == baseline);  // a rejected file changes nothing
        return 0;
    }
    FUZZ_CHECK(packed >= 0, packed);
    FUZZ_CHECK((packed & 0xFF) <= NO_JOB, packed);
    FUZZ_CHECK((packed >> 8) >= 0 && (packed >> 8) < kSlotCount, packed);
    FUZZ_CHECK(load.autoRunJob >= 0 && load.autoRunJob <= NO_JOB, load.autoRunJob);
    FUZZ_CHECK(size >= kSaveFileShortestHeader);
    fuzz::CheckLoadedBuilds();

    // What loaded saves and reloads to the same builds and the same grades.
    const AllBuilds loaded = CaptureBuilds();
    int32_t grades[kJobCount][kSlotCount];
    for (int32_t job = 0; job < kJobCount; ++job) {
        for (int32_t s = 0; s < kSlotCount; ++s) grades[job][s] = GetSlotGrade(job, s);
    }
    const std::vector<uint8_t> saved = EncodeSaveFile(loaded, load.autoRunJob, load.autoRunSlot);
    FUZZ_CHECK(saved.size() == kSaveFileSize);
    const DecodedSaveFile again = DecodeSaveFile(saved.data(), saved.size(), CurrentLevelCaps());
    FUZZ_CHECK(again.status == SaveFileStatus::Ok);
    FUZZ_CHECK(again.Packed() == packed, again.Packed(), packed);
    for (int32_t job = 0; job < kJobCount; ++job) {
        FUZZ_CHECK(again.present[job], job);
        ApplyJobBuilds(job, again.builds.jobs[job]);
        for (int32_t s = 0; s < kSlotCount; ++s) {
            FUZZ_CHECK(GetSlotGrade(job, s) == grades[job][s], job, s);
        }
        FUZZ_CHECK(again.builds.jobs[job].selectedSlot == loaded.jobs[job].selectedSlot, job);
        for (int32_t s = 0; s < kSlotCount; ++s) {
            for (int32_t n = 1; n < kNodeCount; ++n) {
                FUZZ_CHECK(again.builds.jobs[job].level[s][n] == loaded.jobs[job].level[s][n], job, s, n);
            }
        }
    }
    FUZZ_CHECK(EncodeSaveFile(CaptureBuilds(), load.autoRunJob, load.autoRunSlot) == saved);
    return 0;
}
