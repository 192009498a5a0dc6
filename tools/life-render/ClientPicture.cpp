#include "ClientPicture.h"

#include <algorithm>

RgbImage ClientPicture(const Picture* picture, uint32_t width, uint32_t height) {
  RgbImage image(static_cast<int>(width), static_cast<int>(height));
  if (picture == nullptr || !picture->valid()) return image;
  const int w = std::min(image.width, picture->width());
  const int h = std::min(image.height, picture->height());
  for (int y = 0; y < h; ++y) {
    const Pixel* row = picture->row(y);
    for (int x = 0; x < w; ++x) {
      const Pixel p = row[x];
      image.at(x, y) = {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                        static_cast<uint8_t>(p)};
    }
  }
  return image;
}
