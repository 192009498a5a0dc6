#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "FaceData.h"
#include "MonitorLayout.h"
#include "Picture.h"
#include "WorldLayout.h"

// The one place the hack meets the Life engine: the world built for a
// window size, its composed picture and what changed in it from one
// picture to the next.

struct SceneSettings {
  FaceChoice faces;
  uint32_t seed = 0;
  uint32_t initpop = 150;
  bool miniDisplay = true;
  bool activityBar = true;
  bool frame = true;
  uint32_t color = 0x00C0C0C0;  // 0x00BBGGRR
};

// The picture to show: 32-bit 0x00RRGGBB pixels, rows `stride` pixels
// apart, at (0, 0) of the window. No pixels when the window is too small
// for a grid: it then shows black.
struct SceneView {
  const uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
  // Areas that differ from the previous view (all of it the first time), as
  // the engine's canvas records them.
  const std::vector<PixelRect>* changed = nullptr;
};

class LifeScene {
 public:
  // Builds and seeds the world for a window of the given size, as the saver
  // does for its client area; with a spanned place, for the place's area
  // instead (the caller shows the picture at the area's corner), its
  // overlays and start population as the place gives them.
  LifeScene(const SceneSettings& settings, uint32_t width, uint32_t height,
            const WorldPlace* span = nullptr);
  ~LifeScene();
  LifeScene(const LifeScene&) = delete;
  LifeScene& operator=(const LifeScene&) = delete;

  // The size of the world's picture; 0 x 0 when the window is too small.
  int pictureWidth() const;
  int pictureHeight() const;
  // Starts drawing the picture into pixels (rows `stride` pixels apart,
  // kept alive as long as the scene), or into memory of its own when
  // pixels is null. Called once, before Compose. A face set that cannot be
  // loaded ends the process with the saver's own message (exit code 1).
  void StartDrawing(uint32_t* pixels, int stride);

  // The world as it stands, with the overlays. The view's pixels are those
  // StartDrawing was given, when it was given some.
  SceneView Compose();
  // One generation.
  void Step();

 private:
  struct Scene;
  std::unique_ptr<Scene> scene_;
};
