#include "TickTime.h"

void AddDelay(timespec& t, uint32_t microseconds) {
  t.tv_nsec += static_cast<long>(microseconds % 1000000) * 1000;
  t.tv_sec += static_cast<time_t>(microseconds / 1000000 + t.tv_nsec / 1000000000);
  t.tv_nsec %= 1000000000;
}
