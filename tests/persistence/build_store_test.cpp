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
// first save: whatever it held was lost without a word. The copy is the
// program's own name: a link there was written through, replacing the file
// it named (or the save file itself, so nothing was kept).
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

    // A link in the backup's place is replaced, and what it names is not
    // touched: another file, or the save file itself.
    std::filesystem::remove(backup);
    std::filesystem::create_directory(dir_ / "elsewhere");
    WriteBytes(dir_ / "elsewhere" / "precious.txt", {1, 2, 3});
    for (const char* target : {"elsewhere/precious.txt", "Tolvemar.sav"}) {
        std::filesystem::remove(backup);
        WriteBytes(file, foreign);
        LoadBuilds();
        std::filesystem::create_symlink(target, backup);
        ASSERT_TRUE(SaveBuilds()) << target;
        EXPECT_FALSE(std::filesystem::is_symlink(backup)) << target;
        EXPECT_EQ(ReadBytes(backup), foreign) << target;
        ExpectSaveFileAutorun(file, 18, 0);
    }
    EXPECT_EQ(ReadBytes(dir_ / "elsewhere" / "precious.txt"), (std::vector<uint8_t>{1, 2, 3}));

    WriteBytes(file, foreign);
    LoadBuilds();
    WriteBytes(backup, {1, 2, 3});  // an older backup is replaced
    ASSERT_TRUE(SaveBuilds());
    EXPECT_EQ(ReadBytes(backup), foreign);
    ExpectSaveFileAutorun(file, 18, 0);
    ASSERT_TRUE(SaveBuilds());  // the file is a save file now: the backup stays
    EXPECT_EQ(ReadBytes(backup), foreign);

    // An empty file has nothing to keep: the older backup survives it.
    WriteBytes(file, {});
    LoadBuilds();
    ASSERT_TRUE(SaveBuilds());
    EXPECT_EQ(ReadBytes(backup), foreign);
    ExpectSaveFileAutorun(file, 18, 0);

    // A valid file, and one cut short inside its blocks or after its check
    // words, get no backup.
    for (const size_t size : {kSaveFileSize, kSaveHeaderSize + 700, kSaveFileShortestHeader}) {
        std::filesystem::remove(backup);
        std::vector<uint8_t> bytes = ReadBytes(file);
        bytes.resize(size);
        WriteBytes(file, bytes);
        LoadBuilds();
        ASSERT_TRUE(SaveBuilds());
        EXPECT_FALSE(std::filesystem::exists(backup)) << size;
    }
}

// Every exit save replaced the file whatever had happened to it since the
// start: a save file the user copied in while the program ran (the likely
// way to find one's builds gone), or one restored from a backup, was lost
// without a word. Its copy was as open as the older .bak it replaced.
TEST_F(BuildStoreTest, ASaveFileThatChangedSinceItWasReadIsKeptAsBak) {
    namespace fs = std::filesystem;
    const fs::path file = dir_ / "Tolvemar.sav";
    const fs::path backup = dir_ / "Tolvemar.sav.bak";
    g_Options.SaveToFile = 1;
    LoadBuilds();  // not there yet
    const std::vector<uint8_t> copiedIn = EncodeSaveFile(RandomValidBuilds(11, CurrentLevelCaps()), 4, 1);
    WriteBytes(file, copiedIn);
    ASSERT_TRUE(SaveBuilds());
    EXPECT_EQ(ReadBytes(backup), copiedIn);
    ExpectSaveFileAutorun(file, 18, 0);
    WriteBytes(backup, {7});
    ASSERT_TRUE(SaveBuilds());  // the file as this save left it: no copy
    EXPECT_EQ(ReadBytes(backup), (std::vector<uint8_t>{7}));

    // Restored over the loaded file, and closed to others: so is its copy.
    LoadBuilds();
    const std::vector<uint8_t> restored = EncodeSaveFile(RandomValidBuilds(12, CurrentLevelCaps()), 2, 2);
    WriteBytes(file, restored);
    fs::permissions(file, fs::perms(0600));
    fs::permissions(backup, fs::perms(0644));
    ASSERT_TRUE(SaveBuilds());
    EXPECT_EQ(ReadBytes(backup), restored);
    EXPECT_EQ(fs::status(backup).permissions(), fs::perms(0600));
    EXPECT_TRUE(boxes_.empty());
}

// A save file that is a link to a file not there now (on a stick that is
// out) made every save fail, so "go on" dropped the session although there
// were no bytes to keep. A link to its own backup is the one link that must
// not be written through: the save would replace the copy just made.
TEST_F(BuildStoreTest, ASaveFileLinkIsWrittenThroughUnlessItLeadsToItsOwnBackup) {
    namespace fs = std::filesystem;
    const fs::path file = dir_ / "Tolvemar.sav";
    g_Options.SaveToFile = 1;
    fs::create_directory(dir_ / "stick");
    fs::create_symlink("stick/Tolvemar.sav", file);
    LoadBuilds();
    ASSERT_TRUE(SaveBuilds());
    EXPECT_TRUE(fs::is_symlink(file));
    ExpectSaveFileAutorun(dir_ / "stick" / "Tolvemar.sav", 18, 0);

    fs::remove(file);
    fs::create_symlink("gone/Tolvemar.sav", file);  // its folder is not there either
    LoadBuilds();
    answers_ = {MbResult::No};
    EXPECT_FALSE(SaveBuilds());
    EXPECT_EQ(boxes_, std::vector<MessageBoxRequest>{AskContinue()});

    fs::remove(file);
    const std::vector<uint8_t> foreign(3000, 'x');
    WriteBytes(dir_ / "Tolvemar.sav.bak", foreign);
    fs::create_symlink("Tolvemar.sav.bak", file);
    LoadBuilds();
    answers_ = {MbResult::No};
    EXPECT_FALSE(SaveBuilds());
    EXPECT_EQ(ReadBytes(dir_ / "Tolvemar.sav.bak"), foreign);
}

// A save file this user may write but not read loaded as nothing, and the
// exit save replaced it with the builds in memory, without a backup or a
// question. The superuser reads every file, so the program's part runs in a
// child that has dropped to an unprivileged user.
TEST_F(BuildStoreTest, AFileThatIsThereButCouldNotBeReadIsNeverReplacedBlind) {
    const std::filesystem::path home = dir_ / "home";
    std::filesystem::create_directory(home);
    ApplyAll(RandomValidBuilds(7, CurrentLevelCaps()));
    const std::vector<uint8_t> kept = EncodeSaveFile(CaptureBuilds(), 3, 1);
    WriteBytes(home / "Tolvemar.sav", kept);
    std::filesystem::permissions(home / "Tolvemar.sav", std::filesystem::perms::owner_write);
    ApplyAll(AllBuilds{});

    const int status = RunUnprivileged(dir_, {home, home / "Tolvemar.sav"}, [&] {
        int faults = 0;
        int questions = 0;
        SetMessageBoxHandler([&](const MessageBoxRequest& request) {
            if (request == AskContinue()) ++questions;
            return MbResult::No;
        });
        if (::chdir(home.c_str()) != 0) return 64;
        g_Options.SaveToFile = 1;
        LoadBuilds();
        if (SaveBuilds() || questions != 1) faults |= 1;  // its bytes cannot be kept: no save
        std::filesystem::permissions(home / "Tolvemar.sav", std::filesystem::perms::owner_read,
                                     std::filesystem::perm_options::add);
        if (!SaveBuilds()) faults |= 2;  // now they can
        return faults;
    });
    if (status == kCannotReach) GTEST_SKIP() << "the unprivileged user cannot reach the temporary folder";
    ASSERT_NE(status, kCouldNotDrop) << "could not drop to an unprivileged user";
    EXPECT_EQ(status, 0) << "1: replaced while unreadable, or no question; 2: not saved once readable";
    EXPECT_EQ(ReadBytes(home / "Tolvemar.sav.bak"), kept);
    ExpectSaveFileAutorun(home / "Tolvemar.sav", 18, 0);
}

// The start folder's name in another code page (here CP949) was decoded with
// U+FFFD in place of its bytes: the save file of that folder was not found,
// and every save failed.
TEST_F(BuildStoreTest, ASaveFileInAFolderNamedInAnotherCodePageLoadsAndSaves) {
    const std::filesystem::path folder = dir_ / "\xc0\xfa\xc0\xe5";
    std::filesystem::create_directory(folder);
    const AllBuilds builds = RandomValidBuilds(8, CurrentLevelCaps());
    WriteBytes(folder / "Tolvemar.sav", EncodeSaveFile(builds, 2, 0));
    ASSERT_EQ(::chdir(folder.c_str()), 0);
    g_Options.SaveToFile = 1;
    LoadBuilds();
    EXPECT_TRUE(CaptureBuilds() == builds);
    ASSERT_TRUE(SaveBuilds());
    ExpectSaveFileAutorun(folder / "Tolvemar.sav", 18, 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);  // nothing beside it

    // Every byte string names itself again.
    for (unsigned b = 0; b < 256; ++b) {
        const std::string name = {'a', static_cast<char>(b), static_cast<char>(0xE2), static_cast<char>(b)};
        EXPECT_EQ(Narrow(Wide(name)), name) << b;
    }
}

}  // namespace
