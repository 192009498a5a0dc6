#pragma once
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "RgbImage.h"

// Counts how often each colour occurs.
using ColorHistogram = std::unordered_map<uint32_t, uint64_t>;

inline uint32_t PackRgb(Rgb c) { return (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b; }
inline Rgb UnpackRgb(uint32_t v) {
  return {static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

// A palette of at most maxColors: the exact colours first (kept as they
// are), then the histogram's colours reduced by median cut to fill the
// rest. When the histogram holds few enough colours they are all kept.
std::vector<Rgb> BuildPalette(const ColorHistogram& histogram, const std::vector<Rgb>& exact,
                              size_t maxColors);

// Maps colours to the index of the nearest palette entry, remembering
// each answer.
class PaletteMapper {
 public:
  explicit PaletteMapper(std::vector<Rgb> palette) : palette_(std::move(palette)) {}
  uint8_t Index(Rgb c);
  const std::vector<Rgb>& palette() const { return palette_; }

 private:
  std::vector<Rgb> palette_;
  std::unordered_map<uint32_t, uint8_t> cache_;
};
