#include "persistence/builds.h"

#include "data/lookups.h"
#include "persistence/build_state.h"

LevelCaps CurrentLevelCaps() {
    LevelCaps caps;
    for (int32_t job = 0; job < kJobCount; ++job) {
        const JobRecord* record = FindJobRecord(job);
        if (!record || !record->nodes) continue;
        for (int32_t n = 1; n < kNodeCount; ++n) {
            const int32_t skill = record->nodes[n].skill;
            if (skill == 0) break;  // the list ends; the rest stay at 0
            if (skill >= 1 && skill < kSkillCount) {
                const int32_t max = SkillAt(skill).maxLevel;
                caps.jobs[job].maxLevel[n] = max > 0 ? max : 0;
            }
        }
    }
    return caps;
}

AllBuilds CaptureBuilds() {
    AllBuilds builds;
    for (int32_t job = 0; job < kJobCount; ++job) {
        JobBuilds& out = builds.jobs[job];
        out.selectedSlot = g_nSelectedSlot[job];
        const JobRecord* record = FindJobRecord(job);
        if (!record || !record->nodes) continue;
        for (int32_t s = 0; s < kSlotCount; ++s) {
            for (int32_t n = 0; n < kNodeCount; ++n) out.level[s][n] = record->nodes[n].level[s];
        }
    }
    return builds;
}

void ApplyJobBuilds(int32_t job, const JobBuilds& builds) {
    if (job < 0 || job >= kJobCount) return;
    g_nSelectedSlot[job] = SanitizeSlot(builds.selectedSlot);
    const JobRecord* record = FindJobRecord(job);
    if (!record || !record->nodes) return;
    // Only levels that change are written: the trees are one large table of
    // the program image, and the first write to each of its pages costs a
    // page copy, which at start-up touched every page of every tree.
    for (int32_t n = 0; n < kNodeCount; ++n) {
        int32_t* level = record->nodes[n].level;
        for (int32_t s = 0; s < kSlotCount; ++s) {
            if (level[s] != builds.level[s][n]) level[s] = builds.level[s][n];
        }
    }
}
