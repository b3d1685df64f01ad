// The invariant check of the fuzz targets: a broken invariant aborts, so
// libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace fuzz {

[[noreturn]] inline void Fail(const char* what, int a = 0, int b = 0, int c = 0) {
    std::fprintf(stderr, "invariant broken: %s (%d, %d, %d)\n", what, a, b, c);
    std::abort();
}

}  // namespace fuzz

#define FUZZ_CHECK(cond, ...)                            \
    do {                                                 \
        if (!(cond)) ::fuzz::Fail(#cond, ##__VA_ARGS__); \
    } while (0)
