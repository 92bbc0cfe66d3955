// A failed property ends the run with the property's text and line, so that
// libFuzzer keeps the input as a crash and the report says what broke.
#ifndef FENMARQ_TESTS_FUZZ_FUZZ_CHECK_H_
#define FENMARQ_TESTS_FUZZ_FUZZ_CHECK_H_

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                               \
  do {                                                                                      \
    if (!(condition)) {                                                                     \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                         \
    }                                                                                       \
  } while (false)

// For the harness's own checking code: its branches say nothing about the
// code under test, and instrumenting them only slows every input down.
#define FENMARQ_NO_COVERAGE __attribute__((no_sanitize("coverage")))

#endif  // FENMARQ_TESTS_FUZZ_FUZZ_CHECK_H_
