#include "persistence/save_file.h"

#include "data/lookups.h"

#include <cstring>

namespace {

// The grade a build slot shows: the stored value clamped to the job's range,
// as GetSlotGrade reads it from the tree.
int32_t SlotGradeOf(const AllBuilds& builds, int32_t job, int32_t slot) {
    if (job < 0 || job >= kJobCount || slot < 0 || slot >= kSlotCount) {
        return ClampJobGrade(job, 0);
    }
    return ClampJobGrade(job, builds.jobs[job].level[slot][0]);
}

// Writes little-endian words one after another into a buffer of the right size.
class WordWriter {
public:
    explicit WordWriter(uint8_t* at) : m_at(at) {}
    void operator()(int32_t value) {
        const auto u = static_cast<uint32_t>(value);
        m_at[0] = static_cast<uint8_t>(u);
        m_at[1] = static_cast<uint8_t>(u >> 8);
        m_at[2] = static_cast<uint8_t>(u >> 16);
        m_at[3] = static_cast<uint8_t>(u >> 24);
        m_at += 4;
    }

private:
    uint8_t* m_at;
};

}  // namespace

int32_t DecodedSaveFile::Packed() const {
    if (status != SaveFileStatus::Ok) return NO_JOB;
    return (autoRunSlot << 8) | autoRunJob;
}

void PutWord(std::vector<uint8_t>& out, size_t offset, int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    for (size_t i = 0; i < 4; ++i) out[offset + i] = static_cast<uint8_t>(u >> (8 * i));
}

int32_t GetWord(const uint8_t* data, size_t offset) {
    uint32_t u = 0;
    for (size_t i = 0; i < 4; ++i) u |= static_cast<uint32_t>(data[offset + i]) << (8 * i);
    return static_cast<int32_t>(u);
}

std::vector<uint8_t> EncodeSaveFile(const AllBuilds& builds, int32_t autoRunJob, int32_t autoRunSlot) {
    std::vector<uint8_t> out(kSaveFileSize);
    std::memcpy(out.data(), kSaveFileMagic, kSaveMagicSize);
    WordWriter put(out.data() + kSaveMagicSize);
    put(0);
    put(kSaveFileVersion);
    put(autoRunJob);
    put(autoRunSlot);
    put(SlotGradeOf(builds, autoRunJob, autoRunSlot));
    put(kSaveFileCheckA);
    put(kSaveFileCheckB);
    put(kSlotCount);
    put(kNodeCount);
    for (int32_t job = 0; job < kJobCount; ++job) {
        const JobBuilds& jb = builds.jobs[job];
        put(kJobBlockMarker);
        put(job);
        put(jb.selectedSlot);
        for (int32_t s = 0; s < kSlotCount; ++s) {
            put(ClampJobGrade(job, jb.level[s][0]));
            for (int32_t n = 1; n < kNodeCount; ++n) put(jb.level[s][n]);
        }
    }
    return out;
}

DecodedSaveFile DecodeSaveFile(const uint8_t* data, size_t size, const LevelCaps& caps) {
    DecodedSaveFile result;
    if (size > kSaveFileSize) size = kSaveFileSize;
    if (!data || size < kSaveFileShortestHeader) return result;
    uint8_t header[kSaveHeaderSize];
    if (size < kSaveHeaderSize) {
        // The words the file cuts off, whole or in part, read as -1.
        const size_t whole = kSaveMagicSize + (size - kSaveMagicSize) / 4 * 4;
        std::memset(header, 0xFF, sizeof header);
        std::memcpy(header, data, whole);
        data = header;
        size = kSaveHeaderSize;
    }
    if (std::memcmp(data, kSaveFileMagic, kSaveMagicSize) != 0) return result;
    if (GetWord(data, 21) != kSaveFileVersion) return result;
    if (GetWord(data, 37) != kSaveFileCheckA || GetWord(data, 41) != kSaveFileCheckB) {
        return result;
    }
    // Words 45 and 49 name the slots and nodes per block; the layout is fixed,
    // so they are not used.
    result.status = SaveFileStatus::Ok;
    const int32_t job = GetWord(data, kOffsetAutoRunJob);
    const int32_t slot = GetWord(data, kOffsetAutoRunSlot);
    result.autoRunJob = (job >= 0 && job <= NO_JOB) ? job : NO_JOB;
    result.autoRunSlot = SanitizeSlot(slot);

    size_t offset = kSaveHeaderSize;
    for (int block = 0; block < kJobCount; ++block) {
        if (offset + 4 > size || GetWord(data, offset) != kJobBlockMarker) break;
        if (offset + kJobBlockSize > size) break;  // cut short: nothing of it is used
        const int32_t id = GetWord(data, offset + 4);
        if (id >= 0 && id < kJobCount) {
            JobBuilds& jb = result.builds.jobs[id];
            const JobLevelCaps& cap = caps.jobs[id];
            jb.selectedSlot = SanitizeSlot(GetWord(data, offset + 8));
            size_t word = offset + 12;
            for (int32_t s = 0; s < kSlotCount; ++s) {
                for (int32_t n = 0; n < kNodeCount; ++n, word += 4) {
                    const int32_t w = GetWord(data, word);
                    jb.level[s][n] = n == 0 ? ((w >= 1 && w <= 3) ? w : 0) : ClampLevel(w, cap.maxLevel[n]);
                }
            }
            result.present[id] = true;
        }
        offset += kJobBlockSize;
    }
    return result;
}
