// libFuzzer target: a face set made of arbitrary geometry and an arbitrary
// file given as its sprite sheet, built into a world as the saver builds it
// (the frame-size check, the world from the client area, its canvas on an
// off-screen window) and stepped a few generations with every overlay on.
// Checks that each refusal is one of the saver's own fatal messages and
// that a world that was made keeps its cells' frames and rows within the
// face set and its population equal to its live cells.
#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CellMap.h"
#include "EngineSetup.h"
#include "FaceCanvas.h"
#include "Fatal.h"
#include "FuzzCheck.h"

namespace {

struct FatalExitCaught {
  std::string caption;
};

void ThrowOnFatal(const std::string&, const char* caption) { throw FatalExitCaught{caption}; }

void Check(bool condition, const char* what) { CheckInvariant(condition, "face set", what); }

// A face number: mostly small, sometimes at or past the 8-bit limits, the
// sign bit or the top of the range.
uint32_t FaceNumber(FuzzedDataProvider& input) {
  constexpr uint32_t kEdges[] = {0, 1, 2, 255, 256, 257, 65535, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
  return input.ConsumeIntegralInRange<int>(0, 3) == 0 ? input.PickValueInArray(kEdges)
                                                      : input.ConsumeIntegralInRange(0u, 40u);
}

// Sheets beyond this many pixels only measure the allocator.
constexpr uint64_t kMaxFuzzSheetPixels = uint64_t{1} << 22;

const char* SheetPath() {
  static const std::string path = "/tmp/life-face-fuzz-" + std::to_string(getpid()) + ".bmp";
  return path.c_str();
}

void Run(const FaceInfo& face, uint32_t clientWidth, uint32_t clientHeight, uint32_t initpop) {
  // The saver's own order: the frame size is checked before the grid is
  // derived from it, the world is made before its canvas.
  if (face.frameWidth == 0 || face.frameHeight == 0)
    ExitIfNotCreated(CreateResult::kBadFrame, face.loadImage);
  WorldConfig config = MakeWorldConfig(face, clientWidth, clientHeight);
  config.initpop = initpop;
  config.seed = 7;
  CellMap world;
  ExitIfNotCreated(world.Create(config), face.loadImage);
  CanvasOptions options;
  options.bMiniDisplay = options.bActivityBar = options.bFrameScreen = 1;
  options.faceFile = face.loadImage;
  FaceCanvas canvas;
  ExitIfNotCreated(canvas.Create(OffscreenWindow(), world, options), face.loadImage);

  const uint32_t frames = face.numFrames < 256 ? face.numFrames : 256;
  const uint32_t faceRows = config.numRows < 256 ? config.numRows : 256;
  for (int generation = 0; generation < 4; ++generation) {
    canvas.Compose();
    world.NextGeneration();
  }
  int32_t live = 0;
  for (uint32_t y = 0; y < world.rows(); ++y)
    for (uint32_t x = 0; x < world.cols(); ++x) {
      live += world.IsAlive(x, y) ? 1 : 0;
      const uint16_t state = world.faceState(x, y);
      Check((state >> 8) < frames || state == 0, "frame within the row");
      Check((state & 0xFFu) < faceRows, "face row within the sheet");
    }
  Check(live == world.population(), "population counts the live cells");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  FaceInfo face{};
  face.frameWidth = FaceNumber(input);
  face.frameHeight = FaceNumber(input);
  face.numFrames = FaceNumber(input);
  face.numRows = FaceNumber(input);
  face.bornEnd = FaceNumber(input);
  face.dieStart = FaceNumber(input);
  const uint32_t clientWidth = input.ConsumeIntegralInRange(0u, 320u);
  const uint32_t clientHeight = input.ConsumeIntegralInRange(0u, 240u);
  const uint32_t initpop = input.ConsumeIntegralInRange(0u, 2000u);
  const bool missing = input.ConsumeIntegralInRange<int>(0, 31) == 0;
  const std::string sheet = input.ConsumeRemainingBytesAsString();

  const uint64_t sheetWidth = uint64_t{face.numFrames} * face.frameWidth;
  const uint64_t sheetHeight = uint64_t{face.numRows == 0 ? 1 : face.numRows} * face.frameHeight;
  if (sheetWidth > kMaxFuzzSheetPixels || sheetHeight > kMaxFuzzSheetPixels ||
      sheetWidth * sheetHeight > kMaxFuzzSheetPixels)
    return 0;
  std::remove(SheetPath());
  if (!missing) {
    std::FILE* file = std::fopen(SheetPath(), "wb");
    if (file == nullptr) return 0;
    std::fwrite(sheet.data(), 1, sheet.size(), file);
    std::fclose(file);
  }
  face.loadImage = SheetPath();

  SetFatalHook(ThrowOnFatal);
  try {
    Run(face, clientWidth, clientHeight, initpop);
  } catch (const FatalExitCaught& fatal) {
    const std::string& c = fatal.caption;
    Check(
        c == "Bad Frame" || c == "No Faces" || c == "No filename" || c == "???" || c == "No Memory",
        "a refusal is one of the saver's fatal messages");
    Check(!missing || c != "???", "a missing file is reported as missing");
  }
  return 0;
}
