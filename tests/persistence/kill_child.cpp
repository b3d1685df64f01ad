// The child process of the crash-safe saving tests: saves all builds over and
// over through SaveBuilds, as the program does at exit, until it is killed.
//
//   tolvemar_kill_child file PATH FIRST     the builds go to the save file PATH
//   tolvemar_kill_child profile PATH FIRST  the builds go to the profile file PATH
//
// Generation FIRST, FIRST + 1, ... is saved in turn; the number of each save
// that completed goes to the standard output (see kill_support.h). Any message
// box means a save failed: the child then exits with status 3.
#include "kill_support.h"

#include "persistence/build_state.h"
#include "persistence/build_store.h"
#include "platform/file_io.h"
#include "platform/message_box.h"
#include "platform/qt/ini_profile_store.h"
#include "shell/options.h"
#include "shell/profile_store.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

void Report(int64_t value) {
    if (::write(STDOUT_FILENO, &value, sizeof value) != sizeof value) std::_Exit(4);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    const bool toFile = std::strcmp(argv[1], "file") == 0;
    const std::string path = argv[2];
    int64_t generation = std::strtoll(argv[3], nullptr, 10);

    SetMessageBoxHandler([](const MessageBoxRequest&) -> MbResult { std::_Exit(3); });
    g_Options.AutoSave = 1;
    g_Options.Language = 0;
    std::unique_ptr<IniProfileStore> profile;
    if (toFile) {
        g_bSaveFileOpen = true;
        g_szSaveFilePath = Utf8ToUtf16(path);
    } else {
        profile = std::make_unique<IniProfileStore>(QString::fromStdString(path));
        SetProfileStore(profile.get());
    }
    Report(kill_test::kReady);
    for (;; ++generation) {
        const AllBuilds builds = kill_test::GenerationBuilds(generation);
        for (int32_t job = 0; job < kJobCount; ++job) ApplyJobBuilds(job, builds.jobs[job]);
        g_bModified = true;
        if (!SaveBuilds()) return 3;
        Report(generation);
    }
}
