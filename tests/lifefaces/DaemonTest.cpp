// lifefaces under the real XScreenSaver daemon (Debian's xscreensaver).
// The daemon will not launch hacks as root, so as root it runs as the
// unprivileged user nobody, on a server that lets any local client in.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "PngFile.h"
#include "X11Session.h"

using namespace x11test;

namespace {
std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool WriteText(const std::string& path, const std::string& text, mode_t mode) {
  std::ofstream out(path);
  out << text;
  out.close();
  return out.good() && chmod(path.c_str(), mode) == 0;
}

// The process's name, as the kernel reports it; empty once it is gone.
std::string ProcessName(pid_t pid) {
  std::string name = ReadText("/proc/" + std::to_string(pid) + "/comm");
  if (!name.empty() && name.back() == '\n') name.pop_back();
  return name;
}

std::string EnvironmentOf(pid_t pid, const std::string& name) {
  const std::string all = ReadText("/proc/" + std::to_string(pid) + "/environ");
  std::istringstream entries(all);
  for (std::string entry; std::getline(entries, entry, '\0');)
    if (entry.rfind(name + "=", 0) == 0) return entry.substr(name.size() + 1);
  return "";
}

// Runs xscreensaver-command as the daemon's user; true when it succeeds.
template <typename... Words>
bool Command(const std::vector<std::string>& asUser, const XServer& x, const Words&... what) {
  std::vector<std::string> argv = asUser;
  argv.insert(argv.end(), {"xscreensaver-command", what...});
  Child command(argv, {x.env()});
  return command.WaitForExit(15) == 0;
}

// A process called lifefaces among the descendants of `pid` (the daemon
// may start it through a shell); 0 when there is none.
pid_t HackOf(pid_t pid) {
  std::error_code gone;
  for (const auto& task :
       std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", gone)) {
    std::istringstream children(ReadText(task.path().string() + "/children"));
    for (pid_t child = 0; children >> child;) {
      if (ProcessName(child) == "lifefaces") return child;
      if (const pid_t hack = HackOf(child)) return hack;
    }
  }
  return 0;
}

// lifefaces-register: the build's, or the one LIFEFACES_REGISTER names (an
// installed one), run as `asUser` with the home folder given.
int Register(const std::vector<std::string>& asUser, const std::string& home,
             std::string* said = nullptr) {
  const char* other = std::getenv("LIFEFACES_REGISTER");
  std::vector<std::string> argv = asUser;
  argv.insert(argv.end(),
              {"env", "HOME=" + home, other != nullptr ? other : LIFEFACES_REGISTER_BIN});
  Child command(argv);
  const int code = command.WaitForExit(15);
  if (said != nullptr) *said = command.Stderr();
  return code;
}

// The daemon, as `asUser` in `home`, runs the entry at `position` of its
// list: lifefaces, and faces appear on its window; deactivating ends the
// hack and its segment.
void DaemonRunsLifefaces(const std::vector<std::string>& asUser, const TempDir& home,
                         int position) {
  // 632 x 472: 39 x 29 cells of 16 pixels, a picture of 624 x 464.
  const int width = 632, height = 472, pictureWidth = 624, pictureHeight = 464;
  XServer x(width, height, {"-ac"});  // any local client: the daemon's user too
  ASSERT_TRUE(x.ok());
  std::vector<std::string> daemonArgv = asUser;
  daemonArgv.insert(daemonArgv.end(), {"env", "HOME=" + home.path(), "xscreensaver", "-no-splash"});
  Child daemon(daemonArgv, {x.env()});
  ASSERT_TRUE(WaitUntil([&] { return !daemon.Running() || Command(asUser, x, "-time"); }, 30));
  ASSERT_TRUE(daemon.Running()) << daemon.Stderr();

  ASSERT_TRUE(Command(asUser, x, "-select", std::to_string(position)));
  pid_t hack = 0;
  ASSERT_TRUE(WaitUntil([&] { return (hack = HackOf(daemon.pid())) > 0; }, 30))
      << "lifefaces did not start: " << daemon.Stderr();
  // It draws on the daemon's window. The kernel names the process before
  // it has set up the new program's environment: wait for that too.
  EXPECT_TRUE(WaitUntil([&] { return EnvironmentOf(hack, "XSCREENSAVER_WINDOW") != ""; }, 10));

  // Faces appear: the screen is not black, the frame lies along the edges of
  // the hack's picture and nothing is drawn beyond it.
  const Window root = DefaultRootWindow(x.display());
  std::vector<uint32_t> screen;
  auto at = [&](int px, int py) { return screen[static_cast<size_t>(py * width + px)]; };
  auto shown = [&] {
    screen = x.Grab(root, width, height);
    if (screen.empty() || at(0, 0) != 0xC0C0C0 ||
        at(pictureWidth - 1, pictureHeight - 1) != 0xC0C0C0)
      return false;
    size_t lit = 0;
    for (const uint32_t p : screen) lit += p != 0 ? 1u : 0u;
    return lit > static_cast<size_t>(pictureWidth * 4);  // more than the frame
  };
  ASSERT_TRUE(WaitUntil(shown, 30)) << "no faces on the screen";
  for (int py = 0; py < height; ++py)
    for (int px = 0; px < width; ++px)
      if (px >= pictureWidth || py >= pictureHeight) {
        ASSERT_EQ(at(px, py), 0u) << px << "," << py;
      }

  if (const char* shot = std::getenv("LIFEFACES_DAEMON_SCREENSHOT")) {
    // For the documentation: a later picture, with more faces about.
    WaitUntil([] { return false; }, 6);
    screen = x.Grab(root, width, height);
    RgbImage image(width, height);
    for (int py = 0; py < height; ++py)
      for (int px = 0; px < width; ++px) {
        const uint32_t p = at(px, py);
        image.at(px, py) = {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                            static_cast<uint8_t>(p)};
      }
    std::string error;
    EXPECT_TRUE(WritePng(shot, image, error)) << error;
  }

  ASSERT_TRUE(Command(asUser, x, "-deactivate"));
  EXPECT_TRUE(WaitUntil([&] { return ProcessName(hack) != "lifefaces"; }, 30))
      << "lifefaces still runs after -deactivate";
  EXPECT_TRUE(WaitUntil([&] { return SegmentsCreatedBy(hack) == 0; }, 10));

  daemon.Signal(SIGTERM);
  daemon.WaitForExit(15);
}
}  // namespace

// On a file xscreensaver-settings wrote, and that file once registered:
// Life is added at the end of the list once, every other byte and the
// file's mode are kept; a file it cannot read is refused. (A file made from
// nothing works with the daemon: the daemon test.)
TEST(LifefacesRegister, AddsLifeOnceKeepingTheRestOfTheFile) {
  TempDir home;
  const std::string file = home.path() + "/.xscreensaver";
  const std::string typical = ReadText(XSCREENSAVER_FILE);
  ASSERT_TRUE(WriteText(file, typical, 0640));
  ASSERT_EQ(Register({}, home.path()), 0);
  const std::string registered = ReadText(file);
  const size_t end = typical.find("\n\npointerHysteresis");  // the blank line ending the list
  const std::string added = registered.substr(end, registered.size() - typical.size());
  EXPECT_EQ(registered, typical.substr(0, end) + added + typical.substr(end));
  EXPECT_EQ(added.find("\"Life Faces\"  "), 4u) << added;
  struct stat info {};
  ASSERT_EQ(stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);

  ASSERT_EQ(Register({}, home.path()), 0);
  EXPECT_EQ(ReadText(file), registered);

  ASSERT_EQ(unlink(file.c_str()), 0);
  ASSERT_EQ(mkdir(file.c_str(), 0755), 0);
  std::string said;
  EXPECT_EQ(Register({}, home.path(), &said), 1);
  EXPECT_EQ(said, "lifefaces-register: cannot read " + file + ": Is a directory\n");
}

// Registered by lifefaces-register, on no file and on a file
// xscreensaver-settings wrote, Life is in the daemon's list where it was
// added (the last of the user's entries), and the daemon runs it.
TEST(XScreenSaverDaemon, ActivateStartsLifefacesAndDeactivateEndsIt) {
  std::vector<std::string> asUser;
  const passwd* nobody = getpwnam("nobody");
  if (geteuid() == 0) {
    ASSERT_NE(nobody, nullptr);
    asUser = {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"};
  }
  for (const std::string& start : {std::string(), ReadText(XSCREENSAVER_FILE)}) {
    SCOPED_TRACE(start.empty() ? "no ~/.xscreensaver" : "a file of xscreensaver-settings");
    TempDir home;
    chmod(home.path().c_str(), 0755);
    const std::string file = home.path() + "/.xscreensaver";
    if (!start.empty()) {
      ASSERT_TRUE(WriteText(file, start, 0644));
    }
    for (const std::string& path : {home.path(), file}) {
      if (!asUser.empty() && access(path.c_str(), F_OK) == 0) {
        ASSERT_EQ(chown(path.c_str(), nobody->pw_uid, nobody->pw_gid), 0) << path;
      }
    }
    std::string said;
    ASSERT_EQ(Register(asUser, home.path(), &said), 0) << said;
    // Every entry of the list ends with "\n\"; Life's is the last.
    const std::string text = ReadText(file);
    int position = 0;
    for (size_t at = 0; (at = text.find("\\n\\\n", at)) != std::string::npos; at += 4) ++position;
    ASSERT_GT(position, 0) << text;
    DaemonRunsLifefaces(asUser, home, position);
  }
}

// The installed desktop entry under MATE's screen saver: picked from its
// menu of screen savers by its id and run. MATE runs hacks only from the
// folders of hacks it knows (/usr/libexec/xscreensaver among them), so this
// runs against the installed package only (the deb suite).
TEST(MateScreensaver, RunsTheInstalledEntry) {
  const std::string entry = "/usr/share/applications/screensavers/lifefaces.desktop";
  if (access(entry.c_str(), R_OK) != 0) GTEST_SKIP() << "no " << entry << " installed";
  XServer x(640, 480);
  ASSERT_TRUE(x.ok());
  TempDir config;
  ASSERT_EQ(mkdir((config.path() + "/glib-2.0").c_str(), 0755), 0);
  ASSERT_EQ(mkdir((config.path() + "/glib-2.0/settings").c_str(), 0755), 0);
  ASSERT_TRUE(WriteText(config.path() + "/glib-2.0/settings/keyfile",
                        "[org/mate/screensaver]\nmode='single'\n"
                        "themes=['screensavers-lifefaces']\nlock-enabled=false\n",
                        0644));
  // In a session bus of its own: the saver, activated once it answers,
  // until the test leaves a file saying stop.
  const std::string stop = config.path() + "/stop";
  const std::string script =
      "mate-screensaver --no-daemon & saver=$!\n"
      "until mate-screensaver-command --query >/dev/null 2>&1; do sleep 0.1; done\n"
      "mate-screensaver-command --activate\n"
      "until [ -e " +
      stop +
      " ]; do sleep 0.1; done\n"
      "mate-screensaver-command --exit; wait $saver\n";
  Child session({"dbus-run-session", "--", "sh", "-c", script},
                {x.env(), "XDG_CURRENT_DESKTOP=MATE", "GSETTINGS_BACKEND=keyfile",
                 "XDG_CONFIG_HOME=" + config.path()});
  pid_t hack = 0;
  EXPECT_TRUE(WaitUntil([&] { return (hack = HackOf(session.pid())) > 0; }, 30))
      << "mate-screensaver did not run lifefaces: " << session.Stderr();
  EXPECT_TRUE(WaitUntil(
      [&] {
        for (const uint32_t p : x.Grab(DefaultRootWindow(x.display()), 640, 480))
          if (p == 0xC0C0C0) return true;  // the frame, at least
        return false;
      },
      30));
  ASSERT_TRUE(WriteText(stop, "", 0644));
  EXPECT_EQ(session.WaitForExit(30), 0) << session.Stderr();
  EXPECT_TRUE(WaitUntil([&] { return hack == 0 || ProcessName(hack) != "lifefaces"; }, 10));
}
