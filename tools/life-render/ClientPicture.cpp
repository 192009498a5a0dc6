#include "ClientPicture.h"

#include <algorithm>

RgbImage ClientPicture(const Picture* picture, uint32_t width, uint32_t height) {
  RgbImage image(static_cast<int>(width), static_cast<int>(height));
  PastePicture(image, picture, 0, 0);
  return image;
}

void PastePicture(RgbImage& image, const Picture* picture, int x, int y) {
  if (picture == nullptr || !picture->valid()) return;
  const int left = std::max(0, -x), top = std::max(0, -y);
  const int right = std::min(picture->width(), image.width - x);
  const int bottom = std::min(picture->height(), image.height - y);
  for (int py = top; py < bottom; ++py) {
    const Pixel* row = picture->row(py);
    for (int px = left; px < right; ++px) {
      const Pixel p = row[px];
      image.at(x + px, y + py) = {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                                  static_cast<uint8_t>(p)};
    }
  }
}
