// lifefaces: the Life screen saver as an XScreenSaver hack. It draws the
// same world, faces and overlays as the Windows saver, on the window the
// daemon gives it (XSCREENSAVER_WINDOW), the root window, a window named by
// id, or a window of its own. See HackUsage() (lifefaces -help).
//
// One generation per tick: the composed picture goes to the window, only
// the areas that changed since the previous one, then the world steps.
// Between ticks the hack sleeps in ppoll() on the X connection, so Expose,
// ConfigureNotify (the world is rebuilt for the new size), the window's
// destruction and SIGTERM/SIGINT are handled at once; in a window of its
// own, q and Esc end it.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <X11/extensions/Xinerama.h>
#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FaceData.h"
#include "HackOptions.h"
#include "LifeScene.h"
#include "ScreenImage.h"
#include "SpanPlace.h"
#include "TickTime.h"

namespace {
volatile std::sig_atomic_t quitRequested = 0;
void RequestQuit(int) { quitRequested = 1; }

// Set by the error handler when a request fails because our window is gone.
Window watchedWindow = None;
bool windowGone = false;

int OnXError(Display* display, XErrorEvent* error) {
  if ((error->error_code == BadWindow || error->error_code == BadDrawable) &&
      error->resourceid == watchedWindow) {
    windowGone = true;
    return 0;
  }
  char text[160];
  XGetErrorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "lifefaces: X error: %s (request %d)\n", text, error->request_code);
  return 0;
}

int OnXConnectionLost(Display*) {
  std::fprintf(stderr, "lifefaces: lost the connection to the X server\n");
  std::_Exit(1);
}

double Seconds(const timespec& t) {
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

timespec Now() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t;
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

std::string ProgramDir() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return ".";
  path[length] = '\0';
  std::string dir = path;
  return dir.substr(0, dir.rfind('/'));
}

// Everything the hack holds, in one place.
struct State {
  HackOptions options;
  SceneSettings settings;

  Display* display = nullptr;
  Window window = None;
  bool ownWindow = false;
  Atom deleteWindow = None;
  Visual* visual = nullptr;
  int depth = 0;
  int width = 0;
  int height = 0;
  Window root = None;
  GC gc = nullptr;

  std::unique_ptr<LifeScene> scene;
  ScreenImage image;
  int originX = 0;  // where the picture goes in the window
  int originY = 0;
  int pictureWidth = 0;  // of the last picture shown; 0: none
  int pictureHeight = 0;
  uint32_t steps = 0;    // generations since the world was built
  bool stopped = false;  // -stop-after reached: the picture stays
  bool repaint = false;  // an Expose asks for the whole window
  bool resized = false;  // the world must be rebuilt for a new size
  timespec nextTick{};

  // -fps: the rate shown, measured over a second or more, in the bottom
  // left corner of the picture, drawn over it after each tick.
  double cpuAtStart = 0;
  double fpsSince = 0;
  uint32_t fpsTicks = 0;
  uint32_t ticks = 0;
  char fpsText[32] = "";
  XFontStruct* fpsFont = nullptr;
  GC fpsGc = nullptr;
};

// The window to draw on, as XScreenSaver's hacks choose it.
void ChooseWindow(State& s) {
  using Target = HackOptions::Target;
  unsigned long fromDaemon = 0;
  const char* env = std::getenv("XSCREENSAVER_WINDOW");
  const bool daemonWindow = env != nullptr && ParseWindowId(env, fromDaemon);
  const Target target = s.options.target;
  if (target == Target::kWindowId) {
    s.window = s.options.windowId;
  } else if ((target == Target::kRoot || target == Target::kChosen) && daemonWindow) {
    s.window = fromDaemon;
  } else if (target == Target::kRoot) {
    s.window = DefaultRootWindow(s.display);
  } else {
    const int screen = DefaultScreen(s.display);
    s.window = XCreateSimpleWindow(s.display, RootWindow(s.display, screen), 0, 0, 800, 600, 0,
                                   BlackPixel(s.display, screen), BlackPixel(s.display, screen));
    XStoreName(s.display, s.window, "lifefaces");
    s.deleteWindow = XInternAtom(s.display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(s.display, s.window, &s.deleteWindow, 1);
    XMapWindow(s.display, s.window);
    s.ownWindow = true;
  }
}

// Fills what the picture does not cover with black.
void BlackBeyondPicture(State& s) {
  const bool shown = s.pictureWidth > 0;
  const int left = shown ? s.originX : 0, top = shown ? s.originY : 0;
  const int right = left + s.pictureWidth, bottom = top + (shown ? s.pictureHeight : 0);
  auto fill = [&s](int x0, int y0, int x1, int y1) {
    if (x1 > x0 && y1 > y0)
      XFillRectangle(s.display, s.window, s.gc, x0, y0, static_cast<unsigned>(x1 - x0),
                     static_cast<unsigned>(y1 - y0));
  };
  fill(0, 0, left, s.height);           // left of the picture
  fill(right, 0, s.width, s.height);    // right of it
  fill(left, 0, right, top);            // above it
  fill(left, bottom, right, s.height);  // below it
}

// With -span, the spanned world's place for the window over the monitors
// Xinerama reports (the primary first); else, or on one monitor, nothing.
std::optional<WorldPlace> SpannedPlace(State& s) {
  if (!s.options.span || !XineramaIsActive(s.display)) return std::nullopt;
  int count = 0;
  XineramaScreenInfo* screens = XineramaQueryScreens(s.display, &count);
  std::vector<ScreenRect> monitors;
  for (int i = 0; i < count; ++i)
    monitors.push_back({screens[i].x_org, screens[i].y_org, screens[i].x_org + screens[i].width,
                        screens[i].y_org + screens[i].height});
  if (screens != nullptr) XFree(screens);
  int x = 0, y = 0;
  Window child = None;
  if (!XTranslateCoordinates(s.display, s.window, s.root, 0, 0, &x, &y, &child))
    return std::nullopt;
  return SpanPlace({x, y, x + s.width, y + s.height}, monitors, s.settings.seed);
}

// A new world for the window's current size, drawn straight into the image
// the server reads when the image stores pixels as the world draws them.
void Rebuild(State& s) {
  s.scene.reset();
  s.image.Destroy();
  s.pictureWidth = s.pictureHeight = 0;  // until the first picture: all black
  const std::optional<WorldPlace> span = SpannedPlace(s);
  s.originX = span ? span->area.left : 0;
  s.originY = span ? span->area.top : 0;
  s.scene = std::make_unique<LifeScene>(s.settings, static_cast<uint32_t>(s.width),
                                        static_cast<uint32_t>(s.height), span ? &*span : nullptr);
  const int width = s.scene->pictureWidth(), height = s.scene->pictureHeight();
  if (width > 0 && !s.image.Create(s.display, s.visual, s.depth, width, height, s.options.shm)) {
    std::fprintf(stderr, "lifefaces: cannot make an image of %dx%d\n", width, height);
    std::exit(1);
  }
  s.scene->StartDrawing(s.image.directPixels(), s.image.directStride());
  s.steps = 0;
  s.stopped = false;
  s.repaint = true;
  s.nextTick = Now();
}

// Sends the picture: the areas that changed, or all of it.
void Show(State& s, const SceneView& view) {
  if (view.pixels == nullptr || !s.image.valid()) return;
  const bool whole = s.repaint || s.pictureWidth == 0;
  s.pictureWidth = view.width;
  s.pictureHeight = view.height;
  if (whole) {
    const ScreenRect all = {0, 0, view.width, view.height};
    s.image.Load(view.pixels, view.stride, all);
    s.image.Put(s.window, s.gc, all, s.originX, s.originY);
  } else {
    for (const PixelRect& area : *view.changed) {
      const ScreenRect r = {area.left, area.top, area.right, area.bottom};
      s.image.Load(view.pixels, view.stride, r);
      s.image.Put(s.window, s.gc, r, s.originX, s.originY);
    }
  }
}

// The -fps box: the rate on black in the colour of the overlays, redrawn
// whole after each picture, so that areas sent under it never show.
void DrawFps(State& s) {
  if (s.fpsGc == nullptr || s.pictureWidth == 0) return;
  const int margin = 4;
  const int textWidth = XTextWidth(s.fpsFont, "00000.0 FPS", 11);
  const int boxWidth = std::min(textWidth + 2 * margin, s.pictureWidth);
  const int boxHeight =
      std::min(s.fpsFont->ascent + s.fpsFont->descent + 2 * margin, s.pictureHeight);
  const int left = s.originX, top = s.originY + s.pictureHeight - boxHeight;
  XFillRectangle(s.display, s.window, s.gc, left, top, static_cast<unsigned>(boxWidth),
                 static_cast<unsigned>(boxHeight));
  XDrawString(s.display, s.window, s.fpsGc, left + margin, top + margin + s.fpsFont->ascent,
              s.fpsText, static_cast<int>(std::strlen(s.fpsText)));
}

// The text of the -fps box, anew once a second or more has passed.
void MeasureFps(State& s) {
  const double now = Seconds(Now());
  if (now - s.fpsSince < 1.0) return;
  const double rate = now > s.fpsSince ? s.fpsTicks / (now - s.fpsSince) : 0.0;
  std::snprintf(s.fpsText, sizeof s.fpsText, "%.1f FPS", rate);
  s.fpsSince = now;
  s.fpsTicks = 0;
}

// With -fps, the figures of a run that -stop-after ended, on stderr.
void ReportFps(State& s) {
  const double cpuMs = s.ticks > 0 ? (CpuSeconds() - s.cpuAtStart) * 1000.0 / s.ticks : 0.0;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::fprintf(stderr,
               "lifefaces: stopped after %u generations: %.3f ms CPU per tick, "
               "peak memory %.1f MiB, %s\n",
               s.steps, cpuMs, static_cast<double>(usage.ru_maxrss) / 1024.0,
               s.image.usesShm() ? "MIT-SHM" : "XPutImage");
}

// One tick of the saver's timer: show the world, then step it.
void Tick(State& s) {
  Show(s, s.scene->Compose());
  if (s.repaint) BlackBeyondPicture(s);
  s.repaint = false;
  ++s.ticks;
  ++s.fpsTicks;
  if (s.options.fps) {
    MeasureFps(s);
    DrawFps(s);
  }
  // A shared image must not change until the server has read it: the next
  // step draws into it.
  XSync(s.display, False);
  if (s.options.stopAfter != 0 && s.steps >= s.options.stopAfter) {
    s.stopped = true;
    if (s.options.fps) ReportFps(s);
    return;
  }
  s.scene->Step();
  ++s.steps;
}

// Expose: the last picture again, without stepping.
void Repaint(State& s) {
  if (s.pictureWidth > 0)
    s.image.Put(s.window, s.gc, {0, 0, s.pictureWidth, s.pictureHeight}, s.originX, s.originY);
  BlackBeyondPicture(s);
  DrawFps(s);
  XSync(s.display, False);
  s.repaint = false;
}

// Handles one event; false when the hack should end.
bool HandleEvent(State& s, const XEvent& event) {
  switch (event.type) {
    case Expose:
      if (event.xexpose.count == 0) s.repaint = true;
      return true;
    case ConfigureNotify:
      // A burst of them while the window is dragged to size makes one new
      // world, once the events are drained.
      if (event.xconfigure.window == s.window &&
          (event.xconfigure.width != s.width || event.xconfigure.height != s.height)) {
        s.width = event.xconfigure.width;
        s.height = event.xconfigure.height;
        s.resized = true;
      }
      return true;
    case DestroyNotify:
      return event.xdestroywindow.window != s.window;
    case ClientMessage:
      return !(s.ownWindow && static_cast<Atom>(event.xclient.data.l[0]) == s.deleteWindow);
    case KeyPress: {
      if (!s.ownWindow) return true;
      XKeyEvent key = event.xkey;
      char text[8] = "";
      KeySym symbol = NoSymbol;
      XLookupString(&key, text, sizeof text, &symbol, nullptr);
      return !(symbol == XK_Escape || symbol == XK_q || symbol == XK_Q);
    }
    default:
      return true;
  }
}

void Usage(const std::string& error) {
  std::fprintf(stderr, "lifefaces: %s\n%s", error.c_str(), HackUsage());
  std::exit(2);
}

[[noreturn]] void Fail(const std::string& problem) {
  std::fprintf(stderr, "lifefaces: %s\n", problem.c_str());
  std::exit(1);
}

// The settings from the options, with the face set looked up in the
// catalogue; the working folder becomes the data folder, where the engine
// loads the sprite sheet by its catalogue name. What is wrong with the
// catalogue or the sheet is said before the engine starts.
void Configure(State& s) {
  const HackOptions& o = s.options;
  std::string problem;
  const std::string dataDir = FindFaceData(ProgramDir(), problem);
  if (!problem.empty()) Fail(problem);
  const std::string catalogue = dataDir + "/life.nfo";
  switch (LookUpFaceSet(dataDir, o.faces, s.settings.faces, &problem)) {
    case FaceLookup::kFound:
      break;
    case FaceLookup::kNotListed:
      if (!o.facesGiven)
        Fail(catalogue + " does not list the face set " + o.faces + ": choose one with -faces");
      Usage("bad value for option -faces: '" + o.faces + "' is not in " + catalogue);
      break;
    case FaceLookup::kNoCatalogue:
      std::fprintf(stderr, "Missing File: Can`t find file, %s/life.nfo\n",
                   dataDir.empty() ? "share/lifefaces" : dataDir.c_str());
      std::exit(1);
    case FaceLookup::kUnreadable:
      Fail(problem);
  }
  const std::string sheet =
      (dataDir.empty() ? std::string() : dataDir + "/") + s.settings.faces.file;
  problem = SheetProblem(sheet, s.settings.faces.face);
  if (!problem.empty()) Fail(problem);
  if (!dataDir.empty() && chdir(dataDir.c_str()) != 0) Fail("cannot enter " + dataDir);
  s.settings.seed = o.seed;
  s.settings.initpop = o.initpop;
  s.settings.miniDisplay = o.miniDisplay;
  s.settings.activityBar = o.activityBar;
  s.settings.frame = o.frame;
  s.settings.color = o.color;
}

void OpenWindow(State& s) {
  const char* name = s.options.display.empty() ? nullptr : s.options.display.c_str();
  s.display = XOpenDisplay(name);
  if (s.display == nullptr) {
    std::fprintf(stderr, "lifefaces: cannot open display %s\n", XDisplayName(name));
    std::exit(1);
  }
  XSetErrorHandler(OnXError);
  XSetIOErrorHandler(OnXConnectionLost);
  ChooseWindow(s);
  watchedWindow = s.window;

  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(s.display, s.window, &attributes) || windowGone) {
    std::fprintf(stderr, "lifefaces: no window 0x%lx\n", s.window);
    std::exit(1);
  }
  if (attributes.visual->c_class != TrueColor) {
    static const char* const kClasses[] = {"StaticGray",  "GrayScale", "StaticColor",
                                           "PseudoColor", "TrueColor", "DirectColor"};
    const int c = attributes.visual->c_class;
    std::fprintf(stderr,
                 "lifefaces: the window's visual is %s of depth %d; lifefaces draws only on "
                 "TrueColor visuals\n",
                 c >= 0 && c < 6 ? kClasses[c] : "unknown", attributes.depth);
    std::exit(1);
  }
  s.visual = attributes.visual;
  s.depth = attributes.depth;
  s.root = attributes.root;
  s.width = attributes.width;
  s.height = attributes.height;
  // Other clients' interest in the window is kept; ours is added.
  XSelectInput(s.display, s.window,
               attributes.your_event_mask | ExposureMask | StructureNotifyMask |
                   (s.ownWindow ? KeyPressMask : 0));
  XGCValues values{};
  values.foreground = BlackPixelOfScreen(attributes.screen);
  values.graphics_exposures = False;
  s.gc = XCreateGC(s.display, s.window, GCForeground | GCGraphicsExposures, &values);

  if (s.options.fps) {
    s.fpsFont = XLoadQueryFont(s.display, "fixed");
    if (s.fpsFont == nullptr) {
      std::fprintf(stderr, "lifefaces: no font \"fixed\" for -fps\n");
      return;
    }
    // The overlays' colour (0x00BBGGRR) as a pixel of the window's visual.
    const uint32_t c = s.options.color;
    XColor colour{};
    colour.red = static_cast<unsigned short>((c & 0xFF) * 257);
    colour.green = static_cast<unsigned short>(((c >> 8) & 0xFF) * 257);
    colour.blue = static_cast<unsigned short>(((c >> 16) & 0xFF) * 257);
    XAllocColor(s.display, attributes.colormap, &colour);
    values.foreground = colour.pixel;
    values.font = s.fpsFont->fid;
    s.fpsGc = XCreateGC(s.display, s.window, GCForeground | GCFont | GCGraphicsExposures, &values);
  }
}

// SIGTERM and SIGINT are blocked except while waiting, so that they end the
// wait and are never lost between a check and the wait.
sigset_t CatchQuitSignals() {
  struct sigaction action {};
  action.sa_handler = RequestQuit;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  sigset_t quit, previous;
  sigemptyset(&quit);
  sigaddset(&quit, SIGTERM);
  sigaddset(&quit, SIGINT);
  sigprocmask(SIG_BLOCK, &quit, &previous);
  sigdelset(&previous, SIGTERM);
  sigdelset(&previous, SIGINT);
  return previous;
}

// Waits for an event or the next tick; stopped, only for an event.
void Wait(State& s, const sigset_t& waitMask) {
  // Events Xlib has already read (during XSync) would not wake the poll.
  if (XEventsQueued(s.display, QueuedAlready) > 0) return;
  pollfd fd = {ConnectionNumber(s.display), POLLIN, 0};
  timespec timeout{};
  const timespec* limit = nullptr;
  if (!s.stopped && !s.repaint) {
    const double left = Seconds(s.nextTick) - Seconds(Now());
    if (left > 0) {
      timeout.tv_sec = static_cast<time_t>(left);
      timeout.tv_nsec = static_cast<long>((left - static_cast<double>(timeout.tv_sec)) * 1e9);
    }
    limit = &timeout;
  } else if (s.repaint) {
    limit = &timeout;  // at once
  }
  ppoll(&fd, 1, limit, &waitMask);
}
}  // namespace

int main(int argc, char** argv) {
  State s;
  std::string error;
  if (!ParseHackOptions(std::vector<std::string>(argv + 1, argv + argc), s.options, error))
    Usage(error);
  if (s.options.help) {
    std::fputs(HackUsage(), stdout);
    return 0;
  }
  Configure(s);
  const sigset_t waitMask = CatchQuitSignals();
  OpenWindow(s);
  Rebuild(s);
  s.cpuAtStart = CpuSeconds();
  s.fpsSince = Seconds(Now());

  bool running = true;
  while (running && !quitRequested && !windowGone) {
    while (running && XPending(s.display) > 0) {
      XEvent event;
      XNextEvent(s.display, &event);
      running = HandleEvent(s, event);
    }
    if (!running || windowGone) break;
    if (s.resized) {
      s.resized = false;
      Rebuild(s);
    }
    const timespec now = Now();
    if (!s.stopped && Seconds(now) >= Seconds(s.nextTick)) {
      Tick(s);
      AddDelay(s.nextTick, s.options.delayUs);
      if (Seconds(s.nextTick) < Seconds(now)) s.nextTick = now;
    } else if (s.repaint) {
      Repaint(s);
    }
    if (!quitRequested) Wait(s, waitMask);
  }

  s.image.Destroy();  // detaches the shared segment from both sides
  s.scene.reset();
  if (s.fpsGc != nullptr) XFreeGC(s.display, s.fpsGc);
  if (s.fpsFont != nullptr) XFreeFont(s.display, s.fpsFont);
  XFreeGC(s.display, s.gc);
  if (s.ownWindow && !windowGone) XDestroyWindow(s.display, s.window);
  XCloseDisplay(s.display);
  return 0;
}
