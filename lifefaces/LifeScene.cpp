#include "LifeScene.h"

#include <algorithm>
#include <string>

#include "PictureCopies.h"
#include "WorldSet.h"

namespace {
// Changed areas of a row closer together than about 1 KiB of pixels go out
// as one rectangle: sending a few unchanged tiles costs less than another
// request.
int MergeGapPixels(uint32_t frameWidth, uint32_t frameHeight) {
  const uint32_t tiles = std::max(2u, 1024u / std::max(1u, frameWidth * frameHeight));
  return static_cast<int>(tiles * frameWidth);
}
}  // namespace

struct LifeScene::Scene {
  std::string file;  // the sprite sheet's name, which the settings point to
  WorldSettings settings;
  WorldSet worlds;  // one world: the window's, or the spanned place's
  int mergeGap = 0;
  std::vector<PixelRect> changed;
};

LifeScene::LifeScene(const SceneSettings& settings, uint32_t width, uint32_t height,
                     const WorldPlace* span)
    : scene_(std::make_unique<Scene>()) {
  Scene& s = *scene_;
  // Made as the saver window procedure makes its worlds, for one monitor
  // the size of the window; the canvas waits for StartDrawing.
  s.file = settings.faces.file;
  s.settings.face = settings.faces.face;
  s.settings.face.loadImage = s.file.c_str();
  s.settings.initpop = settings.initpop;
  s.settings.canvas.displayColor = settings.color;
  s.settings.canvas.bMiniDisplay = settings.miniDisplay ? 1 : 0;
  s.settings.canvas.bActivityBar = settings.activityBar ? 1 : 0;
  s.settings.canvas.bFrameScreen = settings.frame ? 1 : 0;
  s.settings.canvas.faceFile = s.file.c_str();
  s.settings.fontName = "MS Sans Serif";
  // A clock of 0 leaves a seed of 0 to the engine, which takes the clock.
  const std::vector<WorldPlace> places =
      span != nullptr ? std::vector<WorldPlace>{*span}
                      : PlaceWorlds(SingleMonitorLayout(static_cast<int32_t>(width),
                                                        static_cast<int32_t>(height)),
                                    settings.seed, 0);
  s.worlds.Create(nullptr, places, s.settings);
  s.mergeGap = MergeGapPixels(s.settings.face.frameWidth, s.settings.face.frameHeight);
}

LifeScene::~LifeScene() = default;

int LifeScene::pictureWidth() const {
  const WorldConfig& config = scene_->worlds[0].cells.config();
  return config.cols * config.rows == 0 ? 0 : static_cast<int>(config.cols * config.frameWidth);
}

int LifeScene::pictureHeight() const {
  const WorldConfig& config = scene_->worlds[0].cells.config();
  return config.cols * config.rows == 0 ? 0 : static_cast<int>(config.rows * config.frameHeight);
}

void LifeScene::StartDrawing(uint32_t* pixels, int stride) {
  scene_->worlds.CreateCanvas(0, OffscreenWindow(), scene_->settings, pixels, stride);
}

SceneView LifeScene::Compose() {
  Scene& s = *scene_;
  const Picture* picture = s.worlds[0].canvas.Compose();
  if (picture == nullptr || !picture->valid()) return {};
  JoinChangedAreas(s.worlds[0].canvas.ChangedAreas(), picture->width(), picture->height(),
                   s.mergeGap, s.changed);

  SceneView view;
  view.pixels = picture->row(0);
  view.width = picture->width();
  view.height = picture->height();
  view.stride = picture->stride();
  view.changed = &s.changed;
  return view;
}

void LifeScene::Step() { scene_->worlds.Step(); }
