#include "LifeRender.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "ActivityFont.h"
#include "CellMap.h"
#include "ClientPicture.h"
#include "EngineSetup.h"
#include "FaceCanvas.h"
#include "FaceInfo.h"
#include "Fatal.h"
#include "GifFile.h"
#include "Palette.h"
#include "PngFile.h"

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

bool WriteFaceStates(const std::string& path, const CellMap& map) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::vector<unsigned char> bytes;
  bytes.reserve(size_t{map.cellCount()} * 2);
  for (uint32_t i = 0; i < map.cellCount(); ++i) {
    const uint16_t s = map.faceStates()[i];
    bytes.push_back(static_cast<unsigned char>(s & 0xFFu));
    bytes.push_back(static_cast<unsigned char>(s >> 8));
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

// The canvas options as the saver window procedure takes them from the
// settings.
CanvasOptions MakeCanvasOptions(const RenderOptions& o) {
  CanvasOptions options;
  options.displayColor = o.color;
  options.bFrameScreen = o.frameScreen ? 1 : 0;
  options.bMiniDisplay = o.miniDisplay ? 1 : 0;
  options.bActivityBar = o.activityBar ? 1 : 0;
  options.faceFile = o.faceFile.c_str();
  options.font = CreateActivityFont(o.font.c_str());
  return options;
}
}  // namespace

int RunLifeRender(const RenderOptions& o, FILE* out, FILE* err) {
  const std::string outPath = FromStartDirectory(o.out);
  const std::string dumpPath = FromStartDirectory(o.dumpState);

  // The saver refuses a zero frame size before it divides by it.
  if (o.frameWidth == 0 || o.frameHeight == 0)
    ExitIfNotCreated(CreateResult::kBadFrame, o.faceFile);
  const FaceInfo face = {o.faceFile.c_str(), o.frameWidth, o.frameHeight, o.numFrames,
                         o.numRows,          o.bornEnd,    o.dieStart};
  WorldConfig config = MakeWorldConfig(face, o.width, o.height);
  config.seed = o.seed;
  config.initpop = o.initpop;

  CellMap map;
  FaceCanvas canvas;
  if (!o.dir.empty() && chdir(o.dir.c_str()) != 0) {
    std::fprintf(err, "life-render: cannot change into %s: %s\n", o.dir.c_str(),
                 std::strerror(errno));
    return 2;
  }
  ExitIfNotCreated(map.Create(config), o.faceFile);
  // Only pictures need the sprite sheet; statistics run without a canvas.
  if (o.WantsPicture())
    ExitIfNotCreated(canvas.Create(OffscreenWindow(), map, MakeCanvasOptions(o)), o.faceFile);

  std::string error;
  GifAnimation gif;
  if (o.WantsGif() &&
      !gif.Open(outPath, static_cast<int>(o.width), static_cast<int>(o.height),
                AnimationPalette(canvas, o.color), error)) {
    std::fprintf(err, "life-render: %s\n", error.c_str());
    return 1;
  }

  auto stats = [&](uint32_t t) {
    if (o.stats) std::fprintf(out, "%u %d %d\n", t, map.generation(), map.population());
  };
  stats(0);
  for (uint32_t t = 1; t <= o.ticks; ++t) {
    // One timer tick: show the composed picture, then step.
    if (o.WantsGif() &&
        !gif.AddFrame(ClientPicture(canvas.Compose(), o.width, o.height), o.delayMs, error)) {
      std::fprintf(err, "life-render: %s: %s\n", outPath.c_str(), error.c_str());
      return 1;
    }
    map.NextGeneration();
    stats(t);
  }

  if (o.WantsGif() && !gif.Close(error)) {
    std::fprintf(err, "life-render: %s: %s\n", outPath.c_str(), error.c_str());
    return 1;
  }
  if (o.WantsPicture() && !o.WantsGif() &&
      !WritePng(outPath, ClientPicture(canvas.Compose(), o.width, o.height), error)) {
    std::fprintf(err, "life-render: %s\n", error.c_str());
    return 1;
  }
  if (!dumpPath.empty() && !WriteFaceStates(dumpPath, map)) {
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
