// The kill loop of the crash-safe saving tests: the child saves generation
// after generation and is killed at random moments; after every kill the
// store must hold exactly the last save that completed or the one that was
// under way, whole.
#pragma once

#include "kill_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <optional>

namespace kill_test {

struct KillStats {
    int kills = 0;
    int previousSave = 0;  // the store held the last save that had completed
    int newSave = 0;       // the store held the save under way at the kill
    int saves = 0;         // saves completed in all runs
    unsigned maxDelayMicroseconds = 0;
};

// Kills wanted: 200, or TOLVEMAR_KILLS for longer runs by hand.
inline int KillCount() {
    const char* text = std::getenv("TOLVEMAR_KILLS");
    const int count = text ? std::atoi(text) : 0;
    return count > 0 ? count : 200;
}

// `load` reads the builds the store holds after a kill (nullopt when it holds
// no whole, valid copy); it adds its own failures for what it checks.
inline KillStats RunKillLoop(const std::string& mode, const std::string& path,
                             const std::function<std::optional<AllBuilds>()>& load) {
    KillStats stats;
    // A first run that completes one save creates the store. A second run,
    // which starts after a kill as every later one does, sets the range of
    // the kill moments: the time it took to complete three saves.
    ChildRun run = RunAndKill(TOLVEMAR_KILL_CHILD, {mode, path, "0"}, 0, 1);
    if (!run.reported.empty()) {
        run = RunAndKill(TOLVEMAR_KILL_CHILD, {mode, path, std::to_string(run.reported.back() + 1)}, 0, 3);
    }
    EXPECT_GE(run.reported.size(), 3u) << "the child did not save (exit status " << run.exitStatus << ")";
    if (run.reported.size() < 3) return stats;
    stats.maxDelayMicroseconds = std::clamp(static_cast<unsigned>(run.savingTime.count()), 1000u, 200000u);

    int64_t onDisk = -1;
    std::mt19937 rng(20261208);
    std::uniform_int_distribution<unsigned> delay(0, stats.maxDelayMicroseconds);
    std::optional<AllBuilds> stored = load();
    for (int64_t g = run.reported.back(); g <= run.reported.back() + 1 && stored; ++g) {
        if (*stored == GenerationBuilds(g)) onDisk = g;
    }
    EXPECT_GE(onDisk, 0) << "the first saves left no recognisable copy";
    if (onDisk < 0) return stats;

    for (int kill = 0; kill < KillCount(); ++kill) {
        run = RunAndKill(TOLVEMAR_KILL_CHILD, {mode, path, std::to_string(onDisk + 1)}, delay(rng));
        EXPECT_TRUE(run.killedBySignal) << "kill " << kill << ": exit status " << run.exitStatus;
        stats.saves += static_cast<int>(run.reported.size());
        const int64_t lastDone = run.reported.empty() ? onDisk : run.reported.back();
        stored = load();
        if (!stored) {
            ADD_FAILURE() << "kill " << kill << ": no whole copy in the store";
            return stats;
        }
        if (*stored == GenerationBuilds(lastDone)) {
            ++stats.previousSave;
            onDisk = lastDone;
        } else if (*stored == GenerationBuilds(lastDone + 1)) {
            ++stats.newSave;
            onDisk = lastDone + 1;
        } else {
            ADD_FAILURE() << "kill " << kill << ": the store holds neither save " << lastDone << " nor save "
                          << lastDone + 1;
            return stats;
        }
        ++stats.kills;
    }
    std::cout << "[ kills    ] " << mode << ": " << stats.kills << " kills, " << stats.previousSave
              << " left the previous save, " << stats.newSave << " the new one; " << stats.saves
              << " saves completed; kill moments 0.." << stats.maxDelayMicroseconds << " us\n";
    return stats;
}

}  // namespace kill_test
