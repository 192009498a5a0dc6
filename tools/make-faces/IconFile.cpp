#include "IconFile.h"

#include "ByteWriter.h"

namespace {
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kDirSize = 6;
constexpr uint32_t kDirEntrySize = 16;

uint32_t Stride(int bitsPerRow) { return static_cast<uint32_t>(((bitsPerRow + 31) / 32) * 4); }

uint32_t ImageBytes(int size) {
  return kInfoHeaderSize + 16 * 4 + Stride(size * 4) * static_cast<uint32_t>(size) +
         Stride(size) * static_cast<uint32_t>(size);
}
}  // namespace

const std::array<Rgb, 16>& StandardPalette() {
  static const std::array<Rgb, 16> palette = {{
      {0, 0, 0},
      {128, 0, 0},
      {0, 128, 0},
      {128, 128, 0},
      {0, 0, 128},
      {128, 0, 128},
      {0, 128, 128},
      {192, 192, 192},
      {128, 128, 128},
      {255, 0, 0},
      {0, 255, 0},
      {255, 255, 0},
      {0, 0, 255},
      {255, 0, 255},
      {0, 255, 255},
      {255, 255, 255},
  }};
  return palette;
}

uint8_t NearestPaletteIndex(Rgb c, const std::vector<uint8_t>& allowed) {
  uint8_t best = 0;
  long bestDistance = -1;
  for (const uint8_t i : allowed) {
    const Rgb p = StandardPalette()[i & 15u];
    const long dr = c.r - p.r, dg = c.g - p.g, db = c.b - p.b;
    const long distance = dr * dr * 3 + dg * dg * 4 + db * db * 2;
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

std::vector<uint8_t> EncodeIcon(const std::vector<IconImage>& images) {
  ByteWriter out;
  out.U16(0);  // reserved
  out.U16(1);  // type: icon
  out.U16(static_cast<uint32_t>(images.size()));

  uint32_t offset = kDirSize + kDirEntrySize * static_cast<uint32_t>(images.size());
  for (const IconImage& image : images) {
    out.U8(static_cast<uint32_t>(image.size));  // width (0 would mean 256)
    out.U8(static_cast<uint32_t>(image.size));  // height
    out.U8(16);                                 // colours
    out.U8(0);                                  // reserved
    out.U16(1);                                 // planes
    out.U16(4);                                 // bits per pixel
    out.U32(ImageBytes(image.size));
    out.U32(offset);
    offset += ImageBytes(image.size);
  }

  for (const IconImage& image : images) {
    const int size = image.size;
    const uint32_t colourStride = Stride(size * 4);
    const uint32_t maskStride = Stride(size);
    out.U32(kInfoHeaderSize);
    out.I32(size);
    out.I32(size * 2);  // colour rows and mask rows
    out.U16(1);
    out.U16(4);
    out.U32(0);  // BI_RGB
    out.U32((colourStride + maskStride) * static_cast<uint32_t>(size));
    out.I32(0);
    out.I32(0);
    out.U32(16);
    out.U32(0);
    for (const Rgb& c : StandardPalette()) {
      out.U8(c.b);
      out.U8(c.g);
      out.U8(c.r);
      out.U8(0);
    }
    // Colour rows: two pixels a byte, high nibble first. Transparent
    // pixels are black, so the screen shows through unchanged.
    for (int y = size - 1; y >= 0; --y) {
      const size_t start = out.size();
      for (int x = 0; x < size; x += 2) {
        const size_t i = static_cast<size_t>(y * size + x);
        const uint32_t left = image.transparent[i] ? 0 : image.indices[i];
        const uint32_t right = x + 1 < size && !image.transparent[i + 1] ? image.indices[i + 1] : 0;
        out.U8((left << 4) | right);
      }
      out.Zeros(colourStride - (out.size() - start));
    }
    // Mask rows: a set bit lets the screen show through.
    for (int y = size - 1; y >= 0; --y) {
      const size_t start = out.size();
      for (int x = 0; x < size; x += 8) {
        uint32_t bits = 0;
        for (int b = 0; b < 8 && x + b < size; ++b)
          if (image.transparent[static_cast<size_t>(y * size + x + b)]) bits |= 0x80u >> b;
        out.U8(bits);
      }
      out.Zeros(maskStride - (out.size() - start));
    }
  }
  return std::move(out.bytes());
}
