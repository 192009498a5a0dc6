#include "LifeScene.h"

#include <algorithm>
#include <cstring>

#include "ActivityFont.h"
#include "CellMap.h"
#include "EngineSetup.h"
#include "Fatal.h"

namespace {
// Height of the band the activity line is drawn in: its 14-pixel character
// cell at y 2, and room below.
constexpr int kActivityBand = 20;
// Changed cells of a row closer together than about 1 KiB of pixels go out
// as one rectangle: sending a few unchanged tiles costs less than another
// request.
uint32_t MergeGap(uint32_t frameWidth, uint32_t frameHeight) {
  return std::max(2u, 1024u / std::max(1u, frameWidth * frameHeight));
}
}  // namespace

struct LifeScene::World {
  CellMap map;
  SceneSettings settings;
  uint32_t frameWidth = 0;
  uint32_t frameHeight = 0;
  uint32_t mergeGap = 2;
  bool composedOnce = false;
  // Face states of the previous picture: a cell whose state is unchanged
  // shows the same tile.
  std::vector<uint16_t> shownStates;
  std::vector<ScreenRect> changed;

  void AddChanged(int x, int y, int width, int height, const Picture& picture) {
    const int left = std::max(x, 0), top = std::max(y, 0);
    const int right = std::min(x + width, picture.width());
    const int bottom = std::min(y + height, picture.height());
    if (right > left && bottom > top) changed.push_back({left, top, right - left, bottom - top});
  }

  void CollectChangedCells(const Picture& picture) {
    const uint16_t* states = map.faceStates();
    const uint32_t cols = map.cols();
    for (uint32_t y = 0; y < map.rows(); ++y) {
      const uint16_t* now = states + size_t{y} * cols;
      uint16_t* shown = shownStates.data() + size_t{y} * cols;
      uint32_t runStart = 0, runEnd = 0;  // [runStart, runEnd) of changed cells
      bool inRun = false;
      for (uint32_t x = 0; x < cols; ++x) {
        if (now[x] == shown[x]) continue;
        shown[x] = now[x];
        if (inRun && x - runEnd <= mergeGap) {
          runEnd = x + 1;
          continue;
        }
        if (inRun) AddCells(runStart, runEnd, y, picture);
        runStart = x;
        runEnd = x + 1;
        inRun = true;
      }
      if (inRun) AddCells(runStart, runEnd, y, picture);
    }
  }

  void AddCells(uint32_t from, uint32_t to, uint32_t y, const Picture& picture) {
    AddChanged(static_cast<int>(from * frameWidth), static_cast<int>(y * frameHeight),
               static_cast<int>((to - from) * frameWidth), static_cast<int>(frameHeight), picture);
  }
};

LifeScene::LifeScene(const SceneSettings& settings, uint32_t width, uint32_t height)
    : world_(std::make_unique<World>()) {
  World& w = *world_;
  w.settings = settings;
  const FaceInfo& face = w.settings.faces.face;
  if (face.frameWidth == 0 || face.frameHeight == 0)
    FatalExit("Bad frame dimensions, " + w.settings.faces.file, "Bad Frame");
  const EngineSetup setup = DeriveEngineSetup(face, width, height);

  // Set up as the saver window procedure sets up its map.
  CellMap& map = w.map;
  map.displayColor = settings.color;
  map.bFrameScreen = settings.frame ? 1 : 0;
  map.bMiniDisplay = settings.miniDisplay ? 1 : 0;
  map.bActivityBar = settings.activityBar ? 1 : 0;
  map.initpop = settings.initpop;
  map.seed = settings.seed;
  ApplyFaceSetup(map, face, setup);
  map.SetFaceName(face.loadImage);
  map.font = CreateActivityFont("MS Sans Serif");
  map.Create(OffscreenWindow(), setup.cols, setup.rows);
  w.frameWidth = face.frameWidth;
  w.frameHeight = face.frameHeight;
  w.mergeGap = MergeGap(face.frameWidth, face.frameHeight);
  w.shownStates.assign(map.faceStates(), map.faceStates() + map.cellCount());
}

LifeScene::~LifeScene() = default;

SceneView LifeScene::Compose() {
  World& w = *world_;
  const Picture* picture = w.map.Compose();
  if (picture == nullptr || !picture->valid()) return {};

  w.changed.clear();
  if (!w.composedOnce) {
    w.composedOnce = true;
    w.AddChanged(0, 0, picture->width(), picture->height(), *picture);
  } else {
    w.CollectChangedCells(*picture);
    // The overlays are drawn afresh on every picture.
    if (w.settings.miniDisplay)
      w.AddChanged(w.map.miniDisplayX(), w.map.miniDisplayY(), static_cast<int>(w.map.cols()) + 4,
                   static_cast<int>(w.map.rows()) + 4, *picture);
    if (w.settings.activityBar) w.AddChanged(0, 0, picture->width(), kActivityBand, *picture);
  }

  SceneView view;
  view.pixels = picture->row(0);
  view.width = picture->width();
  view.height = picture->height();
  view.stride = picture->width();
  view.changed = &w.changed;
  return view;
}

void LifeScene::Step() { world_->map.NextGeneration(); }
