// The stores against the shipped job trees and skill table: levels come back
// capped by each skill's maximum level, and nodes past the end of a job's
// node list come back as 0.
#include "persistence/registry_builds.h"
#include "persistence/save_data.h"
#include "persistence_test_support.h"

using namespace persist_test;

namespace {

// Checks every node of every slot after a load of all-15 levels.
void ExpectCappedByTheTables() {
    for (int job = 0; job < kJobCount; ++job) {
        const SkillTreeNode* nodes = FindJobRecord(job)->nodes;
        bool ended = false;
        for (int n = 1; n < kNodeCount; ++n) {
            ended = ended || nodes[n].skill == 0;
            const int32_t expected = ended ? 0 : std::min(15, SkillAt(nodes[n].skill).maxLevel);
            for (int s = 0; s < kSlotCount; ++s) {
                ASSERT_EQ(nodes[n].level[s], expected) << "job " << job << " node " << n;
            }
        }
    }
}

using ContentBuildsTest = PersistenceTest;

TEST_F(ContentBuildsTest, FileLevelsAreCappedAndNodesPastTheListReadZero) {
    AllBuilds high;
    for (auto& job : high.jobs) {
        for (auto& slot : job.level) {
            slot[0] = 3;
            for (int n = 1; n < kNodeCount; ++n) slot[n] = 15;
        }
    }
    const std::vector<uint8_t> bytes = EncodeSaveFile(high, NO_JOB, 0);
    WriteBytes(dir_ / "high.tvf", bytes);
    ASSERT_EQ(CSaveData().LoadFile(PathIn("high.tvf")).status, SaveFileStatus::Ok);
    ExpectCappedByTheTables();
}

TEST_F(ContentBuildsTest, ProfileLevelsAreCappedAndNodesPastTheListReadZero) {
    const std::u16string text(100, u'f');
    for (int32_t language : {0, 1, 2}) {
        g_Options.Language = language;
        profile_.values.clear();
        for (int job = 0; job < kJobCount; ++job) {
            for (int s = 0; s < kSlotCount; ++s) {
                profile_.WriteProfileString(kDataSection, DataValueName(job, s), text);
            }
        }
        CSaveData().LoadRegistry();
        ExpectCappedByTheTables();
    }
}

TEST_F(ContentBuildsTest, RandomValidBuildsSurviveBothStores) {
    const AllBuilds builds = RandomValidBuilds(77, CurrentLevelCaps());
    ApplyAll(builds);
    ASSERT_TRUE(CSaveData().SaveFile(0, 0, PathIn("r.tvf")));
    ASSERT_TRUE(CSaveData().SaveRegistry());
    ApplyAll(AllBuilds{});
    CSaveData().LoadFile(PathIn("r.tvf"));
    EXPECT_TRUE(CaptureBuilds() == builds);
    ApplyAll(AllBuilds{});
    CSaveData().LoadRegistry();
    EXPECT_TRUE(CaptureBuilds() == builds);
}

}  // namespace
