// The world's whole course is fixed by its seed: these fingerprints were
// taken from a straightforward byte-per-cell step, so any faster step must
// reproduce every cell, face state and random draw of it.
#include <gtest/gtest.h>

#include <cstdint>

#include "CellMap.h"
#include "EngineSetup.h"

namespace {

// FNV-1a over every cell's byte and face state, then the bookkeeping.
uint64_t Fingerprint(const CellMap& map) {
  uint64_t hash = 14695981039346656037u;
  const auto mix = [&hash](uint32_t value) {
    for (int i = 0; i < 4; ++i) {
      hash ^= (value >> (8 * i)) & 0xFFu;
      hash *= 1099511628211u;
    }
  };
  for (uint32_t y = 0; y < map.rows(); ++y)
    for (uint32_t x = 0; x < map.cols(); ++x)
      mix(map.cellByte(x, y) | (uint32_t{map.faceState(x, y)} << 8));
  mix(static_cast<uint32_t>(map.population()));
  mix(static_cast<uint32_t>(map.generation()));
  mix(static_cast<uint32_t>(map.stallCountdown()));
  mix(map.seed());
  return hash;
}

struct RecordedRun {
  FaceInfo face;
  uint32_t cols, rows, seed, initpop;
  uint64_t fingerprint;
};

TEST(FingerprintTest, ThousandGenerationsEndInTheRecordedWorld) {
  const RecordedRun runs[] = {
      // A dense soup of the default faces on a grid of whole 64-cell words.
      {kDefaultFace, 256, 192, 20261208, 256 * 192 / 2, 0xec400323148efdd3u},
      // Odd widths (part words), no birth animation, one idle frame, many rows.
      {{"x.bmp", 16, 16, 9, 200, 0, 2}, 101, 37, 4711, 1500, 0xd7b5a7e66169ad70u},
      {{"x.bmp", 16, 16, 25, 6, 5, 12}, 67, 130, 99, 3000, 0x79d0dbe508b2d338u},
      // Sparse, reseeding on stalls; a frame range past the row.
      {{"x.bmp", 16, 16, 13, 3, 12, 0}, 130, 65, 5, 200, 0x421228133588727cu},
  };
  for (const RecordedRun& run : runs) {
    WorldConfig config = MakeWorldConfig(run.face, 1024, 768);
    config.cols = run.cols;
    config.rows = run.rows;
    config.seed = run.seed;
    config.initpop = run.initpop;
    CellMap map;
    ASSERT_EQ(map.Create(config), CreateResult::kCreated);
    for (int step = 0; step < 1000; ++step) map.NextGeneration();
    EXPECT_EQ(Fingerprint(map), run.fingerprint) << run.cols << "x" << run.rows;
  }
}

}  // namespace
