// Random walks over the rules: thousands of raises, lowerings, hovers, grade,
// slot and reset steps, checking after each step that the counters match a
// recount, every level lies within its skill's range and no range of pages
// spends more than it grants.
#include "skilltree/skill_tree_rules.h"

#include "data/lookups.h"
#include "support/skill_tree_fixture.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// Empty string when all holds, else what broke.
std::string CheckInvariants(SkillTreeRules& rules) {
    const int32_t slot = rules.CurrentSlot();
    const int32_t grade = rules.CurrentGrade();
    int64_t used[kPageCount] = {};
    for (int32_t i = 1; i < kNodeCount; ++i) {
        const SkillTreeNode& node = rules.m_pNodes[i];
        if (node.page >= 0 && node.page < kPageCount) used[node.page] += node.level[slot];
        if (node.skill == 0) {
            if (node.level[slot] != 0) return "level on a node without skill " + std::to_string(i);
            continue;
        }
        const int32_t level = node.level[slot];
        if (level < 0 || level > rules.MaxLevelOf(node.skill)) {
            return "node " + std::to_string(i) + " at level " + std::to_string(level);
        }
        if (node.page > grade && level != 0) return "level above the grade on node " + std::to_string(i);
    }
    for (int32_t p = 0; p < kPageCount; ++p) {
        if (used[p] != rules.m_nUsedPoints[p]) return "count of page " + std::to_string(p);
    }
    const JobRecord& job = *rules.Job();
    for (int32_t first : {0, 1, 3}) {
        if (first > grade) continue;
        int64_t spent = 0;
        int64_t granted = 0;
        for (int32_t k = first; k <= grade; ++k) {
            spent += used[k];
            granted += job.pointLimit[k];
        }
        if (spent > granted) return "pages from " + std::to_string(first) + " overspent";
    }
    if (rules.HeaderUsedPoints() > rules.HeaderPointLimit()) return "header over its limit";
    return {};
}

// Runs `steps` random steps on the bound job; returns the first broken
// invariant with the step that broke it.
std::string RandomWalk(SkillTreeRules& rules, RulesTestScope& scope, uint32_t seed, int steps) {
    std::mt19937 random(seed);
    auto pick = [&](int32_t low, int32_t high) {
        return std::uniform_int_distribution<int32_t>(low, high)(random);
    };
    int32_t listEnd = 1;
    while (listEnd < kNodeCount && rules.m_pNodes[listEnd].skill != 0) ++listEnd;

    for (int step = 0; step < steps; ++step) {
        const int32_t visible = rules.VisibleNodeCount();
        const int32_t any = pick(1, std::max(listEnd - 1, 1));
        const int32_t shown = visible > 0 ? pick(1, visible) : -1;
        std::string what;
        switch (pick(0, 19)) {
        case 0:
        case 1:
        case 2:
            rules.UpdateHover(pick(0, 4) == 0 ? -1 : shown);
            what = "hover";
            break;
        case 3:
        case 4:
        case 5:
        case 6:
        case 7:
            if (rules.m_nHoverNode > 0) rules.RaiseSkill(rules.m_nHoverNode);
            what = "click";
            break;
        case 8:
        case 9:
            rules.RaiseSkill(any);
            what = "raise " + std::to_string(any);
            break;
        case 10:
        case 11:
            rules.LowerSkill(0, 1);
            what = "right click";
            break;
        case 12:
            rules.LowerSkill(any, pick(0, 3));
            what = "lower " + std::to_string(any);
            break;
        case 13:
        case 14:
            rules.OnClickedNextGrade();
            what = "next grade";
            break;
        case 15:
        case 16:
            rules.OnClickedPrevGrade();
            what = "previous grade";
            break;
        case 17:
            rules.SelectSlot(pick(0, 2));
            what = "slot";
            break;
        case 18:
            scope.answer = pick(0, 3) == 0 ? MbResult::Yes : MbResult::No;
            rules.OnClickedReset();
            what = "reset";
            break;
        default:
            g_Options.AutoChange = !g_Options.AutoChange;
            what = "AutoChange";
            break;
        }
        if (scope.boxes.size() > 1000) scope.boxes.clear();
        const std::string broken = CheckInvariants(rules);
        if (!broken.empty()) return "step " + std::to_string(step) + " (" + what + "): " + broken;
    }
    return {};
}

// A random tree: pages in list order, prerequisites on earlier nodes, now
// and then the odd requirements of the shipped data (level 0 of a skill with
// no levels, a level above the prerequisite's maximum).
SyntheticTree RandomTree(uint32_t seed) {
    std::mt19937 random(seed);
    auto pick = [&](int32_t low, int32_t high) {
        return std::uniform_int_distribution<int32_t>(low, high)(random);
    };
    SyntheticTree tree(pick(0, 11), pick(0, 1), 3, {pick(3, 40), pick(3, 40), pick(0, 20), pick(3, 50)});
    const int32_t count = pick(5, 80);
    int32_t page = 0;
    for (int32_t n = 1; n <= count; ++n) {
        if (pick(0, count / 4) == 0 && page < 3) ++page;
        const int32_t maxLevels[] = {0, 1, 2, 3, 4, 5, 7, 10};
        const int32_t skill = tree.AddSkill(maxLevels[pick(n == 1 ? 1 : 0, 7)]);
        const int32_t node = tree.AddNode(skill, page);
        const int32_t entries = n > 1 ? pick(0, 5) : 0;
        for (int32_t e = 0; e < entries; ++e) {
            const int32_t target = pick(1, node - 1);
            const int32_t targetMax = tree.skills[tree.SkillOf(target)].maxLevel;
            int32_t required = targetMax > 0 ? pick(1, targetMax) : 0;
            if (pick(0, 30) == 0) required = targetMax + 2;
            tree.Node(node).prereq[e].skill = tree.SkillOf(target);
            tree.Node(node).prereq[e].requiredLevel = required;
        }
    }
    return tree;
}

TEST(SkillTreeRandomWalk, SyntheticTreesKeepTheirInvariants) {
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        RulesTestScope scope;
        SyntheticTree tree = RandomTree(seed);
        SkillTreeRules rules;
        tree.Open(rules);
        EXPECT_EQ(RandomWalk(rules, scope, seed, 3000), "") << "seed " << seed;
    }
}

TEST(SkillTreeRandomWalk, EveryRealTreeKeepsItsInvariants) {
    for (const JobRecord& job : g_JobTable) {
        RulesTestScope scope;
        SavedTreeBlock saved(job.id);
        SkillTreeRules rules;
        rules.OpenJob(job.id);
        for (uint32_t seed = 1; seed <= 3; ++seed) {
            EXPECT_EQ(RandomWalk(rules, scope, seed * 1000 + job.id, 3000), "") << "job " << job.id;
        }
    }
}

}  // namespace
