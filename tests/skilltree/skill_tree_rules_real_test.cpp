// The rules on the shipped trees: the point pools of job 0 and the three odd
// cases of the data (a level-0 requirement in job 0, a requirement above the
// prerequisite's maximum in job 3, five prerequisites in job 7).
#include "skilltree/skill_tree_rules.h"

#include "data/lookups.h"
#include "support/skill_tree_fixture.h"

#include <gtest/gtest.h>

namespace {

struct RealJob {
    explicit RealJob(int32_t job, int32_t grade) : saved(job) {
        SetSlotGrade(job, 0, grade);
        rules.OpenJob(job);
    }
    SkillTreeNode& Node(int32_t i) { return rules.m_pNodes[i]; }
    int32_t Level(int32_t i) { return rules.NodeLevel(i); }
    int32_t ListEnd() {
        int32_t end = 1;
        while (end < kNodeCount && Node(end).skill != 0) ++end;
        return end;
    }

    RulesTestScope scope;
    SavedTreeBlock saved;
    SkillTreeRules rules;
};

// Sets the levels of the pages' nodes, in list order, to their maximum until
// the pages hold `points`; false when they cannot hold that many.
bool FillPages(RealJob& job, std::initializer_list<int32_t> pages, int32_t points) {
    for (int32_t page : pages) {
        for (int32_t i = 1; i < job.ListEnd() && points > 0; ++i) {
            if (job.Node(i).page != page) continue;
            const int32_t level = std::min(points, job.rules.MaxLevelOf(job.Node(i).skill));
            job.Node(i).level[0] = level;
            points -= level;
        }
    }
    job.rules.RecountUsedPoints();
    return points == 0;
}

// At grade 1 page 0 spends its own points and page 1's; a full page 0 shows
// job level 50.
TEST(RealTrees, Job0PointPools) {
    RealJob job(0, 1);
    EXPECT_EQ(job.rules.GetRemainingFrom(1), 49);
    EXPECT_EQ(job.rules.GetRemainingFrom(0), 98);
    EXPECT_EQ(job.rules.HeaderUsedPoints(), 0);
    EXPECT_EQ(job.rules.HeaderPointLimit(), 98);
    EXPECT_EQ(job.rules.GetPageJobLevel(0), 1);

    ASSERT_TRUE(FillPages(job, {0}, 49)) << "job 0's page 0 holds fewer levels than its points";
    EXPECT_EQ(job.rules.GetPageJobLevel(0), 50);
    EXPECT_EQ(job.rules.GetPageJobLevel(1), 1);
    EXPECT_EQ(job.rules.GetRemainingFrom(0), 49);
    EXPECT_EQ(job.rules.HeaderUsedPoints(), 49);
}

// With pages 0..2 full at grade 3, a skill of page 0 still rises on page 3's
// points, and page 3's title shows the overflow as a job level.
TEST(RealTrees, Job0FullPagesSpendPage3PointsAtGrade3) {
    RealJob job(0, 3);
    ASSERT_TRUE(FillPages(job, {0}, 49));
    ASSERT_TRUE(FillPages(job, {1, 2}, 69));
    int32_t spare = -1;
    for (int32_t i = 1; i < job.ListEnd() && spare < 0; ++i) {
        if (job.Node(i).page == 0 && job.Level(i) < job.rules.MaxLevelOf(job.Node(i).skill)) spare = i;
    }
    ASSERT_GE(spare, 0) << "job 0's page 0 holds no more levels than its points";
    const int32_t before = job.Level(spare);
    EXPECT_EQ(job.rules.GetRemainingFrom(0), 59);
    EXPECT_EQ(job.rules.GetPageJobLevel(3), 1);

    EXPECT_EQ(job.rules.RaiseSkill(spare), 1);
    EXPECT_EQ(job.Level(spare), before + 1);
    EXPECT_EQ(job.rules.GetUsedOnPage(0), 50);
    EXPECT_EQ(job.rules.GetPageJobLevel(0), 50);
    EXPECT_EQ(job.rules.GetPageJobLevel(2), 70);
    EXPECT_EQ(job.rules.GetPageJobLevel(3), 2);
    EXPECT_EQ(job.rules.GetTitleJobLevel(3), 2);
    EXPECT_EQ(job.rules.GetRemainingFrom(0), 58);
    EXPECT_EQ(job.rules.GetRemainingFrom(3), 59);
    EXPECT_EQ(job.rules.HeaderUsedPoints(), 119);
    EXPECT_TRUE(job.scope.boxes.empty());
}

TEST(RealTrees, Job0Level0RequirementIsNeverExamined) {
    RealJob job(0, 3);
    int32_t node = -1;
    for (int32_t i = 1; i < job.ListEnd(); ++i) {
        if (job.Node(i).prereq[0].skill != 0 && job.Node(i).prereq[0].requiredLevel == 0) node = i;
    }
    ASSERT_GE(node, 0) << "job 0's content is not there";
    const int32_t prereq = job.rules.FindNodeOfSkill(job.Node(node).prereq[0].skill);
    ASSERT_GT(prereq, 0);
    g_Options.AutoChange = 0;
    EXPECT_EQ(job.rules.RaiseSkill(node), 1);
    EXPECT_EQ(job.Level(node), 1);
    EXPECT_EQ(job.rules.LowerSkill(prereq, 1), -1);
    EXPECT_EQ(job.Level(node), 0);
}

TEST(RealTrees, Job3RequirementAboveThePrerequisitesMaximum) {
    RealJob job(3, 3);
    int32_t node = -1;
    int32_t prereq = -1;
    for (int32_t i = 1; i < job.ListEnd(); ++i) {
        for (const PrerequisiteEntry& entry : job.Node(i).prereq) {
            if (entry.skill != 0 && entry.requiredLevel > job.rules.MaxLevelOf(entry.skill)) {
                node = i;
                prereq = job.rules.FindNodeOfSkill(entry.skill);
            }
        }
    }
    ASSERT_GE(node, 0) << "job 3's content is not there";
    ASSERT_GT(prereq, 0);
    EXPECT_EQ(job.rules.RaiseSkill(node), 1);
    EXPECT_EQ(job.Level(node), 1);
    EXPECT_EQ(job.Level(prereq), job.rules.MaxLevelOf(job.Node(prereq).skill));

    g_Options.AutoChange = 0;
    EXPECT_EQ(job.rules.LowerSkill(node, 1), 1);
    EXPECT_EQ(job.rules.RaiseSkill(node), 0);
    EXPECT_EQ(job.Level(node), 0);
    EXPECT_TRUE(job.scope.boxes.empty());
}

TEST(RealTrees, Job7FivePrerequisitesAreAllRaised) {
    RealJob job(7, 3);
    int32_t node = -1;
    for (int32_t i = 1; i < job.ListEnd(); ++i) {
        bool allFive = true;
        for (const PrerequisiteEntry& entry : job.Node(i).prereq)
            allFive = allFive && entry.requiredLevel > 0;
        if (allFive) node = i;
    }
    ASSERT_GE(node, 0) << "job 7's content is not there";
    EXPECT_EQ(job.rules.RaiseSkill(node), 1);
    for (const PrerequisiteEntry& entry : job.Node(node).prereq) {
        const int32_t level = job.Level(job.rules.FindNodeOfSkill(entry.skill));
        EXPECT_GE(level, std::min(entry.requiredLevel, job.rules.MaxLevelOf(entry.skill)));
    }
    EXPECT_TRUE(job.scope.boxes.empty());
}

}  // namespace
