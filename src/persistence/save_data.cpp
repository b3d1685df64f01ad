#include "persistence/save_data.h"

#include "persistence/registry_builds.h"
#include "platform/file_io.h"
#include "shell/profile_store.h"

CSaveData::~CSaveData() = default;

bool CSaveData::SaveFile(int32_t job, int32_t slot, const std::u16string& path) {
    const std::vector<uint8_t> bytes = EncodeSaveFile(CaptureBuilds(), job, slot);
    return WriteFileAtomic(path, bytes.data(), bytes.size());
}

SaveFileLoad CSaveData::LoadFile(const std::u16string& path) {
    SaveFileLoad result;
    std::vector<uint8_t> bytes;
    switch (ReadFileHead(path, kSaveFileSize, bytes, &result.stamp)) {
    case FileRead::Ok: break;
    case FileRead::Missing: result.status = SaveFileStatus::Missing; return result;
    case FileRead::Failed: return result;
    }
    const DecodedSaveFile decoded = DecodeSaveFile(bytes.data(), bytes.size(), CurrentLevelCaps());
    result.status = decoded.status;
    if (decoded.status != SaveFileStatus::Ok) return result;
    for (int32_t job = 0; job < kJobCount; ++job) {
        if (decoded.present[job]) ApplyJobBuilds(job, decoded.builds.jobs[job]);
    }
    result.autoRunJob = decoded.autoRunJob;
    result.autoRunSlot = decoded.autoRunSlot;
    return result;
}

bool CSaveData::SaveRegistry() { return WriteRegistryBuilds(Profile(), CaptureBuilds()); }

void CSaveData::LoadRegistry() {
    const AllBuilds builds = ReadRegistryBuilds(Profile(), CaptureBuilds(), CurrentLevelCaps());
    for (int32_t job = 0; job < kJobCount; ++job) ApplyJobBuilds(job, builds.jobs[job]);
}
