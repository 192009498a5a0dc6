#pragma once
// The worlds of the saver window, one per monitor: each with its own grid,
// random generator and stagnation reseed, and, when there is a window to
// draw for, its own canvas (pictures and overlays) placed on its monitor.
// The saver window procedure, life-render and the lifefaces hack (one world:
// its window's, or its spanned place's) build and run them alike.
#include <cstdint>
#include <memory>
#include <vector>

#include "CellMap.h"
#include "FaceCanvas.h"
#include "FaceInfo.h"
#include "Platform.h"
#include "WorldLayout.h"

struct World {
  ScreenRect area;                // the world's picture, relative to the client area
  std::vector<ScreenRect> views;  // the monitors showing it, likewise
  ScreenRect overlays;            // where its canvas puts the overlays, in the area
  CellMap cells;
  FaceCanvas canvas;  // declared after the cells: it goes first
};

// What every world shares: the face set, the start population and how the
// canvases show their worlds (each canvas makes its own activity-line font
// from fontName).
struct WorldSettings {
  FaceInfo face;
  uint32_t initpop = 0;
  CanvasOptions canvas;
  const char* fontName = nullptr;
};

class WorldSet {
 public:
  // A world for each place, created in order; with a window, each gets its
  // canvas. A failure ends the process with the saver's fatal message, so
  // the first world's failure is the one reported, as on a single screen.
  // A face set with a frame size of 0 is refused before any world is made.
  void Create(WindowHandle window, const std::vector<WorldPlace>& places,
              const WorldSettings& settings);

  // World i's canvas, for worlds created without a window: drawn into
  // `pixels` (rows `stride` pixels apart, kept alive as long as the set),
  // or into a picture of its own when pixels is null. A failure ends the
  // process as in Create.
  void CreateCanvas(size_t i, WindowHandle window, const WorldSettings& settings,
                    Pixel* pixels = nullptr, int stride = 0);

  // One generation of every world.
  void Step();

  size_t size() const { return worlds_.size(); }
  World& operator[](size_t i) { return *worlds_[i]; }
  const World& operator[](size_t i) const { return *worlds_[i]; }

 private:
  std::vector<std::unique_ptr<World>> worlds_;
};
