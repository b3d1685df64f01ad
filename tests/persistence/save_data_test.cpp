#include "persistence/save_data.h"

#include "persistence/build_store.h"

#include "persistence_test_support.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <csignal>

using namespace persist_test;

namespace {

class SaveDataTest : public PersistenceTest {};

TEST_F(SaveDataTest, FileRoundTripRestoresEveryBuild) {
    const AllBuilds builds = RandomValidBuilds(99, CurrentLevelCaps());
    ApplyAll(builds);
    const std::u16string path = PathIn("a.tvf");
    ASSERT_TRUE(CSaveData().SaveFile(7, 2, path));
    EXPECT_EQ(std::filesystem::file_size(dir_ / "a.tvf"), 24293u);
    ApplyAll(AllBuilds{});
    const SaveFileLoad result = CSaveData().LoadFile(path);
    EXPECT_EQ(result.status, SaveFileStatus::Ok);
    EXPECT_EQ(result.Packed(), 519);
    EXPECT_TRUE(CaptureBuilds() == builds);
    // Only the temporary file's rename put the file in place: nothing is left over.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
}

TEST_F(SaveDataTest, NeverStoredJobsOpenAtTheirHighestGradeAfterAFileRoundTrip) {
    CSaveData().LoadRegistry();  // empty profile: slot grades 4
    std::vector<int32_t> grades;
    for (int job = 0; job < kJobCount; ++job) grades.push_back(GetSlotGrade(job, 1));
    const std::u16string path = PathIn("b.tvf");
    ASSERT_TRUE(CSaveData().SaveFile(NO_JOB, 0, path));
    ApplyAll(AllBuilds{});
    ASSERT_EQ(CSaveData().LoadFile(path).status, SaveFileStatus::Ok);
    for (int job = 0; job < kJobCount; ++job) EXPECT_EQ(GetSlotGrade(job, 1), grades[job]) << job;
}

TEST_F(SaveDataTest, ABadHeaderOrAnUnreadableFileChangesNothing) {
    const AllBuilds builds = RandomValidBuilds(4, CurrentLevelCaps());
    ApplyAll(builds);
    ASSERT_TRUE(CSaveData().SaveFile(3, 1, PathIn("good.tvf")));
    std::vector<uint8_t> bytes = ReadBytes(dir_ / "good.tvf");
    bytes[16] = 'X';
    WriteBytes(dir_ / "bad.tvf", bytes);
    ApplyAll(AllBuilds{});
    const AllBuilds before = CaptureBuilds();

    SaveFileLoad result = CSaveData().LoadFile(PathIn("bad.tvf"));
    EXPECT_EQ(result.status, SaveFileStatus::BadHeader);
    EXPECT_EQ(result.Packed(), NO_JOB);
    EXPECT_TRUE(CaptureBuilds() == before);

    WriteBytes(dir_ / "short.tvf", std::vector<uint8_t>(bytes.begin(), bytes.begin() + 16));
    EXPECT_EQ(CSaveData().LoadFile(PathIn("short.tvf")).status, SaveFileStatus::BadHeader);

    for (const char* name : {"missing.tvf", ""}) {
        result = CSaveData().LoadFile(PathIn(name));  // "" names the folder itself
        EXPECT_EQ(result.status, *name ? SaveFileStatus::Missing : SaveFileStatus::CannotOpen) << name;
        EXPECT_EQ(result.Packed(), NO_JOB);
    }
    EXPECT_TRUE(CaptureBuilds() == before);
}

// Catches a reader that rejects every file shorter than the whole header:
// a file ending after the check words is valid and loads no block.
TEST_F(SaveDataTest, AFileEndingAfterTheCheckWordsNamesItsAutorunJobAndLoadsNoBlock) {
    ApplyAll(RandomValidBuilds(6, CurrentLevelCaps()));
    ASSERT_TRUE(CSaveData().SaveFile(7, 2, PathIn("full.tvf")));
    const std::vector<uint8_t> full = ReadBytes(dir_ / "full.tvf");
    ApplyAll(AllBuilds{});
    const AllBuilds before = CaptureBuilds();
    for (size_t length : {45, 47, 49, 52}) {
        std::vector<uint8_t> bytes(full.begin(), full.begin() + static_cast<ptrdiff_t>(length));
        if (length == 52) PutWord(bytes, 45, 99);  // the skipped words may hold anything
        WriteBytes(dir_ / "cut.tvf", bytes);
        const SaveFileLoad result = CSaveData().LoadFile(PathIn("cut.tvf"));
        EXPECT_EQ(result.status, SaveFileStatus::Ok) << length;
        EXPECT_EQ(result.Packed(), 519) << length;
        EXPECT_TRUE(CaptureBuilds() == before) << length;
    }
    // Cut inside the second check word, the header does not match.
    WriteBytes(dir_ / "cut.tvf", std::vector<uint8_t>(full.begin(), full.begin() + 44));
    EXPECT_EQ(CSaveData().LoadFile(PathIn("cut.tvf")).status, SaveFileStatus::BadHeader);
}

TEST_F(SaveDataTest, ACutShortBlockIsDroppedAndTheWholeBlocksBeforeItApply) {
    const AllBuilds builds = RandomValidBuilds(8, CurrentLevelCaps());
    ApplyAll(builds);
    ASSERT_TRUE(CSaveData().SaveFile(NO_JOB, 0, PathIn("c.tvf")));
    std::vector<uint8_t> bytes = ReadBytes(dir_ / "c.tvf");
    bytes.resize(kSaveHeaderSize + 5 * kJobBlockSize + 600);
    WriteBytes(dir_ / "c.tvf", bytes);
    AllBuilds other = RandomValidBuilds(9, CurrentLevelCaps());
    ApplyAll(other);
    ASSERT_EQ(CSaveData().LoadFile(PathIn("c.tvf")).status, SaveFileStatus::Ok);
    const AllBuilds now = CaptureBuilds();
    for (int job = 0; job < kJobCount; ++job) {
        EXPECT_TRUE(now.jobs[job] == (job < 5 ? builds.jobs[job] : other.jobs[job])) << job;
    }
}

TEST_F(SaveDataTest, AHugeFileIsReadOnlyUpToTheSaveFileSize) {
    ApplyAll(RandomValidBuilds(12, CurrentLevelCaps()));
    const AllBuilds builds = CaptureBuilds();
    ASSERT_TRUE(CSaveData().SaveFile(1, 1, PathIn("big.tvf")));
    std::vector<uint8_t> bytes = ReadBytes(dir_ / "big.tvf");
    bytes.resize(8 << 20, 0x7F);
    WriteBytes(dir_ / "big.tvf", bytes);
    ApplyAll(AllBuilds{});
    EXPECT_EQ(CSaveData().LoadFile(PathIn("big.tvf")).Packed(), 257);
    EXPECT_TRUE(CaptureBuilds() == builds);
}

TEST_F(SaveDataTest, AFailedWriteLeavesThePreviousFileByteForByte) {
    ApplyAll(RandomValidBuilds(1, CurrentLevelCaps()));
    const std::u16string path = PathIn("keep.tvf");
    ASSERT_TRUE(CSaveData().SaveFile(0, 0, path));
    const std::vector<uint8_t> before = ReadBytes(dir_ / "keep.tvf");
    ApplyAll(RandomValidBuilds(2, CurrentLevelCaps()));

    // The disk refuses the bytes half way: the file size limit stops the write.
    struct sigaction ignore {
    }, old{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &old);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 10000;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written = CSaveData().SaveFile(5, 1, path);
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &old, nullptr);
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadBytes(dir_ / "keep.tvf"), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);  // no temporary left

    // A path through a regular file, and a target that is a folder.
    EXPECT_FALSE(CSaveData().SaveFile(0, 0, PathIn("keep.tvf/inner.tvf")));
    std::filesystem::create_directories(dir_ / "folder.tvf" / "x");
    EXPECT_FALSE(CSaveData().SaveFile(0, 0, PathIn("folder.tvf")));
    EXPECT_EQ(ReadBytes(dir_ / "keep.tvf"), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 2);
}

// The rename that puts a save in place needs only a writable folder, so it
// replaced files the user had made read-only or closed completely. The
// superuser may write every file, so when the tests run as the superuser the
// writer runs in a child that has dropped to an unprivileged user.
TEST_F(SaveDataTest, AFileThisUserMayNotWriteIsNeverReplaced) {
    namespace fs = std::filesystem;
    const fs::path home = dir_ / "home";
    fs::create_directories(home / "locked");
    ApplyAll(RandomValidBuilds(3, CurrentLevelCaps()));
    const std::vector<uint8_t> old = EncodeSaveFile(CaptureBuilds(), 1, 1);
    const struct {
        const char* name;
        fs::perms mode;
    } files[] = {{"read-only.tvf", fs::perms(0444)},
                 {"closed.tvf", fs::perms::none},
                 {"locked/in-read-only-folder.tvf", fs::perms(0644)}};
    for (const auto& file : files) {
        WriteBytes(home / file.name, old);
        fs::permissions(home / file.name, file.mode);
    }
    // A read-only file of another format, as the exit save finds it.
    const std::vector<uint8_t> foreign(300, 'x');
    WriteBytes(home / "foreign.sav", foreign);
    fs::permissions(home / "foreign.sav", fs::perms(0444));
    fs::permissions(home / "locked", fs::perms(0555));
    ApplyAll(RandomValidBuilds(4, CurrentLevelCaps()));

    const int status =
        RunUnprivileged(dir_,
                        {home, home / "locked", home / files[0].name, home / files[1].name,
                         home / files[2].name, home / "foreign.sav"},
                        [&] {
                            int replaced = 0;
                            for (int i = 0; i < 3; ++i) {
                                if (CSaveData().SaveFile(0, 0, Wide((home / files[i].name).string())))
                                    replaced |= 1 << i;
                            }
                            // A new file in the same folder is written: the refusals above come
                            // from the files' permissions, not from a child that cannot write.
                            if (!CSaveData().SaveFile(0, 0, Wide((home / "new.tvf").string()))) replaced |= 8;
                            // The exit save neither replaces nor copies it (a read-only .bak
                            // would block every later save).
                            g_bSaveFileOpen = true;
                            g_szSaveFilePath = Wide((home / "foreign.sav").string());
                            LoadBuilds();
                            SetMessageBoxHandler([](const MessageBoxRequest&) { return MbResult::No; });
                            if (SaveBuilds()) replaced |= 16;
                            return replaced;
                        });
    fs::permissions(home / "locked", fs::perms(0755));
    if (status == kCannotReach) GTEST_SKIP() << "the unprivileged user cannot reach the temporary folder";
    ASSERT_NE(status, kCouldNotDrop) << "could not drop to an unprivileged user";
    EXPECT_EQ(status, 0)
        << "bit i: file i replaced; 8: a new file not written; 16: the exit save reported success";
    EXPECT_EQ(ReadBytes(home / "foreign.sav"), foreign);
    for (const auto& file : files) {
        EXPECT_EQ(fs::status(home / file.name).permissions(), file.mode) << file.name;
        fs::permissions(home / file.name, fs::perms(0644));
        EXPECT_EQ(ReadBytes(home / file.name), old) << file.name;
    }
    // Nothing left over beside them.
    EXPECT_EQ(std::distance(fs::directory_iterator(home), {}), 5);
    EXPECT_EQ(std::distance(fs::directory_iterator(home / "locked"), {}), 1);
}

TEST_F(SaveDataTest, SavingThroughASymbolicLinkKeepsTheLink) {
    ASSERT_TRUE(CSaveData().SaveFile(0, 0, PathIn("real.tvf")));
    std::filesystem::create_symlink(dir_ / "real.tvf", dir_ / "link.tvf");
    ASSERT_TRUE(CSaveData().SaveFile(2, 0, PathIn("link.tvf")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link.tvf"));
    EXPECT_EQ(GetWord(ReadBytes(dir_ / "real.tvf").data(), kOffsetAutoRunJob), 2);
}

TEST_F(SaveDataTest, PathsOutsideAsciiNameTheSameFileOnDisk) {
    const std::u16string path = PathIn("") + u"빌드 \U0001F600 %s.tvf";
    ASSERT_TRUE(CSaveData().SaveFile(6, 1, path));
    EXPECT_TRUE(std::filesystem::exists(dir_ / "빌드 \U0001F600 %s.tvf"));
    EXPECT_EQ(CSaveData().LoadFile(path).Packed(), 256 + 6);
    // Malformed bytes never vanish silently: one U+FFFD per maximal ill-formed
    // subpart, so a sequence cut short gives one.
    EXPECT_EQ(Utf8ToUtf16("\xff\xc0\x80"
                          "a\xE2\x82"
                          "b"),
              u"\uFFFD\uFFFD\uFFFDa\uFFFDb");
}

TEST_F(SaveDataTest, RegistryWriteFailureIsReported) {
    profile_.failWrites = true;
    EXPECT_FALSE(CSaveData().SaveRegistry());
    profile_.failWrites = false;
    EXPECT_TRUE(CSaveData().SaveRegistry());
}

}  // namespace
