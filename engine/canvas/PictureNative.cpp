// Pictures in plain memory, for the native build (tests and tools).
#include <stb/stb_image.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

#include "NativeFont.h"
#include "Acquisition.h"
#include "FaceSheetFile.h"
#include "Picture.h"

namespace {
// Largest picture we agree to make: 2^28 pixels (1 GiB).
constexpr int64_t kMaxPixels = int64_t{1} << 28;

bool SizeAcceptable(int width, int height) {
  return width > 0 && height > 0 && static_cast<int64_t>(width) * height <= kMaxPixels;
}

// The most pixels a bitmap file can hold per byte: a run-length-coded
// run gives up to 255 pixels for two bytes.
constexpr int64_t kMaxPixelsPerByte = 128;

// Reads a face-sheet file whole, after checking its size and header;
// false when it cannot be read or is not one the saver takes.
bool ReadFaceSheetFile(const char* fileName, std::vector<unsigned char>& bytes) {
  std::FILE* file = std::fopen(fileName, "rb");
  if (file == nullptr) return false;
  unsigned char header[kFaceSheetHeaderBytes] = {};
  const size_t headerBytes = std::fread(header, 1, sizeof header, file);
  const long size = std::fseek(file, 0, SEEK_END) == 0 ? std::ftell(file) : -1;
  bool accepted = size >= 0 && FaceSheetHeaderAcceptable(header, headerBytes,
                                                          static_cast<uint64_t>(size));
  if (accepted && std::fseek(file, 0, SEEK_SET) == 0) {
    bytes.resize(static_cast<size_t>(size));
    accepted = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
  }
  std::fclose(file);
  return accepted;
}

// Decodes a face sheet. Only bitmap files are face sheets, as for the
// platform's loader, and their header is checked before any pixel memory
// is taken: a header claiming more pixels than the file can hold (or
// than a picture may have) is refused rather than decoded.
unsigned char* DecodeBitmap(const std::vector<unsigned char>& bytes, int* width, int* height) {
  if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M' || bytes.size() > INT32_MAX)
    return nullptr;
  const int size = static_cast<int>(bytes.size());
  int channels = 0;
  if (stbi_info_from_memory(bytes.data(), size, width, height, &channels) == 0 ||
      !SizeAcceptable(*width, *height) ||
      int64_t{*width} * *height > int64_t{size} * kMaxPixelsPerByte)
    return nullptr;
  return stbi_load_from_memory(bytes.data(), size, width, height, &channels, 3);
}
}  // namespace

struct NativeWindow {};

WindowHandle OffscreenWindow() {
  static NativeWindow window;
  return &window;
}

Picture::~Picture() { Release(); }

void Picture::Release() {
  if (!attached_) std::free(pixels_);
  attached_ = false;
  pixels_ = nullptr;
  width_ = height_ = stride_ = 0;
}

bool Picture::Attach(Pixel* pixels, int width, int height, int stride) {
  Release();
  if (pixels == nullptr || !SizeAcceptable(width, height) || stride < width) return false;
  pixels_ = pixels;
  attached_ = true;
  width_ = width;
  height_ = height;
  stride_ = stride;
  return true;
}

bool Picture::Create(WindowHandle window, int width, int height) {
  Release();
  if (window == nullptr || !SizeAcceptable(width, height) || !MayAcquire(Acquisition::kSurface))
    return false;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  pixels_ = static_cast<Pixel*>(std::calloc(count, sizeof(Pixel)));
  if (pixels_ == nullptr) return false;
  width_ = stride_ = width;
  height_ = height;
  if (kBlack != 0) std::fill(pixels_, pixels_ + count, kBlack);
  return true;
}

Picture::LoadResult Picture::LoadScaled(WindowHandle window, const char* fileName, int width,
                                        int height) {
  if (!SizeAcceptable(width, height)) return LoadResult::kUnreadable;
  std::vector<unsigned char> bytes;
  if (!ReadFaceSheetFile(fileName, bytes)) return LoadResult::kUnreadable;
  int fileWidth = 0, fileHeight = 0;
  unsigned char* image = DecodeBitmap(bytes, &fileWidth, &fileHeight);
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
      out[x] = PixelFromRgb(rgb[0], rgb[1], rgb[2]);
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
