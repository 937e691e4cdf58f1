#pragma once

#include <cstdio>
#include <cstdlib>

// An invariant of a fuzz target. A broken one aborts, which libFuzzer reports as a crash with the
// input saved, and which fails the corpus run of the ordinary test build.
#define FUZZ_CHECK(condition)                                                                 \
  do {                                                                                        \
    if (!(condition)) {                                                                       \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                           \
    }                                                                                         \
  } while (false)
