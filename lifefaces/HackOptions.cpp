#include "HackOptions.h"

#include <cctype>
#include <cstdlib>

namespace {
// Digits only, fitting 32 bits.
bool ParseUnsigned(const std::string& text, uint32_t& value) {
  if (text.empty() || text.size() > 10) return false;
  uint64_t v = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  if (v > UINT32_MAX) return false;
  value = static_cast<uint32_t>(v);
  return true;
}

bool AllHex(const std::string& text) {
  for (const char c : text)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return !text.empty();
}

}  // namespace

bool ParseWindowId(const std::string& text, unsigned long& id) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const std::string digits = hex ? text.substr(2) : text;
  if (digits.empty() || digits.size() > (hex ? 8u : 10u)) return false;
  for (const char c : digits)
    if (hex ? !std::isxdigit(static_cast<unsigned char>(c)) : (c < '0' || c > '9')) return false;
  const unsigned long long v = std::strtoull(digits.c_str(), nullptr, hex ? 16 : 10);
  if (v == 0 || v > 0xFFFFFFFFull) return false;  // X ids are 29-bit, never 0
  id = static_cast<unsigned long>(v);
  return true;
}

namespace {
// #RRGGBB (the '#' may be left out, as it is awkward in a shell) into the
// engine's 0x00BBGGRR.
bool ParseColor(const std::string& text, uint32_t& color) {
  const std::string hex = !text.empty() && text[0] == '#' ? text.substr(1) : text;
  if (hex.size() != 6 || !AllHex(hex)) return false;
  const auto rgb = static_cast<uint32_t>(std::strtoul(hex.c_str(), nullptr, 16));
  color = ((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu);
  return true;
}
}  // namespace

bool ParseHackOptions(const std::vector<std::string>& args, HackOptions& o, std::string& error) {
  using Target = HackOptions::Target;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // "--name" and "-name" are the same option.
    const std::string name = arg.rfind("--", 0) == 0 && arg.size() > 2 ? arg.substr(1) : arg;

    struct Flag {
      const char* name;
      bool* target;
      bool value;
    };
    const Flag flags[] = {
        {"-fps", &o.fps, true},
        {"-mini-display", &o.miniDisplay, true},
        {"-no-mini-display", &o.miniDisplay, false},
        {"-activity-bar", &o.activityBar, true},
        {"-no-activity-bar", &o.activityBar, false},
        {"-frame", &o.frame, true},
        {"-no-frame", &o.frame, false},
        {"-shm", &o.shm, true},
        {"-no-shm", &o.shm, false},
        {"-help", &o.help, true},
    };
    bool matched = false;
    for (const Flag& flag : flags) {
      if (name == flag.name) {
        *flag.target = flag.value;
        matched = true;
      }
    }
    if (matched) continue;
    if (name == "-root" || name == "-window") {
      o.target = name == "-root" ? Target::kRoot : Target::kOwnWindow;
      continue;
    }

    static const char* const kValued[] = {"-window-id", "-delay", "-faces",     "-seed",
                                          "-initpop",   "-color", "-stop-after"};
    bool valued = false;
    for (const char* v : kValued) valued = valued || name == v;
    if (!valued) {
      error =
          (name.size() > 1 && name[0] == '-' ? "unknown option " : "unexpected argument ") + arg;
      return false;
    }
    if (i + 1 >= args.size()) {
      error = "option " + arg + " needs a value";
      return false;
    }
    const std::string& value = args[++i];
    bool ok = true;
    if (name == "-window-id") {
      ok = ParseWindowId(value, o.windowId);
      if (ok) o.target = Target::kWindowId;
    } else if (name == "-delay") {
      ok = ParseUnsigned(value, o.delayUs);
    } else if (name == "-faces") {
      ok = !value.empty();
      if (ok) o.faces = value;
    } else if (name == "-seed") {
      ok = ParseUnsigned(value, o.seed);
    } else if (name == "-initpop") {
      ok = ParseUnsigned(value, o.initpop);
    } else if (name == "-color") {
      ok = ParseColor(value, o.color);
    } else if (name == "-stop-after") {
      ok = ParseUnsigned(value, o.stopAfter);
    }
    if (!ok) {
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
         "  -fps                  report ticks per second and CPU per tick on stderr\n"
         "  -faces FILE           face set of the catalogue life.nfo (default lifeface.bmp)\n"
         "  -seed N               random seed, 0 for the clock (default 0)\n"
         "  -initpop N            cells per seeding (default 150)\n"
         "  -[no-]mini-display -[no-]activity-bar -[no-]frame   overlays (default on)\n"
         "  -color #RRGGBB        colour of the frame, mini display and text (default "
         "#C0C0C0)\n"
         "  -stop-after N         stop after N generations and keep showing the picture\n"
         "  -[no-]shm             MIT-SHM when the display offers it (default on)\n";
}
