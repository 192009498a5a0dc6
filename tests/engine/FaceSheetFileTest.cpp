// The face-sheet file check both loaders make before reading a file whole.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "FaceSheetFile.h"

namespace {

struct Header {
  uint32_t infoSize = 40;
  int32_t width = 4, height = 2;
  uint16_t bits = 24;
  uint32_t compression = 0;
  uint32_t dataStart = 54;
};

std::vector<unsigned char> Bytes(const Header& h) {
  std::vector<unsigned char> bytes(54, 0);
  const auto put = [&](std::size_t at, uint32_t value, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
      bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put(10, h.dataStart, 4);
  put(14, h.infoSize, 4);
  if (h.infoSize == 12) {
    put(18, static_cast<uint32_t>(h.width), 2);
    put(20, static_cast<uint32_t>(h.height), 2);
    put(24, h.bits, 2);
  } else {
    put(18, static_cast<uint32_t>(h.width), 4);
    put(22, static_cast<uint32_t>(h.height), 4);
    put(28, h.bits, 2);
    put(30, h.compression, 4);
  }
  return bytes;
}

TEST(FaceSheetFileTest, TheHeaderMayClaimOnlyWhatTheFileHolds) {
  const struct {
    Header header;
    uint64_t fileBytes;  // 4 x 2 at 24 bits: two rows of 12 bytes after byte 54
    bool accepted;
  } cases[] = {
      {{}, 54 + 24, true},
      {{}, 54 + 23, false},                                        // a row cut short
      {{40, 4, -2}, 54 + 24, true},                                // top-down
      {{40, 100000, 100000}, 54 + 24, false},                      // 10^10 pixels
      {{40, 30000, 30000}, kMaxFaceSheetBytes, false},             // more than the bytes
      {{40, 4, 2, 24, 0, 54}, kMaxFaceSheetBytes + 1, false},      // over the cap
      {{40, 0, 2}, 54 + 24, false},                                // no width
      {{40, -4, 2}, 54 + 24, false},                               // negative width
      {{40, 4, 2, 7}, 54 + 24, false},                             // no such depth
      {{40, 4, 2, 24, 0, 9999}, 54 + 24, false},                   // data past the end
      {{20}, 54 + 24, false},                                      // unknown header
      {{40, 2000, 2000, 8, 1, 54 + 1024}, 54 + 1024 + 32000, true},  // run-length coded
      {{40, 2000, 2000, 8, 1, 54 + 1024}, 54 + 1024 + 31000, false},
      {{40, 4, -2, 8, 1, 54 + 1024}, 54 + 1024 + 16, false},      // coded top-down
      {{12, 4, 2, 24, 0, 26}, 26 + 24, true},                      // OS/2 core header
  };
  for (const auto& c : cases) {
    const std::vector<unsigned char> bytes = Bytes(c.header);
    const std::size_t got = c.fileBytes < bytes.size() ? c.fileBytes : bytes.size();
    EXPECT_EQ(FaceSheetHeaderAcceptable(bytes.data(), got, c.fileBytes), c.accepted)
        << c.header.width << " x " << c.header.height << " at " << c.header.bits << " bits, "
        << c.fileBytes << " bytes";
  }
  std::vector<unsigned char> notBitmap = Bytes({});
  notBitmap[0] = 'P';
  EXPECT_FALSE(FaceSheetHeaderAcceptable(notBitmap.data(), notBitmap.size(), 54 + 24));
  EXPECT_FALSE(FaceSheetHeaderAcceptable(notBitmap.data(), 10, 10));  // shorter than a header
}

}  // namespace
