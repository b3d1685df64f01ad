#include "persistence/save_file.h"

#include "persistence_test_support.h"

#include <climits>
#include <cstring>

using namespace persist_test;

namespace {

LevelCaps FullCaps(int32_t cap) {
    LevelCaps caps;
    for (auto& job : caps.jobs) {
        for (int32_t n = 1; n < kNodeCount; ++n) job.maxLevel[n] = cap;
    }
    return caps;
}

size_t BlockOffset(int i) { return kSaveHeaderSize + kJobBlockSize * static_cast<size_t>(i); }
size_t LevelOffset(int i, int s, int n) { return BlockOffset(i) + 12 + 4 * (100 * s + n); }

// A valid file of all-zero builds whose blocks can then be edited word by word.
std::vector<uint8_t> BlankFile() { return EncodeSaveFile(AllBuilds{}, NO_JOB, 0); }

std::vector<uint8_t> HeaderOnly() {
    std::vector<uint8_t> file = BlankFile();
    file.resize(kSaveHeaderSize);
    return file;
}

DecodedSaveFile Decode(const std::vector<uint8_t>& bytes, const LevelCaps& caps) {
    return DecodeSaveFile(bytes.data(), bytes.size(), caps);
}

// Every decoded value is inside its range.
void ExpectInRange(const DecodedSaveFile& d, const LevelCaps& caps) {
    EXPECT_GE(d.autoRunJob, 0);
    EXPECT_LE(d.autoRunJob, NO_JOB);
    EXPECT_GE(d.autoRunSlot, 0);
    EXPECT_LE(d.autoRunSlot, 2);
    for (int job = 0; job < kJobCount; ++job) {
        const JobBuilds& jb = d.builds.jobs[job];
        ASSERT_GE(jb.selectedSlot, 0);
        ASSERT_LE(jb.selectedSlot, 2);
        for (int s = 0; s < kSlotCount; ++s) {
            ASSERT_GE(jb.level[s][0], 0);
            ASSERT_LE(jb.level[s][0], 3);
            for (int n = 1; n < kNodeCount; ++n) {
                ASSERT_GE(jb.level[s][n], 0);
                ASSERT_LE(jb.level[s][n], caps.jobs[job].maxLevel[n]) << job << " " << s << " " << n;
            }
        }
    }
}

TEST(SaveFileFormat, GoldenLayoutOfEveryHeaderWordAndBlock) {
    AllBuilds builds;
    for (int job = 0; job < kJobCount; ++job) {
        builds.jobs[job].selectedSlot = job % 3;
        for (int s = 0; s < kSlotCount; ++s) {
            builds.jobs[job].level[s][0] = 4;  // never stored: the job's highest grade
            for (int n = 1; n < kNodeCount; ++n) builds.jobs[job].level[s][n] = (job + s + n) % 11;
        }
    }
    builds.jobs[7].level[2][0] = 2;
    const std::vector<uint8_t> file = EncodeSaveFile(builds, 7, 2);
    ASSERT_EQ(file.size(), 24293u);
    EXPECT_EQ(std::memcmp(file.data(), "Tolvemar Datafile", 17), 0);
    const int32_t header[] = {0, 3, 7, 2, 2, 186, 176, 3, 100};
    for (int w = 0; w < 9; ++w) EXPECT_EQ(GetWord(file.data(), 17 + 4 * w), header[w]) << w;
    for (int job = 0; job < kJobCount; ++job) {
        const size_t at = 53 + 1212 * static_cast<size_t>(job);
        EXPECT_EQ(GetWord(file.data(), at), 126);
        EXPECT_EQ(GetWord(file.data(), at + 4), job);
        EXPECT_EQ(GetWord(file.data(), at + 8), job % 3);
        for (int s = 0; s < kSlotCount; ++s) {
            // Node 0 carries the slot grade clamped to the job's range.
            const int32_t grade = (job == 7 && s == 2) ? 2 : ClampJobGrade(job, 4);
            EXPECT_EQ(GetWord(file.data(), at + 12 + 400 * s), grade) << job;
            for (int n = 1; n < kNodeCount; ++n) {
                ASSERT_EQ(GetWord(file.data(), at + 12 + 4 * (100 * s + n)), (job + s + n) % 11);
            }
        }
    }
    // Little-endian: the check word 186 is the bytes BA 00 00 00.
    EXPECT_EQ(file[37], 0xBA);
    EXPECT_EQ(file[38], 0x00);
    const DecodedSaveFile back = Decode(file, FullCaps(10));
    EXPECT_EQ(back.status, SaveFileStatus::Ok);
    EXPECT_EQ(back.Packed(), 519);
}

TEST(SaveFileFormat, HeaderGradeWordFollowsTheAutorunJob) {
    AllBuilds builds;
    builds.jobs[12].level[1][0] = 3;  // job 12 has grades 0..1
    EXPECT_EQ(GetWord(EncodeSaveFile(builds, 12, 1).data(), kOffsetAutoRunGrade), 1);
    EXPECT_EQ(GetWord(EncodeSaveFile(builds, NO_JOB, 1).data(), kOffsetAutoRunGrade), 0);
    EXPECT_EQ(GetWord(EncodeSaveFile(builds, 18, 0).data(), kOffsetAutoRunGrade), 0);
}

TEST(SaveFileFormat, RandomValidBuildsRoundTripExactly) {
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        const LevelCaps caps = RandomCaps(seed);
        const AllBuilds builds = RandomValidBuilds(seed * 7919, caps);
        const int32_t job = static_cast<int32_t>(seed % 21);
        const int32_t slot = static_cast<int32_t>(seed % 3);
        const DecodedSaveFile back = Decode(EncodeSaveFile(builds, job, slot), caps);
        ASSERT_EQ(back.status, SaveFileStatus::Ok);
        EXPECT_EQ(back.autoRunJob, job);
        EXPECT_EQ(back.autoRunSlot, slot);
        for (bool present : back.present) EXPECT_TRUE(present);
        EXPECT_TRUE(back.builds == builds) << "seed " << seed;
    }
}

TEST(SaveFileFormat, EveryTruncationIsSafeAndKeepsOnlyWholeBlocks) {
    const LevelCaps caps = RandomCaps(5);
    const AllBuilds builds = RandomValidBuilds(5, caps);
    const std::vector<uint8_t> full = EncodeSaveFile(builds, 4, 1);
    for (size_t length = 0; length <= full.size(); ++length) {
        // A buffer of exactly this length, so a read past it is caught.
        const std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<ptrdiff_t>(length));
        const DecodedSaveFile d = DecodeSaveFile(cut.data(), cut.size(), caps);
        if (length < kSaveFileShortestHeader) {
            ASSERT_EQ(d.status, SaveFileStatus::BadHeader) << length;
            ASSERT_EQ(d.Packed(), NO_JOB);
            continue;
        }
        ASSERT_EQ(d.status, SaveFileStatus::Ok) << length;
        ASSERT_EQ(d.Packed(), 256 + 4);
        for (int job = 0; job < kJobCount; ++job) {
            const bool whole = BlockOffset(job + 1) <= length;
            ASSERT_EQ(d.present[job], whole) << length << " " << job;
            if (whole) {
                ASSERT_TRUE(d.builds.jobs[job] == builds.jobs[job]);
            }
        }
        if (length % 97 == 0) ExpectInRange(d, caps);
    }
}

TEST(SaveFileFormat, BadMagicVersionOrCheckWordsRejectTheFile) {
    const std::vector<uint8_t> good = BlankFile();
    for (size_t i = 0; i < kSaveMagicSize; ++i) {
        std::vector<uint8_t> bad = good;
        bad[i] ^= 0x20;
        EXPECT_EQ(Decode(bad, FullCaps(10)).status, SaveFileStatus::BadHeader) << i;
    }
    for (size_t offset : {21u, 37u, 41u}) {
        for (int32_t value : {0, -1, 2, 4, 185, 187, INT_MIN, INT_MAX}) {
            std::vector<uint8_t> bad = good;
            PutWord(bad, offset, value);
            const DecodedSaveFile d = Decode(bad, FullCaps(10));
            EXPECT_EQ(d.status, SaveFileStatus::BadHeader) << offset << " " << value;
            for (bool present : d.present) EXPECT_FALSE(present);
        }
    }
    // Words that are read and ignored, or skipped: any value loads the same.
    for (size_t offset : {17u, 33u, 45u, 49u}) {
        std::vector<uint8_t> odd = good;
        PutWord(odd, offset, offset == 45 ? 7 : -99);
        const DecodedSaveFile d = Decode(odd, FullCaps(10));
        EXPECT_EQ(d.status, SaveFileStatus::Ok) << offset;
        EXPECT_TRUE(d.builds == Decode(good, FullCaps(10)).builds);
    }
}

TEST(SaveFileFormat, AutorunJobAndSlotOutsideTheirRangesReadAsNoJobAndSlotZero) {
    for (int32_t value : {-1, 21, 256, INT_MIN, INT_MAX}) {
        std::vector<uint8_t> file = BlankFile();
        PutWord(file, kOffsetAutoRunJob, value);
        PutWord(file, kOffsetAutoRunSlot, value);
        const DecodedSaveFile d = Decode(file, FullCaps(10));
        EXPECT_EQ(d.status, SaveFileStatus::Ok);
        EXPECT_EQ(d.autoRunJob, NO_JOB) << value;
        EXPECT_EQ(d.autoRunSlot, 0) << value;
        EXPECT_EQ(d.Packed(), NO_JOB);
    }
    std::vector<uint8_t> file = BlankFile();
    PutWord(file, kOffsetAutoRunJob, 20);
    PutWord(file, kOffsetAutoRunSlot, 2);
    EXPECT_EQ(Decode(file, FullCaps(10)).Packed(), 2 * 256 + 20);
}

TEST(SaveFileFormat, BlocksWithForeignJobIdsArePassedOverAndStillCount) {
    for (int32_t id : {-1, 20, 256, INT_MIN, INT_MAX}) {
        std::vector<uint8_t> file = BlankFile();
        PutWord(file, BlockOffset(3) + 4, id);
        PutWord(file, LevelOffset(3, 0, 1), 5);
        PutWord(file, LevelOffset(4, 0, 1), 6);
        const DecodedSaveFile d = Decode(file, FullCaps(10));
        EXPECT_FALSE(d.present[3]) << id;
        EXPECT_TRUE(d.present[4]) << id;  // reading goes on after the foreign block
        EXPECT_EQ(d.builds.jobs[4].level[0][1], 6);
        for (int job = 0; job < kJobCount; ++job) EXPECT_EQ(d.present[job], job != 3);
    }
}

TEST(SaveFileFormat, SelectedSlotsOutsideZeroToTwoReadAsZero) {
    for (int32_t value : {-1, 3, 20, 256, INT_MIN, INT_MAX}) {
        std::vector<uint8_t> file = BlankFile();
        PutWord(file, BlockOffset(6) + 8, value);
        PutWord(file, BlockOffset(7) + 8, 2);
        const DecodedSaveFile d = Decode(file, FullCaps(10));
        EXPECT_EQ(d.builds.jobs[6].selectedSlot, 0) << value;
        EXPECT_EQ(d.builds.jobs[7].selectedSlot, 2);
    }
}

TEST(SaveFileFormat, LevelWordsAreClampedToTheNodesCap) {
    LevelCaps caps;
    caps.jobs[2].maxLevel[1] = 5;
    caps.jobs[2].maxLevel[2] = 10;  // nodes 3.. lie past the end of the list (cap 0)
    // clang-format off
    struct Case { int node; int32_t word; int32_t expected; };
    const Case cases[] = {
        {1, INT_MIN, 0}, {1, -1, 0}, {1, 0, 0}, {1, 3, 3}, {1, 5, 5}, {1, 16, 5}, {1, INT_MAX, 5},
        {2, 10, 10}, {2, 11, 10}, {3, 7, 0}, {99, INT_MAX, 0}, {99, -1, 0},
        // Node 0: grades 1..3 are kept, anything else is 0.
        {0, 0, 0}, {0, 1, 1}, {0, 2, 2}, {0, 3, 3}, {0, 4, 0}, {0, -1, 0}, {0, INT_MIN, 0}, {0, INT_MAX, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        std::vector<uint8_t> file = BlankFile();
        PutWord(file, LevelOffset(2, 1, c.node), c.word);
        const DecodedSaveFile d = Decode(file, caps);
        EXPECT_EQ(d.builds.jobs[2].level[1][c.node], c.expected) << c.node << " " << c.word;
    }
}

TEST(SaveFileFormat, BlocksMatchByIdInAnyOrderAndTheLaterDuplicateWins) {
    // Blocks of jobs 5 and 3, then 5 again, then the end marker is missing.
    std::vector<uint8_t> file = HeaderOnly();
    auto appendBlock = [&file](int32_t id, int32_t level) {
        const size_t at = file.size();
        file.resize(at + kJobBlockSize);
        PutWord(file, at, 126);
        PutWord(file, at + 4, id);
        PutWord(file, at + 8, 1);
        for (size_t w = 3; w < kJobBlockWords; ++w) PutWord(file, at + 4 * w, level);
    };
    appendBlock(5, 1);
    appendBlock(3, 2);
    appendBlock(5, 3);
    const DecodedSaveFile d = Decode(file, FullCaps(10));
    for (int job = 0; job < kJobCount; ++job) EXPECT_EQ(d.present[job], job == 3 || job == 5);
    EXPECT_EQ(d.builds.jobs[5].level[2][99], 3);
    EXPECT_EQ(d.builds.jobs[3].level[0][50], 2);
    EXPECT_EQ(d.builds.jobs[3].selectedSlot, 1);
}

TEST(SaveFileFormat, ReadingStopsAfterTwentyBlocksOrAMissingMarker) {
    // 25 blocks in a buffer: only the first 20 are read, and never more than
    // 24,293 bytes.
    std::vector<uint8_t> file = HeaderOnly();
    for (int b = 0; b < 25; ++b) {
        const size_t at = file.size();
        file.resize(at + kJobBlockSize);
        PutWord(file, at, 126);
        PutWord(file, at + 4, b < 20 ? 0 : 9);
    }
    DecodedSaveFile d = Decode(file, FullCaps(10));
    EXPECT_TRUE(d.present[0]);
    EXPECT_FALSE(d.present[9]);

    std::vector<uint8_t> stop = BlankFile();
    PutWord(stop, BlockOffset(2), 125);
    d = Decode(stop, FullCaps(10));
    for (int job = 0; job < kJobCount; ++job) EXPECT_EQ(d.present[job], job < 2);
}

TEST(SaveFileFormat, ArbitraryBytesAfterAValidHeaderStayInRange) {
    const LevelCaps caps = RandomCaps(11);
    std::mt19937 rng(42);
    for (int round = 0; round < 200; ++round) {
        std::vector<uint8_t> file = BlankFile();
        file.resize(kSaveHeaderSize + rng() % (kSaveFileSize - kSaveHeaderSize + 2000));
        for (size_t i = kSaveHeaderSize - 28; i < file.size(); ++i) file[i] = static_cast<uint8_t>(rng());
        PutWord(file, 37, 186);
        PutWord(file, 41, 176);
        // Keep most markers so blocks are actually read.
        for (int b = 0; b < kJobCount; ++b) {
            if (BlockOffset(b) + 8 <= file.size() && rng() % 8 != 0) {
                PutWord(file, BlockOffset(b), 126);
                PutWord(file, BlockOffset(b) + 4, static_cast<int32_t>(rng() % 24) - 2);
            }
        }
        ExpectInRange(Decode(file, caps), caps);
    }
}

}  // namespace
