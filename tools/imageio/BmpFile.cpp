#include "BmpFile.h"

#include <cstdio>

#include "ByteWriter.h"

namespace {
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr int32_t kPixelsPerMetre = 2835;  // 72 dots per inch
}  // namespace

size_t BmpRowStride(int width) { return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3}; }

std::vector<uint8_t> EncodeBmp24(const RgbImage& image) {
  const size_t stride = BmpRowStride(image.width);
  const size_t imageSize = stride * static_cast<size_t>(image.height);
  const uint32_t offset = kFileHeaderSize + kInfoHeaderSize;

  ByteWriter out;
  // BITMAPFILEHEADER
  out.U8('B');
  out.U8('M');
  out.U32(static_cast<uint32_t>(offset + imageSize));
  out.U16(0);
  out.U16(0);
  out.U32(offset);
  // BITMAPINFOHEADER: positive height, so rows are stored bottom-up.
  out.U32(kInfoHeaderSize);
  out.I32(image.width);
  out.I32(image.height);
  out.U16(1);   // planes
  out.U16(24);  // bits per pixel
  out.U32(0);   // BI_RGB
  out.U32(static_cast<uint32_t>(imageSize));
  out.I32(kPixelsPerMetre);
  out.I32(kPixelsPerMetre);
  out.U32(0);  // colours used
  out.U32(0);  // important colours

  const size_t padding = stride - static_cast<size_t>(image.width) * 3;
  for (int y = image.height - 1; y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const Rgb p = image.at(x, y);
      out.U8(p.b);
      out.U8(p.g);
      out.U8(p.r);
    }
    out.Zeros(padding);
  }
  return std::move(out.bytes());
}

bool WriteBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}
