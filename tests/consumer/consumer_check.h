// The consumer programs' own check: they link no test framework, so that
// they stand for an ordinary outside program. A failed check is reported
// and counted; the program fails when any check failed.
#pragma once

#include <cstdio>

namespace consumer {
inline int g_failures = 0;
}  // namespace consumer

#define CHECK(cond)                                                                 \
    do {                                                                            \
        if (!(cond)) {                                                              \
            std::fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
            ++consumer::g_failures;                                                 \
        }                                                                           \
    } while (0)
