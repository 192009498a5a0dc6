#include "LifeScene.h"

#include <algorithm>
#include <string>

#include "ActivityFont.h"
#include "CellMap.h"
#include "CreateResult.h"
#include "EngineSetup.h"
#include "FaceCanvas.h"
#include "Fatal.h"
#include "WorldConfig.h"

namespace {
// Changed areas of a row closer together than about 1 KiB of pixels go out
// as one rectangle: sending a few unchanged tiles costs less than another
// request.
int MergeGapPixels(uint32_t frameWidth, uint32_t frameHeight) {
  const uint32_t tiles = std::max(2u, 1024u / std::max(1u, frameWidth * frameHeight));
  return static_cast<int>(tiles * frameWidth);
}
}  // namespace

struct LifeScene::World {
  CellMap world;  // declared first: the canvas follows it and goes first
  FaceCanvas canvas;
  CanvasOptions options;
  std::string file;
  int mergeGap = 0;
  std::vector<ScreenRect> changed;

  // The canvas's changed areas, clipped to the picture, with neighbours on
  // the same band of rows joined.
  void CollectChanged(const Picture& picture) {
    changed.clear();
    for (const PixelRect& area : canvas.ChangedAreas()) {
      const int left = std::max(area.left, 0), top = std::max(area.top, 0);
      const int right = std::min(area.right, picture.width());
      const int bottom = std::min(area.bottom, picture.height());
      if (right <= left || bottom <= top) continue;
      if (!changed.empty()) {
        ScreenRect& last = changed.back();
        const int gap = left - last.right;
        if (last.top == top && last.bottom == bottom && gap >= 0 && gap <= mergeGap) {
          last.right = right;
          continue;
        }
      }
      changed.push_back({left, top, right, bottom});
    }
  }
};

LifeScene::LifeScene(const SceneSettings& settings, uint32_t width, uint32_t height,
                     const WorldPlace* span)
    : world_(std::make_unique<World>()) {
  World& w = *world_;
  const FaceInfo& face = settings.faces.face;
  const std::string& file = settings.faces.file;
  // The saver refuses a zero frame size before it divides by it.
  if (face.frameWidth == 0 || face.frameHeight == 0)
    ExitIfNotCreated(CreateResult::kBadFrame, file);

  // Made as the saver window procedure makes its world and pictures.
  if (span != nullptr) {
    width = static_cast<uint32_t>(span->area.width());
    height = static_cast<uint32_t>(span->area.height());
  }
  WorldConfig config = MakeWorldConfig(face, width, height);
  config.seed = settings.seed;
  config.initpop =
      span != nullptr ? ScaledInitpop(settings.initpop, span->initpopScale) : settings.initpop;
  ExitIfNotCreated(w.world.Create(config), file);
  w.file = file;
  w.options.displayColor = settings.color;
  w.options.bMiniDisplay = settings.miniDisplay ? 1 : 0;
  w.options.bActivityBar = settings.activityBar ? 1 : 0;
  w.options.bFrameScreen = settings.frame ? 1 : 0;
  if (span != nullptr)
    w.options.overlayArea = {span->overlays.left, span->overlays.top, span->overlays.right,
                             span->overlays.bottom};
  w.mergeGap = MergeGapPixels(face.frameWidth, face.frameHeight);
}

LifeScene::~LifeScene() = default;

int LifeScene::pictureWidth() const {
  const WorldConfig& config = world_->world.config();
  return config.cols * config.rows == 0 ? 0 : static_cast<int>(config.cols * config.frameWidth);
}

int LifeScene::pictureHeight() const {
  const WorldConfig& config = world_->world.config();
  return config.cols * config.rows == 0 ? 0 : static_cast<int>(config.rows * config.frameHeight);
}

void LifeScene::StartDrawing(uint32_t* pixels, int stride) {
  World& w = *world_;
  w.options.pixels = pixels;
  w.options.stride = stride;
  w.options.font = CreateActivityFont("MS Sans Serif");
  w.options.faceFile = w.file.c_str();
  ExitIfNotCreated(w.canvas.Create(OffscreenWindow(), w.world, w.options), w.file);
}

SceneView LifeScene::Compose() {
  World& w = *world_;
  const Picture* picture = w.canvas.Compose();
  if (picture == nullptr || !picture->valid()) return {};
  w.CollectChanged(*picture);

  SceneView view;
  view.pixels = picture->row(0);
  view.width = picture->width();
  view.height = picture->height();
  view.stride = picture->stride();
  view.changed = &w.changed;
  return view;
}

void LifeScene::Step() { world_->world.NextGeneration(); }
