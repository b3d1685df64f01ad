// Costs of the skill tree rules: a raise that first raises a long chain of
// prerequisites, a lowering that drops a whole chain of dependents, and the
// prerequisite preview of every skill of the largest tree.
#include "data/lookups.h"
#include "data/tables.h"
#include "persistence/build_state.h"
#include "skilltree/skill_tree_rules.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int32_t kChainLength = 60;
constexpr int32_t kChainLevel = 5;

// A job whose nodes 1..60 form one chain on page 0: node i needs node i-1 at
// level 5, and every skill has five levels.
struct ChainTree {
    ChainTree() : block(std::make_unique<SkillTreeBlock>()) {
        *block = SkillTreeBlock{};
        skills.resize(kChainLength + 1);
        for (int32_t i = 0; i <= kChainLength; ++i) {
            skills[i] = SkillRecord{};
            skills[i].index = i;
            skills[i].maxLevel = i == 0 ? 0 : kChainLevel;
        }
        for (int32_t i = 1; i <= kChainLength; ++i) {
            SkillTreeNode& node = block->nodes[i];
            node.skill = i;
            node.column = i % 8;
            node.row = i / 8;
            if (i > 1) {
                node.prereq[0].skill = i - 1;
                node.prereq[0].requiredLevel = kChainLevel;
            }
        }
        record.id = 0;
        record.minGrade = 0;
        record.maxGrade = 3;
        record.nodes = block->nodes;
        record.pages = block->pages;
        for (int32_t& limit : record.pointLimit) limit = 1000;
        block->nodes[0].level[0] = 3;
    }

    void Open(SkillTreeRules& rules) {
        rules.SetSkillTable(skills.data(), static_cast<int32_t>(skills.size()));
        rules.OpenJobRecord(record);
    }

    void SetAll(int32_t level) {
        for (int32_t i = 1; i <= kChainLength; ++i) block->nodes[i].level[0] = level;
    }

    std::unique_ptr<SkillTreeBlock> block;
    JobRecord record{};
    std::vector<SkillRecord> skills;
};

void BM_RaiseSkillWithPrerequisiteChain(benchmark::State& state) {
    ChainTree tree;
    SkillTreeRules rules;
    tree.Open(rules);
    for (auto _ : state) {
        tree.SetAll(0);
        rules.RecountUsedPoints();
        benchmark::DoNotOptimize(rules.RaiseSkill(kChainLength));
    }
    state.counters["levels raised"] = static_cast<double>(rules.GetUsedOnPage(0));
}
BENCHMARK(BM_RaiseSkillWithPrerequisiteChain)->Unit(benchmark::kMicrosecond);

void BM_LowerSkillFullCascade(benchmark::State& state) {
    ChainTree tree;
    SkillTreeRules rules;
    tree.Open(rules);
    for (auto _ : state) {
        tree.SetAll(kChainLevel);
        rules.RecountUsedPoints();
        benchmark::DoNotOptimize(rules.LowerSkill(1, kChainLevel));
    }
    state.counters["points left"] = static_cast<double>(rules.GetUsedOnPage(0));
}
BENCHMARK(BM_LowerSkillFullCascade)->Unit(benchmark::kMicrosecond);

// The job with the most skill nodes.
int32_t LargestJob() {
    int32_t best = 0;
    int32_t bestCount = -1;
    for (const JobRecord& job : g_JobTable) {
        int32_t count = 0;
        while (count + 1 < kNodeCount && job.nodes[count + 1].skill != 0) ++count;
        if (count > bestCount) {
            best = job.id;
            bestCount = count;
        }
    }
    return best;
}

// One hover change per visible skill of the largest tree (at its highest
// grade): clear the preview levels, then mark the hovered skill's needs.
void BM_MarkPrerequisitesLargestTree(benchmark::State& state) {
    const int32_t job = LargestJob();
    const JobRecord* record = FindJobRecord(job);
    SkillTreeNode saved = record->nodes[0];
    record->nodes[0].level[g_nSelectedSlot[job]] = record->maxGrade;
    SkillTreeRules rules;
    rules.OpenJob(job);
    const int32_t visible = rules.VisibleNodeCount();
    for (auto _ : state) {
        for (int32_t i = 1; i <= visible; ++i) {
            rules.ClearPreviewLevels(false);
            rules.MarkPrerequisites(rules.m_pNodes, rules.m_pNodes[i].skill);
        }
        benchmark::ClobberMemory();
    }
    state.counters["job"] = job;
    state.counters["skills hovered"] = visible;
    rules.ClearPreviewLevels(true);
    record->nodes[0] = saved;
}
BENCHMARK(BM_MarkPrerequisitesLargestTree)->Unit(benchmark::kMicrosecond);

}  // namespace
