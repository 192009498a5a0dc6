// Pictures in plain memory, for the native build (tests and tools).
#include <stb/stb_image.h>

#include <cstdint>
#include <cstdlib>
#include <new>

#include "NativeFont.h"
#include "Picture.h"

namespace {
// Largest picture we agree to make: 2^28 pixels (1 GiB).
constexpr int64_t kMaxPixels = int64_t{1} << 28;

bool SizeAcceptable(int width, int height) {
  return width > 0 && height > 0 &&
         static_cast<int64_t>(width) * height <= kMaxPixels;
}
}  // namespace

struct NativeWindow {};

WindowHandle OffscreenWindow() {
  static NativeWindow window;
  return &window;
}

Picture::~Picture() { Release(); }

void Picture::Release() {
  std::free(pixels_);
  pixels_ = nullptr;
  width_ = height_ = 0;
}

bool Picture::Create(WindowHandle window, int width, int height) {
  Release();
  if (window == nullptr || !SizeAcceptable(width, height)) return false;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  pixels_ = static_cast<Pixel*>(std::calloc(count, sizeof(Pixel)));
  if (pixels_ == nullptr) return false;
  width_ = width;
  height_ = height;
  return true;
}

Picture::LoadResult Picture::LoadScaled(WindowHandle window, const char* fileName,
                                        int width, int height) {
  if (!SizeAcceptable(width, height)) return LoadResult::kUnreadable;
  int fileWidth = 0, fileHeight = 0, channels = 0;
  unsigned char* image = stbi_load(fileName, &fileWidth, &fileHeight, &channels, 3);
  if (image == nullptr) return LoadResult::kUnreadable;
  if (!Create(window, width, height)) {
    stbi_image_free(image);
    return LoadResult::kNoSurface;
  }
  // Nearest-neighbour scaling to the requested size.
  for (int y = 0; y < height; ++y) {
    const int64_t fy = static_cast<int64_t>(y) * fileHeight / height;
    Pixel* out = mutableRow(y);
    for (int x = 0; x < width; ++x) {
      const int64_t fx = static_cast<int64_t>(x) * fileWidth / width;
      const unsigned char* rgb = image + (fy * fileWidth + fx) * 3;
      out[x] = (Pixel{rgb[0]} << 16) | (Pixel{rgb[1]} << 8) | rgb[2];
    }
  }
  stbi_image_free(image);
  return LoadResult::kLoaded;
}

void Picture::BeforePixelWrite() {}

void Picture::PrepareText(FontHandle font, uint32_t color) {
  font_ = font;
  textColor_ = PixelFromColor(color);
}

void Picture::WriteText(int x, int y, const char* text, int length) {
  if (!valid()) return;
  DrawNativeText(font_ != nullptr ? font_ : DefaultNativeFont(), text, length,
                 [&](int px, int py) { SetPixel(x + px, y + py, textColor_); });
}
