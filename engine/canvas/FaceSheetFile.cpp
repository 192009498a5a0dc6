#include "FaceSheetFile.h"

namespace {

constexpr uint64_t kMaxPixels = uint64_t{1} << 28;
constexpr uint64_t kMaxPixelsPerCodedByte = 128;  // a run gives 255 pixels for 2 bytes

uint32_t Little(const unsigned char* at, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | at[i];
  return value;
}

}  // namespace

bool FaceSheetHeaderAcceptable(const unsigned char* header, std::size_t headerBytes,
                               uint64_t fileBytes) {
  constexpr std::size_t kFileHeader = 14;
  if (fileBytes > kMaxFaceSheetBytes || headerBytes < kFileHeader + 12 ||
      headerBytes > fileBytes || header[0] != 'B' || header[1] != 'M')
    return false;
  const uint64_t dataStart = Little(header + 10, 4);
  const unsigned char* info = header + kFileHeader;
  const uint32_t infoSize = Little(info, 4);
  uint64_t width = 0, height = 0;
  uint32_t bits = 0, compression = 0;
  if (infoSize == 12) {  // the OS/2 core header: 16-bit sizes, no compression
    width = Little(info + 4, 2);
    height = Little(info + 6, 2);
    bits = Little(info + 10, 2);
  } else if (infoSize >= 40 && infoSize <= 124 && headerBytes >= kFileHeader + 40) {
    const auto signedWidth = static_cast<int32_t>(Little(info + 4, 4));
    const auto signedHeight = static_cast<int32_t>(Little(info + 8, 4));  // < 0: top-down
    if (signedWidth <= 0 || signedHeight == INT32_MIN) return false;
    width = static_cast<uint64_t>(signedWidth);
    height = static_cast<uint64_t>(signedHeight < 0 ? -int64_t{signedHeight} : signedHeight);
    bits = Little(info + 14, 2);
    compression = Little(info + 16, 4);
  } else {
    return false;
  }
  if (width == 0 || height == 0 || width * height > kMaxPixels) return false;
  if (dataStart < kFileHeader + infoSize || dataStart >= fileBytes) return false;
  const uint64_t dataBytes = fileBytes - dataStart;
  switch (compression) {
    case 0:  // BI_RGB
    case 3:  // BI_BITFIELDS
      if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
      if (compression == 3 && bits != 16 && bits != 32) return false;
      return (width * bits + 31) / 32 * 4 * height <= dataBytes;
    case 1:  // BI_RLE8
    case 2:  // BI_RLE4
      if (bits != (compression == 1 ? 8u : 4u) || static_cast<int32_t>(Little(info + 8, 4)) < 0)
        return false;
      return width * height <= dataBytes * kMaxPixelsPerCodedByte;
    default:
      return false;
  }
}
