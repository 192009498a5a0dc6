// Pixel operations shared by both kinds of picture: plain memory writes.
#include <algorithm>
#include <cstring>

#include "Picture.h"

namespace {
// Clips rect to a width x height picture.
PixelRect Clip(const PixelRect& rect, int width, int height) {
  return {std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, width),
          std::min(rect.bottom, height)};
}
}  // namespace

void Picture::Fill(const PixelRect& rect, Pixel color) {
  if (!valid()) return;
  BeforePixelWrite();
  const PixelRect r = Clip(rect, width_, height_);
  for (int y = r.top; y < r.bottom; ++y)
    std::fill(mutableRow(y) + r.left, mutableRow(y) + r.right, color);
}

void Picture::Frame(const PixelRect& rect, Pixel color) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  Fill({rect.left, rect.top, rect.right, rect.top + 1}, color);
  Fill({rect.left, rect.bottom - 1, rect.right, rect.bottom}, color);
  Fill({rect.left, rect.top, rect.left + 1, rect.bottom}, color);
  Fill({rect.right - 1, rect.top, rect.right, rect.bottom}, color);
}

void Picture::SetPixel(int x, int y, Pixel color) {
  if (!valid() || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  BeforePixelWrite();
  mutableRow(y)[x] = color;
}

namespace {
// Row copies of a width known at compile time compile to a few vector moves;
// small tiles are copied tens of thousands of times per tick.
template <int kWidth>
void CopyRows(Pixel* to, size_t toStride, const Pixel* from, size_t fromStride, int h) {
  for (int i = 0; i < h; ++i, to += toStride, from += fromStride)
    std::memcpy(to, from, kWidth * sizeof(Pixel));
}
}  // namespace

void Picture::CopyTile(const Picture& source, int sx, int sy, int w, int h, int dx, int dy) {
  BeforePixelWrite();
  Pixel* to = mutableRow(dy) + dx;
  const Pixel* from = source.row(sy) + sx;
  const auto toStride = static_cast<size_t>(stride_);
  const auto fromStride = static_cast<size_t>(source.stride_);
  switch (w) {
    case 8:
      return CopyRows<8>(to, toStride, from, fromStride, h);
    case 16:
      return CopyRows<16>(to, toStride, from, fromStride, h);
    case 32:
      return CopyRows<32>(to, toStride, from, fromStride, h);
    default:
      for (int i = 0; i < h; ++i, to += toStride, from += fromStride)
        std::memcpy(to, from, static_cast<size_t>(w) * sizeof(Pixel));
  }
}

void Picture::CopyFrom(const Picture& source) {
  if (!valid() || !source.valid()) return;
  BeforePixelWrite();
  const int w = std::min(width_, source.width_);
  const int h = std::min(height_, source.height_);
  const size_t bytes = static_cast<size_t>(w) * sizeof(Pixel);
  for (int y = 0; y < h; ++y) std::memcpy(mutableRow(y), source.row(y), bytes);
}

void Picture::CopyRectFrom(const Picture& source, const PixelRect& rect) {
  if (!valid() || !source.valid()) return;
  BeforePixelWrite();
  const PixelRect r = Clip(Clip(rect, width_, height_), source.width_, source.height_);
  if (r.right <= r.left) return;
  const size_t bytes = static_cast<size_t>(r.right - r.left) * sizeof(Pixel);
  for (int y = r.top; y < r.bottom; ++y)
    std::memcpy(mutableRow(y) + r.left, source.row(y) + r.left, bytes);
}

void Picture::OrCopyFrom(const Picture& source, int dx, int dy) {
  if (!valid() || !source.valid()) return;
  BeforePixelWrite();
  const PixelRect r = Clip({dx, dy, dx + source.width_, dy + source.height_}, width_, height_);
  for (int y = r.top; y < r.bottom; ++y) {
    const Pixel* from = source.row(y - dy) + (r.left - dx);
    Pixel* to = mutableRow(y);
    for (int x = r.left; x < r.right; ++x) to[x] |= *from++;
  }
}
