// The face-sheet file check both loaders make before reading a file whole.
#include <gtest/gtest.h>

#include <algorithm>
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

// The file's first 54 bytes: "BM", where the pixels start, the info header.
std::vector<unsigned char> Bytes(const Header& h) {
  std::vector<unsigned char> bytes(54, 0);
  const uint32_t n = h.infoSize == 12 ? 2 : 4;  // the OS/2 core header has 16-bit sizes
  // Where, how many bytes, what.
  const uint32_t fields[][3] = {{0, 2, 'B' | 'M' << 8},
                                {10, 4, h.dataStart},
                                {14, 4, h.infoSize},
                                {18, n, static_cast<uint32_t>(h.width)},
                                {18 + n, n, static_cast<uint32_t>(h.height)},
                                {20 + 2 * n, 2, h.bits},
                                {30, 4, n == 4 ? h.compression : 0}};
  for (const auto& f : fields)
    for (uint32_t i = 0; i < f[1]; ++i) bytes[f[0] + i] = static_cast<unsigned char>(f[2] >> 8 * i);
  return bytes;
}

TEST(FaceSheetFileTest, TheHeaderMayClaimOnlyWhatTheFileHolds) {
  const struct {
    Header header;
    uint64_t fileBytes;  // 4 x 2 at 24 bits: two rows of 12 bytes after byte 54
    bool accepted;
  } cases[] = {
      {{}, 54 + 24, true},
      {{}, 54 + 23, false},                                          // a row cut short
      {{}, 10, false},                                               // shorter than a header
      {{40, 4, -2}, 54 + 24, true},                                  // top-down
      {{40, 100000, 100000}, 54 + 24, false},                        // 10^10 pixels
      {{40, 4, 2, 24, 0, 54}, kMaxFaceSheetBytes + 1, false},        // over the cap
      {{40, 0, 2}, 54 + 24, false},                                  // no width
      {{40, -4, 2}, 54 + 24, false},                                 // negative width
      {{40, 4, 2, 7}, 54 + 24, false},                               // no such depth
      {{40, 4, 2, 24, 0, 9999}, 54 + 24, false},                     // data past the end
      {{20}, 54 + 24, false},                                        // unknown header
      {{40, 2000, 2000, 8, 1, 54 + 1024}, 54 + 1024 + 32000, true},  // run-length coded
      {{40, 2000, 2000, 8, 1, 54 + 1024}, 54 + 1024 + 31000, false},
      {{40, 4, -2, 8, 1, 54 + 1024}, 54 + 1024 + 16, false},  // coded top-down
      {{12, 4, 2, 24, 0, 26}, 26 + 24, true},                 // OS/2 core header
  };
  for (const auto& c : cases) {
    const std::vector<unsigned char> bytes = Bytes(c.header);
    const auto got = static_cast<std::size_t>(std::min<uint64_t>(c.fileBytes, bytes.size()));
    EXPECT_EQ(FaceSheetHeaderAcceptable(bytes.data(), got, c.fileBytes), c.accepted)
        << "case " << &c - cases;
  }
  std::vector<unsigned char> notBitmap = Bytes({});
  notBitmap[0] = 'P';
  EXPECT_FALSE(FaceSheetHeaderAcceptable(notBitmap.data(), notBitmap.size(), 54 + 24));
}

}  // namespace
