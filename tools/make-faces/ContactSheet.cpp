#include "ContactSheet.h"

#include <algorithm>

namespace {
constexpr Rgb kGrid = {48, 48, 56};
constexpr Rgb kRangeMark[] = {{90, 90, 90}, {80, 200, 120}, {90, 150, 255}, {230, 90, 90}};
constexpr int kGap = 12;  // between sets
constexpr int kLine = 1;  // grid line
constexpr int kMark = 4;  // height of the frame-range bar above each set

// 0 blank, 1 birth, 2 idle, 3 death.
int RangeOf(const FaceSet& set, int frame) {
  if (frame == 0) return 0;
  if (frame <= set.bornEnd) return 1;
  if (frame < set.dieStart) return 2;
  return 3;
}
}  // namespace

RgbImage MakeContactSheet(const std::vector<FaceSet>& sets, const std::vector<RgbImage>& sheets,
                          int zoom) {
  std::vector<int> zooms;
  for (const FaceSet& set : sets) zooms.push_back(std::max(1, zoom * 16 / set.frameHeight));

  int width = 0, height = kGap;
  for (size_t s = 0; s < sets.size(); ++s) {
    const FaceSet& set = sets[s];
    const int z = zooms[s];
    width = std::max(width, set.numFrames() * (set.frameWidth * z + kLine) + kLine);
    height += kMark + kLine + set.numRows() * (set.frameHeight * z + kLine) + kGap;
  }
  RgbImage out(width + 2 * kGap, height);

  int top = kGap;
  for (size_t s = 0; s < sets.size(); ++s) {
    const FaceSet& set = sets[s];
    const int z = zooms[s];
    const int cellW = set.frameWidth * z + kLine;
    const int cellH = set.frameHeight * z + kLine;
    const int blockW = set.numFrames() * cellW + kLine;
    const int blockH = set.numRows() * cellH + kLine;
    // A coloured bar over each frame says its range.
    for (int f = 0; f < set.numFrames(); ++f)
      for (int y = 0; y < kMark - 1; ++y)
        for (int x = 0; x < cellW - kLine; ++x)
          out.at(kGap + f * cellW + kLine + x, top + y) = kRangeMark[RangeOf(set, f)];
    top += kMark;
    for (int y = 0; y < blockH; ++y)
      for (int x = 0; x < blockW; ++x)
        if (y % cellH == 0 || x % cellW == 0) out.at(kGap + x, top + y) = kGrid;
    for (int r = 0; r < set.numRows(); ++r) {
      for (int f = 0; f < set.numFrames(); ++f) {
        for (int y = 0; y < set.frameHeight * z; ++y) {
          for (int x = 0; x < set.frameWidth * z; ++x) {
            out.at(kGap + f * cellW + kLine + x, top + r * cellH + kLine + y) =
                sheets[s].at(f * set.frameWidth + x / z, r * set.frameHeight + y / z);
          }
        }
      }
    }
    top += blockH + kGap;
  }
  return out;
}
