#include "LifeRender.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "ClientPicture.h"
#include "FaceInfo.h"
#include "GifFile.h"
#include "MonitorLayout.h"
#include "Palette.h"
#include "PngFile.h"
#include "WorldLayout.h"
#include "WorldSet.h"

namespace {
std::string FromStartDirectory(const std::string& path) {
  if (path.empty()) return path;
  std::error_code ignored;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
  return absolute.empty() ? path : absolute.string();
}

// The GIF palette: black and the display colour exactly, the rest shared
// out among the colours of the sprite sheet, which are what the cells show.
std::vector<Rgb> AnimationPalette(const FaceCanvas& canvas, uint32_t displayColor) {
  ColorHistogram histogram;
  const Picture& sheet = canvas.sheetPicture();
  for (int y = 0; y < sheet.height(); ++y)
    for (int x = 0; x < sheet.width(); ++x) ++histogram[sheet.pixel(x, y) & 0xFFFFFFu];
  const Pixel display = PixelFromColor(displayColor);
  return BuildPalette(histogram, {Rgb{0, 0, 0}, UnpackRgb(display)}, 255);
}

// The face states of every world, one after the other.
bool WriteFaceStates(const std::string& path, const WorldSet& worlds) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::vector<unsigned char> bytes;
  for (size_t w = 0; w < worlds.size(); ++w) {
    const CellMap& map = worlds[w].cells;
    for (uint32_t i = 0; i < map.cellCount(); ++i) {
      const uint16_t s = map.faceStates()[i];
      bytes.push_back(static_cast<unsigned char>(s & 0xFFu));
      bytes.push_back(static_cast<unsigned char>(s >> 8));
    }
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

// The worlds' settings as the saver window procedure takes them from the
// saver's settings.
WorldSettings MakeWorldSettings(const RenderOptions& o, const FaceInfo& face) {
  WorldSettings settings;
  settings.face = face;
  settings.initpop = o.initpop;
  settings.canvas.displayColor = o.color;
  settings.canvas.bFrameScreen = o.frameScreen ? 1 : 0;
  settings.canvas.bMiniDisplay = o.miniDisplay ? 1 : 0;
  settings.canvas.bActivityBar = o.activityBar ? 1 : 0;
  settings.canvas.faceFile = o.faceFile.c_str();
  settings.fontName = o.font.c_str();
  return settings;
}

// A glider heading right and up with its top-left cell at (x, y), wrapped
// round the torus, alone in a cleared 7 x 7 box so that it starts clean;
// its cells show the first idle frame.
void PlaceGlider(CellMap& world, uint32_t x, uint32_t y) {
  const uint32_t cols = world.cols(), rows = world.rows();
  if (cols == 0 || rows == 0) return;
  const WorldConfig& config = world.config();
  const uint32_t frame = std::min(config.bornEnd + 1, config.liveEnd);
  for (uint32_t dy = 0; dy < 7; ++dy)
    for (uint32_t dx = 0; dx < 7; ++dx)
      world.SetCell((x + cols - 2 + dx) % cols, (y + rows - 2 + dy) % rows, false, 0, 0);
  //  ###
  //  ..#
  //  .#.
  const uint32_t cells[5][2] = {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {1, 2}};
  for (const auto& cell : cells)
    world.SetCell((x + cell[0]) % cols, (y + cell[1]) % rows, true, (cell[0] + cell[1]) % config.numRows,
                  frame);
}

// What the saver window shows: black, and each world's picture on the
// monitors that show it, in order, so that where monitors overlap the later
// one shows, as the window's block copies leave it.
RgbImage WindowPicture(WorldSet& worlds, uint32_t width, uint32_t height) {
  RgbImage image(static_cast<int>(width), static_cast<int>(height));
  for (size_t i = 0; i < worlds.size(); ++i) {
    World& world = worlds[i];
    const Picture* picture = world.canvas.Compose();
    for (const ScreenRect& view : world.views)
      PastePicture(image, picture, world.area.left, world.area.top,
                   {view.left, view.top, view.right, view.bottom});
  }
  return image;
}
}  // namespace

int RunLifeRender(const RenderOptions& o, FILE* out, FILE* err) {
  const std::string outPath = FromStartDirectory(o.out);
  const std::string dumpPath = FromStartDirectory(o.dumpState);

  const FaceInfo face = {o.faceFile.c_str(), o.frameWidth, o.frameHeight, o.numFrames,
                         o.numRows,          o.bornEnd,    o.dieStart};
  // The monitors as the host lays them out: shifted so that their bounding
  // box starts at 0,0. Without --monitors, one monitor of the client size.
  const MonitorLayout layout =
      o.monitors.empty()
          ? SingleMonitorLayout(static_cast<int32_t>(o.width), static_cast<int32_t>(o.height))
          : LayOutMonitors({}, o.monitors);
  const auto clock = static_cast<uint32_t>(std::time(nullptr));

  if (!o.dir.empty() && chdir(o.dir.c_str()) != 0) {
    std::fprintf(err, "life-render: cannot change into %s: %s\n", o.dir.c_str(),
                 std::strerror(errno));
    return 2;
  }
  // Only pictures need the sprite sheet; statistics run without canvases.
  WorldSet worlds;
  worlds.Create(o.WantsPicture() ? OffscreenWindow() : nullptr,
                o.span ? PlaceSpannedWorld(layout, o.seed, clock) : PlaceWorlds(layout, o.seed, clock),
                MakeWorldSettings(o, face));

  if (o.glider) PlaceGlider(worlds[0].cells, o.gliderX, o.gliderY);

  std::string error;
  GifAnimation gif;
  if (o.WantsGif() && !gif.Open(outPath, static_cast<int>(o.width), static_cast<int>(o.height),
                                AnimationPalette(worlds[0].canvas, o.color), error)) {
    std::fprintf(err, "life-render: %s\n", error.c_str());
    return 1;
  }

  // "T GENERATION POPULATION", with the generation and population of every
  // further world after the first's.
  auto stats = [&](uint32_t t) {
    if (!o.stats) return;
    std::fprintf(out, "%u", t);
    for (size_t w = 0; w < worlds.size(); ++w)
      std::fprintf(out, " %d %d", worlds[w].cells.generation(), worlds[w].cells.population());
    std::fputc('\n', out);
  };
  stats(0);
  for (uint32_t t = 1; t <= o.ticks; ++t) {
    // One timer tick: show the composed pictures, then step every world.
    if (o.WantsGif() && !gif.AddFrame(WindowPicture(worlds, o.width, o.height), o.delayMs, error)) {
      std::fprintf(err, "life-render: %s: %s\n", outPath.c_str(), error.c_str());
      return 1;
    }
    worlds.Step();
    stats(t);
  }

  if (o.WantsGif() && !gif.Close(error)) {
    std::fprintf(err, "life-render: %s: %s\n", outPath.c_str(), error.c_str());
    return 1;
  }
  if (o.WantsPicture() && !o.WantsGif() &&
      !WritePng(outPath, WindowPicture(worlds, o.width, o.height), error)) {
    std::fprintf(err, "life-render: %s\n", error.c_str());
    return 1;
  }
  if (!dumpPath.empty() && !WriteFaceStates(dumpPath, worlds)) {
    std::fprintf(err, "life-render: cannot write %s\n", dumpPath.c_str());
    return 1;
  }
  return 0;
}

int LifeRenderMain(const std::vector<std::string>& args, FILE* out, FILE* err) {
  RenderOptions options;
  std::string error;
  if (!ParseRenderOptions(args, options, error)) {
    std::fprintf(err, "life-render: %s (try --help)\n", error.c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(RenderUsage(), out);
    return 0;
  }
  return RunLifeRender(options, out, err);
}
