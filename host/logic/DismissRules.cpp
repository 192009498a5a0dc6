#include "DismissRules.h"

namespace {
uint32_t Distance(int32_t from, int32_t to) {
  const uint32_t delta = static_cast<uint32_t>(to) - static_cast<uint32_t>(from);
  return to >= from ? delta : 0u - delta;
}
}  // namespace

bool MovedFarEnough(int32_t lastX, int32_t lastY, int32_t x, int32_t y) {
  return Distance(lastX, x) + Distance(lastY, y) > mouseMoveThreshold;
}

bool WithinPasswordHoldOff(uint32_t now, uint32_t lastAsk) {
  return lastAsk != kNeverAsked && now - lastAsk < kPasswordHoldOffMs;
}
