#include "persistence/registry_builds.h"

#include "persistence/save_data.h"
#include "persistence_test_support.h"

#include <climits>
#include <set>
#include <string>
#include <vector>

using namespace persist_test;

namespace {

struct LevelsOf {
    int32_t levels[kNodeCount] = {};
};

LevelsOf Decode(std::u16string_view text, const JobLevelCaps& caps, int32_t memory = 0) {
    LevelsOf out;
    for (int32_t& l : out.levels) l = memory;
    DecodeLevelText(text, caps, out.levels);
    return out;
}

JobLevelCaps CapsOf(const std::vector<int32_t>& list) {
    JobLevelCaps caps;
    int n = 1;
    for (int32_t cap : list) caps.maxLevel[n++] = cap;
    return caps;
}

// Counts batches and writes around a memory store.
class BatchCountingStore : public MemoryProfileStore {
public:
    void BeginBatch() override {
        ++begins;
        inBatch = true;
    }
    bool EndBatch() override {
        ++ends;
        inBatch = false;
        return !failEnd;
    }
    bool WriteProfileString(const std::u16string& section, const std::u16string& entry,
                            const std::u16string& value) override {
        if (!inBatch) ++writesOutsideBatch;
        return MemoryProfileStore::WriteProfileString(section, entry, value);
    }
    int begins = 0, ends = 0, writesOutsideBatch = 0;
    bool inBatch = false, failEnd = false;
};

TEST(LevelText, EncodesOneLowerCaseDigitPerNodeClampedToZeroToFifteen) {
    int32_t levels[kNodeCount] = {};
    levels[0] = 4;
    levels[1] = 10;
    levels[2] = 15;
    levels[3] = 16;
    levels[4] = -1;
    levels[5] = INT_MIN;
    levels[99] = INT_MAX;
    const std::u16string text = EncodeLevelText(levels);
    ASSERT_EQ(text.size(), 100u);
    EXPECT_EQ(text.substr(0, 7), u"4aff000");
    EXPECT_EQ(text[99], u'f');
}

TEST(LevelText, DecodesDigitsCapsLevelsAndFillsTheRest) {
    struct Case {
        std::u16string text;
        JobLevelCaps caps;
        int32_t memory;
        std::vector<int32_t> first;  // nodes 0.. as decoded; every later node reads `rest`
        int32_t rest;
    };
    // Nodes past the caps given are past the list end; node 0 is not capped
    // here (reading clamps the grade); the empty text gives the highest grade.
    const JobLevelCaps caps = CapsOf({5, 10, 10});
    std::u16string longText(150, u'1');
    longText[100] = u'9';
    const Case cases[] = {
        {u"", caps, 7, {4}, 0},
        {u"3", caps, 7, {3}, 0},
        {u"0A9f", caps, 0, {0, 5, 9, 10}, 0},
        {u"fB", caps, 0, {15, 5}, 0},
        {std::u16string(100, u'9'), caps, 0, {9, 5, 9, 9}, 0},
        // Non-digits keep the level in memory, capped; a negative one reads 0.
        {u"2x-\u00e9", CapsOf({5, 10, 2}), 8, {2, 5, 8, 2}, 0},
        {u"1gG ", CapsOf({5, 10, 2}), -3, {1, 0, 0, 0}, 0},
        // Long texts are cut at the node count.
        {longText, CapsOf(std::vector<int32_t>(kNodeCount - 1, 10)), 0, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases));
        const LevelsOf d = Decode(c.text, c.caps, c.memory);
        for (int n = 0; n < kNodeCount; ++n) {
            EXPECT_EQ(d.levels[n], n < static_cast<int>(c.first.size()) ? c.first[n] : c.rest) << n;
        }
    }
}

TEST(RegistryBuilds, WritesEveryValueInOneBatchAndReportsFailure) {
    BatchCountingStore store;
    AllBuilds builds;
    EXPECT_TRUE(WriteRegistryBuilds(store, builds));
    EXPECT_EQ(store.begins, 1);
    EXPECT_EQ(store.ends, 1);
    EXPECT_EQ(store.writesOutsideBatch, 0);
    EXPECT_EQ(store.writeCount, 80);
    store.failEnd = true;
    EXPECT_FALSE(WriteRegistryBuilds(store, builds));
    BatchCountingStore failing;
    failing.failWrites = true;
    EXPECT_FALSE(WriteRegistryBuilds(failing, builds));
    EXPECT_EQ(failing.ends, 1);  // the batch is closed even after a failed write
}

TEST(RegistryBuilds, SelectedSlotsOutsideZeroToTwoReadAsZero) {
    MemoryProfileStore store;
    const std::u16string name = SlotValueName(6);
    LevelCaps caps;
    for (int32_t value : {-1, 3, 20, INT_MIN, INT_MAX}) {
        store.WriteProfileInt(kSlotSection, name, value);
        EXPECT_EQ(ReadRegistryBuilds(store, AllBuilds{}, caps).jobs[6].selectedSlot, 0) << value;
    }
    store.WriteProfileString(kSlotSection, name, u"junk");
    EXPECT_EQ(ReadRegistryBuilds(store, AllBuilds{}, caps).jobs[6].selectedSlot, 0);
    store.WriteProfileInt(kSlotSection, name, 2);
    EXPECT_EQ(ReadRegistryBuilds(store, AllBuilds{}, caps).jobs[6].selectedSlot, 2);
}

TEST(RegistryBuilds, AFormerTitleIsReadOnlyWhenNothingIsStoredUnderTheTitle) {
    const char16_t* former = GetFormerJobTitle(18, 0);
    ASSERT_NE(former, nullptr);
    const LevelCaps caps = CurrentLevelCaps();
    const JobBuilds old = RandomValidBuilds(5, caps).jobs[18];
    MemoryProfileStore store;
    store.WriteProfileInt(kSlotSection, former, old.selectedSlot);
    for (int32_t s = 0; s < kSlotCount; ++s) {
        store.WriteProfileString(kDataSection, std::u16string(former) + static_cast<char16_t>(u'0' + s),
                                 EncodeLevelText(old.level[s]));
    }
    const MemoryProfileStore before = store;
    const AllBuilds read = ReadRegistryBuilds(store, AllBuilds{}, caps);
    EXPECT_TRUE(read.jobs[18] == old);
    // The next write stores them under the title and leaves the old values be.
    ASSERT_TRUE(WriteRegistryBuilds(store, read));
    for (const auto& [key, value] : before.values) EXPECT_EQ(store.values.at(key), value);
    EXPECT_TRUE(ReadRegistryBuilds(store, AllBuilds{}, caps).jobs[18] == old);
    EXPECT_EQ(store.GetProfileString(kDataSection, DataValueName(18, 2)), EncodeLevelText(old.level[2]));
    // Any one value under the title hides the former ones, an empty text too.
    MemoryProfileStore empty;
    const JobBuilds fresh = ReadRegistryBuilds(empty, AllBuilds{}, caps).jobs[18];
    for (const auto& [section, entry] :
         {std::pair(kSlotSection, SlotValueName(18)), std::pair(kDataSection, DataValueName(18, 1))}) {
        MemoryProfileStore both = before;
        both.WriteProfileString(section, entry, u"");
        EXPECT_TRUE(ReadRegistryBuilds(both, AllBuilds{}, caps).jobs[18] == fresh) << Narrow(entry);
    }
}

class RegistryStoreTest : public PersistenceTest {};

TEST_F(RegistryStoreTest, AnEmptyProfileGivesEveryJobItsHighestGradeAndSlotZero) {
    AllBuilds dirty = RandomValidBuilds(3, CurrentLevelCaps());
    ApplyAll(dirty);
    CSaveData().LoadRegistry();
    for (int job = 0; job < kJobCount; ++job) {
        EXPECT_EQ(g_nSelectedSlot[job], 0);
        for (int s = 0; s < kSlotCount; ++s) {
            EXPECT_EQ(GetSlotGrade(job, s), ClampJobGrade(job, 4)) << job;
            const SkillTreeNode* nodes = FindJobRecord(job)->nodes;
            for (int n = 1; n < kNodeCount; ++n) ASSERT_EQ(nodes[n].level[s], 0);
        }
    }
}

TEST_F(RegistryStoreTest, AllBuildsRoundTripThroughTheProfile) {
    const AllBuilds builds = RandomValidBuilds(17, CurrentLevelCaps());
    ApplyAll(builds);
    ASSERT_TRUE(CSaveData().SaveRegistry());
    EXPECT_EQ(profile_.values.size(), 80u);
    // Values are named by the job's highest title, the levels with the slot digit.
    EXPECT_EQ(profile_.GetProfileInt(kSlotSection, GetJobTitle(5, 4), -1), builds.jobs[5].selectedSlot);
    EXPECT_EQ(profile_.GetProfileString(kDataSection, GetJobTitle(5, 4) + std::u16string(u"2")),
              EncodeLevelText(builds.jobs[5].level[2]));
    ApplyAll(AllBuilds{});
    CSaveData().LoadRegistry();
    EXPECT_TRUE(CaptureBuilds() == builds);
}

TEST_F(RegistryStoreTest, BuildsUnderAnotherLanguagesTitlesWaitForThatLanguage) {
    g_Options.Language = 1;
    const AllBuilds builds = RandomValidBuilds(23, CurrentLevelCaps());
    ApplyAll(builds);
    ASSERT_TRUE(CSaveData().SaveRegistry());
    g_Options.Language = 0;
    std::vector<bool> renamed(kJobCount);
    for (int job = 0; job < kJobCount; ++job) {
        g_Options.Language = 1;
        const std::u16string english = SlotValueName(job);
        g_Options.Language = 0;
        renamed[job] = SlotValueName(job) != english;
    }
    CSaveData().LoadRegistry();
    for (int job = 0; job < kJobCount; ++job) {
        if (renamed[job]) {
            EXPECT_EQ(g_nSelectedSlot[job], 0);
            EXPECT_EQ(GetSlotGrade(job, 0), ClampJobGrade(job, 4));
        } else {
            EXPECT_TRUE(CaptureBuilds().jobs[job] == builds.jobs[job]) << job;
        }
    }
    g_Options.Language = 1;
    CSaveData().LoadRegistry();
    EXPECT_TRUE(CaptureBuilds() == builds);
}

}  // namespace
