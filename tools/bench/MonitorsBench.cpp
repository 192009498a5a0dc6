// Times saver ticks on one monitor and on two side by side, each monitor
// width x height with 8 x 8 faces on a dense soup and every overlay on: each
// world composed and what the saver would copy of it copied into a
// window-sized picture at its monitor, then every world stepped, as the
// saver window procedure ticks.
//   monitors-bench SHEET.bmp [WIDTHxHEIGHT] [TICKS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "BenchClock.h"
#include "MonitorLayout.h"
#include "PictureCopies.h"
#include "WorldLayout.h"
#include "WorldSet.h"

namespace {

struct TickCost {
  double total;  // ms per tick
  double copy;   // of which the block copies to the window
};

TickCost MonitorsTick(const FaceInfo& face, int width, int height, int monitors, int ticks) {
  std::vector<ScreenRect> rects;
  for (int k = 0; k < monitors; ++k) rects.push_back({k * width, 0, (k + 1) * width, height});
  const MonitorLayout layout = LayOutMonitors({}, rects);
  WorldSettings settings;
  settings.face = face;
  settings.initpop = static_cast<uint32_t>(width) / face.frameWidth *
                     (static_cast<uint32_t>(height) / face.frameHeight) / 2;
  settings.canvas.bMiniDisplay = settings.canvas.bActivityBar = settings.canvas.bFrameScreen = 1;
  settings.canvas.displayColor = 0x00C0C0C0;
  settings.canvas.faceFile = face.loadImage;
  settings.fontName = "MS Sans Serif";
  WorldSet worlds;
  worlds.Create(GetDesktopWindow(), PlaceWorlds(layout, 4711, 0), settings);

  // The window: a screen-compatible picture over the whole layout.
  HDC screen = GetDC(nullptr);
  HDC window = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, layout.window.width(), layout.window.height());
  ReleaseDC(nullptr, screen);
  HGDIOBJ previous = SelectObject(window, bitmap);
  for (int i = 0; i < 50; ++i) worlds.Step();  // let the soups settle
  std::vector<PixelRect> areas;
  std::vector<PictureCopy> copies;
  double copy = 0;
  const double start = Now();
  for (int i = 0; i < ticks; ++i) {
    for (size_t w = 0; w < worlds.size(); ++w) {
      World& world = worlds[w];
      if (const Picture* picture = world.canvas.Compose()) {
        const double copyStart = Now();
        AreasToCopy(world.canvas.ChangedAll(), world.canvas.ChangedAreas(), picture->width(),
                    picture->height(), static_cast<int>(face.frameHeight), areas);
        copies.clear();
        PlanCopies(world.area, world.views, picture->width(), picture->height(), areas, copies);
        for (const PictureCopy& c : copies)
          BitBlt(window, c.x, c.y, c.width, c.height, picture->dc(), c.sourceX, c.sourceY, SRCCOPY);
        GdiFlush();
        copy += Now() - copyStart;
      }
    }
    worlds.Step();
  }
  const TickCost cost = {(Now() - start) / ticks, copy / ticks};
  SelectObject(window, previous);
  DeleteObject(bitmap);
  DeleteDC(window);
  return cost;
}

}  // namespace

int main(int argc, char** argv) {
  const char* sheet = argc > 1 ? argv[1] : "tinyface.bmp";
  int width = 3840, height = 2160;
  if (argc > 2 &&
      (std::sscanf(argv[2], "%dx%d", &width, &height) != 2 || width < 16 || height < 16)) {
    std::fprintf(stderr, "usage: monitors-bench SHEET.bmp [WIDTHxHEIGHT] [TICKS]\n");
    return 2;
  }
  const int ticks = argc > 3 ? std::atoi(argv[3]) : 100;
  const FaceInfo face = {sheet, 8, 8, 13, 6, 2, 7};
  const TickCost one = MonitorsTick(face, width, height, 1, ticks);
  const TickCost two = MonitorsTick(face, width, height, 2, ticks);
  std::printf(
      "saver tick, 8x8 faces, dense soup, %dx%d monitors: one %.2f ms/tick "
      "(window copy %.2f), two side by side %.2f ms/tick (window copies %.2f): %.2fx\n",
      width, height, one.total, one.copy, two.total, two.copy, two.total / one.total);
  return 0;
}
