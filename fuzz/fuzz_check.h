#pragma once

#include <cstdio>
#include <cstdlib>

// Names the broken expectation before stopping, so a crash report says what went wrong.
#define FUZZ_CHECK(ok)                                              \
  do {                                                              \
    if (!(ok)) {                                                    \
      std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #ok); \
      std::abort();                                                 \
    }                                                               \
  } while (false)
