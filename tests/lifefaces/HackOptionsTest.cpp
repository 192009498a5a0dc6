#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "FaceData.h"
#include "HackOptions.h"
#include "SpanPlace.h"

namespace {
bool Parse(const std::vector<std::string>& args, HackOptions& o, std::string& error) {
  o = HackOptions{};
  error.clear();
  return ParseHackOptions(args, o, error);
}
}  // namespace

TEST(HackOptions, ReadsEveryOptionInEitherDashForm) {
  HackOptions o;
  std::string error;
  ASSERT_TRUE(Parse({}, o, error));
  EXPECT_EQ(o.target, HackOptions::Target::kChosen);
  EXPECT_EQ(o.delayUs, 150000u);
  EXPECT_EQ(o.faces, "lifeface.bmp");
  EXPECT_EQ(o.initpop, 150u);
  EXPECT_EQ(o.color, 0x00C0C0C0u);
  EXPECT_TRUE(o.miniDisplay && o.activityBar && o.frame && o.shm);

  ASSERT_TRUE(
      Parse({"--window-id", "0x2A00007", "-delay", "0", "--fps", "-faces", "tinyface.bmp", "-seed",
             "4294967295", "--initpop", "0", "-no-mini-display", "--no-activity-bar", "-no-frame",
             "-color", "#FF8000", "-stop-after", "7", "-no-shm"},
            o, error))
      << error;
  EXPECT_EQ(o.target, HackOptions::Target::kWindowId);
  EXPECT_EQ(o.windowId, 0x2A00007ul);
  EXPECT_EQ(o.delayUs, 0u);
  EXPECT_TRUE(o.fps);
  EXPECT_EQ(o.seed, 4294967295u);
  EXPECT_EQ(o.initpop, 0u);
  EXPECT_FALSE(o.miniDisplay || o.activityBar || o.frame || o.shm || o.span);
  EXPECT_EQ(o.color, 0x000080FFu);  // #RRGGBB becomes 0x00BBGGRR
  EXPECT_EQ(o.stopAfter, 7u);

  ASSERT_TRUE(Parse({"-window-id", "44040199", "-color", "00ff00", "-root"}, o, error));
  EXPECT_EQ(o.target, HackOptions::Target::kRoot);  // the last choice wins
  EXPECT_EQ(o.windowId, 44040199ul);
  EXPECT_EQ(o.color, 0x0000FF00u);
  ASSERT_TRUE(Parse({"--span"}, o, error));
  EXPECT_TRUE(o.span);
}

// A window over several monitors gets one world on their bounding box,
// relative to the window, its overlays on the primary; a window on one
// monitor, or over monitors too far apart, keeps its whole-window world.
TEST(SpanPlace, SpansTheMonitorsTheWindowCovers) {
  const ScreenRect left = {0, 0, 1024, 768}, right = {1024, 0, 2304, 1024};
  // Root window: the primary on the right, the bottom left unseen.
  std::optional<WorldPlace> place = SpanPlace({0, 0, 2304, 1024}, {right, left}, 7);
  ASSERT_TRUE(place);
  EXPECT_EQ(place->area, (ScreenRect{0, 0, 2304, 1024}));
  EXPECT_EQ(place->overlays, (ScreenRect{1024, 0, 2304, 1024}));
  EXPECT_EQ(place->seed, 7u);
  EXPECT_DOUBLE_EQ(place->initpopScale, 2304.0 * 1024 / (1280.0 * 1024));

  // A window of its own straddling the seam: the monitors' parts inside it.
  place = SpanPlace({900, 100, 1300, 400}, {left, right}, 0);
  ASSERT_TRUE(place);
  EXPECT_EQ(place->area, (ScreenRect{0, 0, 400, 300}));
  EXPECT_EQ(place->overlays, (ScreenRect{0, 0, 124, 300}));
  EXPECT_EQ(place->seed, 0u);  // the engine takes the clock

  EXPECT_FALSE(SpanPlace({0, 0, 1024, 768}, {left, right}, 0));  // one monitor inside
  EXPECT_FALSE(SpanPlace({0, 0, 1024, 768}, {left}, 0));
  EXPECT_FALSE(SpanPlace({0, 0, 0, 0}, {left, right}, 0));
  // Two small monitors at opposite corners of a large window.
  EXPECT_FALSE(SpanPlace({0, 0, 8000, 8000}, {{0, 0, 100, 100}, {7900, 7900, 8000, 8000}}, 0));
}

TEST(HackOptions, RefusesBadOptionsNamingThem) {
  HackOptions o;
  std::string error;
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"-bogus"}, "unknown option -bogus"},
      {{"stray"}, "unexpected argument stray"},
      {{"-seed"}, "option -seed needs a value"},
      {{"-delay", "-1"}, "bad value for option -delay: '-1'"},
      {{"-initpop", "4294967296"}, "bad value for option -initpop: '4294967296'"},
      {{"-window-id", "0"}, "bad value for option -window-id: '0'"},
      {{"-window-id", "0x"}, "bad value for option -window-id: '0x'"},
      {{"-window-id", "12ab"}, "bad value for option -window-id: '12ab'"},
      {{"--color", "#C0C0C"}, "bad value for option --color: '#C0C0C'"},
      {{"-color", "grey"}, "bad value for option -color: 'grey'"},
      {{"-faces", ""}, "bad value for option -faces: ''"},
  };
  for (const auto& [args, message] : cases) {
    EXPECT_FALSE(Parse(args, o, error)) << args[0];
    EXPECT_EQ(error, message);
  }
}

// The options every XScreenSaver hack takes, which front ends pass: each
// command line parses, with what it sets.
TEST(HackOptions, TakesTheStandardHackOptions) {
  struct Case {
    std::vector<std::string> args;
    std::string display;
    bool fps;
  };
  const Case cases[] = {
      {{"-display", ":7"}, ":7", false},
      {{"--display", "host:0.1"}, "host:0.1", false},
      {{"-mono", "-install"}, "", false},
      {{"-noinstall", "-pair"}, "", false},
      {{"-visual", "default"}, "", false},
      {{"-visual", "0x21", "-root"}, "", false},
      {{"-fps"}, "", true},
      {{"-fps", "-no-fps"}, "", false},
      {{"-no-fps", "--fps"}, "", true},
  };
  for (const Case& c : cases) {
    HackOptions o;
    std::string error;
    EXPECT_TRUE(Parse(c.args, o, error)) << c.args[0] << ": " << error;
    EXPECT_EQ(o.display, c.display) << c.args[0];
    EXPECT_EQ(o.fps, c.fps) << c.args[0];
    EXPECT_FALSE(o.facesGiven);
  }
  HackOptions o;
  std::string error;
  EXPECT_FALSE(Parse({"-display"}, o, error));
  EXPECT_EQ(error, "option -display needs a value");
  ASSERT_TRUE(Parse({"-faces", "lifeface"}, o, error));
  EXPECT_TRUE(o.facesGiven);
}

// Every choice the settings file offers gives a command line the hack takes:
// the command, each slider and spin box at its ends and default, every
// check box and every option of every list. The faces offered are listed
// in the catalogue.
TEST(HackOptions, SettingsFileOffersOnlyAcceptedOptions) {
  std::ifstream in(LIFEFACES_XML);
  std::stringstream text;
  text << in.rdbuf();
  const std::string xml = text.str();
  ASSERT_FALSE(xml.empty());

  std::vector<std::string> commands;
  const std::regex attribute(R"re(\b(arg|arg-set|arg-unset)="([^"]*)")re");
  const std::regex number(R"re(low="(\d+)"\s+high="(\d+)"\s+default="(\d+)")re");
  for (std::sregex_iterator it(xml.begin(), xml.end(), attribute), end; it != end; ++it) {
    const std::string arg = (*it)[2];
    const size_t percent = arg.find('%');
    if (percent == std::string::npos) {
      commands.push_back(arg);
      continue;
    }
    std::smatch range;
    const std::string rest = it->suffix();
    ASSERT_TRUE(std::regex_search(rest, range, number)) << arg;
    for (size_t i = 1; i <= 3; ++i)
      commands.push_back(arg.substr(0, percent) + std::string(range[i]) + arg.substr(percent + 1));
  }
  ASSERT_GE(commands.size(), 15u);

  for (const std::string& command : commands) {
    std::vector<std::string> args;
    std::istringstream words(command);
    for (std::string word; words >> word;) args.push_back(word);
    HackOptions o;
    std::string error;
    EXPECT_TRUE(Parse(args, o, error)) << command << ": " << error;
    FaceChoice choice;
    EXPECT_EQ(LookUpFaceSet(LIFE_ASSETS_DIR, o.faces, choice), FaceLookup::kFound) << command;
  }
}

TEST(FaceData, LooksFaceSetsUpByFileNameOrStem) {
  FaceChoice choice;
  ASSERT_EQ(LookUpFaceSet(LIFE_ASSETS_DIR, "Fishface", choice), FaceLookup::kFound);
  EXPECT_EQ(choice.file, "fishface.bmp");
  EXPECT_EQ(choice.face.loadImage, choice.file.c_str());
  EXPECT_EQ(choice.face.frameWidth, 24u);
  EXPECT_EQ(choice.face.frameHeight, 16u);
  EXPECT_EQ(choice.face.dieStart, 10u);
  EXPECT_EQ(LookUpFaceSet(LIFE_ASSETS_DIR, "fish", choice), FaceLookup::kNotListed);
  // Without a catalogue only the face set the saver carries is known.
  EXPECT_EQ(LookUpFaceSet("/nonexistent", "tinyface.bmp", choice), FaceLookup::kNoCatalogue);
  ASSERT_EQ(LookUpFaceSet("/nonexistent", "lifeface.bmp", choice), FaceLookup::kFound);
  EXPECT_EQ(choice.face.numFrames, 25u);
}
