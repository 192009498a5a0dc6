// The generation step on a 1024 x 1024 torus, against a plain step that
// recounts every cell's neighbours each generation.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "CellMap.h"
#include "EngineSetup.h"
#include "Random.h"

namespace {

constexpr uint32_t kSide = 1024;
constexpr int64_t kCells = int64_t{kSide} * kSide;

WorldConfig Config(uint32_t initpop) {
  WorldConfig config = MakeWorldConfig(kDefaultFace, kSide * 16, kSide * 16);
  config.seed = 20261208;
  config.initpop = initpop;
  return config;
}

void BM_StepDenseSoup(benchmark::State& state) {
  CellMap map;
  map.Create(Config(kSide * kSide / 2));              // about 40% of the cells alive
  for (int i = 0; i < 50; ++i) map.NextGeneration();  // let it settle
  for (auto _ : state) map.NextGeneration();
  state.counters["ns_per_cell"] =
      benchmark::Counter(static_cast<double>(kCells) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["population"] = map.population();
}
BENCHMARK(BM_StepDenseSoup)->Unit(benchmark::kMillisecond);

void BM_StepSparse(benchmark::State& state) {
  CellMap map;
  map.Create(Config(kSide * kSide / 100));  // about 1% alive
  for (auto _ : state) map.NextGeneration();
  state.counters["ns_per_cell"] =
      benchmark::Counter(static_cast<double>(kCells) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["population"] = map.population();
}
BENCHMARK(BM_StepSparse)->Unit(benchmark::kMillisecond);

// The reference: one byte per cell, neighbours recounted with modular
// wrap-around every generation, no animation. Its size is known only at run
// time, as a window's would be.
void BM_RecountingStepDenseSoup(benchmark::State& state) {
  const uint32_t side = static_cast<uint32_t>(state.range(0));
  std::vector<uint8_t> cells(kCells), next(kCells);
  Random random;
  random.Seed(20261208);
  for (int64_t i = 0; i < kCells / 2; ++i)
    cells[static_cast<size_t>((random.Draw() % kSide) * kSide + random.Draw() % kSide)] = 1;
  auto step = [&] {
    for (uint32_t y = 0; y < kSide; ++y)
      for (uint32_t x = 0; x < kSide; ++x) {
        int n = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            if (dx == 0 && dy == 0) continue;
            const uint32_t nx = (x + side + static_cast<uint32_t>(dx)) % side;
            const uint32_t ny = (y + side + static_cast<uint32_t>(dy)) % side;
            n += cells[size_t{ny} * side + nx];
          }
        const uint8_t alive = cells[size_t{y} * kSide + x];
        next[size_t{y} * kSide + x] = (n == 3 || (alive && n == 2)) ? 1 : 0;
      }
    cells.swap(next);
  };
  for (int i = 0; i < 50; ++i) step();
  for (auto _ : state) step();
  state.counters["ns_per_cell"] =
      benchmark::Counter(static_cast<double>(kCells) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RecountingStepDenseSoup)->Arg(kSide)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
