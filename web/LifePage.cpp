// The browser page's program: one world the size of the page's canvas, as
// the hack makes one for its window, drawn by the engine's canvas into its
// own picture, whose pixels this build keeps in the byte order the page's
// canvas takes (R, G, B, A: LIFE_PIXELS_RGBA). Each tick the page (page.js)
// puts the areas of the picture that changed on the canvas straight from
// the picture's memory.
#include <emscripten/emscripten.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "FaceCatalogue.h"
#include "Fatal.h"
#include "LifeCatalogue.h"
#include "PictureCopies.h"
#include "WorldLayout.h"
#include "WorldSet.h"

namespace {
// Where the face sheets the page hands over are kept, by their catalogue
// names, and where the native font reader looks for the activity line's
// font first (NativeFont.cpp).
const char kSheetFolder[] = "/faces";
const char kFontFile[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

struct Page {
  std::string faceFile;  // the sprite sheet's name, which the settings point to
  WorldSettings settings;
  std::unique_ptr<WorldSet> worlds;
  std::vector<PixelRect> areas;
  std::vector<int32_t> rects;  // x, y, width, height of each area, for the page
  int width = 0;
  int height = 0;
};
Page page;
std::string answer;  // the text a function last handed to the page

std::string Stem(const std::string& name) {
  std::string stem = name.substr(0, name.find('.'));
  for (char& c : stem) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return stem;
}

// Calls visit(entry) for each record of the catalogue built in, in order,
// until it returns false.
template <typename Visit>
void ForEachFaceSet(Visit visit) {
  FILE* file = fmemopen(const_cast<char*>(kLifeCatalogue), sizeof kLifeCatalogue - 1, "r");
  if (file == nullptr) return;
  FaceRecordReader reader(file);
  FaceInfo entry{};
  while (reader.Next(entry) && visit(entry)) {
  }
  std::fclose(file);
}

// A fatal failure (a face sheet that cannot be read, memory) ends the
// program: the page shows the message in place of the world.
EM_JS(void, ThrowFatal, (const char* caption, const char* text), {
  throw {lifeFatal : true, caption : UTF8ToString(caption), text : UTF8ToString(text)};
});

void OnFatal(const std::string& text, const char* caption) { ThrowFatal(caption, text.c_str()); }

// Writes a file, making the folders on its way.
bool WriteFile(const std::string& path, const unsigned char* data, int size) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1))
    mkdir(path.substr(0, slash).c_str(), 0755);
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = size <= 0 || std::fwrite(data, static_cast<size_t>(size), 1, file) == 1;
  return std::fclose(file) == 0 && written;
}

}  // namespace

extern "C" {

// The sprite-sheet name of the face set called `name` in the catalogue: the
// listed name exactly, or its name before the first '.' in any case, as the
// hack looks it up. Empty when none is listed so.
EMSCRIPTEN_KEEPALIVE const char* life_face_file(const char* name) {
  const std::string wanted = name;
  answer.clear();
  ForEachFaceSet([&](const FaceInfo& entry) {
    if (wanted == entry.loadImage) {
      answer = entry.loadImage;
      return false;
    }
    if (answer.empty() && Stem(wanted) == Stem(entry.loadImage)) answer = entry.loadImage;
    return true;
  });
  return answer.c_str();
}

// The sprite-sheet names of the catalogue, one a line.
EMSCRIPTEN_KEEPALIVE const char* life_face_files() {
  answer.clear();
  ForEachFaceSet([](const FaceInfo& entry) {
    answer += entry.loadImage;
    answer += '\n';
    return true;
  });
  return answer.c_str();
}

// Keeps a face sheet's bytes (the page loaded them) under its catalogue
// name, or the activity line's font when `name` is empty. False when they
// cannot be kept.
EMSCRIPTEN_KEEPALIVE int life_add_file(const char* name, const unsigned char* data, int size) {
  const std::string path = *name == '\0' ? kFontFile : std::string(kSheetFolder) + "/" + name;
  return WriteFile(path, data, size) ? 1 : 0;
}

// A new world for a canvas of width x height pixels with the settings given
// (color as 0x00BBGGRR), in place of any before; the face set must be
// listed and its sheet kept. Returns false for an unlisted face set; a
// sheet that cannot be read is fatal.
EMSCRIPTEN_KEEPALIVE int life_start(const char* faceFile, int width, int height, uint32_t seed,
                                    uint32_t initpop, int miniDisplay, int activityBar, int frame,
                                    uint32_t color) {
  SetFatalHook(OnFatal);
  page.worlds.reset();
  page.width = page.height = 0;
  page.faceFile = life_face_file(faceFile);
  if (page.faceFile.empty()) return 0;
  ForEachFaceSet([](const FaceInfo& entry) {
    if (page.faceFile != entry.loadImage) return true;
    page.settings.face = entry;
    return false;
  });
  page.settings.face.loadImage = page.faceFile.c_str();
  page.settings.initpop = initpop;
  page.settings.canvas.displayColor = color;
  page.settings.canvas.bMiniDisplay = miniDisplay != 0 ? 1 : 0;
  page.settings.canvas.bActivityBar = activityBar != 0 ? 1 : 0;
  page.settings.canvas.bFrameScreen = frame != 0 ? 1 : 0;
  page.settings.canvas.faceFile = page.faceFile.c_str();
  page.settings.fontName = "MS Sans Serif";
  if (chdir(kSheetFolder) != 0) ExitIfNotCreated(CreateResult::kNoFaces, page.faceFile);

  // Made as the hack makes its world, for one monitor the size of the canvas.
  const auto clock = static_cast<uint32_t>(std::time(nullptr));
  page.worlds = std::make_unique<WorldSet>();
  page.worlds->Create(nullptr, PlaceWorlds(SingleMonitorLayout(width, height), seed, clock),
                      page.settings);
  page.worlds->CreateCanvas(0, OffscreenWindow(), page.settings);
  const Picture& picture = (*page.worlds)[0].canvas.gridPicture();
  page.width = picture.width();
  page.height = picture.height();
  return 1;
}

// The picture's size (0 x 0 when the canvas is too small for a grid) and
// its pixels, width pixels a row (the canvas's own picture has no gaps).
EMSCRIPTEN_KEEPALIVE int life_width() { return page.width; }
EMSCRIPTEN_KEEPALIVE int life_height() { return page.height; }
EMSCRIPTEN_KEEPALIVE const Pixel* life_pixels() {
  return page.worlds && page.width > 0 ? (*page.worlds)[0].canvas.gridPicture().row(0) : nullptr;
}

// The world as it stands, with the overlays, and the areas of the picture
// that changed since the last time (all of it the first time, or when most
// of it changed), chosen as the saver chooses what to copy. Returns how
// many; life_areas() then holds x, y, width, height of each.
EMSCRIPTEN_KEEPALIVE int life_compose() {
  if (!page.worlds || page.width == 0) return 0;
  FaceCanvas& canvas = (*page.worlds)[0].canvas;
  const Picture* picture = canvas.Compose();
  if (picture == nullptr) return 0;
  AreasToCopy(canvas.ChangedAll(), canvas.ChangedAreas(), page.width, page.height,
              static_cast<int>(page.settings.face.frameHeight), page.areas);
  page.rects.clear();
  for (const PixelRect& area : page.areas)
    page.rects.insert(page.rects.end(),
                      {area.left, area.top, area.right - area.left, area.bottom - area.top});
  return static_cast<int>(page.areas.size());
}
EMSCRIPTEN_KEEPALIVE const int32_t* life_areas() { return page.rects.data(); }

// One generation.
EMSCRIPTEN_KEEPALIVE void life_step() {
  if (page.worlds) page.worlds->Step();
}

}  // extern "C"
