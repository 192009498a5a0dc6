#pragma once
// The clock the Windows benchmarks time ticks with: the performance
// counter, in milliseconds.
#include <windows.h>

inline double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}
