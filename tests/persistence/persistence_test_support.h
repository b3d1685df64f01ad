// Shared pieces of the persistence tests: a fixture that restores every piece
// of process-wide state it touches, scripted message boxes, a scratch folder
// that is also the current folder, and builders of valid builds.
#pragma once

#include "data/lookups.h"
#include "persistence/build_state.h"
#include "persistence/builds.h"
#include "persistence/save_file.h"
#include "platform/file_io.h"
#include "platform/message_box.h"
#include "shell/options.h"
#include "shell/profile_store.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace persist_test {

// A path between the system's bytes and the program's text.
inline std::string Narrow(const std::u16string& s) { return EncodeFileName(s); }
inline std::u16string Wide(const std::string& s) { return DecodeFileName(s); }

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Builds that every store keeps exactly: slot grades inside each job's range,
// levels inside each node's cap, selected slots 0..2.
inline AllBuilds RandomValidBuilds(uint32_t seed, const LevelCaps& caps) {
    std::mt19937 rng(seed);
    AllBuilds builds;
    for (int32_t job = 0; job < kJobCount; ++job) {
        JobBuilds& jb = builds.jobs[job];
        jb.selectedSlot = static_cast<int32_t>(rng() % 3);
        const JobRecord* record = FindJobRecord(job);
        for (int32_t s = 0; s < kSlotCount; ++s) {
            const int32_t lo = record->minGrade;
            const int32_t hi = record->maxGrade;
            jb.level[s][0] = lo + static_cast<int32_t>(rng() % static_cast<uint32_t>(hi - lo + 1));
            for (int32_t n = 1; n < kNodeCount; ++n) {
                const int32_t cap = caps.jobs[job].maxLevel[n];
                jb.level[s][n] = static_cast<int32_t>(rng() % static_cast<uint32_t>(cap + 1));
            }
        }
    }
    return builds;
}

// Caps with a node list of random length per job and random maximum levels.
inline LevelCaps RandomCaps(uint32_t seed) {
    std::mt19937 rng(seed);
    LevelCaps caps;
    for (auto& job : caps.jobs) {
        const int32_t end = 1 + static_cast<int32_t>(rng() % kNodeCount);
        for (int32_t n = 1; n < end; ++n) job.maxLevel[n] = 1 + static_cast<int32_t>(rng() % 10);
    }
    return caps;
}

inline void ApplyAll(const AllBuilds& builds) {
    for (int32_t job = 0; job < kJobCount; ++job) ApplyJobBuilds(job, builds.jobs[job]);
}

// Restores the job trees, the build state, the options, the profile, the
// message box handler, the title sink and the current folder after each
// test, and runs each test in a fresh scratch folder.
class PersistenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedBuilds_ = CaptureBuilds();
        savedOptions_ = g_Options;
        char* cwd = ::getcwd(nullptr, 0);
        savedCwd_ = cwd ? cwd : "/";
        std::free(cwd);
        char pattern[] = "/tmp/tolvemar-persist-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
        ASSERT_EQ(::chdir(dir_.c_str()), 0);
        ResetBuildState();
        ApplyAll(AllBuilds{});
        SetProfileStore(&profile_);
        SetMessageBoxHandler([this](const MessageBoxRequest& request) {
            boxes_.push_back(request);
            if (answers_.empty()) {
                ADD_FAILURE() << "unexpected message box: " << Narrow(request.text);
                return MbResult::Cancel;
            }
            const MbResult answer = answers_.front();
            answers_.pop_front();
            return answer;
        });
        SetMainTitleSink([this](const std::u16string& title) { titles_.push_back(title); });
    }

    void TearDown() override {
        EXPECT_TRUE(answers_.empty()) << "scripted answers left over";
        SetMainTitleSink(nullptr);
        SetMessageBoxHandler(nullptr);
        SetProfileStore(nullptr);
        (void)::chdir(savedCwd_.c_str());
        std::error_code ec;
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(dir_, ec);
        ApplyAll(savedBuilds_);
        ResetBuildState();
        g_Options = savedOptions_;
    }

    std::u16string PathIn(const std::string& name) const { return Wide((dir_ / name).string()); }

    std::filesystem::path dir_;
    MemoryProfileStore profile_;
    std::deque<MbResult> answers_;
    std::vector<MessageBoxRequest> boxes_;
    std::vector<std::u16string> titles_;

private:
    AllBuilds savedBuilds_;
    AppOptions savedOptions_;
    std::string savedCwd_;
};

// The exit codes of RunUnprivileged's child when it could not drop, and its
// result when the unprivileged user could not reach the test's folder.
inline constexpr int kCouldNotDrop = 100;
inline constexpr int kCannotReach = 101;

// Runs `body` in a child process and gives its exit code. The superuser may
// read and write every file, so when the tests run as the superuser the child
// first drops to an unprivileged user, who is given `owned`, all inside the
// test's own folder `own`, and may pass through the folders from there down
// to them. No permission outside `own` changes: when a folder above it is
// closed to other users, the result is kCannotReach and nothing runs.
inline int RunUnprivileged(const std::filesystem::path& own, const std::vector<std::filesystem::path>& owned,
                           const std::function<int()>& body) {
    constexpr uid_t kNobody = 65534;
    const bool root = ::geteuid() == 0;
    if (root) {
        const auto passable = [](const std::filesystem::path& folder) {
            return (std::filesystem::status(folder).permissions() & std::filesystem::perms::others_exec) !=
                   std::filesystem::perms::none;
        };
        const std::filesystem::path top = std::filesystem::weakly_canonical(own);
        for (std::filesystem::path up = top.parent_path(); up != up.root_path(); up = up.parent_path()) {
            if (!passable(up)) return kCannotReach;
        }
        for (const std::filesystem::path& path : owned) {
            if (::lchown(path.c_str(), kNobody, kNobody) != 0) return kCouldNotDrop;
            const auto inside = [&](const std::filesystem::path& folder) {
                const std::filesystem::path rest = folder.lexically_relative(top);
                return !rest.empty() && *rest.begin() != "..";
            };
            for (std::filesystem::path up = std::filesystem::weakly_canonical(path).parent_path();
                 inside(up) && up != up.root_path(); up = up.parent_path()) {
                if (!passable(up)) {
                    std::filesystem::permissions(up, std::filesystem::perms::others_exec,
                                                 std::filesystem::perm_options::add);
                }
            }
        }
    }
    const pid_t child = ::fork();
    if (child < 0) return kCouldNotDrop;
    if (child == 0) {
        if (root &&
            (::setresgid(kNobody, kNobody, kNobody) != 0 || ::setresuid(kNobody, kNobody, kNobody) != 0)) {
            ::_exit(kCouldNotDrop);
        }
        ::_exit(body());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// A whole save file at `path` naming the autorun job and slot.
inline void ExpectSaveFileAutorun(const std::filesystem::path& path, int32_t job, int32_t slot) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), kSaveFileSize);
    EXPECT_EQ(GetWord(bytes.data(), kOffsetAutoRunJob), job);
    EXPECT_EQ(GetWord(bytes.data(), kOffsetAutoRunSlot), slot);
}

inline MessageBoxRequest Box(MbOwner owner, const std::u16string& text, const std::u16string& caption,
                             MbButtons buttons, MbIcon icon) {
    return {owner, text, caption, buttons, icon};
}

}  // namespace persist_test
