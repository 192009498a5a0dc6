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
bool Command(const std::vector<std::string>& asUser, const XServer& x, const std::string& what) {
  std::vector<std::string> argv = asUser;
  argv.insert(argv.end(), {"xscreensaver-command", what});
  Child command(argv, {x.env()});
  return command.WaitForExit(15) == 0;
}
}  // namespace

TEST(XScreenSaverDaemon, ActivateStartsLifefacesAndDeactivateEndsIt) {
  // 632 x 472: 39 x 29 cells of 16 pixels, a picture of 624 x 464.
  const int width = 632, height = 472, pictureWidth = 624, pictureHeight = 464;
  XServer x(width, height, {"-ac"});  // any local client: the daemon's user too
  ASSERT_TRUE(x.ok());

  TempDir home;
  ASSERT_FALSE(home.path().empty());
  chmod(home.path().c_str(), 0755);
  // The daemon runs the hack through this script, which notes its process id.
  // LIFEFACES_DAEMON_HACK names another copy of the hack to run (an installed
  // one).
  const char* otherHack = std::getenv("LIFEFACES_DAEMON_HACK");
  const std::string hackBin = otherHack != nullptr ? otherHack : LIFEFACES_BIN;
  const std::string pidFile = home.path() + "/hack.pid";
  const std::string script = home.path() + "/run-lifefaces";
  ASSERT_TRUE(WriteText(
      script, "#!/bin/sh\necho $$ > " + pidFile + "\nexec " + hackBin + " -seed 9 \"$@\"\n",
      0755));
  ASSERT_TRUE(WriteText(home.path() + "/.xscreensaver",
                        "mode: one\nselected: 0\nlock: False\nsplash: False\nfade: False\n"
                        "unfade: False\ntimeout: 0:30:00\nprograms: " +
                            script + " --root\n",
                        0644));
  std::vector<std::string> asUser;
  if (geteuid() == 0) {
    const passwd* nobody = getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    ASSERT_EQ(chown(home.path().c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    ASSERT_EQ(chown((home.path() + "/.xscreensaver").c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    asUser = {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"};
  }
  std::vector<std::string> daemonArgv = asUser;
  daemonArgv.insert(daemonArgv.end(), {"env", "HOME=" + home.path(), "xscreensaver", "-no-splash"});
  Child daemon(daemonArgv, {x.env()});
  ASSERT_TRUE(WaitUntil([&] { return !daemon.Running() || Command(asUser, x, "-time"); }, 30));
  ASSERT_TRUE(daemon.Running()) << daemon.Stderr();

  ASSERT_TRUE(Command(asUser, x, "-activate"));
  pid_t hack = 0;
  ASSERT_TRUE(WaitUntil(
      [&] {
        hack = static_cast<pid_t>(std::atol(ReadText(pidFile).c_str()));
        return hack > 0 && ProcessName(hack) == "lifefaces";
      },
      30))
      << "lifefaces did not start: " << daemon.Stderr();
  // It draws on the daemon's window.
  EXPECT_NE(EnvironmentOf(hack, "XSCREENSAVER_WINDOW"), "");

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
