#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The command line of the lifefaces hack, in XScreenSaver's style: options
// begin with one dash or two ("-delay" or "--delay"). Defaults are the
// saver's load-time settings.
struct HackOptions {
  enum class Target {
    kChosen,     // XSCREENSAVER_WINDOW when the daemon set it, else a window of our own
    kRoot,       // -root: the virtual root (XSCREENSAVER_WINDOW) or the real root
    kOwnWindow,  // -window
    kWindowId,   // -window-id ID
  };
  Target target = Target::kChosen;
  unsigned long windowId = 0;
  uint32_t delayUs = 150000;  // time between ticks
  bool fps = false;           // the frame rate on the picture; figures on stderr at the end
  std::string faces = "lifeface.bmp";
  bool facesGiven = false;  // -faces was given
  uint32_t seed = 0;        // 0: the clock
  uint32_t initpop = 150;
  bool miniDisplay = true;
  bool activityBar = true;
  bool frame = true;
  uint32_t color = 0x00C0C0C0;  // 0x00BBGGRR, as the engine takes it
  uint32_t stopAfter = 0;       // ticks to animate, 0: no end
  bool shm = true;              // MIT-SHM when the display offers it
  bool span = false;            // one world across the monitors the window covers
  bool help = false;
  std::string display;  // -display: the X display; empty: DISPLAY
  // Options every XScreenSaver hack takes, which change nothing for this
  // one: it draws in TrueColor only, on the window's own visual.
  bool mono = false;             // -mono: draw in black and white where a hack can
  bool installColormap = false;  // -install / -noinstall: a colormap of its own
  std::string visual;            // -visual: the visual of a window of its own
  bool pair = false;             // -pair: one of two copies in a preview
};

// Reads the arguments (without the program name). On a bad argument
// returns false and sets error to one line naming it.
bool ParseHackOptions(const std::vector<std::string>& args, HackOptions& options,
                      std::string& error);

// A window id as XScreenSaver passes it, in the option or in
// XSCREENSAVER_WINDOW: decimal, or hexadecimal after 0x.
bool ParseWindowId(const std::string& text, unsigned long& id);

// The usage text, shown after a bad option and for -help.
const char* HackUsage();
