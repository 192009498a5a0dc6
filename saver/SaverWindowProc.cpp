// The saver window procedure: builds the Life world for the window when it
// is created and shows one generation per timer tick.
#include "SaverWindowProc.h"

#include <string>

#include "ActivityFont.h"
#include "CellMap.h"
#include "EngineSetup.h"
#include "Fatal.h"
#include "Settings.h"

namespace {
constexpr UINT_PTR kAnimationTimer = 1;

// Measured once, at creation.
RECT clientRect = {0, 0, 0, 0};
uint32_t cols = 0;
uint32_t rows = 0;
HBRUSH eraseBrush = nullptr;

// The one world of the process. Made on the first message; as a static
// local its destructor is registered with the runtime's exit-time handlers,
// so it runs on the fatal-error exits, which end through the runtime.
CellMap& TheCellMap() {
  static CellMap cellMap;
  return cellMap;
}

void CreateWorld(HWND window) {
  const SaverSettings saverSettings = LoadSettings();
  GetClientRect(window, &clientRect);

  const FaceInfo face = FaceInfoOf(saverSettings.face);
  if (face.frameWidth == 0 || face.frameHeight == 0)
    FatalExit("Bad frame dimensions, " + std::string(face.loadImage), "Bad Frame");
  // A client area less than two frames wide or high gives a grid of no
  // cells: the window then stays black.
  const EngineSetup setup = DeriveEngineSetup(face, static_cast<uint32_t>(clientRect.right),
                                              static_cast<uint32_t>(clientRect.bottom));
  cols = setup.cols;
  rows = setup.rows;

  CellMap& cellMap = TheCellMap();
  cellMap.displayColor = saverSettings.displayColor;
  cellMap.bFrameScreen = saverSettings.bFrameScreen;
  cellMap.bMiniDisplay = saverSettings.bMiniDisplay;
  cellMap.bActivityBar = saverSettings.bActivityBar;
  cellMap.initpop = saverSettings.initpop;
  cellMap.seed = saverSettings.seed;
  ApplyFaceSetup(cellMap, face, setup);
  cellMap.SetFaceName(face.loadImage);
  cellMap.font = CreateActivityFont(saverSettings.font);
  cellMap.Create(window, cols, rows);

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
  CellMap& cellMap = TheCellMap();
  HDC dc = GetDC(window);
  if (const Picture* picture = cellMap.Compose()) {
    // Only the picture is copied: the strips of the client area beyond it
    // keep the black of the erase.
    BitBlt(dc, clientRect.left, clientRect.top, picture->width(), picture->height(),
           picture->dc(), 0, 0, SRCCOPY);
  }
  ReleaseDC(window, dc);
  cellMap.NextGeneration();
}
}  // namespace

LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TheCellMap();
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
