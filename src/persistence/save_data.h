// CSaveData brackets one load or save of all builds, in a save file or in the
// per-user profile. It holds no state; callers make one on the stack.
#pragma once

#include "persistence/save_file.h"
#include "platform/file_io.h"

#include <cstdint>
#include <string>

// The outcome of reading a save file.
struct SaveFileLoad {
    SaveFileStatus status = SaveFileStatus::CannotOpen;
    int32_t autoRunJob = NO_JOB;  // 0..19, or NO_JOB
    int32_t autoRunSlot = 0;      // 0..2
    FileStamp stamp;              // the file whose bytes were read; not present when none were

    // The autorun slot shifted left by 8, ORed with the autorun job; NO_JOB
    // when the file was not read.
    int32_t Packed() const { return status == SaveFileStatus::Ok ? (autoRunSlot << 8) | autoRunJob : NO_JOB; }
};

class CSaveData {
public:
    virtual ~CSaveData();

    // Writes every build to the file at `path`, naming `job` and `slot` as the
    // autorun job and build slot. The file is replaced whole or not at all;
    // false when it could not be written (the previous file is then intact).
    bool SaveFile(int32_t job, int32_t slot, const std::u16string& path);

    // Reads the file at `path` into the builds, as DecodeSaveFile reads its
    // bytes. Nothing changes unless the header matches; then every whole job
    // block is applied. The status tells a file that loaded (Ok) from one
    // that is not there (Missing) and one that is there but did not load.
    SaveFileLoad LoadFile(const std::u16string& path);

    // Writes every job's values into the profile sections "Slot" and "Data";
    // false when any value could not be stored.
    bool SaveRegistry();

    // Reads every job's values from the profile, with defaults for what is
    // missing.
    void LoadRegistry();
};
