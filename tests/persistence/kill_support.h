// Shared by the crash-safe saving tests and their child process
// (kill_child.cpp): the builds of each save generation, and running the child
// and killing it at a random moment.
#pragma once

#include "data/lookups.h"
#include "persistence/builds.h"

#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace kill_test {

// Valid builds that differ from one generation to the next in every job, so
// that a stored copy tells which save wrote it. Slot grades lie inside each
// job's range and levels inside each node's cap, so every store keeps them
// exactly.
inline AllBuilds GenerationBuilds(int64_t generation) {
    std::mt19937_64 rng(static_cast<uint64_t>(generation) * 0x9E3779B97F4A7C15ULL + 1);
    const LevelCaps caps = CurrentLevelCaps();
    AllBuilds builds;
    for (int32_t job = 0; job < kJobCount; ++job) {
        JobBuilds& jb = builds.jobs[job];
        jb.selectedSlot = static_cast<int32_t>(rng() % kSlotCount);
        for (int32_t s = 0; s < kSlotCount; ++s) {
            jb.level[s][0] = ClampJobGrade(job, static_cast<int32_t>(rng() % 4));
            for (int32_t n = 1; n < kNodeCount; ++n) {
                const auto cap = static_cast<uint64_t>(caps.jobs[job].maxLevel[n]);
                jb.level[s][n] = static_cast<int32_t>(rng() % (cap + 1));
            }
        }
    }
    return builds;
}

// What the child writes to its standard output: kReady once before its first
// save, then the generation number after each save that completed.
inline constexpr int64_t kReady = -1;

// One run of the child: started, allowed to save for a random moment, killed.
struct ChildRun {
    std::vector<int64_t> reported;  // generations whose save completed
    bool killedBySignal = false;
    int exitStatus = 0;
    std::chrono::microseconds savingTime{0};  // from ready to the kill
};

inline bool ReadAll(int fd, void* data, size_t size) {
    auto* at = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t got = ::read(fd, at, size);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        at += got;
        size -= static_cast<size_t>(got);
    }
    return true;
}

// Starts `program` with `args`, waits for it to be ready, lets it run for
// `delayMicroseconds` (when minReports is 0) or until it has reported
// `minReports` saves, then kills it with SIGKILL and collects what it
// reported.
inline ChildRun RunAndKill(const std::string& program, const std::vector<std::string>& args,
                           unsigned delayMicroseconds, size_t minReports = 0) {
    ChildRun run;
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return run;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    int64_t value = 0;
    const bool ready = ReadAll(pipeFds[0], &value, sizeof value) && value == kReady;
    const auto readyAt = std::chrono::steady_clock::now();
    if (ready) {
        if (minReports > 0) {
            while (run.reported.size() < minReports && ReadAll(pipeFds[0], &value, sizeof value)) {
                run.reported.push_back(value);
            }
        } else {
            ::usleep(delayMicroseconds);
        }
    }
    ::kill(pid, SIGKILL);
    run.savingTime =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - readyAt);
    while (ReadAll(pipeFds[0], &value, sizeof value)) run.reported.push_back(value);
    ::close(pipeFds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    run.killedBySignal = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace kill_test
