// A copy of every job's builds, taken from or applied to the job trees and
// the selected build slots. Readers decode into a copy first and apply it
// only once the input has been checked.
#pragma once

#include "data/tables.h"

#include <cstdint>

// One job: its selected build slot and the level of every tree node in each
// build slot. Node 0 holds the build slot's grade.
struct JobBuilds {
    int32_t selectedSlot = 0;
    int32_t level[kSlotCount][kNodeCount] = {};
    bool operator==(const JobBuilds&) const = default;
};

struct AllBuilds {
    JobBuilds jobs[kJobCount];
    bool operator==(const AllBuilds&) const = default;
};

// The highest level each node of a job's tree may hold: the skill's maximum
// level for the nodes of the list, 0 for nodes past its end (the first node
// after node 0 whose skill is 0) and for nodes that name no valid skill.
// Entry 0 is unused (node 0 holds a grade).
struct JobLevelCaps {
    int32_t maxLevel[kNodeCount] = {};
};

struct LevelCaps {
    JobLevelCaps jobs[kJobCount];
};

// The caps of the compiled-in tables.
LevelCaps CurrentLevelCaps();

// Copies the builds of every job out of the job trees and g_nSelectedSlot.
AllBuilds CaptureBuilds();

// Writes one job's builds into its tree and its g_nSelectedSlot entry.
// Nothing for a job id outside 0..19.
void ApplyJobBuilds(int32_t job, const JobBuilds& builds);

// A node level brought into 0..cap.
inline int32_t ClampLevel(int32_t level, int32_t cap) {
    if (level < 0) return 0;
    return level > cap ? cap : level;
}

// A build slot read from outside: 0..2 as it is, anything else 0.
inline int32_t SanitizeSlot(int32_t slot) { return (slot >= 0 && slot < kSlotCount) ? slot : 0; }
