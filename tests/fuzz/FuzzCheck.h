#pragma once
// How the fuzz targets check an invariant: a broken one is named on stderr
// and the run aborts, so that libFuzzer keeps the input as a crash.
#include <cstdio>
#include <cstdlib>

inline void CheckInvariant(bool condition, const char* subject, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "%s invariant broken: %s\n", subject, what);
    std::abort();
  }
}
