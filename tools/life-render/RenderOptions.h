#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "MonitorLayout.h"

// What life-render is asked to do, with the saver's load-time defaults.
struct RenderOptions {
  uint32_t width = 1024;  // client area; with monitors, their bounding box
  uint32_t height = 768;
  // Monitors in virtual-screen coordinates, the primary first; empty: one
  // monitor of width x height.
  std::vector<ScreenRect> monitors;
  bool span = false;  // one world across the monitors
  // A glider heading right and up, its top-left cell at (gliderX, gliderY)
  // of the first world, in a cleared 7 x 7 box, after the first seeding.
  bool glider = false;
  uint32_t gliderX = 0;
  uint32_t gliderY = 0;
  std::string faceFile = "lifeface.bmp";
  uint32_t frameWidth = 16;
  uint32_t frameHeight = 16;
  uint32_t numFrames = 25;
  uint32_t numRows = 6;
  uint32_t bornEnd = 5;
  uint32_t dieStart = 12;
  uint32_t seed = 0;  // 0: the clock
  uint32_t initpop = 150;
  uint32_t ticks = 100;
  std::string dir;  // folder to change into before loading the sheet
  bool stats = false;
  std::string dumpState;   // file for faceState, empty: none
  std::string out;         // .png or .gif, empty: none
  uint32_t delayMs = 150;  // GIF frame delay
  bool miniDisplay = true;
  bool activityBar = true;
  bool frameScreen = true;
  uint32_t color = 0xC0C0C0;  // 0x00BBGGRR
  std::string font = "MS Sans Serif";
  bool help = false;

  bool WantsGif() const;
  bool WantsPicture() const { return !out.empty(); }
};

// Largest client width or height accepted (an 8K screen is 7680 wide).
constexpr uint32_t kMaxClientSide = 8192;
// Largest side of the bounding box of several monitors.
constexpr uint32_t kMaxLayoutSide = 2 * kMaxClientSide;
// Longest GIF frame delay: GIF stores hundredths of a second in 16 bits.
constexpr uint32_t kMaxDelayMs = 655350;

// Reads the command line (without the program name). On a bad argument
// returns false and sets error to a one-line explanation.
bool ParseRenderOptions(const std::vector<std::string>& args, RenderOptions& options,
                        std::string& error);

// The usage text for --help.
const char* RenderUsage();
