#pragma once
#include <cstdint>

// Remainders of generator draws (values below 2^16) by a fixed divisor,
// computed with a multiplication instead of a division. Exact for every
// dividend and divisor below 2^16; larger divisors fall back to `%`.
class FastModulo {
 public:
  explicit FastModulo(uint32_t divisor)
      : divisor_(divisor), factor_(divisor < 65536 ? UINT32_MAX / divisor + 1 : 0) {}

  uint32_t operator()(uint32_t value) const {
    if (factor_ == 0) return value % divisor_;
    const uint32_t fraction = factor_ * value;  // wraps: the fractional part
    return static_cast<uint32_t>((uint64_t{fraction} * divisor_) >> 32);
  }

 private:
  uint32_t divisor_;
  uint32_t factor_;
};
