#include <gtest/gtest.h>

#include <set>
#include <vector>
#include <utility>

#include "CellMap.h"
#include "CellMapProbe.h"
#include "EngineSetup.h"
#include "Random.h"

namespace {

// A headless map with the default face ranges.
void Configure(CellMap& map, uint32_t seed, uint32_t initpop) {
  const EngineSetup setup = DeriveEngineSetup(kDefaultFace, 1024, 768);
  map.seed = seed;
  map.initpop = initpop;
  ApplyFaceSetup(map, kDefaultFace, setup);
}

// A headless map of cols x rows with an empty, blank world.
void MakeEmpty(CellMap& map, uint32_t cols, uint32_t rows) {
  Configure(map, 7, 1);
  map.Create(nullptr, cols, rows);
  CellMapProbe::Clear(map);
}

uint32_t Frame(const CellMap& map, uint32_t x, uint32_t y) { return map.faceState(x, y) >> 8; }

// Checks the invariants: neighbour bits, population, frames and rows in range.
void ExpectConsistent(const CellMap& map) {
  int32_t live = 0;
  for (uint32_t y = 0; y < map.rows(); ++y)
    for (uint32_t x = 0; x < map.cols(); ++x) {
      ASSERT_EQ(map.cellByte(x, y) >> 1, RecountNeighbours(map, x, y) >> 1)
          << "at " << x << "," << y;
      ASSERT_LE(map.cellByte(x, y), 17);
      ASSERT_LT(Frame(map, x, y), map.numFrames);
      ASSERT_LT(map.faceState(x, y) & 0xFFu, map.numRows);
      if (map.IsAlive(x, y)) ++live;
      if (Frame(map, x, y) == 0) {
        ASSERT_EQ(map.faceState(x, y) & 0xFFu, 0u);
      }
    }
  ASSERT_EQ(map.population(), live);
}

TEST(SeedTest, InitpopIsClampedToOneAttemptAndToTheGrid) {
  CellMap none;
  Configure(none, 99, 0);
  none.Create(nullptr, 8, 8);
  EXPECT_EQ(none.initpop, 1u);
  EXPECT_EQ(none.population(), 1);

  CellMap crowded;
  Configure(crowded, 99, 1000);
  crowded.Create(nullptr, 4, 4);
  EXPECT_EQ(crowded.initpop, 16u);
  EXPECT_LE(crowded.population(), 16);
}

TEST(SeedTest, PlacesExactlyTheDistinctCellsItDraws) {
  CellMap map;
  Configure(map, 4242, 60);
  map.Create(nullptr, 10, 6);
  // Replay the draws: x, then y, then a face row for each cell placed.
  SeedRandom(4242);
  std::set<std::pair<uint32_t, uint32_t>> placed;
  for (int attempt = 0; attempt < 60; ++attempt) {
    const uint32_t x = DrawRandom() % 10;
    const uint32_t y = DrawRandom() % 6;
    if (!placed.insert({x, y}).second) continue;
    const uint32_t row = DrawRandom() % 6;
    EXPECT_EQ(map.faceState(x, y), row | (1u << 8)) << x << "," << y;
  }
  EXPECT_EQ(map.population(), static_cast<int32_t>(placed.size()));
  EXPECT_LT(map.population(), 60);  // some attempts hit the same cell
  // The next seed is the next draw.
  EXPECT_EQ(map.seed, DrawRandom());
  EXPECT_EQ(map.generation(), 0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(map.populationHistory(i), -1);
  ExpectConsistent(map);
}

TEST(SeedTest, FixedSeedReproducesTheWorld) {
  // The generator is shared: run one map after the other.
  std::vector<uint16_t> first;
  int32_t population = 0, generation = 0;
  for (int run = 0; run < 2; ++run) {
    CellMap map;
    Configure(map, 1234, 150);
    map.Create(nullptr, 64, 48);
    for (int step = 0; step < 300; ++step) map.NextGeneration();
    std::vector<uint16_t> faces(map.faceStates(), map.faceStates() + map.cellCount());
    if (run == 0) {
      first = faces;
      population = map.population();
      generation = map.generation();
    } else {
      EXPECT_EQ(faces, first);
      EXPECT_EQ(map.population(), population);
      EXPECT_EQ(map.generation(), generation);
    }
  }
}

TEST(SeedTest, ZeroSeedTakesTheClock) {
  CellMap map;
  Configure(map, 0, 10);
  map.Create(nullptr, 16, 16);
  EXPECT_GT(map.population(), 0);
  EXPECT_LE(map.seed, 32767u);  // replaced by a draw after seeding
}

TEST(SeedTest, CellAtTheCornerRaisesItsWrappedNeighbours) {
  CellMap map;
  MakeEmpty(map, 5, 4);
  CellMapProbe::Place(map, 0, 0);
  const std::set<std::pair<uint32_t, uint32_t>> neighbours = {
      {4, 3}, {0, 3}, {1, 3}, {4, 0}, {1, 0}, {4, 1}, {0, 1}, {1, 1}};
  for (uint32_t y = 0; y < 4; ++y)
    for (uint32_t x = 0; x < 5; ++x) {
      const unsigned expected = (x == 0 && y == 0) ? 1 : neighbours.count({x, y}) ? 2 : 0;
      EXPECT_EQ(map.cellByte(x, y), expected) << x << "," << y;
    }
}

TEST(SeedTest, ReseedKeepsTheWorldAndAddsToIt) {
  CellMap map;
  MakeEmpty(map, 32, 32);
  CellMapProbe::Place(map, 3, 3, 2, 7);
  map.initpop = 40;
  map.Seed(555);
  EXPECT_TRUE(map.IsAlive(3, 3));
  EXPECT_EQ(map.faceState(3, 3), 2u | (7u << 8));
  EXPECT_GT(map.population(), 1);
  ExpectConsistent(map);
}

TEST(SeedTest, GridWithoutCellsNeitherCrashesNorSeeds) {
  CellMap map;
  Configure(map, 3, 150);
  map.Create(nullptr, 0, 0);
  EXPECT_EQ(map.population(), 0);
  map.Seed(0);
  for (int i = 0; i < 30; ++i) map.NextGeneration();
  EXPECT_EQ(map.population(), 0);
}

// Steps the map and returns the set of live cells.
std::set<std::pair<uint32_t, uint32_t>> LiveCells(const CellMap& map) {
  std::set<std::pair<uint32_t, uint32_t>> live;
  for (uint32_t y = 0; y < map.rows(); ++y)
    for (uint32_t x = 0; x < map.cols(); ++x)
      if (map.IsAlive(x, y)) live.insert({x, y});
  return live;
}

TEST(GenerationTest, BlinkerAcrossTheEdgesOscillates) {
  // Horizontal across the left/right edge, vertical across top/bottom.
  CellMap map;
  MakeEmpty(map, 12, 10);
  for (uint32_t x : {11u, 0u, 1u}) CellMapProbe::Place(map, x, 5);
  for (uint32_t y : {9u, 0u, 1u}) CellMapProbe::Place(map, 6, y);
  const auto start = LiveCells(map);
  map.NextGeneration();
  const std::set<std::pair<uint32_t, uint32_t>> turned = {
      {0, 4}, {0, 5}, {0, 6}, {5, 0}, {6, 0}, {7, 0}};
  EXPECT_EQ(LiveCells(map), turned);
  map.NextGeneration();
  EXPECT_EQ(LiveCells(map), start);
  ExpectConsistent(map);
}

TEST(GenerationTest, BlockIsStableAndAnimatesThroughBirthThenIdles) {
  CellMap map;
  MakeEmpty(map, 10, 10);
  for (auto [x, y] : {std::pair{4u, 4u}, {5u, 4u}, {4u, 5u}, {5u, 5u}})
    CellMapProbe::Place(map, x, y);
  for (uint32_t expected = 2; expected <= 6; ++expected) {
    map.NextGeneration();
    EXPECT_EQ(Frame(map, 4, 4), expected);
  }
  for (int step = 0; step < 15; ++step) {  // before the stall reseed
    map.NextGeneration();
    const uint32_t frame = Frame(map, 5, 5);
    EXPECT_GE(frame, 6u);
    EXPECT_LE(frame, 11u);
    EXPECT_EQ(map.population(), 4);
  }
}

TEST(GenerationTest, StagnantWorldReseedsOnThe26thStagnantStep) {
  CellMap map;
  MakeEmpty(map, 20, 20);
  for (auto [x, y] : {std::pair{4u, 4u}, {5u, 4u}, {4u, 5u}, {5u, 5u}})
    CellMapProbe::Place(map, x, y);
  map.initpop = 30;
  // A still life repeats its population: every step is stagnant.
  for (int step = 1; step <= 25; ++step) {
    map.NextGeneration();
    EXPECT_EQ(map.population(), 4) << step;
    EXPECT_EQ(map.generation(), 0);  // stagnant steps are not counted
    EXPECT_EQ(map.stallCountdown(), 25 - step);
  }
  map.NextGeneration();  // the 26th stagnant step reseeds
  EXPECT_GT(map.population(), 4);
  EXPECT_EQ(map.generation(), 0);
  EXPECT_EQ(map.stallCountdown(), -1);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(map.populationHistory(i), -1);
  ExpectConsistent(map);
  // The next step compares only against the population at the reseed.
  const int32_t reseeded = map.population();
  map.NextGeneration();
  EXPECT_EQ(map.populationHistory(0), reseeded);
  EXPECT_EQ(map.populationHistory(1), -1);
  if (map.population() != reseeded) {
    EXPECT_EQ(map.stallCountdown(), 25);
    EXPECT_EQ(map.generation(), 1);
  }
}

TEST(GenerationTest, LoneCellDiesAndItsFacePlaysOnToBlank) {
  CellMap map;
  MakeEmpty(map, 8, 8);
  CellMapProbe::Place(map, 3, 3, 4, 3);  // dies at frame 3
  map.NextGeneration();
  EXPECT_FALSE(map.IsAlive(3, 3));
  EXPECT_EQ(map.population(), 0);
  for (uint32_t frame = 4; frame <= 24; ++frame) {
    EXPECT_EQ(map.faceState(3, 3), 4u | (frame << 8));
    map.NextGeneration();
  }
  EXPECT_EQ(map.faceState(3, 3), 0u);
  map.NextGeneration();
  EXPECT_EQ(map.faceState(3, 3), 0u);
}

TEST(GenerationTest, DyingCellBornAgainStartsOverWithANewFace) {
  CellMap map;
  MakeEmpty(map, 10, 10);
  CellMapProbe::SetFace(map, 5, 5, 3, 15);  // dead, in its death animation
  for (auto [x, y] : {std::pair{4u, 4u}, {5u, 4u}, {6u, 4u}}) CellMapProbe::Place(map, x, y);
  map.NextGeneration();
  EXPECT_TRUE(map.IsAlive(5, 5));
  EXPECT_EQ(Frame(map, 5, 5), 1u);
  EXPECT_LT(map.faceState(5, 5) & 0xFFu, 6u);
}

TEST(GenerationTest, OneIdleFrameMeansAlwaysThatFrame) {
  CellMap map;
  MakeEmpty(map, 10, 10);
  map.liveSpan = 1;
  for (auto [x, y] : {std::pair{4u, 4u}, {5u, 4u}, {4u, 5u}, {5u, 5u}})
    CellMapProbe::Place(map, x, y, 0, 5);
  for (int step = 0; step < 20; ++step) {
    map.NextGeneration();
    EXPECT_EQ(Frame(map, 4, 5), 6u);
  }
}

TEST(GenerationTest, LiveCellPastTheRowIsDrawnBlankWhileAlive) {
  // Idle frames reach numFrames when dieStart lies past the row.
  CellMap map;
  MakeEmpty(map, 10, 10);
  map.numFrames = 4;
  map.bornEnd = 3;
  map.liveEnd = 4;
  map.liveSpan = 1;
  for (auto [x, y] : {std::pair{4u, 4u}, {5u, 4u}, {4u, 5u}, {5u, 5u}})
    CellMapProbe::Place(map, x, y, 0, 3);
  map.NextGeneration();
  EXPECT_TRUE(map.IsAlive(4, 4));
  EXPECT_EQ(map.faceState(4, 4), 0u);
}

TEST(GenerationTest, HugeFaceSetsUseTheirFirst256FramesAndRows) {
  CellMap map;
  Configure(map, 77, 500);
  map.numFrames = 1000;
  map.numRows = 1000;
  map.bornEnd = 300;
  map.liveEnd = 900;
  map.liveSpan = 600;
  map.Create(nullptr, 40, 40);
  for (int step = 0; step < 400; ++step) {
    map.NextGeneration();
    for (uint32_t y = 0; y < 40; ++y)
      for (uint32_t x = 0; x < 40; ++x)
        if (Frame(map, x, y) == 0) {
          ASSERT_EQ(map.faceState(x, y), 0u) << "a frame wrapped into the row byte";
        }
  }
}

// Long random runs on many grid shapes, including the degenerate ones that
// wrap onto themselves: the incremental counts always equal a recount.
class InvariantTest : public ::testing::TestWithParam<std::pair<uint32_t, uint32_t>> {};

TEST_P(InvariantTest, LongRandomRunKeepsEveryInvariant) {
  const auto [cols, rows] = GetParam();
  for (uint32_t seed : {1u, 99u, 31337u}) {
    CellMap map;
    Configure(map, seed, cols * rows / 3 + 1);
    map.Create(nullptr, cols, rows);
    ExpectConsistent(map);
    for (int step = 0; step < 400; ++step) {
      map.NextGeneration();
      if (step % 20 == 0 || cols * rows < 100) ExpectConsistent(map);
    }
    ExpectConsistent(map);
  }
}

INSTANTIATE_TEST_SUITE_P(GridShapes, InvariantTest,
                         ::testing::Values(std::pair{2u, 2u}, std::pair{1u, 1u},
                                           std::pair{1u, 17u}, std::pair{23u, 1u},
                                           std::pair{2u, 9u}, std::pair{3u, 3u},
                                           std::pair{13u, 11u}, std::pair{64u, 48u},
                                           std::pair{101u, 37u}));

}  // namespace
