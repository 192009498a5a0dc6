#include "RgbImage.h"

void PasteImage(RgbImage& target, const RgbImage& source, int dx, int dy) {
  for (int y = 0; y < source.height; ++y) {
    const int ty = dy + y;
    if (ty < 0 || ty >= target.height) continue;
    for (int x = 0; x < source.width; ++x) {
      const int tx = dx + x;
      if (tx < 0 || tx >= target.width) continue;
      target.at(tx, ty) = source.at(x, y);
    }
  }
}

RgbImage ScaleUp(const RgbImage& source, int factor) {
  RgbImage out(source.width * factor, source.height * factor);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) out.at(x, y) = source.at(x / factor, y / factor);
  return out;
}
