#pragma once
// Support for the lifefaces tests: a private Xvfb server per test, child
// processes, screen grabs and waiting on conditions with a time limit.
#include <X11/Xlib.h>
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace x11test {

// Polls `condition` every 20 ms until it holds or `seconds` have passed.
bool WaitUntil(const std::function<bool()>& condition, double seconds);

// A child process with its standard error kept in a file.
class Child {
 public:
  // Starts argv[0] (looked up in PATH) with the environment plus `extraEnv`
  // ("NAME=value"; "NAME=" removes NAME).
  Child(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv = {});
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  pid_t pid() const { return pid_; }
  bool Running();
  void Signal(int signal);
  // The exit code once it has ended within `seconds`; -1 when it is still
  // running, 128 + signal when a signal ended it.
  int WaitForExit(double seconds);
  std::string Stderr() const;

 private:
  pid_t pid_ = -1;
  int status_ = -1;
  bool ended_ = false;
  std::string stderrPath_;
};

// An Xvfb server of its own, on a free display number, and a connection.
class XServer {
 public:
  // extraArgs go to Xvfb ("-ac", "-extension MIT-SHM", ...).
  explicit XServer(int width, int height, const std::vector<std::string>& extraArgs = {});
  ~XServer();
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  bool ok() const { return display_ != nullptr; }
  Display* display() const { return display_; }
  std::string name() const { return ":" + std::to_string(number_); }
  std::string env() const { return "DISPLAY=" + name(); }

  // A mapped top-level window of the given size, its background the pixel
  // value given (0xRRGGBB on the servers the tests start): black by default.
  Window MakeWindow(int width, int height, unsigned long background = 0);
  // The window's pixels as 0xRRGGBB, row by row; empty when it cannot be read.
  std::vector<uint32_t> Grab(Window window, int width, int height);

 private:
  std::unique_ptr<Child> server_;
  int number_ = -1;
  Display* display_ = nullptr;
};

// SysV shared-memory segments a process created that still exist.
int SegmentsCreatedBy(pid_t pid);

// life-render's picture for a client area: 0xRRGGBB, row by row.
std::vector<uint32_t> LifeRenderPicture(int width, int height,
                                        const std::vector<std::string>& args);

// Pixels that differ.
size_t Differences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b);

// A temporary folder, removed with its content at the end of the scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace x11test
