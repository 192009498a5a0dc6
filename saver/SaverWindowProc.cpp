// The saver window procedure: builds a Life world for every monitor the
// window covers when it is created, and shows one generation of each per
// timer tick.
#include "SaverWindowProc.h"

#include <ctime>
#include <string>

#include "Fatal.h"
#include "MonitorLayout.h"
#include "Settings.h"
#include "WorldLayout.h"
#include "WorldSet.h"

namespace {
constexpr UINT_PTR kAnimationTimer = 1;

// What the window procedure keeps between messages.
struct SaverWindowState {
  RECT clientRect = {0, 0, 0, 0};  // measured once, at creation
  HBRUSH eraseBrush = nullptr;
  // The worlds of the process, one per monitor, each with the canvas that
  // draws it for the window.
  WorldSet worlds;
};

// Made on the first message; as a static local its destructor is registered
// with the runtime's exit-time handlers, so it runs on the fatal-error
// exits, which end through the runtime.
SaverWindowState& State() {
  static SaverWindowState state;
  return state;
}

// The monitors the host handed over with the window; a window made without
// them (the preview, a test's window) is one monitor.
MonitorLayout LayoutOf(LPARAM createParameter) {
  const auto* create = reinterpret_cast<const CREATESTRUCTA*>(createParameter);
  if (create != nullptr && create->lpCreateParams != nullptr)
    return *static_cast<const MonitorLayout*>(create->lpCreateParams);
  const RECT& client = State().clientRect;
  return SingleMonitorLayout(client.right, client.bottom);
}

void CreateWorlds(HWND window, LPARAM createParameter) {
  SaverWindowState& state = State();
  const SaverSettings saverSettings = LoadSettings();
  GetClientRect(window, &state.clientRect);

  const FaceInfo face = FaceInfoOf(saverSettings.face);
  if (face.frameWidth == 0 || face.frameHeight == 0)
    ExitIfNotCreated(CreateResult::kBadFrame, face.loadImage);

  WorldSettings settings;
  settings.face = face;
  settings.initpop = saverSettings.initpop;
  settings.canvas.displayColor = saverSettings.displayColor;
  settings.canvas.bFrameScreen = saverSettings.bFrameScreen;
  settings.canvas.bMiniDisplay = saverSettings.bMiniDisplay;
  settings.canvas.bActivityBar = saverSettings.bActivityBar;
  settings.canvas.faceFile = face.loadImage;
  settings.fontName = saverSettings.font;
  // A seed of 0 takes the clock, as a world on its own would, plus k.
  const auto clock = static_cast<uint32_t>(std::time(nullptr));
  state.worlds.Create(window, PlaceWorlds(LayoutOf(createParameter), saverSettings.seed, clock),
                      settings);

  SetTimer(window, kAnimationTimer, saverSettings.delay, nullptr);
  state.eraseBrush = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

void EraseBackground(HWND window) {
  HDC dc = GetDC(window);
  FillRect(dc, &State().clientRect, State().eraseBrush);
  ReleaseDC(window, dc);
}

// Shows every world as the previous tick left it, then advances them all.
void Tick(HWND window) {
  const RECT& client = State().clientRect;
  WorldSet& worlds = State().worlds;
  HDC dc = GetDC(window);
  for (size_t i = 0; i < worlds.size(); ++i) {
    World& world = worlds[i];
    if (const Picture* picture = world.canvas.Compose()) {
      // Only the picture is copied, at its monitor: the strips beyond it
      // and the parts of the window outside every monitor keep the black
      // of the erase.
      BitBlt(dc, client.left + world.area.left, client.top + world.area.top,
             picture->width(), picture->height(), picture->dc(), 0, 0, SRCCOPY);
    }
  }
  ReleaseDC(window, dc);
  worlds.Step();
}
}  // namespace

LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  State();
  switch (message) {
    case WM_CREATE:
      CreateWorlds(window, lParam);
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
