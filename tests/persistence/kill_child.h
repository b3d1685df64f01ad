// The two children of the crash-safe saving tests: kill_child.cpp saves to a
// save file (window-free, for the core's tests) and qt/kill_child_profile.cpp
// to the profile file (over the Qt INI store, for the Qt layer's tests).
//
//   tolvemar_kill_child file PATH FIRST             the builds go to the save file PATH
//   tolvemar_kill_child_profile profile PATH FIRST  the builds go to the profile file PATH
//
// Each saves all builds over and over through SaveBuilds, as the program does
// at exit, until it is killed. Generation FIRST, FIRST + 1, ... is saved in
// turn; the number of each save that completed goes to the standard output
// (see kill_support.h). Any message box means a save failed: the child then
// exits with status 3.
#pragma once

#include "kill_support.h"

#include "persistence/build_state.h"
#include "persistence/build_store.h"
#include "platform/message_box.h"
#include "shell/options.h"

#include <cstdlib>

namespace kill_test {

inline void Report(int64_t value) {
    if (::write(STDOUT_FILENO, &value, sizeof value) != sizeof value) std::_Exit(4);
}

// The options the children save under; set before the store is chosen.
inline void PrepareChild() {
    SetMessageBoxHandler([](const MessageBoxRequest&) -> MbResult { std::_Exit(3); });
    g_Options.AutoSave = 1;
    g_Options.Language = 0;
}

// Saves generation after generation into the store chosen, until killed.
// The store is read first, as the program reads it at start.
[[noreturn]] inline void SaveUntilKilled(int64_t generation) {
    LoadBuilds();
    Report(kReady);
    for (;; ++generation) {
        const AllBuilds builds = GenerationBuilds(generation);
        for (int32_t job = 0; job < kJobCount; ++job) ApplyJobBuilds(job, builds.jobs[job]);
        g_bModified = true;
        if (!SaveBuilds()) std::_Exit(3);
        Report(generation);
    }
}

}  // namespace kill_test
