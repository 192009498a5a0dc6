#include <gtest/gtest.h>

#include <set>
#include <vector>
#include <utility>

#include "CellMap.h"
#include "EngineSetup.h"
#include "Random.h"
#include "RecountNeighbours.h"

namespace {

// A world of cols x rows with the default face ranges.
WorldConfig Config(uint32_t cols, uint32_t rows, uint32_t seed, uint32_t initpop) {
  WorldConfig config = MakeWorldConfig(kDefaultFace, 1024, 768);
  config.cols = cols;
  config.rows = rows;
  config.seed = seed;
  config.initpop = initpop;
  return config;
}

void Create(CellMap& map, const WorldConfig& config) {
  ASSERT_EQ(map.Create(config), CreateResult::kCreated);
}

// A map of cols x rows with an empty, blank world; later seedings place
// up to initpop cells.
void MakeEmpty(CellMap& map, WorldConfig config) {
  Create(map, config);
  map.Clear();
}
void MakeEmpty(CellMap& map, uint32_t cols, uint32_t rows, uint32_t initpop = 1) {
  MakeEmpty(map, Config(cols, rows, 7, initpop));
}

void Place(CellMap& map, uint32_t x, uint32_t y, uint32_t row = 0, uint32_t frame = 1) {
  map.SetCell(x, y, true, row, frame);
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
      ASSERT_LT(Frame(map, x, y), map.config().numFrames);
      ASSERT_LT(map.faceState(x, y) & 0xFFu, map.config().numRows);
      if (map.IsAlive(x, y)) ++live;
      if (Frame(map, x, y) == 0) {
        ASSERT_EQ(map.faceState(x, y) & 0xFFu, 0u);
      }
    }
  ASSERT_EQ(map.population(), live);
}

TEST(SeedTest, InitpopIsClampedToOneAttemptAndToTheGrid) {
  CellMap none;
  Create(none, Config(8, 8, 99, 0));
  EXPECT_EQ(none.config().initpop, 1u);
  EXPECT_EQ(none.population(), 1);

  CellMap crowded;
  Create(crowded, Config(4, 4, 99, 1000));
  EXPECT_EQ(crowded.config().initpop, 16u);
  EXPECT_LE(crowded.population(), 16);
}

TEST(SeedTest, PlacesExactlyTheDistinctCellsItDraws) {
  CellMap map;
  Create(map, Config(10, 6, 4242, 60));
  // Replay the draws: x, then y, then a face row for each cell placed.
  Random random;
  random.Seed(4242);
  std::set<std::pair<uint32_t, uint32_t>> placed;
  for (int attempt = 0; attempt < 60; ++attempt) {
    const uint32_t x = random.Draw() % 10;
    const uint32_t y = random.Draw() % 6;
    if (!placed.insert({x, y}).second) continue;
    const uint32_t row = random.Draw() % 6;
    EXPECT_EQ(map.faceState(x, y), row | (1u << 8)) << x << "," << y;
  }
  EXPECT_EQ(map.population(), static_cast<int32_t>(placed.size()));
  EXPECT_LT(map.population(), 60);  // some attempts hit the same cell
  // The next seed is the next draw.
  EXPECT_EQ(map.seed(), random.Draw());
  EXPECT_EQ(map.generation(), 0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(map.populationHistory(i), -1);
  ExpectConsistent(map);
}

TEST(SeedTest, FixedSeedReproducesTheWorldWhateverElseRuns) {
  // Each world draws from its own generator: two worlds of one seed stepped
  // in turn, and a third of another seed between them, do not disturb each
  // other.
  CellMap first, other, second;
  Create(first, Config(64, 48, 1234, 150));
  Create(other, Config(64, 48, 99, 900));
  Create(second, Config(64, 48, 1234, 150));
  for (int step = 0; step < 300; ++step) {
    first.NextGeneration();
    other.NextGeneration();
    second.NextGeneration();
  }
  const std::vector<uint16_t> a(first.faceStates(), first.faceStates() + first.cellCount());
  const std::vector<uint16_t> b(second.faceStates(), second.faceStates() + second.cellCount());
  EXPECT_EQ(a, b);
  EXPECT_EQ(first.population(), second.population());
  EXPECT_EQ(first.generation(), second.generation());
  EXPECT_EQ(first.seed(), second.seed());
}

TEST(SeedTest, ZeroSeedTakesTheClock) {
  CellMap map;
  Create(map, Config(16, 16, 0, 10));
  EXPECT_GT(map.population(), 0);
  EXPECT_LE(map.seed(), 32767u);  // replaced by a draw after seeding
}

TEST(SeedTest, CellAtTheCornerRaisesItsWrappedNeighbours) {
  CellMap map;
  MakeEmpty(map, 5, 4);
  Place(map, 0, 0);
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
  MakeEmpty(map, 32, 32, 40);
  Place(map, 3, 3, 2, 7);
  map.Seed(555);
  EXPECT_TRUE(map.IsAlive(3, 3));
  EXPECT_EQ(map.faceState(3, 3), 2u | (7u << 8));
  EXPECT_GT(map.population(), 1);
  ExpectConsistent(map);
}

TEST(SeedTest, GridWithoutCellsNeitherCrashesNorSeeds) {
  CellMap map;
  Create(map, Config(0, 0, 3, 150));
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
  for (uint32_t x : {11u, 0u, 1u}) Place(map, x, 5);
  for (uint32_t y : {9u, 0u, 1u}) Place(map, 6, y);
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
    Place(map, x, y);
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
  MakeEmpty(map, 20, 20, 30);
  for (auto [x, y] : {std::pair{4u, 4u}, {5u, 4u}, {4u, 5u}, {5u, 5u}})
    Place(map, x, y);
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
  Place(map, 3, 3, 4, 3);  // dies at frame 3
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
  map.SetCell(5, 5, false, 3, 15);  // dead, in its death animation
  for (auto [x, y] : {std::pair{4u, 4u}, {5u, 4u}, {6u, 4u}}) Place(map, x, y);
  map.NextGeneration();
  EXPECT_TRUE(map.IsAlive(5, 5));
  EXPECT_EQ(Frame(map, 5, 5), 1u);
  EXPECT_LT(map.faceState(5, 5) & 0xFFu, 6u);
}

TEST(GenerationTest, OneIdleFrameMeansAlwaysThatFrame) {
  CellMap map;
  WorldConfig config = Config(10, 10, 7, 1);
  config.liveSpan = 1;
  MakeEmpty(map, config);
  for (auto [x, y] : {std::pair{4u, 4u}, {5u, 4u}, {4u, 5u}, {5u, 5u}})
    Place(map, x, y, 0, 5);
  for (int step = 0; step < 20; ++step) {
    map.NextGeneration();
    EXPECT_EQ(Frame(map, 4, 5), 6u);
  }
}

TEST(GenerationTest, LiveCellPastTheRowIsDrawnBlankWhileAlive) {
  // Idle frames reach numFrames when dieStart lies past the row.
  CellMap map;
  WorldConfig config = Config(10, 10, 7, 1);
  config.numFrames = 4;
  config.bornEnd = 3;
  config.liveEnd = 4;
  config.liveSpan = 1;
  MakeEmpty(map, config);
  for (auto [x, y] : {std::pair{4u, 4u}, {5u, 4u}, {4u, 5u}, {5u, 5u}})
    Place(map, x, y, 0, 3);
  map.NextGeneration();
  EXPECT_TRUE(map.IsAlive(4, 4));
  EXPECT_EQ(map.faceState(4, 4), 0u);
}

TEST(GenerationTest, HugeFaceSetsUseTheirFirst256FramesAndRows) {
  CellMap map;
  WorldConfig config = Config(40, 40, 77, 500);
  config.numFrames = 1000;
  config.numRows = 1000;
  config.bornEnd = 300;
  config.liveEnd = 900;
  config.liveSpan = 600;
  Create(map, config);
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
// wrap onto themselves: the neighbour counts always equal a recount, and
// every step follows the rules of Life on a recount of the world before it.
class InvariantTest : public ::testing::TestWithParam<std::pair<uint32_t, uint32_t>> {};

TEST_P(InvariantTest, LongRandomRunKeepsEveryInvariant) {
  const auto [cols, rows] = GetParam();
  for (uint32_t seed : {1u, 99u, 31337u}) {
    CellMap map;
    Create(map, Config(cols, rows, seed, cols * rows / 3 + 1));
    ExpectConsistent(map);
    for (int step = 0; step < 400; ++step) {
      std::vector<unsigned> before;  // alive, plus twice the live neighbours
      for (uint32_t y = 0; y < rows; ++y)
        for (uint32_t x = 0; x < cols; ++x)
          before.push_back(RecountNeighbours(map, x, y) | (map.IsAlive(x, y) ? 1u : 0u));
      map.NextGeneration();
      if (step % 20 == 0 || cols * rows < 100) ExpectConsistent(map);
      if (map.populationHistory(0) == -1) continue;  // reseeded: cells were added
      for (uint32_t y = 0; y < rows; ++y)
        for (uint32_t x = 0; x < cols; ++x) {
          const unsigned b = before[y * cols + x];
          ASSERT_EQ(map.IsAlive(x, y), b == 6 || b == 5 || b == 7) << x << "," << y;
        }
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
