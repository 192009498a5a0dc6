#include "RenderOptions.h"

#include <cctype>
#include <cstddef>

#include "OptionTable.h"

namespace {
using cmdline::ParseHex;
using cmdline::ParseUnsigned;

bool EndsWithNoCase(const std::string& text, const char* suffix) {
  const std::string tail = suffix;
  if (text.size() < tail.size()) return false;
  for (size_t i = 0; i < tail.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[text.size() - tail.size() + i]);
    if (std::tolower(c) != tail[i]) return false;
  }
  return true;
}

// 0xBBGGRR in hexadecimal, or a decimal number, at most 0xFFFFFF.
bool ParseColor(const std::string& text, uint32_t& value) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    return text.size() <= 8 && ParseHex(text.substr(2), value);
  return ParseUnsigned(text, value) && value <= 0xFFFFFF;
}

bool ParseSize(const std::string& text, uint32_t& width, uint32_t& height) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  return ParseUnsigned(text.substr(0, x), width) && ParseUnsigned(text.substr(x + 1), height);
}

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts(1);
  for (const char c : text) {
    if (c == ',')
      parts.emplace_back();
    else
      parts.back() += c;
  }
  return parts;
}

// A signed offset of a monitor: "+N", "-N" or "+-N"; advances `at`.
bool ParseOffset(const std::string& text, size_t& at, int32_t& value) {
  if (at >= text.size() || (text[at] != '+' && text[at] != '-')) return false;
  bool negative = text[at++] == '-';
  if (!negative && at < text.size() && text[at] == '-') {
    negative = true;
    ++at;
  }
  const size_t end = text.find_first_of("+-", at);
  uint32_t magnitude = 0;
  if (!ParseUnsigned(text.substr(at, end - at), magnitude) || magnitude > kMaxLayoutSide)
    return false;
  at = end == std::string::npos ? text.size() : end;
  value = negative ? -static_cast<int32_t>(magnitude) : static_cast<int32_t>(magnitude);
  return true;
}

// "WxH+X+Y[,WxH+X+Y...]": each monitor between 1x1 and the largest client
// size, their bounding box within kMaxLayoutSide each way.
bool ParseMonitors(const std::string& text, RenderOptions& o, std::string& error) {
  o.monitors.clear();
  for (const std::string& part : SplitCommas(text)) {
    const size_t offsets = part.find_first_of("+-");
    uint32_t w = 0, h = 0;
    size_t at = offsets;
    int32_t x = 0, y = 0;
    if (offsets == std::string::npos || !ParseSize(part.substr(0, offsets), w, h) ||
        !ParseOffset(part, at, x) || !ParseOffset(part, at, y) || at != part.size()) {
      error = "bad monitor '" + part + "': WxH+X+Y expected";
      return false;
    }
    if (w == 0 || h == 0 || w > kMaxClientSide || h > kMaxClientSide) {
      error = "monitor '" + part + "' must be between 1x1 and " + std::to_string(kMaxClientSide) +
              "x" + std::to_string(kMaxClientSide);
      return false;
    }
    o.monitors.push_back({x, y, x + static_cast<int32_t>(w), y + static_cast<int32_t>(h)});
  }
  const MonitorLayout layout = LayOutMonitors({}, o.monitors);
  o.width = static_cast<uint32_t>(layout.window.width());
  o.height = static_cast<uint32_t>(layout.window.height());
  if (o.width > kMaxLayoutSide || o.height > kMaxLayoutSide) {
    error = "the monitors span more than " + std::to_string(kMaxLayoutSide) + " pixels";
    return false;
  }
  return true;
}

bool ParseFace(const std::string& text, RenderOptions& o) {
  const std::vector<std::string> parts = SplitCommas(text);
  if (parts.size() != 7 || parts[0].empty()) return false;
  uint32_t* const fields[] = {&o.frameWidth, &o.frameHeight, &o.numFrames,
                              &o.numRows,    &o.bornEnd,     &o.dieStart};
  for (size_t i = 0; i < 6; ++i)
    if (!ParseUnsigned(parts[i + 1], *fields[i])) return false;
  o.faceFile = parts[0];
  return true;
}
}  // namespace

bool RenderOptions::WantsGif() const { return EndsWithNoCase(out, ".gif"); }

bool ParseRenderOptions(const std::vector<std::string>& args, RenderOptions& o,
                        std::string& error) {
  const cmdline::Flags flags = {
      {"--stats", &o.stats, true},
      {"--mini-display", &o.miniDisplay, true},
      {"--no-mini-display", &o.miniDisplay, false},
      {"--activity-bar", &o.activityBar, true},
      {"--no-activity-bar", &o.activityBar, false},
      {"--frame-screen", &o.frameScreen, true},
      {"--no-frame-screen", &o.frameScreen, false},
      {"--span", &o.span, true},
      {"--help", &o.help, true},
  };
  bool sizeGiven = false;
  const cmdline::ValuedOptions valued = {
      {"--size",
       [&](const std::string& value, std::string& message) {
         sizeGiven = true;
         if (!ParseSize(value, o.width, o.height)) return false;
         if (o.width == 0 || o.height == 0 || o.width > kMaxClientSide ||
             o.height > kMaxClientSide) {
           message = "--size must be between 1x1 and " + std::to_string(kMaxClientSide) + "x" +
                     std::to_string(kMaxClientSide) + ", not " + value;
           return false;
         }
         return true;
       }},
      {"--face", [&o](const std::string& value, std::string&) { return ParseFace(value, o); }},
      {"--seed", cmdline::Unsigned(o.seed)},
      {"--initpop", cmdline::Unsigned(o.initpop)},
      {"--ticks", cmdline::Unsigned(o.ticks)},
      {"--dir", cmdline::NonEmpty(o.dir)},
      {"--dump-state", cmdline::NonEmpty(o.dumpState)},
      {"--out",
       [&o](const std::string& value, std::string& message) {
         o.out = value;
         if (EndsWithNoCase(value, ".png") || EndsWithNoCase(value, ".gif")) return true;
         message = "--out must name a .png or .gif file, not '" + value + "'";
         return false;
       }},
      {"--delay",
       [&o](const std::string& value, std::string&) {
         return ParseUnsigned(value, o.delayMs) && o.delayMs <= kMaxDelayMs;
       }},
      {"--color",
       [&o](const std::string& value, std::string&) { return ParseColor(value, o.color); }},
      {"--font", cmdline::NonEmpty(o.font)},
      {"--glider",
       [&o](const std::string& value, std::string&) {
         const std::vector<std::string> parts = SplitCommas(value);
         o.glider = parts.size() == 2 && ParseUnsigned(parts[0], o.gliderX) &&
                    ParseUnsigned(parts[1], o.gliderY);
         return o.glider;
       }},
      {"--monitors", [&o](const std::string& value,
                          std::string& message) { return ParseMonitors(value, o, message); }},
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // Flags take no value.
    if (const cmdline::Flag* flag = cmdline::FlagGivenValue(flags, arg)) {
      error = std::string(flag->name) + " takes no value";
      return false;
    }
    if (cmdline::SetFlag(flags, arg)) continue;

    // Options with a value, as "--name value" or "--name=value".
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const cmdline::Valued* option = cmdline::FindValued(valued, name);
    if (option == nullptr) {
      error =
          arg.rfind("--", 0) == 0 ? "unknown option " + name : "unexpected argument '" + arg + "'";
      return false;
    }
    std::string value;
    if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      error = name + " needs a value";
      return false;
    }
    std::string message;
    if (!option->read(value, message)) {
      error = message.empty() ? "bad value for " + name + ": '" + value + "'" : message;
      return false;
    }
  }
  if (o.span && o.monitors.empty()) {
    error = "--span needs --monitors";
    return false;
  }
  if (!o.monitors.empty() && sizeGiven) {
    error = "--size and --monitors exclude each other";
    return false;
  }
  if (o.WantsGif() && o.ticks == 0) {
    error = "an animated GIF needs --ticks of at least 1";
    return false;
  }
  return true;
}

const char* RenderUsage() {
  return "usage: life-render [options]\n"
         "Runs the Life engine as the saver would for a client area.\n"
         "  --size WxH            client area in pixels (default 1024x768)\n"
         "  --monitors WxH+X+Y[,WxH+X+Y...]\n"
         "                        monitors in virtual-screen coordinates, the primary\n"
         "                        first: a world each, in a picture of their bounding\n"
         "                        box (shifted to 0,0); instead of --size\n"
         "  --span                one world across the monitors, its overlays on the\n"
         "                        primary\n"
         "  --glider X,Y          a glider heading right and up at cell X,Y of the first\n"
         "                        world, in a cleared 7x7 box, after the first seeding\n"
         "  --face FILE,W,H,FRAMES,ROWS,BORNEND,DIESTART\n"
         "                        face set (default lifeface.bmp,16,16,25,6,5,12)\n"
         "  --dir DIR             folder to change into before loading the sheet\n"
         "  --seed N              seed, 0 for the clock (default 0)\n"
         "  --initpop N           cells per seeding (default 150)\n"
         "  --ticks N             generation steps (default 100)\n"
         "  --stats               print 'T GENERATION POPULATION' for T = 0..ticks\n"
         "  --dump-state FILE     write faceState at the end, 16-bit little-endian\n"
         "  --out FILE.png|.gif   picture after the steps, or an animation of every tick\n"
         "  --delay MS            GIF frame delay (default 150)\n"
         "  --[no-]mini-display --[no-]activity-bar --[no-]frame-screen  (default on)\n"
         "  --color 0xBBGGRR      display colour (default 0xC0C0C0)\n"
         "  --font NAME           activity-line font (default \"MS Sans Serif\")\n";
}
