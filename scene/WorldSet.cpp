#include "WorldSet.h"

#include <string>

#include "ActivityFont.h"
#include "EngineSetup.h"
#include "Fatal.h"

void WorldSet::Create(WindowHandle window, const std::vector<WorldPlace>& places,
                      const WorldSettings& settings) {
  const std::string faceFile = settings.face.loadImage;
  // The world's size is divided by the frame size.
  if (settings.face.frameWidth == 0 || settings.face.frameHeight == 0)
    ExitIfNotCreated(CreateResult::kBadFrame, faceFile);
  for (const WorldPlace& place : places) {
    worlds_.push_back(std::make_unique<World>());
    World& world = *worlds_.back();
    world.area = place.area;
    world.views = place.views;
    world.overlays = place.overlays;
    WorldConfig config = MakeWorldConfig(settings.face, static_cast<uint32_t>(place.area.width()),
                                         static_cast<uint32_t>(place.area.height()));
    config.seed = place.seed;
    config.initpop = ScaledInitpop(settings.initpop, place.initpopScale);
    ExitIfNotCreated(world.cells.Create(config), faceFile);
    if (window != nullptr) CreateCanvas(worlds_.size() - 1, window, settings);
  }
}

void WorldSet::CreateCanvas(size_t i, WindowHandle window, const WorldSettings& settings,
                            Pixel* pixels, int stride) {
  World& world = *worlds_[i];
  CanvasOptions options = settings.canvas;
  options.overlayArea = {world.overlays.left, world.overlays.top, world.overlays.right,
                         world.overlays.bottom};
  options.font = CreateActivityFont(settings.fontName);
  options.pixels = pixels;
  options.stride = stride;
  ExitIfNotCreated(world.canvas.Create(window, world.cells, options), settings.face.loadImage);
}

void WorldSet::Step() {
  for (auto& world : worlds_) world->cells.NextGeneration();
}
