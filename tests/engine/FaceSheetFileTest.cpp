// The face-sheet file check both loaders make before reading a file whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "FaceSheetFile.h"

namespace {

// The fields the check reads.
struct Header {
  int64_t infoSize = 40, width = 4, height = 2, bits = 24, compression = 0, dataStart = 54;
  int64_t magic = 'B' | 'M' << 8;
};

// The file's first 54 bytes: "BM", where the pixels start, the info header.
std::vector<unsigned char> Bytes(const Header& h) {
  std::vector<unsigned char> bytes(54, 0);
  const int64_t n = h.infoSize == 12 ? 2 : 4;  // the OS/2 core header has 16-bit sizes
  const int64_t fields[][3] = {                // where, how many bytes, what
                               {0, 2, h.magic},
                               {10, 4, h.dataStart},
                               {14, 4, h.infoSize},
                               {18, n, h.width},
                               {18 + n, n, h.height},
                               {20 + 2 * n, 2, h.bits},
                               {30, 4, n == 4 ? h.compression : 0}};
  for (const auto& f : fields)
    for (int64_t i = 0; i < f[1]; ++i)
      bytes[static_cast<std::size_t>(f[0] + i)] = static_cast<unsigned char>(f[2] >> 8 * i);
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
      {{40, 4, -2, 8, 1, 54 + 1024}, 54 + 1024 + 16, false},    // coded top-down
      {{12, 4, 2, 24, 0, 26}, 26 + 24, true},                   // OS/2 core header
      {{40, 4, 2, 24, 0, 54, 'P' | 'M' << 8}, 54 + 24, false},  // not a bitmap
  };
  for (const auto& c : cases) {
    const std::vector<unsigned char> bytes = Bytes(c.header);
    const auto got = static_cast<std::size_t>(std::min<uint64_t>(c.fileBytes, bytes.size()));
    EXPECT_EQ(FaceSheetHeaderAcceptable(bytes.data(), got, c.fileBytes), c.accepted)
        << "case " << &c - cases;
  }
}

}  // namespace
