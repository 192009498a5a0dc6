#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// An 8-bit-per-channel RGB picture, top-down, three bytes a pixel.
struct Rgb {
  uint8_t r, g, b;
};

inline bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
inline bool operator!=(Rgb a, Rgb b) { return !(a == b); }

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // row-major, top row first

  RgbImage() = default;
  RgbImage(int w, int h) : width(w), height(h), pixels(Index(w, 0, h), Rgb{0, 0, 0}) {}

  Rgb& at(int x, int y) { return pixels[Index(width, x, y)]; }
  Rgb at(int x, int y) const { return pixels[Index(width, x, y)]; }

 private:
  static size_t Index(int w, int x, int y) {
    return static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
  }
};

// Copies source into target with its top-left corner at (dx, dy); the part
// outside target is dropped.
void PasteImage(RgbImage& target, const RgbImage& source, int dx, int dy);

// Each pixel becomes a factor x factor block.
RgbImage ScaleUp(const RgbImage& source, int factor);
