// The saver window procedure: builds the Life world for the window when it
// is created and shows one generation per timer tick.
#include "SaverWindowProc.h"

#include <string>

#include "ActivityFont.h"
#include "CellMap.h"
#include "EngineSetup.h"
#include "FaceCanvas.h"
#include "Fatal.h"
#include "SaverHost.h"
#include "Settings.h"

namespace {
constexpr UINT_PTR kAnimationTimer = 1;

// Measured once, at creation.
RECT clientRect = {0, 0, 0, 0};
uint32_t cols = 0;
uint32_t rows = 0;
HBRUSH eraseBrush = nullptr;

// The one world of the process and the canvas that draws it for the window.
// Made on the first message; as a static local its destructor is registered
// with the runtime's exit-time handlers, so it runs on the fatal-error
// exits, which end through the runtime. The canvas goes first.
struct Saver {
  CellMap world;
  FaceCanvas canvas;
};

Saver& TheSaver() {
  static Saver saver;
  return saver;
}

void CreateWorld(HWND window) {
  LoadSettings();
  GetClientRect(window, &clientRect);

  const FaceInfo& face = saverSettings.face;
  const std::string faceFile = face.loadImage;
  if (face.frameWidth == 0 || face.frameHeight == 0)
    ExitIfNotCreated(CreateResult::kBadFrame, faceFile);
  // A client area less than two frames wide or high gives a grid of no
  // cells: the window then stays black.
  WorldConfig config = MakeWorldConfig(face, static_cast<uint32_t>(clientRect.right),
                                       static_cast<uint32_t>(clientRect.bottom));
  config.seed = saverSettings.seed;
  config.initpop = saverSettings.initpop;
  cols = config.cols;
  rows = config.rows;

  CanvasOptions options;
  options.displayColor = saverSettings.displayColor;
  options.bFrameScreen = saverSettings.bFrameScreen;
  options.bMiniDisplay = saverSettings.bMiniDisplay;
  options.bActivityBar = saverSettings.bActivityBar;
  options.faceFile = face.loadImage;
  options.font = CreateActivityFont(saverSettings.font);
  Saver& saver = TheSaver();
  ExitIfNotCreated(saver.world.Create(config), faceFile);
  ExitIfNotCreated(saver.canvas.Create(window, saver.world, options), faceFile);

  SetTimer(window, kAnimationTimer, saverSettings.delay, nullptr);
  eraseBrush = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

void EraseBackground(HWND window) {
  HDC dc = GetDC(window);
  FillRect(dc, &clientRect, eraseBrush);
  ReleaseDC(window, dc);
}

// Shows the world as the previous tick left it, then advances it.
void Tick(HWND window) {
  Saver& saver = TheSaver();
  HDC dc = GetDC(window);
  if (const Picture* picture = saver.canvas.Compose()) {
    // Only the picture is copied: the strips of the client area beyond it
    // keep the black of the erase.
    BitBlt(dc, clientRect.left, clientRect.top, picture->width(), picture->height(),
           picture->dc(), 0, 0, SRCCOPY);
  }
  ReleaseDC(window, dc);
  saver.world.NextGeneration();
}
}  // namespace

LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TheSaver();
  switch (message) {
    case WM_CREATE:
      CreateWorld(window);
      return 0;
    case WM_ERASEBKGND:
      EraseBackground(window);
      return 0;
    case WM_TIMER:
      Tick(window);
      return 0;
    default:
      return DefSaverProc(window, message, wParam, lParam);
  }
}
