#include "skilltree/skill_tree_rules.h"

#include "data/lookups.h"
#include "support/skill_tree_fixture.h"

#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <utility>

namespace {

// A job of grades 1..3 with the usual limits 49, 49, 20, 59.
SyntheticTree MakeJob(int32_t id = 5) { return SyntheticTree(id, 1, 3, {49, 49, 20, 59}); }

void SetLevel(SyntheticTree& tree, int32_t node, int32_t level, int32_t slot = 0) {
    tree.Node(node).level[slot] = level;
}

using NodeLevels = std::initializer_list<std::pair<int32_t, int32_t>>;  // (node, level in slot 0)

void SetLevels(SyntheticTree& tree, NodeLevels levels) {
    for (const auto& [node, level] : levels) SetLevel(tree, node, level);
}

void ExpectLevels(SyntheticTree& tree, NodeLevels levels) {
    for (const auto& [node, level] : levels) EXPECT_EQ(tree.Node(node).level[0], level) << "node " << node;
}

void ExpectPreviews(SyntheticTree& tree, NodeLevels marks) {
    for (const auto& [node, level] : marks) EXPECT_EQ(tree.Node(node).previewLevel, level) << "node " << node;
}

void SetGrade(SyntheticTree& tree, int32_t grade, int32_t slot = 0) { tree.Node(0).level[slot] = grade; }

int Raise(SkillTreeRules& rules, int32_t node, int times) {
    int done = 0;
    for (int i = 0; i < times; ++i) done += rules.RaiseSkill(node);
    return done;
}

void ExpectCountsMatchLevels(SkillTreeRules& rules) {
    int64_t used[kPageCount];
    for (int32_t p = 0; p < kPageCount; ++p) used[p] = rules.m_nUsedPoints[p];
    rules.RecountUsedPoints();
    for (int32_t p = 0; p < kPageCount; ++p) EXPECT_EQ(used[p], rules.m_nUsedPoints[p]) << "page " << p;
}

MessageBoxRequest TreeBox(std::u16string text, std::u16string caption, MbButtons buttons, MbIcon icon) {
    return {MbOwner::SkillTree, std::move(text), std::move(caption), buttons, icon};
}

MessageBoxRequest NoPointsBox() {
    return TreeBox(u"더 이상 스킬을 올릴 수 없습니다.", u"확인", MbButtons::Ok, MbIcon::Stop);
}

// A synthetic job opened by each test once its nodes are added, with the
// process-wide state saved and a view that records the window requests.
class RulesTest : public ::testing::Test {
protected:
    RulesTestScope scope;
    SyntheticTree tree = MakeJob();
    RecordingView view;
    SkillTreeRules rules{&view};
};
using SkillPointBudget = RulesTest;
using RaiseSkill = RulesTest;
using LowerSkill = RulesTest;
using MarkPrerequisites = RulesTest;
using Grades = RulesTest;
using BuildSlots = RulesTest;
using Reset = RulesTest;
using VisibleNodes = RulesTest;
using OpenJob = RulesTest;

// ---- Point pools and carrying ------------------------------------------------

TEST_F(SkillPointBudget, PagesDrawOnLaterPagesUpToTheGrade) {
    const int32_t p0 = tree.AddSkillNode(10, 0);
    const int32_t p1 = tree.AddSkillNode(10, 1);
    const int32_t p2 = tree.AddSkillNode(10, 2);
    const int32_t p3 = tree.AddSkillNode(10, 3);
    tree.Open(rules);

    // Grade 1 (the stored 0 reads clamped), nothing spent.
    EXPECT_EQ(rules.CurrentGrade(), 1);
    EXPECT_EQ(rules.GetRemainingFrom(1), 49);
    EXPECT_EQ(rules.GetRemainingFrom(0), 98);
    EXPECT_EQ(rules.GetRemainingFrom(3), 0);
    EXPECT_EQ(rules.HeaderUsedPoints(), 0);
    EXPECT_EQ(rules.HeaderPointLimit(), 98);

    // Grade 3: page 0 may spend everything up to page 3; page 3 only its own.
    SetGrade(tree, 3);
    EXPECT_EQ(rules.GetRemainingFrom(0), 177);
    EXPECT_EQ(rules.GetRemainingFrom(1), 128);
    EXPECT_EQ(rules.GetRemainingFrom(2), 128);
    EXPECT_EQ(rules.GetRemainingFrom(3), 59);
    SetLevels(tree, {{p0, 60}, {p1, 50}, {p2, 30}, {p3, 5}});
    rules.RecountUsedPoints();
    EXPECT_EQ(rules.GetRemainingFrom(1), 128 - 85);
    EXPECT_EQ(rules.GetRemainingFrom(0), 177 - 145);
    EXPECT_EQ(rules.GetUsedOnPage(2), 80);
    EXPECT_EQ(rules.GetPageLimit(2), 69);
    EXPECT_EQ(rules.GetUsedUpTo(1), rules.GetUsedUpTo(2));
    EXPECT_EQ(rules.GetUsedUpTo(3), 145);
    EXPECT_EQ(rules.GetLimitUpTo(3), 177);
    // A page above the grade is not counted yet.
    SetGrade(tree, 1);
    EXPECT_EQ(rules.GetUsedOnPage(3), 50);
    EXPECT_EQ(rules.GetUsedUpTo(3), 110);
    EXPECT_EQ(rules.GetLimitUpTo(3), 177);
}

TEST_F(SkillPointBudget, PageJobLevelCarriesOverflowToTheNextPage) {
    int32_t firsts[6];
    for (int32_t& node : firsts) node = tree.AddSkillNode(10, 0);
    const int32_t second = tree.AddSkillNode(10, 1);
    tree.Open(rules);
    for (int32_t node : firsts) SetLevel(tree, node, 10);
    SetLevel(tree, second, 10);
    rules.RecountUsedPoints();
    EXPECT_EQ(rules.m_nUsedPoints[0], 60);
    EXPECT_EQ(rules.GetPageJobLevel(0), 50);
    EXPECT_EQ(rules.GetPageJobLevel(1), 22);
    EXPECT_EQ(rules.GetTitleJobLevel(1), 22);
    EXPECT_EQ(rules.GetPageJobLevel(-1), 1);
    EXPECT_EQ(rules.GetPageJobLevel(4), 1);
}

TEST_F(SkillPointBudget, Job12TitlesShowThePage0Level) {
    tree = SyntheticTree(12, 0, 1, {98, 98, 0, 0});
    const int32_t a = tree.AddSkillNode(10, 0);
    const int32_t b = tree.AddSkillNode(10, 1);
    tree.Open(rules);
    SetGrade(tree, 1);
    SetLevels(tree, {{a, 7}, {b, 3}});
    rules.RecountUsedPoints();
    EXPECT_EQ(rules.GetPageJobLevel(1), 4);
    EXPECT_EQ(rules.GetTitleJobLevel(1), 8);
    EXPECT_EQ(rules.GetTitleJobLevel(0), 8);
}

TEST_F(SkillPointBudget, DamagedHugeLevelsDoNotOverflowTheSums) {
    for (int i = 0; i < 5; ++i) SetLevel(tree, tree.AddSkillNode(10, 0), INT32_MAX);
    const int32_t negative = tree.AddSkillNode(10, 1);
    SetLevel(tree, negative, INT32_MIN);
    SetLevel(tree, tree.AddSkillNode(10, 1), INT32_MIN);
    tree.Open(rules);
    EXPECT_EQ(rules.m_nUsedPoints[0], int64_t{5} * INT32_MAX);
    EXPECT_EQ(rules.GetUsedOnPage(0), INT32_MAX);
    EXPECT_EQ(rules.GetUsedOnPage(1), INT32_MIN);
    EXPECT_EQ(rules.GetUsedUpTo(1), INT32_MAX);  // 5 * max + 2 * min is still above the range
    EXPECT_LE(rules.GetRemainingFrom(0), 0);
    EXPECT_EQ(rules.GetPageJobLevel(0), 50);
    // A raise with nothing left is refused; lowering the negative level does nothing.
    EXPECT_EQ(rules.RaiseSkill(1), 0);
    EXPECT_EQ(rules.LowerSkill(negative, INT32_MAX), -1);
    EXPECT_EQ(tree.Node(negative).level[0], INT32_MIN);
    ExpectCountsMatchLevels(rules);
}

// ---- Raise -------------------------------------------------------------------------

TEST_F(RaiseSkill, AutoChangeRaisesMissingPrerequisitesFirst) {
    const int32_t a = tree.AddSkillNode(5, 0);
    const int32_t b = tree.AddSkillNode(5, 0, {{tree.SkillOf(a), 3}});
    const int32_t c = tree.AddSkillNode(5, 1, {{tree.SkillOf(b), 2}, {tree.SkillOf(a), 4}});
    tree.Open(rules);

    g_Options.AutoChange = 0;
    EXPECT_EQ(rules.RaiseSkill(c), 0);
    EXPECT_EQ(rules.RaiseSkill(b), 0);
    EXPECT_FALSE(g_bModified);
    EXPECT_TRUE(scope.boxes.empty());
    EXPECT_EQ(scope.titleUpdates, 0);

    g_Options.AutoChange = 1;
    EXPECT_EQ(rules.RaiseSkill(c), 1);
    ExpectLevels(tree, {{a, 4}, {b, 2}, {c, 1}});
    EXPECT_EQ(rules.m_nUsedPoints[0], 6);
    EXPECT_EQ(rules.m_nUsedPoints[1], 1);
    EXPECT_TRUE(g_bModified);
    EXPECT_GT(scope.titleUpdates, 0);
    EXPECT_EQ(scope.lastTitle.substr(scope.lastTitle.size() - 2), u" *");

    // Met prerequisites are left alone; with AutoChange off the raise now passes.
    g_Options.AutoChange = 0;
    EXPECT_EQ(rules.RaiseSkill(c), 1);
    ExpectLevels(tree, {{c, 2}, {a, 4}});
    ExpectCountsMatchLevels(rules);
}

TEST_F(RaiseSkill, OnlyTheInnermostRefusalTellsTheUserAndNothingIsRolledBack) {
    tree = SyntheticTree(5, 1, 3, {3, 2, 0, 0});
    const int32_t a = tree.AddSkillNode(5, 0);
    const int32_t b = tree.AddSkillNode(5, 0, {{tree.SkillOf(a), 3}});
    const int32_t c = tree.AddSkillNode(5, 1, {{tree.SkillOf(b), 3}});
    tree.Open(rules);
    view.calls.clear();

    // a takes 3, b takes the last 2 points, then b's third level is refused.
    EXPECT_EQ(rules.RaiseSkill(c), 0);
    ExpectLevels(tree, {{a, 3}, {b, 2}, {c, 0}});
    ASSERT_EQ(scope.boxes.size(), 1u);
    EXPECT_EQ(scope.boxes[0], NoPointsBox());
    EXPECT_EQ(view.calls, std::vector<std::string>{"repaint"});
    EXPECT_TRUE(g_bModified);
    ExpectCountsMatchLevels(rules);
}

TEST_F(RaiseSkill, AtItsMaximumStillCountsAsDoneAndMarksModified) {
    const int32_t a = tree.AddSkillNode(2, 0);
    const int32_t over = tree.AddSkillNode(3, 0);
    tree.Open(rules);
    EXPECT_EQ(Raise(rules, a, 2), 2);
    g_bModified = false;
    const int titles = scope.titleUpdates;
    EXPECT_EQ(rules.RaiseSkill(a), 1);
    EXPECT_EQ(tree.Node(a).level[0], 2);
    EXPECT_TRUE(g_bModified);
    EXPECT_EQ(scope.titleUpdates, titles + 1);

    // A stored level above the maximum is kept, never lowered by a raise.
    SetLevel(tree, over, 7);
    rules.RecountUsedPoints();
    EXPECT_EQ(rules.RaiseSkill(over), 1);
    EXPECT_EQ(tree.Node(over).level[0], 7);
    ExpectCountsMatchLevels(rules);
}

TEST_F(RaiseSkill, RequirementAboveThePrerequisitesMaximum) {
    const int32_t x = tree.AddSkillNode(1, 0);
    const int32_t d = tree.AddSkillNode(5, 1, {{tree.SkillOf(x), 3}});
    tree.Open(rules);

    g_Options.AutoChange = 0;
    EXPECT_EQ(Raise(rules, x, 3), 3);
    EXPECT_EQ(rules.RaiseSkill(d), 0);
    EXPECT_EQ(tree.Node(d).level[0], 0);

    rules.LowerSkill(x, 1);
    g_Options.AutoChange = 1;
    EXPECT_EQ(rules.RaiseSkill(d), 1);
    ExpectLevels(tree, {{x, 1}, {d, 1}});
    // Any lowering of x breaks the requirement of 3.
    EXPECT_EQ(rules.LowerSkill(x, 0), 1);
    ExpectLevels(tree, {{d, 0}, {x, 1}});
    ExpectCountsMatchLevels(rules);
}

TEST_F(RaiseSkill, ALevel0RequirementEndsTheListAndBreaksWhenThePrerequisiteIsLowered) {
    const int32_t z = tree.AddSkillNode(0, 0);
    const int32_t y = tree.AddSkillNode(5, 0);
    const int32_t e = tree.AddSkillNode(5, 0, {{tree.SkillOf(z), 0}, {tree.SkillOf(y), 3}});
    tree.Open(rules);
    g_Options.AutoChange = 0;
    // The second entry is never examined.
    EXPECT_EQ(Raise(rules, e, 2), 2);
    EXPECT_EQ(tree.Node(y).level[0], 0);
    // z is at 0 already: -1, but e's requirement of 0 breaks at -1.
    EXPECT_EQ(rules.LowerSkill(z, 1), -1);
    EXPECT_EQ(tree.Node(e).level[0], 0);
    ExpectCountsMatchLevels(rules);
}

TEST_F(RaiseSkill, ExaminesAllFiveEntries) {
    int32_t pre[kPrereqCount];
    for (int32_t& node : pre) node = tree.AddSkillNode(5, 0);
    const int32_t five = tree.AddSkillNode(5, 1,
                                           {{tree.SkillOf(pre[0]), 1},
                                            {tree.SkillOf(pre[1]), 2},
                                            {tree.SkillOf(pre[2]), 3},
                                            {tree.SkillOf(pre[3]), 4},
                                            {tree.SkillOf(pre[4]), 5}});
    tree.Open(rules);
    EXPECT_EQ(rules.RaiseSkill(five), 1);
    for (int32_t i = 0; i < kPrereqCount; ++i) EXPECT_EQ(tree.Node(pre[i]).level[0], i + 1);
    g_Options.AutoChange = 0;
    rules.LowerSkill(pre[4], 1);
    EXPECT_EQ(tree.Node(five).level[0], 0);
    EXPECT_EQ(rules.RaiseSkill(five), 0);
}

// The budget of a raise is the smallest remainder of every page range that
// holds the skill's page, so an earlier page cannot spend points that a later
// page already borrowed.
TEST_F(RaiseSkill, PointsBorrowedByAnEarlierPageAreNotSpentTwice) {
    int32_t firsts[6];
    for (int32_t& node : firsts) node = tree.AddSkillNode(10, 0);
    int32_t seconds[7];
    for (int32_t& node : seconds) node = tree.AddSkillNode(10, 1);
    tree.Open(rules);
    SetGrade(tree, 2);
    for (int32_t node : firsts) Raise(rules, node, 10);
    EXPECT_EQ(rules.m_nUsedPoints[0], 60);
    EXPECT_TRUE(scope.boxes.empty());
    int raised = 0;
    for (int32_t node : seconds) raised += Raise(rules, node, 10);
    EXPECT_EQ(raised, 58);
    EXPECT_EQ(rules.HeaderUsedPoints(), 118);
    EXPECT_EQ(rules.HeaderPointLimit(), 118);
    // The remainder of page 1's own range is still reported as such.
    EXPECT_EQ(rules.GetRemainingFrom(1), 11);
    EXPECT_EQ(rules.GetRemainingFrom(0), 0);
    EXPECT_FALSE(scope.boxes.empty());
}

TEST_F(RaiseSkill, NodesWithoutASkillAndOutOfRangeIndexesDoNothing) {
    const int32_t a = tree.AddSkillNode(5, 0);
    const int32_t b = tree.AddSkillNode(5, 0, {{tree.SkillOf(a), 1}});
    // A node after the end of the list, even with a skill, is not part of the tree.
    tree.Node(b + 2).skill = tree.AddSkill(5);
    tree.Open(rules);
    EXPECT_EQ(rules.RaiseSkill(b), 1);
    g_bModified = false;
    for (int32_t node : {0, -1, 100, INT32_MIN, INT32_MAX, b + 1, b + 2}) {
        EXPECT_EQ(rules.RaiseSkill(node), 0) << node;
        EXPECT_EQ(rules.LowerSkill(node, 1), 0) << node;
    }
    ExpectLevels(tree, {{a, 1}, {b, 1}, {0, 0}});
    EXPECT_FALSE(g_bModified);
    EXPECT_TRUE(scope.boxes.empty());
}

TEST_F(RaiseSkill, APrerequisiteWithoutANodeRefusesQuietly) {
    const int32_t orphan = tree.AddSkill(5);
    const int32_t a = tree.AddSkillNode(5, 0, {{orphan, 1}});
    tree.Open(rules);
    SetGrade(tree, 2);
    EXPECT_EQ(rules.RaiseSkill(a), 0);
    EXPECT_EQ(tree.Node(0).level[0], 2);  // the slot grade is no prerequisite
    EXPECT_TRUE(scope.boxes.empty());
    EXPECT_FALSE(g_bModified);
}

TEST_F(RaiseSkill, CyclesInTheDataEndInARefusal) {
    const int32_t a = tree.AddSkill(5);
    const int32_t b = tree.AddSkill(5);
    const int32_t na = tree.AddNode(a, 0, {{b, 1}});
    const int32_t nb = tree.AddNode(b, 0, {{a, 1}});
    const int32_t self = tree.AddSkill(5);
    const int32_t nself = tree.AddNode(self, 0, {{self, 2}});
    tree.Open(rules);
    EXPECT_EQ(rules.RaiseSkill(na), 0);
    EXPECT_EQ(rules.RaiseSkill(nself), 0);
    EXPECT_EQ(tree.Node(nself).level[0], 0);
    // Levels given by loading: lowering runs through the cycle once.
    SetLevels(tree, {{na, 3}, {nb, 3}, {nself, 3}});
    rules.RecountUsedPoints();
    EXPECT_EQ(rules.LowerSkill(na, 3), 1);
    ExpectLevels(tree, {{na, 0}, {nb, 0}});
    // A skill naming itself is lowered once, not again through itself.
    EXPECT_EQ(rules.LowerSkill(nself, 2), 1);
    EXPECT_EQ(tree.Node(nself).level[0], 1);
    ExpectCountsMatchLevels(rules);
}

// ---- Lower -----------------------------------------------------------------------------

TEST_F(LowerSkill, DropsEveryDependentWhoseRequirementBreaks) {
    const int32_t a = tree.AddSkillNode(5, 0);
    const int32_t b = tree.AddSkillNode(5, 0, {{tree.SkillOf(a), 2}});
    const int32_t c = tree.AddSkillNode(5, 1, {{tree.SkillOf(b), 1}});
    const int32_t d = tree.AddSkillNode(5, 1, {{tree.SkillOf(a), 1}});
    const int32_t e = tree.AddSkillNode(5, 1, {{tree.SkillOf(c), 1}, {tree.SkillOf(a), 3}});
    tree.Open(rules);
    Raise(rules, a, 3);
    Raise(rules, b, 2);
    Raise(rules, c, 2);
    Raise(rules, d, 1);
    Raise(rules, e, 1);
    EXPECT_EQ(rules.m_nUsedPoints[1], 4);

    g_bModified = false;
    EXPECT_EQ(rules.LowerSkill(a, 1), 1);  // a at 2: b, c, d stay; e needed a at 3
    ExpectLevels(tree, {{b, 2}, {c, 2}, {e, 0}});
    EXPECT_TRUE(g_bModified);
    EXPECT_EQ(rules.LowerSkill(a, 1), 1);  // a at 1: b drops, then c through b
    ExpectLevels(tree, {{b, 0}, {c, 0}, {d, 1}});
    EXPECT_EQ(rules.m_nUsedPoints[0], 1);
    EXPECT_EQ(rules.m_nUsedPoints[1], 1);
    ExpectCountsMatchLevels(rules);

    // A lowering past 0 stops at 0.
    EXPECT_EQ(rules.LowerSkill(a, 7), 1);
    ExpectLevels(tree, {{a, 0}, {d, 0}});
    EXPECT_EQ(rules.LowerSkill(a, 1), -1);
    ExpectCountsMatchLevels(rules);
}

TEST_F(LowerSkill, NodeZeroOrLessMeansTheHoveredNode) {
    const int32_t a = tree.AddSkillNode(5, 0);
    tree.Open(rules);
    Raise(rules, a, 2);
    g_bModified = false;
    EXPECT_EQ(rules.LowerSkill(0, 1), 0);
    EXPECT_FALSE(g_bModified);
    rules.m_nHoverNode = a;
    EXPECT_EQ(rules.LowerSkill(0, 1), 1);
    EXPECT_EQ(rules.LowerSkill(-3, 0), 1);  // amount 0 still counts as a change
    EXPECT_EQ(tree.Node(a).level[0], 1);
    EXPECT_TRUE(g_bModified);
    EXPECT_EQ(rules.LowerSkill(0, -5), 1);  // a negative amount never raises
    EXPECT_EQ(tree.Node(a).level[0], 1);
}

// ---- Opening a job -------------------------------------------------------------------------

TEST_F(OpenJob, AnIdWithoutARecordBindsAndShowsNothing) {
    for (int32_t job : {NO_JOB, -1, 21, INT32_MAX}) rules.OpenJob(job);
    EXPECT_TRUE(view.calls.empty());
    EXPECT_FALSE(rules.HasJob());
    EXPECT_EQ(rules.m_nJob, NO_JOB);
    rules.OnClickedNextGrade();
    rules.OnClickedPrevGrade();
    rules.OnClickedSlot2();
    rules.OnClickedReset();
    EXPECT_EQ(rules.RaiseSkill(1), 0);
    EXPECT_EQ(rules.LowerSkill(1, 1), 0);
    EXPECT_TRUE(view.calls.empty());
    EXPECT_TRUE(scope.boxes.empty());
}

TEST_F(OpenJob, LaysOutForTheClampedGradeSetsCaptionsAndResetsTheHover) {
    SavedTreeBlock saved(3);
    SkillTreeNode* nodes = g_SkillTreeBlocks[3].nodes;
    g_nSelectedSlot[3] = 2;
    nodes[0].level[2] = 7;
    nodes[4].previewLevel = 3;
    rules.m_nHoverNode = 9;
    rules.OpenJob(3);
    EXPECT_EQ(rules.m_nJob, 3);
    EXPECT_EQ(rules.m_pNodes, nodes);
    EXPECT_EQ(rules.m_pPages, g_SkillTreeBlocks[3].pages);
    EXPECT_EQ(rules.CurrentGrade(), 3);
    EXPECT_EQ(nodes[0].level[2], 7);  // not written back
    EXPECT_EQ(rules.m_nHoverNode, -1);
    EXPECT_EQ(nodes[4].previewLevel, 0);
    ASSERT_EQ(view.calls.size(), 6u);
    EXPECT_EQ(view.calls[0], "layout 3");
    EXPECT_EQ(view.calls[5], "show");
    EXPECT_FALSE(g_bModified);
    EXPECT_TRUE(scope.boxes.empty());
}

TEST_F(OpenJob, CaptionsComeFromTheTextTable) {
    class CaptionView : public RecordingView {
    public:
        void SetControlCaption(int32_t id, const std::u16string& caption) override {
            captions.emplace_back(id, caption);
        }
        std::vector<std::pair<int32_t, std::u16string>> captions;
    } captionView;
    SkillTreeRules captionRules(&captionView);
    captionRules.OpenJob(0);
    const std::vector<std::pair<int32_t, std::u16string>> expected = {
        {IDC_SKILLTREE_CLOSE, GetLocalizedText(7)},
        {IDC_SKILLTREE_RESET, GetLocalizedText(6)},
        {IDC_SKILLTREE_NEXT_GRADE, GetLocalizedText(8)},
        {IDC_SKILLTREE_PREV_GRADE, GetLocalizedText(9)}};
    EXPECT_EQ(captionView.captions, expected);
}

// ---- Prerequisite preview -------------------------------------------------------------------------

TEST_F(MarkPrerequisites, TakesTheHighestRequirementOverAllPaths) {
    const int32_t y = tree.AddSkillNode(5, 0);
    const int32_t x = tree.AddSkillNode(5, 0, {{tree.SkillOf(y), 2}});
    const int32_t w = tree.AddSkillNode(5, 0, {{tree.SkillOf(y), 1}});
    const int32_t s =
        tree.AddSkillNode(5, 1, {{tree.SkillOf(x), 3}, {tree.SkillOf(y), 4}, {tree.SkillOf(w), 1}});
    const int32_t unrelated = tree.AddSkillNode(5, 1);
    tree.Open(rules);
    rules.MarkPrerequisites(rules.m_pNodes, tree.SkillOf(s));
    ExpectPreviews(tree, {{x, 3}, {y, 4}, {w, 1}, {s, 0}, {unrelated, 0}});
    EXPECT_EQ(rules.GetMissingPreviewLevels(), 8);
    SetLevels(tree, {{y, 5}, {x, 1}});
    EXPECT_EQ(rules.GetMissingPreviewLevels(), 3);

    // Hovering another node clears the old marks first; leaving clears node 0 too.
    tree.Node(0).previewLevel = 2;
    EXPECT_TRUE(rules.UpdateHover(x));
    ExpectPreviews(tree, {{y, 2}, {x, 0}, {0, 2}});
    EXPECT_FALSE(rules.UpdateHover(x));
    EXPECT_TRUE(rules.UpdateHover(-1));
    EXPECT_EQ(rules.m_nHoverNode, -1);
    ExpectPreviews(tree, {{y, 0}, {0, 0}});
    EXPECT_TRUE(scope.boxes.empty());
}

TEST_F(MarkPrerequisites, ReportsASelfReferenceAndEndsOnCyclesAndMissingNodes) {
    const int32_t orphan = tree.AddSkill(5);
    const int32_t a = tree.AddSkill(5);
    const int32_t b = tree.AddSkill(5);
    const int32_t na = tree.AddNode(a, 0, {{orphan, 3}, {b, 2}, {a, 1}, {b, 4}});
    const int32_t nb = tree.AddNode(b, 0, {{a, 5}});
    tree.Open(rules);
    rules.MarkPrerequisites(rules.m_pNodes, a);
    EXPECT_EQ(tree.Node(0).previewLevel, 0);   // the orphan has no node to mark
    EXPECT_EQ(tree.Node(nb).previewLevel, 2);  // the entry after the self-reference is not taken
    EXPECT_EQ(tree.Node(na).previewLevel, 5);
    ASSERT_EQ(scope.boxes.size(), 1u);
    EXPECT_EQ(scope.boxes[0], TreeBox(u"ERROR : recursive call.\n," + std::u16string(tree.skills[a].name[0]),
                                      u"Tolvemar", MbButtons::Ok, MbIcon::Exclamation));
    rules.MarkPrerequisites(nullptr, a);  // nothing to mark
}

// ---- Grades ----------------------------------------------------------------------------

TEST_F(Grades, NextGradeTwiceThenNothing) {
    tree.AddSkillNode(5, 0);
    tree.Open(rules);
    view.calls.clear();
    EXPECT_TRUE(rules.IsNextGradeEnabled(rules.CurrentGrade()));
    EXPECT_FALSE(rules.IsPrevGradeEnabled(rules.CurrentGrade()));
    rules.OnClickedNextGrade();
    rules.OnClickedNextGrade();
    EXPECT_EQ(rules.CurrentGrade(), 3);
    EXPECT_EQ(tree.Node(0).level[0], 3);
    EXPECT_FALSE(rules.IsNextGradeEnabled(3));
    EXPECT_TRUE(rules.IsPrevGradeEnabled(3));
    rules.OnClickedNextGrade();
    EXPECT_EQ(scope.jobGradeWrites, (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(view.calls, (std::vector<std::string>{"layout 2", "repaint", "layout 3", "repaint"}));
    EXPECT_FALSE(g_bModified);
}

TEST_F(Grades, SomeJobsNeverChangeGrade) {
    for (int32_t job : {14, 15, 18}) {
        tree = SyntheticTree(job, 0, 3, {49, 49, 20, 59});
        tree.Open(rules);
        EXPECT_FALSE(rules.IsNextGradeEnabled(1)) << job;
        EXPECT_FALSE(rules.IsPrevGradeEnabled(1)) << job;
    }
}

TEST_F(Grades, PrevGradeAtTheLowestGradeChangesNothing) {
    const int32_t a = tree.AddSkillNode(5, 0);
    tree.Open(rules);
    Raise(rules, a, 2);
    view.calls.clear();
    g_bModified = false;
    rules.OnClickedPrevGrade();
    EXPECT_TRUE(view.calls.empty());
    EXPECT_TRUE(scope.jobGradeWrites.empty());
    EXPECT_EQ(tree.Node(a).level[0], 2);
    EXPECT_FALSE(g_bModified);
}

// From grade 2 with 10 points on page 2 and 55 on page 1: page 2 is cleared,
// then page-1 nodes from the end of the list lose one level each until page 1
// holds 49; a dependent whose requirement breaks on the way drops to 0.
TEST_F(Grades, PrevGradeClearsTheHigherPageAndTrimsFromTheEnd) {
    const int32_t first = tree.AddSkillNode(10, 0);
    int32_t p[6];
    for (int32_t& node : p) node = tree.AddSkillNode(10, 1);
    const int32_t dependent = tree.AddSkillNode(10, 1, {{tree.SkillOf(p[5]), 6}});
    const int32_t advanced = tree.AddSkillNode(10, 2);
    tree.Open(rules);
    SetGrade(tree, 2);
    SetLevel(tree, first, 5);
    const int32_t levels[6] = {10, 10, 10, 10, 7, 6};
    for (int i = 0; i < 6; ++i) SetLevel(tree, p[i], levels[i]);
    SetLevels(tree, {{dependent, 2}, {advanced, 10}});
    SetLevel(tree, advanced, 4, 1);  // another build slot is left alone
    rules.RecountUsedPoints();
    view.calls.clear();

    rules.OnClickedPrevGrade();
    EXPECT_EQ(rules.CurrentGrade(), 1);
    EXPECT_EQ(tree.Node(advanced).level[0], 0);
    EXPECT_EQ(tree.Node(advanced).level[1], 4);
    const int32_t expected[6] = {10, 10, 9, 9, 6, 5};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(tree.Node(p[i]).level[0], expected[i]) << i;
    ExpectLevels(tree, {{dependent, 0}, {first, 5}});
    EXPECT_EQ(rules.HeaderUsedPoints(), 54);
    EXPECT_EQ(rules.HeaderPointLimit(), 98);
    EXPECT_EQ(scope.jobGradeWrites, std::vector<int32_t>{1});
    EXPECT_EQ(view.calls, std::vector<std::string>{"layout 1"});
    EXPECT_TRUE(g_bModified);
    ExpectCountsMatchLevels(rules);
}

TEST_F(Grades, ClearingTheHigherPagesMarksTheBuildsModified) {
    const int32_t advanced = tree.AddSkillNode(10, 2);
    const int32_t third = tree.AddSkillNode(10, 3);
    tree.Open(rules);
    SetGrade(tree, 2);
    SetLevel(tree, advanced, 3);
    SetLevel(tree, third, 4);  // damaged: a level above the grade
    rules.RecountUsedPoints();
    rules.OnClickedPrevGrade();
    ExpectLevels(tree, {{advanced, 0}, {third, 0}});
    EXPECT_TRUE(g_bModified);
    EXPECT_EQ(scope.lastTitle.substr(scope.lastTitle.size() - 2), u" *");
    ExpectCountsMatchLevels(rules);

    // With the higher page empty nothing is cleared and nothing is marked.
    g_bModified = false;
    rules.OnClickedNextGrade();
    SetLevel(tree, third, 2);
    rules.OnClickedPrevGrade();
    EXPECT_EQ(tree.Node(third).level[0], 2);
    EXPECT_FALSE(g_bModified);
}

TEST_F(Grades, TrimRepeatsUntilThePageFits) {
    tree = SyntheticTree(12, 0, 1, {98, 98, 0, 0});
    int32_t nodes[12];
    for (int32_t& node : nodes) node = tree.AddSkillNode(10, 0);
    tree.Open(rules);
    rules.OnClickedNextGrade();
    int raised = 0;
    for (int32_t node : nodes) raised += Raise(rules, node, 10);
    EXPECT_EQ(raised, 120);  // page 0 borrows page 1's points
    rules.OnClickedPrevGrade();
    EXPECT_EQ(rules.CurrentGrade(), 0);
    EXPECT_EQ(rules.HeaderUsedPoints(), 98);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(tree.Node(nodes[i]).level[0], i < 2 ? 9 : 8) << i;
    ExpectCountsMatchLevels(rules);
}

TEST_F(Grades, TrimChecksEveryRangeButLowersOnlyNodesThatHelp) {
    int32_t firsts[7];
    for (int32_t& node : firsts) node = tree.AddSkillNode(10, 0);
    int32_t seconds[6];
    for (int32_t& node : seconds) node = tree.AddSkillNode(10, 1);
    tree.Open(rules);
    SetGrade(tree, 2);

    // Page 1 over its own limit after "<<": page-0 skills cannot help.
    for (int i = 0; i < 2; ++i) SetLevel(tree, firsts[i], 10);
    for (int32_t node : seconds) SetLevel(tree, node, 10);
    rules.RecountUsedPoints();
    rules.OnClickedPrevGrade();
    EXPECT_EQ(rules.GetUsedOnPage(1), 49);
    ExpectLevels(tree, {{firsts[0], 10}, {firsts[1], 10}});

    // Page 1 fits but pages 0 and 1 together are over: both pages give.
    rules.OnClickedReset();
    rules.OnClickedNextGrade();
    for (int i = 0; i < 7; ++i) SetLevel(tree, firsts[i], i < 6 ? 10 : 9);
    for (int i = 0; i < 5; ++i) SetLevel(tree, seconds[i], i < 4 ? 10 : 9);
    rules.RecountUsedPoints();
    EXPECT_EQ(rules.HeaderUsedPoints(), 118);
    rules.OnClickedPrevGrade();
    EXPECT_EQ(rules.HeaderUsedPoints(), 98);
    EXPECT_EQ(rules.HeaderPointLimit(), 98);
    EXPECT_LT(rules.m_nUsedPoints[0], 69);
    ExpectCountsMatchLevels(rules);
}

// ---- Build slots and reset ---------------------------------------------------------------

TEST_F(BuildSlots, EachSlotShowsItsOwnLevelsAndGrade) {
    tree = MakeJob(7);
    const int32_t a = tree.AddSkillNode(10, 0);
    const int32_t b = tree.AddSkillNode(10, 1);
    SetLevel(tree, a, 4, 0);
    SetLevel(tree, a, 2, 1);
    SetLevel(tree, b, 6, 1);
    SetGrade(tree, 9, 1);  // stored out of range
    tree.Open(rules);
    view.calls.clear();

    rules.OnClickedSlot2();
    EXPECT_EQ(g_nSelectedSlot[7], 1);
    EXPECT_EQ(tree.Node(0).level[1], 3);  // written back clamped
    EXPECT_EQ(rules.CurrentGrade(), 3);
    EXPECT_EQ(rules.m_nUsedPoints[0], 2);
    EXPECT_EQ(rules.m_nUsedPoints[1], 6);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"layout 3", "check 1060 0", "check 1062 1",
                                                    "check 1064 0", "repaint"}));
    view.calls.clear();
    rules.OnClickedSlot1();
    EXPECT_EQ(rules.CurrentGrade(), 1);
    EXPECT_EQ(rules.m_nUsedPoints[0], 4);
    EXPECT_EQ(view.calls.front(), "layout 1");
    view.calls.clear();
    rules.OnClickedSlot3();
    EXPECT_EQ(view.calls.front(), "check 1060 0");  // same grade: no new layout
    EXPECT_EQ(rules.m_nUsedPoints[0], 0);
    EXPECT_FALSE(g_bModified);
    EXPECT_TRUE(scope.jobGradeWrites.empty());
}

TEST_F(Reset, ClearsTheCurrentSlotAfterAYes) {
    const int32_t a = tree.AddSkillNode(10, 0);
    const int32_t third = tree.AddSkillNode(10, 3);
    tree.Open(rules);
    SetGrade(tree, 2);
    SetLevels(tree, {{a, 4}, {third, 2}});
    SetLevel(tree, a, 5, 1);
    rules.RecountUsedPoints();
    view.calls.clear();

    scope.answer = MbResult::No;
    rules.OnClickedReset();
    EXPECT_EQ(tree.Node(a).level[0], 4);
    EXPECT_TRUE(view.calls.empty());
    ASSERT_EQ(scope.boxes.size(), 1u);
    EXPECT_EQ(scope.boxes[0],
              TreeBox(u"데이터들을 초기화하시겠습니까?", u"Tolvemar", MbButtons::YesNo, MbIcon::Question));

    scope.answer = MbResult::Yes;
    rules.OnClickedReset();
    ExpectLevels(tree, {{a, 0}, {third, 0}, {0, 2}});
    EXPECT_EQ(tree.Node(a).level[1], 5);
    EXPECT_EQ(rules.m_nUsedPoints[0], 0);
    EXPECT_TRUE(g_bModified);
    EXPECT_EQ(view.calls, std::vector<std::string>{"repaint"});

    g_bModified = false;
    rules.OnClickedReset();
    EXPECT_FALSE(g_bModified);
}

// ---- Drawing helpers ---------------------------------------------------------------------------

TEST_F(VisibleNodes, EndAtTheListEndOrTheFirstHiddenPage) {
    tree.AddSkillNode(5, 0);
    const int32_t second = tree.AddSkillNode(5, 1);
    const int32_t advanced = tree.AddSkillNode(5, 2);
    tree.Open(rules);
    EXPECT_EQ(rules.VisibleNodeCount(), 2);
    SetGrade(tree, 3);
    EXPECT_EQ(rules.VisibleNodeCount(), 3);
    // The hit box is the icon plus one column right and one row below.
    const SkillTreeNode& node = tree.Node(second);
    const int32_t x = 64 * node.column + 53;
    const int32_t y = 64 * node.row + 170;
    EXPECT_EQ(rules.HitTestNode(x, y), second);
    EXPECT_EQ(rules.HitTestNode(x + 24, y + 24), second);
    EXPECT_EQ(rules.HitTestNode(x + 25, y), -1);
    EXPECT_EQ(rules.HitTestNode(x, y - 1), -1);
    // A node of a page above the grade is never hit.
    const int32_t ax = 64 * tree.Node(advanced).column + 53;
    EXPECT_EQ(rules.HitTestNode(ax, y), advanced);
    SetGrade(tree, 1);
    EXPECT_EQ(rules.HitTestNode(ax, y), -1);
}

}  // namespace
