#include "persistence/build_store.h"

#include "persistence/save_data.h"
#include "persistence_test_support.h"

using namespace persist_test;

namespace {

class BuildStoreTest : public PersistenceTest {
protected:
    MessageBoxRequest AskSave() const {
        return Box(MbOwner::Application, u"저장할까요?", u"Tolvemar", MbButtons::YesNoCancel,
                   MbIcon::Question);
    }
    MessageBoxRequest AskContinue() const {
        return Box(MbOwner::Application, u"저장하지 못했습니다. 저장하지 않고 계속할까요?", u"Tolvemar",
                   MbButtons::YesNo, MbIcon::Question);
    }
};

TEST_F(BuildStoreTest, SaveBuildsAsksOnlyForUnsavedChangesWithoutAutoSave) {
    for (int autoSave : {0, 1}) {
        for (bool modified : {false, true}) {
            for (MbResult answer : {MbResult::Yes, MbResult::No, MbResult::Cancel}) {
                SCOPED_TRACE(testing::Message() << autoSave << modified << static_cast<int>(answer));
                g_Options.AutoSave = static_cast<uint8_t>(autoSave);
                g_bModified = modified;
                const bool asks = modified && !autoSave;
                if (asks) answers_.push_back(answer);
                boxes_.clear();
                profile_.writeCount = 0;
                const bool result = SaveBuilds();
                EXPECT_EQ(boxes_.size(), asks ? 1u : 0u);
                if (asks) {
                    EXPECT_EQ(boxes_[0], AskSave());
                }
                const bool writes = !asks || answer == MbResult::Yes;
                EXPECT_EQ(profile_.writeCount, writes ? 80 : 0);
                EXPECT_EQ(result, !(asks && answer == MbResult::Cancel));
                EXPECT_EQ(g_bModified, modified);  // never changed by the store
                if (!asks) break;                  // the answer does not matter
            }
        }
    }
}

TEST_F(BuildStoreTest, SaveBuildsWritesTheFileInUseWithAutorunJobEighteen) {
    g_Options.SaveToFile = 1;
    ASSERT_TRUE(LoadBuilds());
    EXPECT_EQ(g_szSaveFilePath, Wide((dir_ / "Tolvemar.sav").string()));
    ApplyAll(RandomValidBuilds(6, CurrentLevelCaps()));
    ASSERT_TRUE(SaveBuilds());
    ExpectSaveFileAutorun(dir_ / "Tolvemar.sav", 18, 0);
    EXPECT_EQ(profile_.writeCount, 0);

    // The path stays absolute when the current folder moves.
    const AllBuilds saved = CaptureBuilds();
    std::filesystem::create_directory(dir_ / "elsewhere");
    ASSERT_EQ(::chdir((dir_ / "elsewhere").c_str()), 0);
    ApplyAll(AllBuilds{});
    g_bSaveFileOpen = true;  // a chosen file keeps its path
    LoadBuilds();
    EXPECT_TRUE(CaptureBuilds() == saved);
    EXPECT_EQ(FileNameOf(g_szSaveFilePath), u"Tolvemar.sav");
}

TEST_F(BuildStoreTest, LoadBuildsReadsTheCurrentStoreAndLeavesBuildsWhenTheFileIsMissing) {
    const AllBuilds builds = RandomValidBuilds(2, CurrentLevelCaps());
    ApplyAll(builds);
    g_Options.SaveToFile = 1;
    g_bModified = true;
    EXPECT_TRUE(LoadBuilds());  // no Tolvemar.sav yet
    EXPECT_TRUE(CaptureBuilds() == builds);
    EXPECT_TRUE(g_bModified);

    WriteBytes(dir_ / "Tolvemar.sav", {'n', 'o', 'p', 'e'});
    EXPECT_TRUE(LoadBuilds());
    EXPECT_TRUE(CaptureBuilds() == builds);

    g_Options.SaveToFile = 0;
    EXPECT_TRUE(LoadBuilds());  // the empty profile: defaults
    EXPECT_EQ(GetSlotGrade(0, 0), 3);
    for (int job = 0; job < kJobCount; ++job) EXPECT_EQ(g_nSelectedSlot[job], 0);
}

TEST_F(BuildStoreTest, AFailedProfileWriteAsksWhetherToGoOnWithoutSaving) {
    profile_.failWrites = true;
    answers_ = {MbResult::Yes};
    EXPECT_TRUE(SaveBuilds());
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0], AskContinue());
    answers_ = {MbResult::No};
    EXPECT_FALSE(SaveBuilds());
}

TEST_F(BuildStoreTest, AFailedFileWriteAsksAndKeepsTheOldFile) {
    g_Options.AutoSave = 0;
    g_bModified = true;
    g_bSaveFileOpen = true;
    g_szSaveFilePath = PathIn("plain/inner.tvf");
    WriteBytes(dir_ / "plain", {1, 2, 3});  // a regular file where a folder should be
    answers_ = {MbResult::Yes, MbResult::No};
    EXPECT_FALSE(SaveBuilds());
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0], AskSave());
    EXPECT_EQ(boxes_[1], AskContinue());
    EXPECT_EQ(ReadBytes(dir_ / "plain"), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_TRUE(g_bModified);
}

// A save file that failed the header check at start was overwritten by the
// first save: whatever it held was lost without a word.
TEST_F(BuildStoreTest, AFileThatFailedTheHeaderCheckIsKeptAsBakBeforeTheFirstSave) {
    const std::filesystem::path file = dir_ / "Tolvemar.sav";
    const std::filesystem::path backup = dir_ / "Tolvemar.sav.bak";
    std::vector<uint8_t> foreign(kSaveFileSize + 5000);
    for (size_t i = 0; i < foreign.size(); ++i) foreign[i] = static_cast<uint8_t>(i * 7);
    WriteBytes(file, foreign);
    g_Options.SaveToFile = 1;
    LoadBuilds();
    ApplyAll(RandomValidBuilds(5, CurrentLevelCaps()));

    // Where the old bytes cannot be kept, the file is not replaced either.
    std::filesystem::create_directory(backup);
    answers_ = {MbResult::No};
    EXPECT_FALSE(SaveBuilds());
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0], AskContinue());
    EXPECT_EQ(ReadBytes(file), foreign);

    std::filesystem::remove(backup);
    WriteBytes(backup, {1, 2, 3});  // an older backup is replaced
    ASSERT_TRUE(SaveBuilds());
    EXPECT_EQ(ReadBytes(backup), foreign);
    ExpectSaveFileAutorun(file, 18, 0);
    ASSERT_TRUE(SaveBuilds());  // the file is a save file now: the backup stays
    EXPECT_EQ(ReadBytes(backup), foreign);

    // A valid file, and one cut short inside its blocks, get no backup.
    for (const size_t size : {kSaveFileSize, kSaveHeaderSize + 700}) {
        std::filesystem::remove(backup);
        std::vector<uint8_t> bytes = ReadBytes(file);
        bytes.resize(size);
        WriteBytes(file, bytes);
        LoadBuilds();
        ASSERT_TRUE(SaveBuilds());
        EXPECT_FALSE(std::filesystem::exists(backup)) << size;
    }
}

}  // namespace
