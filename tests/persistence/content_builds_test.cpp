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

// The names under which profiles hold each job's builds, by language: the
// titles as stored today, then names stored before a title changed. A title
// may change only with its old name listed as a former title; otherwise the
// builds stored under it read as empty.
const char16_t* const kStoredNames[kLanguageCount][kJobCount] = {
    {u"여명의 맹세", u"성운의 지배", u"천공의 사수", u"철혈의 심장", u"성광의 인도",
     u"야수의 왕좌", u"밤의 날개",   u"천둥의 권",   u"별의 노래",   u"독안개 군주",
     u"심연의 부름", u"룬의 장인",   u"떠오르는 별", u"황금의 비밀", u"붉은 창기병",
     u"성벽의 창",   u"달빛 검무",   u"하늘의 기록", u"불과 솥",     u"저주의 칼날"},
    {u"여명의 맹세", u"성운의 지배", u"천공의 사수", u"철혈의 심장", u"성광의 인도",
     u"야수의 왕좌", u"밤의 날개",   u"천둥의 권",   u"별의 노래",   u"독안개 군주",
     u"심연의 부름", u"룬의 장인",   u"떠오르는 별", u"황금의 비밀", u"Red Lancer",
     u"성벽의 창",   u"달빛 검무",   u"하늘의 기록", u"불과 솥",     u"저주의 칼날"},
    {u"여명의 맹세", u"성운의 지배", u"천공의 사수", u"철혈의 심장", u"성광의 인도",
     u"야수의 왕좌", u"밤의 날개",   u"천둥의 권",   u"별의 노래",   u"독안개 군주",
     u"심연의 부름", u"룬의 장인",   u"떠오르는 별", u"황금의 비밀", u"紅の槍騎兵",
     u"성벽의 창",   u"달빛 검무",   u"하늘의 기록", u"불과 솥",     u"저주의 칼날"},
};
const std::pair<int32_t, const char16_t*> kEarlierNames[] = {{18, u"불과 냄비"}};  // every language

using ContentBuildsTest = PersistenceTest;

TEST_F(ContentBuildsTest, BuildsStoredUnderAnyNameAJobHadReadBack) {
    const LevelCaps caps = CurrentLevelCaps();
    const AllBuilds builds = RandomValidBuilds(31, caps);
    for (int32_t language : {0, 1, 2}) {
        g_Options.Language = language;
        std::vector<std::pair<int32_t, std::u16string>> names(std::begin(kEarlierNames),
                                                              std::end(kEarlierNames));
        for (int32_t job = 0; job < kJobCount; ++job) names.emplace_back(job, kStoredNames[language][job]);
        for (const auto& [job, name] : names) {
            MemoryProfileStore profile;
            profile.WriteProfileInt(kSlotSection, name, builds.jobs[job].selectedSlot);
            for (int32_t s = 0; s < kSlotCount; ++s) {
                profile.WriteProfileString(kDataSection, name + static_cast<char16_t>(u'0' + s),
                                           EncodeLevelText(builds.jobs[job].level[s]));
            }
            EXPECT_TRUE(ReadRegistryBuilds(profile, AllBuilds{}, caps).jobs[job] == builds.jobs[job])
                << "language " << language << ", job " << job << ", " << Narrow(name);
        }
    }
}

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
