#pragma once
#include <cstdint>

// Remainders of generator draws (values 0..32767) by a fixed divisor,
// computed with a multiplication instead of a division, without branches.
// A divisor above 32768 leaves every draw as it is, as does 32768 itself,
// so it is taken as 32768; every divisor then lies below 2^16, where the
// multiplication is exact for every dividend below 2^16.
class FastModulo {
 public:
  explicit FastModulo(uint32_t divisor)
      : divisor_(divisor < kDrawRange ? divisor : kDrawRange), factor_(UINT32_MAX / divisor_ + 1) {}

  uint32_t operator()(uint32_t draw) const {
    const uint32_t fraction = factor_ * draw;  // wraps: the fractional part
    return static_cast<uint32_t>((uint64_t{fraction} * divisor_) >> 32);
  }

 private:
  static constexpr uint32_t kDrawRange = 32768;
  uint32_t divisor_;
  uint32_t factor_;
};
