// Times saver ticks (NextGeneration then Compose) on a dense soup at a large
// client size, through the engine's DIB-section drawing layer, and through a
// plain layer that draws each visited tile with its own BitBlt.
//   tick-bench SHEET.bmp [WIDTHxHEIGHT] [TICKS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "BenchClock.h"
#include "CellMap.h"
#include "EngineSetup.h"
#include "FaceCanvas.h"
#include "Fatal.h"

namespace {

void CreateWorld(CellMap& map, WorldConfig config) {
  config.seed = 4711;
  config.initpop = config.cols * config.rows / 2;
  ExitIfNotCreated(map.Create(config), "");
}

// Ticks through the engine's own pictures.
double EngineLayerTick(const FaceInfo& face, const WorldConfig& config, int ticks) {
  CellMap map;
  CreateWorld(map, config);
  FaceCanvas canvas;
  CanvasOptions options;
  options.bMiniDisplay = options.bActivityBar = options.bFrameScreen = 1;
  options.displayColor = 0x00C0C0C0;
  options.faceFile = face.loadImage;
  ExitIfNotCreated(canvas.Create(GetDesktopWindow(), map, options), face.loadImage);
  for (int i = 0; i < 50; ++i) map.NextGeneration();
  const double start = Now();
  for (int i = 0; i < ticks; ++i) {
    canvas.Compose();
    map.NextGeneration();
  }
  GdiFlush();
  return (Now() - start) / ticks;
}

// The same world, drawn into a screen-compatible bitmap one BitBlt per
// visited tile.
double PerTileBlitTick(const FaceInfo& face, const WorldConfig& setup, int ticks) {
  CellMap map;
  CreateWorld(map, setup);
  HDC screen = GetDC(nullptr);
  HDC gridDc = CreateCompatibleDC(screen);
  HDC sheetDc = CreateCompatibleDC(screen);
  const int fw = static_cast<int>(face.frameWidth), fh = static_cast<int>(face.frameHeight);
  HBITMAP grid = CreateCompatibleBitmap(screen, static_cast<int>(setup.cols) * fw,
                                        static_cast<int>(setup.rows) * fh);
  HBITMAP sheet = static_cast<HBITMAP>(
      LoadImageA(nullptr, face.loadImage, IMAGE_BITMAP, static_cast<int>(face.numFrames) * fw,
                 static_cast<int>(face.numRows) * fh, LR_LOADFROMFILE));
  ReleaseDC(nullptr, screen);
  SelectObject(gridDc, grid);
  SelectObject(sheetDc, sheet);
  for (int i = 0; i < 50; ++i) map.NextGeneration();

  std::vector<uint8_t> visited(map.cellCount());
  double total = 0;
  for (int t = 0; t < ticks; ++t) {
    for (uint32_t y = 0; y < setup.rows; ++y)
      for (uint32_t x = 0; x < setup.cols; ++x)
        visited[y * setup.cols + x] = map.cellByte(x, y) != 0 || map.faceState(x, y) != 0;
    const double start = Now();
    map.NextGeneration();
    for (uint32_t y = 0; y < setup.rows; ++y)
      for (uint32_t x = 0; x < setup.cols; ++x) {
        if (!visited[y * setup.cols + x]) continue;
        const uint16_t s = map.faceState(x, y);
        BitBlt(gridDc, static_cast<int>(x) * fw, static_cast<int>(y) * fh, fw, fh, sheetDc,
               (s >> 8) * fw, (s & 0xFF) * fh, SRCCOPY);
      }
    GdiFlush();
    total += Now() - start;
  }
  DeleteDC(gridDc);
  DeleteDC(sheetDc);
  DeleteObject(grid);
  DeleteObject(sheet);
  return total / ticks;
}

}  // namespace

int main(int argc, char** argv) {
  const char* sheet = argc > 1 ? argv[1] : "lifeface.bmp";
  unsigned width = 3840, height = 2160;
  if (argc > 2 && std::sscanf(argv[2], "%ux%u", &width, &height) != 2) {
    std::fprintf(stderr, "usage: tick-bench SHEET.bmp [WIDTHxHEIGHT] [TICKS]\n");
    return 2;
  }
  const int ticks = argc > 3 ? std::atoi(argv[3]) : 100;
  for (uint32_t size : {8u, 16u}) {
    const FaceInfo face = {sheet, size, size, 25, 6, 5, 12};
    const WorldConfig setup = MakeWorldConfig(face, width, height);
    const double engine = EngineLayerTick(face, setup, ticks);
    const double perTile = PerTileBlitTick(face, setup, ticks);
    std::printf(
        "%ux%u, %ux%u faces (%u x %u cells): DIB-section layer %.2f ms/tick, "
        "BitBlt per tile %.2f ms/tick\n",
        width, height, size, size, setup.cols, setup.rows, engine, perTile);
  }
  return 0;
}
