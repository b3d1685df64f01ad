// Shared pieces of the fuzz targets: a fixed set of builds to start each input
// from, and the checks that every loaded state must pass. The checks read the
// tables directly rather than through the code under test.
#pragma once

#include "data/lookups.h"
#include "persistence/build_state.h"
#include "persistence/builds.h"
#include "skilltree/skill_tree_rules.h"

#include "fuzz_check.h"

namespace fuzz {

// The highest level each node of a job may hold: its skill's maximum level
// for the nodes before the first empty one, 0 past it (entry 0 unused).
struct NodeCaps {
    int32_t cap[kNodeCount] = {};
};

inline NodeCaps CapsOf(const SkillTreeNode* nodes) {
    NodeCaps caps;
    for (int32_t n = 1; n < kNodeCount && nodes[n].skill != 0; ++n) {
        const int32_t skill = nodes[n].skill;
        caps.cap[n] = (skill >= 1 && skill < kSkillCount) ? g_SkillTable[skill].maxLevel : 0;
    }
    return caps;
}

// Valid builds with levels on most nodes, so that an input that must change
// nothing can be told from one that reset everything.
inline AllBuilds Baseline() {
    AllBuilds builds;
    for (int32_t job = 0; job < kJobCount; ++job) {
        JobBuilds& jb = builds.jobs[job];
        jb.selectedSlot = job % kSlotCount;
        const NodeCaps caps = CapsOf(FindJobRecord(job)->nodes);
        for (int32_t s = 0; s < kSlotCount; ++s) {
            jb.level[s][0] = ClampJobGrade(job, 4 - s);
            for (int32_t n = 1; n < kNodeCount; ++n) {
                const int32_t cap = caps.cap[n];
                jb.level[s][n] = cap == 0 ? 0 : 1 + (job + s + n) % cap;
            }
        }
    }
    return builds;
}

inline void ApplyAll(const AllBuilds& builds) {
    for (int32_t job = 0; job < kJobCount; ++job) ApplyJobBuilds(job, builds.jobs[job]);
}

// Every job's builds in the trees are within range: selected slot 0..2, slot
// grades 0..15 and read within the job's grades, levels 0..cap of their node
// (0 past the end of the node list). Then each job opens in the rules, whose
// figures must come out in range.
inline void CheckLoadedBuilds() {
    for (int32_t job = 0; job < kJobCount; ++job) {
        FUZZ_CHECK(g_nSelectedSlot[job] >= 0 && g_nSelectedSlot[job] < kSlotCount, job, g_nSelectedSlot[job]);
        const JobRecord* record = FindJobRecord(job);
        FUZZ_CHECK(record != nullptr && record->nodes != nullptr, job);
        const SkillTreeNode* nodes = record->nodes;
        const NodeCaps caps = CapsOf(nodes);
        for (int32_t s = 0; s < kSlotCount; ++s) {
            FUZZ_CHECK(nodes[0].level[s] >= 0 && nodes[0].level[s] <= 15, job, s, nodes[0].level[s]);
            const int32_t grade = GetSlotGrade(job, s);
            FUZZ_CHECK(grade >= record->minGrade && grade <= record->maxGrade, job, s, grade);
            for (int32_t n = 1; n < kNodeCount; ++n) {
                const int32_t level = nodes[n].level[s];
                FUZZ_CHECK(level >= 0 && level <= caps.cap[n], job, n, level);
            }
        }
    }
    SkillTreeRules rules;
    for (int32_t job = 0; job < kJobCount; ++job) {
        rules.OpenJob(job);
        const int32_t grade = rules.CurrentGrade();
        FUZZ_CHECK(grade >= 0 && grade <= 3, job, grade);
        FUZZ_CHECK(rules.CurrentSlot() == g_nSelectedSlot[job], job);
        for (int32_t page = 0; page < kPageCount; ++page) {
            FUZZ_CHECK(rules.m_nUsedPoints[page] >= 0, job, page);
            (void)rules.GetRemainingFrom(page);
            (void)rules.GetTitleJobLevel(page);
        }
        FUZZ_CHECK(rules.HeaderUsedPoints() >= 0, job);
        FUZZ_CHECK(rules.VisibleNodeCount() >= 0 && rules.VisibleNodeCount() < kNodeCount, job);
    }
}

}  // namespace fuzz
