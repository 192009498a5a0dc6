#include "WorldSet.h"

#include <string>

#include "ActivityFont.h"
#include "EngineSetup.h"
#include "Fatal.h"

void WorldSet::Create(WindowHandle window, const std::vector<WorldPlace>& places,
                      const WorldSettings& settings) {
  const std::string faceFile = settings.face.loadImage;
  for (const WorldPlace& place : places) {
    worlds_.push_back(std::make_unique<World>());
    World& world = *worlds_.back();
    world.area = place.area;
    world.views = place.views;
    WorldConfig config = MakeWorldConfig(settings.face, static_cast<uint32_t>(place.area.width()),
                                         static_cast<uint32_t>(place.area.height()));
    config.seed = place.seed;
    config.initpop = ScaledInitpop(settings.initpop, place.initpopScale);
    ExitIfNotCreated(world.cells.Create(config), faceFile);
    if (window == nullptr) continue;
    CanvasOptions options = settings.canvas;
    options.overlayArea = {place.overlays.left, place.overlays.top, place.overlays.right,
                           place.overlays.bottom};
    options.font = CreateActivityFont(settings.fontName);
    ExitIfNotCreated(world.canvas.Create(window, world.cells, options), faceFile);
  }
}

void WorldSet::Step() {
  for (auto& world : worlds_) world->cells.NextGeneration();
}
