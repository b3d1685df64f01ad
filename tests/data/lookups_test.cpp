#include "data/lookups.h"
#include "support/language_scope.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(JobLookup, FindsJobsByIdNotPosition) {
    ASSERT_NE(FindJobRecord(17), nullptr);
    EXPECT_EQ(FindJobRecord(17), &g_JobTable[18]);
    EXPECT_EQ(FindJobRecord(18), &g_JobTable[19]);
    EXPECT_EQ(FindJobRecord(19), &g_JobTable[17]);
    EXPECT_EQ(FindJobRecord(20), nullptr);
    EXPECT_EQ(FindJobRecord(-1), nullptr);
}

TEST(JobLookup, ClampJobGradeLetsTheUpperBoundWin) {
    EXPECT_EQ(ClampJobGrade(18, 4), 0);
    EXPECT_EQ(ClampJobGrade(12, 4), 1);
    EXPECT_EQ(ClampJobGrade(0, 0), 1);
    EXPECT_EQ(ClampJobGrade(0, -5), 1);
    EXPECT_EQ(ClampJobGrade(0, 2), 2);
    EXPECT_EQ(ClampJobGrade(20, 2), 0);
    EXPECT_EQ(ClampJobGrade(3, INT32_MIN), 1);
    EXPECT_EQ(ClampJobGrade(3, INT32_MAX), 3);
}

TEST(JobLookup, MissingJobGivesEmptyNamesAndNoSlotWrite) {
    EXPECT_EQ(std::u16string(GetJobName(20, 0)), u"");
    EXPECT_EQ(std::u16string(GetJobTitle(20, 0)), u"");
    EXPECT_EQ(GetSlotGrade(20, 0), 0);
    SetSlotGrade(20, 0, 2);  // must not touch any table
    EXPECT_EQ(GetSlotGrade(20, 0), 0);
}

TEST(SlotGrade, ReadsClampedAndKeepsTheStoredValue) {
    SkillTreeNode& node0 = FindJobRecord(14)->nodes[0];
    const int32_t saved = node0.level[1];
    node0.level[1] = 3;
    EXPECT_EQ(GetSlotGrade(14, 1), 1);
    EXPECT_EQ(node0.level[1], 3);
    SetSlotGrade(14, 1, 3);
    EXPECT_EQ(node0.level[1], 1);
    node0.level[1] = saved;
}

TEST(SlotGrade, SlotOutsideRangeReadsClampedZeroAndWritesNothing) {
    SkillTreeNode& node0 = FindJobRecord(0)->nodes[0];
    const SkillTreeNode before = node0;
    EXPECT_EQ(GetSlotGrade(0, 3), 1);
    EXPECT_EQ(GetSlotGrade(0, -1), 1);
    SetSlotGrade(0, 3, 2);
    SetSlotGrade(0, -1, 2);
    for (int s = 0; s < kSlotCount; ++s) EXPECT_EQ(node0.level[s], before.level[s]);
}

TEST(LocalizedText, FallsBackToEnglishThenKorean) {
    {
        LanguageScope english(1);
        EXPECT_EQ(std::u16string(GetLocalizedText(8)), u">>");
        EXPECT_EQ(std::u16string(GetLocalizedText(1)), u"e&Xit");
    }
    {
        LanguageScope japanese(2);
        EXPECT_EQ(std::u16string(GetLocalizedText(6)), u"Reset");  // no Japanese: English
        EXPECT_EQ(std::u16string(GetLocalizedText(9)), u"<<");     // no English either: Korean
        EXPECT_EQ(std::u16string(GetLocalizedText(15)), u"\uF981子");
    }
    {
        LanguageScope never(-1);
        EXPECT_EQ(std::u16string(GetLocalizedText(1)), u"(&X)종료");
    }
}

TEST(LocalizedText, IndexesOutsideTheTableAndBadLanguagesAreSafe) {
    EXPECT_EQ(std::u16string(GetLocalizedText(-1)), u"");
    EXPECT_EQ(std::u16string(GetLocalizedText(kTextCount)), u"");
    LanguageScope broken(7);
    EXPECT_EQ(std::u16string(GetLocalizedText(1)), u"(&X)종료");
}

TEST(SkillLookup, OutOfRangeIndexesGiveRecordZero) {
    EXPECT_EQ(&SkillAt(-1), &g_SkillTable[0]);
    EXPECT_EQ(&SkillAt(kSkillCount), &g_SkillTable[0]);
    EXPECT_EQ(&FindSkillRecord(0), &g_SkillTable[0]);
    EXPECT_EQ(&FindSkillRecord(100000), &g_SkillTable[0]);
    EXPECT_EQ(std::u16string(GetSkillDisplayName(0)), u"");
    EXPECT_EQ(std::u16string(GetSkillDisplayName(-5)), u"");
    EXPECT_EQ(FindSkillByIdent(u""), 0);
    EXPECT_EQ(FindSkillByIdent(nullptr), 0);
}

}  // namespace
