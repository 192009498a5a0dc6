#include "X11Session.h"

#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stb/stb_image.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "LifeRender.h"

extern char** environ;

namespace x11test {

bool WaitUntil(const std::function<bool()>& condition, double seconds) {
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(static_cast<int64_t>(seconds * 1000));
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

namespace {
std::vector<std::string> Environment(const std::vector<std::string>& extra) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) env.emplace_back(*e);
  for (const std::string& setting : extra) {
    const std::string prefix = setting.substr(0, setting.find('=') + 1);
    for (auto it = env.begin(); it != env.end();)
      it = it->rfind(prefix, 0) == 0 ? env.erase(it) : it + 1;
    if (setting.size() > prefix.size()) env.push_back(setting);
  }
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

int counter = 0;
}  // namespace

Child::Child(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv) {
  stderrPath_ =
      (std::filesystem::temp_directory_path() /
       ("lifefaces-test-" + std::to_string(getpid()) + "-" + std::to_string(++counter) + ".err"))
          .string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, stderrPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  std::vector<std::string> args = argv;
  std::vector<std::string> env = Environment(extraEnv);
  std::vector<char*> argp = Pointers(args), envp = Pointers(env);
  if (posix_spawnp(&pid_, argp[0], &actions, nullptr, argp.data(), envp.data()) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
}

Child::~Child() {
  if (pid_ > 0 && Running()) {
    kill(pid_, SIGKILL);
    waitpid(pid_, &status_, 0);
  }
  std::filesystem::remove(stderrPath_);
}

bool Child::Running() {
  if (pid_ <= 0 || ended_) return false;
  if (waitpid(pid_, &status_, WNOHANG) == pid_) ended_ = true;
  return !ended_;
}

void Child::Signal(int signal) {
  if (Running()) kill(pid_, signal);
}

int Child::WaitForExit(double seconds) {
  if (pid_ <= 0) return -1;
  if (!WaitUntil([&] { return !Running(); }, seconds)) return -1;
  if (WIFEXITED(status_)) return WEXITSTATUS(status_);
  return WIFSIGNALED(status_) ? 128 + WTERMSIG(status_) : -1;
}

std::string Child::Stderr() const {
  std::ifstream in(stderrPath_);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

XServer::XServer(int width, int height, const std::vector<std::string>& extraArgs) {
  int fds[2];
  if (pipe(fds) != 0) return;
  std::vector<std::string> argv = {
      "Xvfb",      "-displayfd", std::to_string(fds[1]),
      "-screen",   "0",          std::to_string(width) + "x" + std::to_string(height) + "x24",
      "-nolisten", "tcp"};
  argv.insert(argv.end(), extraArgs.begin(), extraArgs.end());
  server_ = std::make_unique<Child>(argv);
  close(fds[1]);
  // Xvfb writes the display number it took once it accepts connections.
  std::string number;
  pollfd fd = {fds[0], POLLIN, 0};
  char c = 0;
  while (poll(&fd, 1, 20000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (number.empty()) return;
  number_ = std::atoi(number.c_str());
  display_ = XOpenDisplay(name().c_str());
}

XServer::~XServer() {
  if (display_ != nullptr) XCloseDisplay(display_);
  if (server_) {
    server_->Signal(SIGTERM);
    server_->WaitForExit(10);
  }
}

Window XServer::MakeWindow(int width, int height, unsigned long background) {
  const int screen = DefaultScreen(display_);
  const Window window = XCreateSimpleWindow(
      display_, RootWindow(display_, screen), 0, 0, static_cast<unsigned>(width),
      static_cast<unsigned>(height), 0, BlackPixel(display_, screen), background);
  XMapWindow(display_, window);
  XSync(display_, False);
  return window;
}

namespace {
bool ignoredError = false;
int IgnoreError(Display*, XErrorEvent*) {
  ignoredError = true;
  return 0;
}
}  // namespace

std::vector<uint32_t> XServer::Grab(Window window, int width, int height) {
  XSync(display_, False);
  ignoredError = false;
  XErrorHandler previous = XSetErrorHandler(IgnoreError);
  XImage* image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  XSync(display_, False);
  XSetErrorHandler(previous);
  std::vector<uint32_t> pixels;
  if (image == nullptr) return pixels;
  pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF));
  XDestroyImage(image);
  return pixels;
}

int SegmentsCreatedBy(pid_t pid) {
  std::ifstream in("/proc/sysvipc/shm");
  std::string line;
  std::getline(in, line);  // the heading
  int count = 0;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    long key = 0, id = 0, perms = 0, cpid = 0;
    unsigned long size = 0;
    if (fields >> key >> id >> perms >> size >> cpid && cpid == pid) ++count;
  }
  return count;
}

std::vector<uint32_t> LifeRenderPicture(int width, int height,
                                        const std::vector<std::string>& args) {
  TempDir dir;
  const std::string png = dir.path() + "/expected.png";
  const auto start = std::filesystem::current_path();
  std::vector<std::string> all = {"--size", std::to_string(width) + "x" + std::to_string(height),
                                  "--dir",  LIFE_ASSETS_DIR,
                                  "--out",  png};
  all.insert(all.end(), args.begin(), args.end());
  const int code = LifeRenderMain(all, stdout, stderr);
  std::filesystem::current_path(start);
  std::vector<uint32_t> pixels;
  if (code != 0) return pixels;
  int w = 0, h = 0, channels = 0;
  unsigned char* rgb = stbi_load(png.c_str(), &w, &h, &channels, 3);
  if (rgb == nullptr) return pixels;
  for (int i = 0; i < w * h; ++i)
    pixels.push_back((uint32_t{rgb[3 * i]} << 16) | (uint32_t{rgb[3 * i + 1]} << 8) |
                     rgb[3 * i + 2]);
  stbi_image_free(rgb);
  return pixels;
}

size_t Differences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  if (a.size() != b.size()) return std::max(a.size(), b.size());
  size_t count = 0;
  for (size_t i = 0; i < a.size(); ++i) count += a[i] != b[i] ? 1u : 0u;
  return count;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lifefaces-test.XXXXXX").string();
  if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

}  // namespace x11test
