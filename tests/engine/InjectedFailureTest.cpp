// Making a world and its canvas as the saver does, with the k-th
// acquisition (a world array or a surface) failing, for every k up to the
// number a clean start makes. Each failure must end in the saver's own
// fatal message, never a crash; the sanitizer build adds that nothing made
// before the failure leaks. The one surface allowed to fail quietly is the
// composed picture: the world is then shown without its overlays.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "Acquisition.h"
#include "CellMap.h"
#include "EngineSetup.h"
#include "FaceCanvas.h"
#include "Fatal.h"
#include "TestSheet.h"

namespace {

struct FatalReport {
  std::string text;
  std::string caption;
};

void ThrowFatal(const std::string& text, const char* caption) { throw FatalReport{text, caption}; }

int acquisitions = 0;
int failing = 0;  // 0: none fails
std::vector<Acquisition> kinds;

bool CountAndFail(Acquisition what) {
  kinds.push_back(what);
  return ++acquisitions != failing;
}

// The saver's start: world, then canvas, each failure fatal. Returns the
// picture of a first tick.
const Picture* StartSaver(const std::string& sheet, CellMap& world, FaceCanvas& canvas) {
  FaceInfo face = kDefaultFace;
  face.loadImage = sheet.c_str();
  WorldConfig config = MakeWorldConfig(face, 640, 480);
  config.seed = 5;
  config.initpop = 300;
  ExitIfNotCreated(world.Create(config), sheet);
  CanvasOptions options;
  options.bMiniDisplay = options.bActivityBar = options.bFrameScreen = 1;
  options.faceFile = sheet.c_str();
  ExitIfNotCreated(canvas.Create(TestWindow(), world, options), sheet);
  const Picture* picture = canvas.Compose();
  world.NextGeneration();
  return picture;
}

TEST(InjectedFailureTest, EachFailedAcquisitionEndsInTheSaversMessage) {
  const std::string folder = ScratchFolder("injected");
  const std::string sheet = (std::filesystem::path(folder) / "faces.bmp").string();
  WriteTestSheet(sheet, 16, 16, 25, 6);
  SetFatalHook(ThrowFatal);
  SetAcquisitionHook(CountAndFail);

  int clean = 0;
  std::vector<Acquisition> cleanKinds;
  for (failing = 0; failing == 0 || failing <= clean; ++failing) {
    SCOPED_TRACE("failing acquisition " + std::to_string(failing));
    acquisitions = 0;
    kinds.clear();
    CellMap world;
    FaceCanvas canvas;
    try {
      const Picture* picture = StartSaver(sheet, world, canvas);
      ASSERT_NE(picture, nullptr);
      EXPECT_TRUE(picture->valid());
      if (failing == 0) {
        clean = acquisitions;
        cleanKinds = kinds;
        continue;
      }
      ADD_FAILURE() << "a failed acquisition went unnoticed";
    } catch (const FatalReport& fatal) {
      ASSERT_GT(failing, 0);
      if (kinds.back() == Acquisition::kWorldArray) {
        EXPECT_EQ(fatal.caption, "No Memory");
        EXPECT_EQ(fatal.text, "Out of memory.");
      } else {
        EXPECT_EQ(fatal.caption, "???");
        EXPECT_EQ(fatal.text, "Can`t create cellmap.");
      }
    }
  }
  // The world's arrays, then the grid, mini-display and sheet pictures.
  EXPECT_EQ(clean, 16);
  EXPECT_EQ(std::count(cleanKinds.begin(), cleanKinds.end(), Acquisition::kSurface), 3);

  SetAcquisitionHook(nullptr);
  SetFatalHook(nullptr);
  std::filesystem::remove_all(folder);
}

}  // namespace
