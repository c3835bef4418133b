#pragma once
// The self-checks of the fuzz targets: a failed one is reported like a crash,
// so libFuzzer keeps the input that caused it.

#include <cstdio>
#include <cstdlib>
#include <exception>

#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "self-check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);         \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

namespace fuzzcheck {

// For failures that are not the kind the code under test promises: the
// message helps more than libFuzzer's bare "uncaught exception".
[[noreturn]] inline void unexpected(const char* where, const std::exception& error)
{
    std::fprintf(stderr, "self-check failed: %s raised an unexpected exception: %s\n", where, error.what());
    std::abort();
}

} // namespace fuzzcheck
