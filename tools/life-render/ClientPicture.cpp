#include "ClientPicture.h"

#include <algorithm>

RgbImage ClientPicture(const Picture* picture, uint32_t width, uint32_t height) {
  RgbImage image(static_cast<int>(width), static_cast<int>(height));
  PastePicture(image, picture, 0, 0);
  return image;
}

void PastePicture(RgbImage& image, const Picture* picture, int x, int y, const PixelRect& clip) {
  if (picture == nullptr || !picture->valid()) return;
  // In picture pixels; the clip is taken in 64 bits so that its open
  // default cannot overflow.
  const auto from = [](int64_t edge, int offset, int64_t low, int64_t high) {
    return static_cast<int>(std::clamp(edge - offset, low, high));
  };
  const int left = std::max({0, -x, from(clip.left, x, 0, picture->width())});
  const int top = std::max({0, -y, from(clip.top, y, 0, picture->height())});
  const int right =
      std::min({picture->width(), image.width - x, from(clip.right, x, 0, picture->width())});
  const int bottom =
      std::min({picture->height(), image.height - y, from(clip.bottom, y, 0, picture->height())});
  for (int py = top; py < bottom; ++py) {
    const Pixel* row = picture->row(py);
    for (int px = left; px < right; ++px) {
      const Pixel p = row[px];
      image.at(x + px, y + py) = {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                                  static_cast<uint8_t>(p)};
    }
  }
}
