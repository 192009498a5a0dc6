#pragma once
#include <cstdint>

// The two measures that decide whether input dismisses the full-screen
// saver and whether a close request may ask for the password again.

// The largest cursor move, horizontal plus vertical pixels, that does not
// dismiss the saver.
inline constexpr uint32_t mouseMoveThreshold = 4;

// "Never asked" for lastPasswordAsk.
inline constexpr uint32_t kNeverAsked = 0xFFFFFFFF;

// Close requests this soon after the end of a password question are dropped.
inline constexpr uint32_t kPasswordHoldOffMs = 200;

// True when the cursor has moved from (lastX, lastY) to (x, y) by more than
// mouseMoveThreshold pixels, counted as |dx| + |dy| in unsigned 32-bit
// arithmetic.
bool MovedFarEnough(int32_t lastX, int32_t lastY, int32_t x, int32_t y);

// True when a question that ended at tick lastAsk is less than the hold-off
// before tick now; the tick counter may have wrapped in between.
bool WithinPasswordHoldOff(uint32_t now, uint32_t lastAsk);
