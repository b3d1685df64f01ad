// The save file: 17 magic bytes, nine header words and 20 job blocks of 303
// words, every word a little-endian signed 32-bit integer; 24,293 bytes.
// Encoding and decoding work on bytes in memory and touch no global state.
#pragma once

#include "persistence/builds.h"

#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr char kSaveFileMagic[] = "Tolvemar Datafile";  // 17 bytes, no terminator
inline constexpr size_t kSaveMagicSize = 17;
inline constexpr int32_t kSaveFileVersion = 3;
inline constexpr int32_t kSaveFileCheckA = 186;
inline constexpr int32_t kSaveFileCheckB = 176;
inline constexpr int32_t kJobBlockMarker = 126;
inline constexpr size_t kSaveHeaderSize = kSaveMagicSize + 9 * 4;  // 53
// The shortest file whose header can match: it ends right after the check
// words at offsets 37 and 41. The two words after them (slots and nodes per
// block) are never used, so a file may end before them.
inline constexpr size_t kSaveFileShortestHeader = kSaveHeaderSize - 8;                // 45
inline constexpr size_t kJobBlockWords = 3 + kSlotCount * kNodeCount;                 // 303
inline constexpr size_t kJobBlockSize = kJobBlockWords * 4;                           // 1,212
inline constexpr size_t kSaveFileSize = kSaveHeaderSize + kJobCount * kJobBlockSize;  // 24,293

// Header word offsets.
inline constexpr size_t kOffsetAutoRunJob = 25;
inline constexpr size_t kOffsetAutoRunSlot = 29;
inline constexpr size_t kOffsetAutoRunGrade = 33;

enum class SaveFileStatus {
    Ok,          // the header matched; the job blocks that were whole were read
    BadHeader,   // wrong magic, version or check words, or too short for them
    CannotOpen,  // something is at the path that could not be opened or read
    Missing,     // nothing is at the path
};

// What a read found. The autorun job and slot are in range: a job outside
// 0..20 reads as NO_JOB and a slot outside 0..2 as 0.
struct DecodedSaveFile {
    SaveFileStatus status = SaveFileStatus::BadHeader;
    int32_t autoRunJob = NO_JOB;
    int32_t autoRunSlot = 0;
    bool present[kJobCount] = {};  // the job had a whole block
    AllBuilds builds;              // levels in range, for the jobs present

    // The autorun slot shifted left by 8, ORed with the autorun job; NO_JOB
    // for a file that was not read.
    int32_t Packed() const;
};

// The whole file for these builds. The node-0 words hold each build slot's
// grade clamped to the job's range; the header's grade word is the grade of
// the autorun job's autorun slot (0 for NO_JOB).
std::vector<uint8_t> EncodeSaveFile(const AllBuilds& builds, int32_t autoRunJob, int32_t autoRunSlot);

// Reads at most kSaveFileSize bytes; a header word the bytes cut off, whole
// or in part, reads as -1, so 45 to 52 bytes with matching check words are a
// valid file that holds no block. After a matching header, up to 20 blocks
// are read in file order while each starts with the marker; a block cut short
// ends the reading and is not used, a block whose job id is outside 0..19 is
// passed over, and a later block of the same job wins. Levels are brought into
// 0..cap of their node; a node-0 word other than 1, 2 or 3 reads as 0; a
// selected slot outside 0..2 reads as 0.
DecodedSaveFile DecodeSaveFile(const uint8_t* data, size_t size, const LevelCaps& caps);

// Little-endian word access, for writers and tests.
void PutWord(std::vector<uint8_t>& out, size_t offset, int32_t value);
int32_t GetWord(const uint8_t* data, size_t offset);
