// Crash-safe saving of the save file: a child saves all builds over and over
// and is killed at random moments; the file must always be one whole save.
#include "kill_loop.h"

#include "persistence/save_data.h"
#include "persistence_test_support.h"

#include <filesystem>

using namespace persist_test;

namespace {

class CrashSafeSaveTest : public PersistenceTest {};

TEST_F(CrashSafeSaveTest, AKilledSaveLeavesThePreviousOrTheNewWholeFile) {
    const std::filesystem::path file = dir_ / "builds.tvf";
    const auto load = [&]() -> std::optional<AllBuilds> {
        const std::vector<uint8_t> bytes = ReadBytes(file);
        EXPECT_EQ(bytes.size(), kSaveFileSize);
        // Loaded the way the program loads it, into the trees.
        ApplyAll(AllBuilds{});
        const SaveFileLoad loaded = CSaveData().LoadFile(Wide(file.string()));
        EXPECT_EQ(loaded.status, SaveFileStatus::Ok);
        if (loaded.status != SaveFileStatus::Ok) return std::nullopt;
        EXPECT_EQ(loaded.Packed(), 18);  // SaveBuilds names job 18, slot 0
        return CaptureBuilds();
    };
    const kill_test::KillStats stats = kill_test::RunKillLoop("file", file.string(), load);
    EXPECT_EQ(stats.kills, kill_test::KillCount());
    // Nothing but the file and the temporary files of killed saves.
    int leftovers = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
        if (entry.path() == file) continue;
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name.rfind(".builds.tvf.", 0) == 0 && name.ends_with(".tmp")) << name;
        ++leftovers;
    }
    RecordProperty("kills", stats.kills);
    RecordProperty("previous", stats.previousSave);
    RecordProperty("new", stats.newSave);
    RecordProperty("leftover_temporary_files", leftovers);
    std::cout << "[ kills    ] " << leftovers << " temporary files left by killed saves\n";
}

}  // namespace
