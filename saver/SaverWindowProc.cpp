// The saver window procedure: builds a Life world for every monitor the
// window covers when it is created (or, with Span Monitors, one world
// across them all), and shows one generation of each per timer tick.
#include "SaverWindowProc.h"

#include <ctime>
#include <string>
#include <vector>

#include "MonitorLayout.h"
#include "PictureCopies.h"
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
  // The window was painted black since the last tick: the next one copies
  // every picture whole.
  bool copyAll = true;
  bool viewsOverlap = false;  // see ViewsOverlap
  // What the tick copies, kept so that ticks reuse the memory.
  std::vector<PixelRect> areas;
  std::vector<PictureCopy> copies;
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
  const MonitorLayout layout = LayoutOf(createParameter);
  const std::vector<WorldPlace> places = saverSettings.bSpanMonitors != 0
                                             ? PlaceSpannedWorld(layout, saverSettings.seed, clock)
                                             : PlaceWorlds(layout, saverSettings.seed, clock);
  state.viewsOverlap = ViewsOverlap(places);
  state.worlds.Create(window, places, settings);

  SetTimer(window, kAnimationTimer, saverSettings.delay, nullptr);
  state.eraseBrush = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

void EraseBackground(HWND window) {
  HDC dc = GetDC(window);
  FillRect(dc, &State().clientRect, State().eraseBrush);
  State().copyAll = true;
  ReleaseDC(window, dc);
}

// Shows every world as the previous tick left it, then advances them all.
// Each picture reaches the window in the areas that changed since the last
// tick, on each monitor that shows it.
void Tick(HWND window) {
  SaverWindowState& state = State();
  const RECT& client = state.clientRect;
  WorldSet& worlds = state.worlds;
  HDC dc = GetDC(window);
  for (size_t i = 0; i < worlds.size(); ++i) {
    World& world = worlds[i];
    const Picture* picture = world.canvas.Compose();
    if (picture == nullptr) continue;
    AreasToCopy(state.copyAll || state.viewsOverlap || world.canvas.ChangedAll(),
                world.canvas.ChangedAreas(), picture->width(), picture->height(),
                static_cast<int>(world.cells.config().frameHeight), state.areas);
    // Only the picture is copied, on each monitor that shows it: the strips
    // beyond it and the parts of the window outside every monitor keep the
    // black of the erase.
    state.copies.clear();
    PlanCopies(world.area, world.views, picture->width(), picture->height(), state.areas,
               state.copies);
    for (const PictureCopy& copy : state.copies)
      BitBlt(dc, client.left + copy.x, client.top + copy.y, copy.width, copy.height, picture->dc(),
             copy.sourceX, copy.sourceY, SRCCOPY);
  }
  state.copyAll = false;
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
