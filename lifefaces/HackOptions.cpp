#include "HackOptions.h"

#include "OptionTable.h"

bool ParseWindowId(const std::string& text, unsigned long& id) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  uint32_t v = 0;
  if (hex ? !cmdline::ParseHex(text.substr(2), v) : !cmdline::ParseUnsigned(text, v)) return false;
  if (v == 0) return false;  // X ids are 29-bit, never 0
  id = v;
  return true;
}

namespace {
// #RRGGBB (the '#' may be left out, as it is awkward in a shell) into the
// engine's 0x00BBGGRR.
bool ParseColor(const std::string& text, uint32_t& color) {
  const std::string hex = !text.empty() && text[0] == '#' ? text.substr(1) : text;
  uint32_t rgb = 0;
  if (hex.size() != 6 || !cmdline::ParseHex(hex, rgb)) return false;
  color = ((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu);
  return true;
}
}  // namespace

bool ParseHackOptions(const std::vector<std::string>& args, HackOptions& o, std::string& error) {
  using Target = HackOptions::Target;
  const cmdline::Flags flags = {
      {"-fps", &o.fps, true},
      {"-no-fps", &o.fps, false},
      {"-mono", &o.mono, true},
      {"-install", &o.installColormap, true},
      {"-noinstall", &o.installColormap, false},
      {"-pair", &o.pair, true},
      {"-mini-display", &o.miniDisplay, true},
      {"-no-mini-display", &o.miniDisplay, false},
      {"-activity-bar", &o.activityBar, true},
      {"-no-activity-bar", &o.activityBar, false},
      {"-frame", &o.frame, true},
      {"-no-frame", &o.frame, false},
      {"-shm", &o.shm, true},
      {"-no-shm", &o.shm, false},
      {"-span", &o.span, true},
      {"-help", &o.help, true},
  };
  const cmdline::ValuedOptions valued = {
      {"-window-id",
       [&o](const std::string& value, std::string&) {
         if (!ParseWindowId(value, o.windowId)) return false;
         o.target = Target::kWindowId;
         return true;
       }},
      {"-delay", cmdline::Unsigned(o.delayUs)},
      {"-faces",
       [&o](const std::string& value, std::string& unused) {
         o.facesGiven = cmdline::NonEmpty(o.faces)(value, unused);
         return o.facesGiven;
       }},
      {"-display", cmdline::NonEmpty(o.display)},
      {"-visual", cmdline::NonEmpty(o.visual)},
      {"-seed", cmdline::Unsigned(o.seed)},
      {"-initpop", cmdline::Unsigned(o.initpop)},
      {"-color",
       [&o](const std::string& value, std::string&) { return ParseColor(value, o.color); }},
      {"-stop-after", cmdline::Unsigned(o.stopAfter)},
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // "--name" and "-name" are the same option.
    const std::string name = arg.rfind("--", 0) == 0 && arg.size() > 2 ? arg.substr(1) : arg;
    if (cmdline::SetFlag(flags, name)) continue;
    if (name == "-root" || name == "-window") {
      o.target = name == "-root" ? Target::kRoot : Target::kOwnWindow;
      continue;
    }

    const cmdline::Valued* option = cmdline::FindValued(valued, name);
    if (option == nullptr) {
      error =
          (name.size() > 1 && name[0] == '-' ? "unknown option " : "unexpected argument ") + arg;
      return false;
    }
    if (i + 1 >= args.size()) {
      error = "option " + arg + " needs a value";
      return false;
    }
    const std::string& value = args[++i];
    std::string unused;
    if (!option->read(value, unused)) {
      error = "bad value for option " + arg + ": '" + value + "'";
      return false;
    }
  }
  return true;
}

const char* HackUsage() {
  return "usage: lifefaces [options]\n"
         "Conway's Game of Life with animated faces, as an XScreenSaver hack.\n"
         "  -root | -window | -window-id ID   where to draw (ID decimal or 0x hex);\n"
         "                        by default the window in XSCREENSAVER_WINDOW, else\n"
         "                        a window of its own\n"
         "  -delay MICROSECONDS   time between generations (default 150000)\n"
         "  -fps | -no-fps        show the frame rate on the picture (default off)\n"
         "  -faces FILE           face set of the catalogue life.nfo (default lifeface.bmp)\n"
         "  -seed N               random seed, 0 for the clock (default 0)\n"
         "  -initpop N            cells per seeding (default 150)\n"
         "  -[no-]mini-display -[no-]activity-bar -[no-]frame   overlays (default on)\n"
         "  -color #RRGGBB        colour of the frame, mini display and text (default "
         "#C0C0C0)\n"
         "  -stop-after N         stop after N generations and keep showing the picture\n"
         "  -[no-]shm             MIT-SHM when the display offers it (default on)\n"
         "  -span                 one world across all the monitors the window covers,\n"
         "                        its overlays on the first (primary) monitor\n"
         "  -display NAME         the X display (default: DISPLAY)\n"
         "  -mono -install -noinstall -visual NAME -pair   taken as every hack takes\n"
         "                        them; they change nothing here (TrueColor only)\n";
}
