#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <set>
#include <vector>
#include <utility>

#include "CellMap.h"
#include "EngineSetup.h"
#include "Random.h"

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

// Checks the invariants: population, frames and rows in range.
void ExpectConsistent(const CellMap& map) {
  int32_t live = 0;
  for (uint32_t y = 0; y < map.rows(); ++y)
    for (uint32_t x = 0; x < map.cols(); ++x) {
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

TEST(SeedTest, PlacesTheCellsTheGeneratorNamesAndWastesRepeatedHits) {
  // Seed 1 draws 41 18467 6334, 26500 19169 15724, 11478 29358 26962,
  // 24464 5705, 28145 23281 16827, 9961 491, 2995 11942 4827,
  // 5436 32391 14604, then 3902. On 4 x 3 cells with 6 face rows the eight
  // attempts place (1,2) row 4, (0,2) row 4, (2,0) row 4, hit (0,2) again,
  // place (1,1) row 3, hit (1,2) again, place (3,2) row 3 and (0,0) row 0.
  CellMap map;
  Create(map, Config(4, 3, 1, 8));
  constexpr uint16_t f = 1 << 8;  // frame 1
  const uint16_t expected[3][4] = {
      {0 | f, 0, 4 | f, 0}, {0, 3 | f, 0, 0}, {4 | f, 4 | f, 0, 3 | f}};
  for (uint32_t y = 0; y < 3; ++y)
    for (uint32_t x = 0; x < 4; ++x)
      EXPECT_EQ(map.faceState(x, y), expected[y][x]) << x << "," << y;
  EXPECT_EQ(map.population(), 6);
  EXPECT_EQ(map.seed(), 3902u);  // the next seed is the next draw
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
  // The world is the one seeded with the time in seconds; tried again when
  // the second turns in between.
  for (int attempt = 0; attempt < 3; ++attempt) {
    const auto now = static_cast<uint32_t>(std::time(nullptr));
    CellMap clock, fixed;
    Create(clock, Config(16, 16, 0, 40));
    Create(fixed, Config(16, 16, now, 40));
    if (static_cast<uint32_t>(std::time(nullptr)) != now) continue;
    EXPECT_TRUE(std::equal(clock.faceStates(), clock.faceStates() + 256, fixed.faceStates()));
    EXPECT_EQ(clock.seed(), fixed.seed());  // replaced by a draw after seeding
    return;
  }
}

TEST(SeedTest, CellAtTheCornerRaisesItsWrappedNeighbours) {
  CellMap map;
  MakeEmpty(map, 5, 4);
  Place(map, 0, 0);
  const std::set<std::pair<uint32_t, uint32_t>> neighbours = {{4, 3}, {0, 3}, {1, 3}, {4, 0},
                                                              {1, 0}, {4, 1}, {0, 1}, {1, 1}};
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
  const std::set<std::pair<uint32_t, uint32_t>> turned = {{0, 4}, {0, 5}, {0, 6},
                                                          {5, 0}, {6, 0}, {7, 0}};
  EXPECT_EQ(LiveCells(map), turned);
  map.NextGeneration();
  EXPECT_EQ(LiveCells(map), start);
  ExpectConsistent(map);
}

TEST(GenerationTest, GliderCrossesTheCornerWithTheFacesWorkedOutByHand) {
  // One face row and one idle frame: every face follows from the rules.
  WorldConfig config = Config(8, 8, 7, 1);
  config.numRows = 1;
  config.liveSpan = 1;
  CellMap map;
  MakeEmpty(map, config);
  for (auto [x, y] : {std::pair{6u, 5u}, {7u, 6u}, {5u, 7u}, {6u, 7u}, {7u, 7u}}) Place(map, x, y);
  for (int step = 0; step < 8; ++step) map.NextGeneration();
  // Two glider periods: moved two cells right and down, across the corner.
  const std::set<std::pair<uint32_t, uint32_t>> moved = {{0, 7}, {1, 0}, {7, 1}, {0, 1}, {1, 1}};
  EXPECT_EQ(LiveCells(map), moved);
  // Live cells count up from their birth; the dead play their death on.
  const char* frames[8] = {"52....37", "31.....4", "........", "........",
                           "........", "......9.", ".....865", "1....742"};
  for (uint32_t y = 0; y < 8; ++y)
    for (uint32_t x = 0; x < 8; ++x) {
      const char c = frames[y][x];
      EXPECT_EQ(map.faceState(x, y), c == '.' ? 0 : (c - '0') << 8) << x << "," << y;
    }
  EXPECT_EQ(map.population(), 5);
  EXPECT_EQ(map.generation(), 0);  // five cells throughout: all stagnant
  EXPECT_EQ(map.stallCountdown(), 25 - 8);
  ExpectConsistent(map);
}

TEST(GenerationTest, BlockIsStableAndAnimatesThroughBirthThenIdles) {
  CellMap map;
  MakeEmpty(map, 10, 10);
  for (auto [x, y] : {std::pair{4u, 4u}, {5u, 4u}, {4u, 5u}, {5u, 5u}}) Place(map, x, y);
  for (uint32_t expected = 2; expected <= 6; ++expected) {
    map.NextGeneration();
    EXPECT_EQ(Frame(map, 4, 4), expected);
  }
  // Then idle frame 6 + draw mod 6, a draw per cell in visiting order.
  // Seed 7 drew 61 17422 15215 for the one seeded cell and 7040 for the
  // next seed; then come 15521 6516 30152 11794, and 27727 20344 4818 28409.
  for (const auto& idle : {std::array{11u, 6u, 8u, 10u}, std::array{7u, 10u, 6u, 11u}}) {
    map.NextGeneration();
    EXPECT_EQ((std::array{Frame(map, 4, 4), Frame(map, 5, 4), Frame(map, 4, 5), Frame(map, 5, 5)}),
              idle);
    EXPECT_EQ(map.population(), 4);
  }
}

TEST(GenerationTest, PopulationRepeatingWithPeriodOneTwoOrThreeReseedsOn26thStagnantStep) {
  // A block (period 1), a beacon (8, 6, 8, ...) and a pulsar (48, 56, 72,
  // 48, ...): stagnant from the step whose population equals the one
  // `period` steps before.
  struct Pattern {
    int period;
    std::vector<std::pair<uint32_t, uint32_t>> cells;
  };
  std::vector<Pattern> patterns = {
      {1, {{4, 4}, {5, 4}, {4, 5}, {5, 5}}},
      {2, {{2, 2}, {3, 2}, {2, 3}, {3, 3}, {4, 4}, {5, 4}, {4, 5}, {5, 5}}},
      {3, {}}};
  for (uint32_t a : {2u, 3u, 4u})
    for (uint32_t b : {1u, 6u})
      for (uint32_t sx : {1u, 16u})  // +1 and -1 around the centre (8, 8) of 17
        for (uint32_t sy : {1u, 16u}) {
          patterns[2].cells.push_back({(8 + sx * a) % 17, (8 + sy * b) % 17});
          patterns[2].cells.push_back({(8 + sx * b) % 17, (8 + sy * a) % 17});
        }
  for (const Pattern& pattern : patterns) {
    SCOPED_TRACE(pattern.period);
    CellMap map;
    MakeEmpty(map, 17, 17, 30);
    for (auto [x, y] : pattern.cells) Place(map, x, y);
    const int reseedStep = pattern.period + 25;
    for (int step = 1; step < reseedStep; ++step) {
      map.NextGeneration();
      const bool stagnant = step >= pattern.period;
      // Stagnant steps are not counted; each one lowers the countdown.
      EXPECT_EQ(map.generation(), stagnant ? pattern.period - 1 : step) << step;
      EXPECT_EQ(map.stallCountdown(), stagnant ? 24 - (step - pattern.period) : 25) << step;
    }
    EXPECT_EQ(map.populationHistory(pattern.period - 1), map.population());
    map.NextGeneration();  // the 26th stagnant step reseeds
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
  for (auto [x, y] : {std::pair{4u, 4u}, {5u, 4u}, {4u, 5u}, {5u, 5u}}) Place(map, x, y, 0, 5);
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
  for (auto [x, y] : {std::pair{4u, 4u}, {5u, 4u}, {4u, 5u}, {5u, 5u}}) Place(map, x, y, 0, 3);
  map.NextGeneration();
  EXPECT_TRUE(map.IsAlive(4, 4));
  EXPECT_EQ(map.faceState(4, 4), 0u);
  // A drawn idle frame may be numFrames too: that face is blank as well.
  CellMap idle;
  config.bornEnd = 2;
  config.liveSpan = 2;
  MakeEmpty(idle, config);
  for (auto [x, y] : {std::pair{4u, 4u}, {5u, 4u}, {4u, 5u}, {5u, 5u}}) Place(idle, x, y, 0, 3);
  int blank = 0;
  for (int step = 0; step < 20; ++step) {
    idle.NextGeneration();
    ASSERT_LT(Frame(idle, 4, 4), 4u);
    blank += Frame(idle, 4, 4) == 0 ? 1 : 0;
  }
  EXPECT_GT(blank, 0);
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

// The world as a plain byte per cell, stepped by the rules written out
// directly: B3/S23 on the torus, then the faces in row-major order, each
// draw taken from a generator of its own that follows the map's seedings.
class ModelWorld {
 public:
  explicit ModelWorld(const WorldConfig& c)
      : cols_(c.cols), rows_(c.rows), alive_(c.cols * c.rows), frame_(alive_.size()),
        faceRow_(alive_.size()), initpop_(std::clamp(c.initpop, 1u, c.cols * c.rows)),
        frameLimit_(std::min(c.numFrames, 256u)), firstIdle_(c.bornEnd + 1),
        liveSpan_(std::max(c.liveSpan, 1u)), rowLimit_(std::clamp(c.numRows, 1u, 256u)),
        seed_(c.seed) {
    Seed();
  }

  // Adds initpop attempts of random cells, as a seeding does.
  void Seed() {
    random_.Seed(seed_);
    for (uint32_t attempt = 0; attempt < initpop_; ++attempt) {
      const uint32_t x = random_.Draw() % cols_, y = random_.Draw() % rows_;
      const size_t i = size_t{y} * cols_ + x;
      if (alive_[i] != 0) continue;
      alive_[i] = 1;
      frame_[i] = 1;
      faceRow_[i] = random_.Draw() % rowLimit_;
    }
    seed_ = random_.Draw();
  }

  void Step() {
    std::vector<uint8_t> next(alive_.size());
    for (uint32_t y = 0; y < rows_; ++y)
      for (uint32_t x = 0; x < cols_; ++x) {
        int n = 0;
        for (uint32_t dy = rows_ - 1; dy <= rows_ + 1; ++dy)
          for (uint32_t dx = cols_ - 1; dx <= cols_ + 1; ++dx)
            if (dy != rows_ || dx != cols_) n += alive_[(y + dy) % rows_ * cols_ + (x + dx) % cols_];
        next[size_t{y} * cols_ + x] = n == 3 || (n == 2 && alive_[size_t{y} * cols_ + x] != 0);
      }
    for (size_t i = 0; i < alive_.size(); ++i) {
      const bool was = alive_[i] != 0, is = next[i] != 0;
      uint32_t f = frame_[i];
      if (is && !was) {
        faceRow_[i] = random_.Draw() % rowLimit_;
        f = 1;
      } else if (was && is && f >= firstIdle_) {
        f = firstIdle_ + random_.Draw() % liveSpan_;
      } else if (was || f != 0) {
        ++f;
      }
      if (f >= frameLimit_) f = 0;
      frame_[i] = static_cast<uint8_t>(f);
      if (f == 0) faceRow_[i] = 0;
    }
    alive_.swap(next);
  }

  bool alive(uint32_t x, uint32_t y) const { return alive_[size_t{y} * cols_ + x] != 0; }
  uint16_t faceState(uint32_t x, uint32_t y) const {
    const size_t i = size_t{y} * cols_ + x;
    return static_cast<uint16_t>(frame_[i] == 0 ? 0 : faceRow_[i] | uint32_t{frame_[i]} << 8);
  }

 private:
  uint32_t cols_, rows_;
  std::vector<uint8_t> alive_, frame_;
  std::vector<uint32_t> faceRow_;
  uint32_t initpop_, frameLimit_, firstIdle_, liveSpan_, rowLimit_, seed_;
  Random random_;
};

::testing::AssertionResult SameWorld(const CellMap& map, const ModelWorld& model) {
  for (uint32_t y = 0; y < map.rows(); ++y)
    for (uint32_t x = 0; x < map.cols(); ++x)
      if (map.IsAlive(x, y) != model.alive(x, y) || map.faceState(x, y) != model.faceState(x, y))
        return ::testing::AssertionFailure()
               << "at " << x << "," << y << ": alive " << map.IsAlive(x, y) << " face "
               << map.faceState(x, y) << ", the rules say alive " << model.alive(x, y) << " face "
               << model.faceState(x, y);
  return ::testing::AssertionSuccess();
}

// Face sets that take the step's different ways.
enum class Faces {
  kDefault,     // every drawn frame lies in the row
  kLiveBlanks,  // idle frames run past the row: live cells turn blank
  kBornBlank,   // the birth animation runs past the row, and so do live cells
  kZeroSpan,    // a live span of 0 acts as 1
  kHuge,        // more than 256 frames and rows
};

struct WorldCase {
  uint32_t cols, rows;
  Faces faces;
};

WorldConfig CaseConfig(const WorldCase& c, uint32_t seed) {
  WorldConfig config = Config(c.cols, c.rows, seed, c.cols * c.rows / 3 + 1);
  if (c.faces == Faces::kLiveBlanks) {
    config.numFrames = 4;
    config.bornEnd = 2;
    config.liveEnd = 4;
    config.liveSpan = 2;
  } else if (c.faces == Faces::kBornBlank) {
    config.numFrames = 4;
    config.bornEnd = 3;
    config.liveEnd = 4;
    config.liveSpan = 1;
  } else if (c.faces == Faces::kZeroSpan) {
    config.liveSpan = 0;
  } else if (c.faces == Faces::kHuge) {
    config.numFrames = config.numRows = 1000;
    config.bornEnd = 40;
    config.liveEnd = 900;
    config.liveSpan = 860;
  }
  return config;
}

// Long random runs on many grid shapes, including the degenerate ones that
// wrap onto themselves and rows of several words: every generation, every
// cell and face is what the rules make of the one before, reseedings too.
class InvariantTest : public ::testing::TestWithParam<WorldCase> {};

TEST_P(InvariantTest, LongRandomRunFollowsTheRulesCellForCell) {
  for (uint32_t seed : {1u, 99u, 31337u}) {
    const WorldConfig config = CaseConfig(GetParam(), seed);
    CellMap map;
    Create(map, config);
    ModelWorld model(config);
    ASSERT_TRUE(SameWorld(map, model)) << "seeded";
    for (int step = 0; step < 300; ++step) {
      map.NextGeneration();
      model.Step();
      if (map.populationHistory(0) == -1) model.Seed();  // stalled: reseeded
      ASSERT_TRUE(SameWorld(map, model)) << "seed " << seed << ", step " << step;
    }
    ExpectConsistent(map);
  }
}

INSTANTIATE_TEST_SUITE_P(
    GridShapes, InvariantTest,
    ::testing::Values(WorldCase{2, 2, Faces::kDefault}, WorldCase{1, 1, Faces::kDefault},
                      WorldCase{1, 17, Faces::kDefault}, WorldCase{23, 1, Faces::kDefault},
                      WorldCase{2, 9, Faces::kDefault}, WorldCase{3, 3, Faces::kDefault},
                      WorldCase{13, 11, Faces::kDefault}, WorldCase{64, 48, Faces::kDefault},
                      WorldCase{101, 37, Faces::kDefault},
                      // Middle words of a row, whose neighbours' bits cross word edges.
                      WorldCase{300, 7, Faces::kDefault}, WorldCase{200, 12, Faces::kLiveBlanks},
                      WorldCase{70, 20, Faces::kLiveBlanks}, WorldCase{70, 20, Faces::kBornBlank},
                      WorldCase{40, 12, Faces::kZeroSpan},
                      WorldCase{129, 5, Faces::kHuge}));

}  // namespace
