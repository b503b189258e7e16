// The one way a harness reports a broken property: the condition and where
// it was checked on standard error, then abort(), which libFuzzer records as
// a finding and saves the input that caused it.
#ifndef FUZZ_PROPERTY_H_
#define FUZZ_PROPERTY_H_

#include <cstdio>
#include <cstdlib>

#define FUZZ_REQUIRE(condition)                                         \
  do {                                                                  \
    if (!(condition)) {                                                 \
      std::fprintf(stderr, "%s:%d: property does not hold: %s\n",       \
                   __FILE__, __LINE__, #condition);                     \
      std::abort();                                                     \
    }                                                                   \
  } while (0)

#endif  // FUZZ_PROPERTY_H_
