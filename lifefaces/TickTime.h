#pragma once
#include <cstdint>
#include <ctime>

// Moves a tick's time on by a delay in microseconds (-delay), carrying
// whole seconds out of the nanoseconds.
void AddDelay(timespec& t, uint32_t microseconds);
