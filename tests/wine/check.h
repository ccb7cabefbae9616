// A small checking harness for the Win32 test programs: CHECK records the
// failing line and goes on; main returns the number of failures.
#pragma once
#include <cstdio>

inline int checkFailures = 0;

#define CHECK_AT(line, condition, ...)                                        \
    do {                                                                      \
        if (!(condition)) {                                                   \
            ++checkFailures;                                                  \
            std::printf("%s:%d: failed: %s: ", __FILE__, line, #condition);   \
            std::printf(__VA_ARGS__);                                         \
            std::printf("\n");                                                \
        }                                                                     \
    } while (0)
#define CHECK(condition, ...) CHECK_AT(__LINE__, condition, __VA_ARGS__)

inline int checkSummary(const char* program) {
    std::printf("%s: %s (%d failure%s)\n", program, checkFailures ? "FAILED" : "ok", checkFailures,
                checkFailures == 1 ? "" : "s");
    std::fflush(stdout);
    return checkFailures ? 1 : 0;
}
