// Steps worlds of several shapes, each with a canvas following it, for many
// generations, and every 1000 steps checks what must hold however long the
// saver runs: every neighbour count against a recount from the live cells,
// the population against the live cells, every face state within the face
// set (a live cell never blank), and the process's resident memory flat
// after the first checks. Prints the figures of each shape.
//   engine-soak [--generations N] [--short] [--only TEXT]
// --short leaves out the two largest worlds (for the sanitizer build);
// --only runs the shapes whose name holds TEXT. Long runs report their
// progress every 100,000 generations.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "CellMap.h"
#include "EngineSetup.h"
#include "FaceCanvas.h"
#include "FaceInfo.h"
#include "RecountNeighbours.h"

namespace {

constexpr uint64_t kCheckEvery = 1000;
constexpr uint64_t kReportEvery = 100000;
// Resident memory may move by a few pages (the allocator's own
// bookkeeping) without anything leaking.
constexpr long kResidentToleranceKiB = 256;

struct Shape {
  const char* name;
  FaceInfo face;
  uint32_t clientWidth, clientHeight;  // 0 x N: cols and rows given directly
  uint32_t cols, rows;
  bool large;
};

std::string Asset(const char* name) { return std::string(LIFE_ASSETS_DIR) + "/" + name; }

long ResidentKiB() {
  long pages = 0, resident = 0;
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return -1;
  const int read = std::fscanf(statm, "%ld %ld", &pages, &resident);
  std::fclose(statm);
  return read == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

// What is broken at (x, y), or null.
const char* CheckCell(const CellMap& world, uint32_t x, uint32_t y, uint32_t frames,
                      uint32_t faceRows) {
  const uint8_t byte = world.cellByte(x, y);
  const uint16_t state = world.faceState(x, y);
  if ((byte & ~1u) != RecountNeighbours(world, x, y)) return "neighbour count";
  if ((state >> 8) >= frames) return "frame out of range";
  if ((state & 0xFFu) >= faceRows) return "face row out of range";
  if ((byte & 1) != 0 && (state >> 8) == 0) return "live cell blank";
  return nullptr;
}

// The first broken invariant, or "". Allocates nothing unless something is
// broken, so that the check itself leaves the memory figures alone.
std::string CheckWorld(const CellMap& world) {
  const WorldConfig& config = world.config();
  const uint32_t frames = std::min(config.numFrames, 256u);
  const uint32_t faceRows = std::min(std::max(config.numRows, 1u), 256u);
  int64_t live = 0;
  for (uint32_t y = 0; y < world.rows(); ++y)
    for (uint32_t x = 0; x < world.cols(); ++x) {
      live += world.IsAlive(x, y);
      if (const char* broken = CheckCell(world, x, y, frames, faceRows))
        return std::string(broken) + " at " + std::to_string(x) + "," + std::to_string(y);
    }
  if (live != world.population())
    return "population " + std::to_string(world.population()) + " but " + std::to_string(live) +
           " live cells";
  return "";
}

bool Soak(const Shape& shape, uint64_t generations) {
  FaceInfo face = shape.face;
  const std::string sheet = Asset(face.loadImage);
  face.loadImage = sheet.c_str();
  WorldConfig config = MakeWorldConfig(face, shape.clientWidth, shape.clientHeight);
  if (shape.clientWidth == 0) {
    config.cols = shape.cols;
    config.rows = shape.rows;
  }
  config.seed = 1 + shape.cols * 7919u + shape.rows;
  config.initpop = std::max(1u, config.cols * config.rows / 4);

  CellMap world;
  FaceCanvas canvas;
  CanvasOptions options;
  options.bMiniDisplay = options.bActivityBar = options.bFrameScreen = 1;
  options.faceFile = face.loadImage;
  if (world.Create(config) != CreateResult::kCreated ||
      canvas.Create(OffscreenWindow(), world, options) != CreateResult::kCreated) {
    std::printf("%-22s could not be made\n", shape.name);
    return false;
  }

  long residentFirst = -1, residentMax = 0;
  int32_t populationMin = INT32_MAX, populationMax = 0;
  uint64_t reseeds = 0;
  const auto start = std::chrono::steady_clock::now();
  for (uint64_t step = 1; step <= generations; ++step) {
    const int32_t generationBefore = world.generation();
    world.NextGeneration();
    reseeds += world.generation() == 0 && generationBefore != 0;
    populationMin = std::min(populationMin, world.population());
    populationMax = std::max(populationMax, world.population());
    if (step % kCheckEvery != 0 && step != generations) continue;
    if (canvas.Compose() == nullptr) {
      std::printf("%-22s FAILED at generation %llu: no picture\n", shape.name,
                  static_cast<unsigned long long>(step));
      return false;
    }
    const std::string broken = CheckWorld(world);
    const long resident = ResidentKiB();
    // The baseline is taken at the second check: by then the first two
    // pictures have been composed and the allocator has its working size.
    if (step <= 2 * kCheckEvery) residentFirst = resident;
    residentMax = std::max(residentMax, resident);
    if (!broken.empty() || resident > residentFirst + kResidentToleranceKiB) {
      std::printf("%-22s FAILED at generation %llu: %s (resident %ld KiB, first %ld KiB)\n",
                  shape.name, static_cast<unsigned long long>(step),
                  broken.empty() ? "memory grew" : broken.c_str(), resident, residentFirst);
      return false;
    }
    if (step % kReportEvery == 0 && step != generations) {
      std::printf("%-22s ... %llu generations, %.0f s, resident %ld KiB\n", shape.name,
                  static_cast<unsigned long long>(step),
                  std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
                  resident);
      std::fflush(stdout);
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf(
      "%-22s %4ux%-4u %8llu generations in %7.1f s (%6.2f us each), population "
      "%d..%d, %llu reseeds, resident %ld -> %ld KiB (max %ld): ok\n",
      shape.name, world.cols(), world.rows(), static_cast<unsigned long long>(generations), seconds,
      seconds * 1e6 / static_cast<double>(generations), populationMin, populationMax,
      static_cast<unsigned long long>(reseeds), residentFirst, ResidentKiB(), residentMax);
  std::fflush(stdout);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  uint64_t generations = 1000000;
  bool brief = false;
  const char* only = "";
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--generations") == 0 && i + 1 < argc)
      generations = std::strtoull(argv[++i], nullptr, 10);
    else if (std::strcmp(argv[i], "--short") == 0)
      brief = true;
    else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc)
      only = argv[++i];
    else {
      std::fprintf(stderr, "usage: engine-soak [--generations N] [--short] [--only TEXT]\n");
      return 2;
    }
  }
  const FaceInfo life = {"lifeface.bmp", 16, 16, 25, 6, 5, 12};
  const FaceInfo tiny = {"tinyface.bmp", 8, 8, 13, 6, 2, 7};
  const FaceInfo oneRow = {"lifeface.bmp", 16, 16, 25, 1, 5, 12};
  const FaceInfo manyRows = {"lifeface.bmp", 4, 4, 25, 256, 5, 12};
  const Shape shapes[] = {
      {"3x3 grid", life, 48, 48, 0, 0, false},
      {"1xN strip", life, 0, 0, 1, 500, false},
      {"face set of 1 row", oneRow, 640, 480, 0, 0, false},
      {"face set of 256 rows", manyRows, 320, 240, 0, 0, false},
      {"1920x1080, 16x16", life, 1920, 1080, 0, 0, true},
      {"3840x2160, 8x8", tiny, 3840, 2160, 0, 0, true},
  };
  bool passed = true;
  for (const Shape& shape : shapes)
    if ((!brief || !shape.large) && std::strstr(shape.name, only) != nullptr)
      passed &= Soak(shape, generations);
  std::printf("engine-soak: %s\n", passed ? "every invariant held" : "FAILED");
  return passed ? 0 : 1;
}
