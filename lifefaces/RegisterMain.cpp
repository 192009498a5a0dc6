// lifefaces-register: adds Life Faces to the XScreenSaver list of the user
// who runs it (the `programs:` resource of ~/.xscreensaver), so that the
// daemon can run it and xscreensaver-settings lists it. A separate program,
// so that nothing it takes can be mistaken for an option of the hack, whose
// command line is XScreenSaver's. It changes nothing when Life is listed
// already, keeps every other byte of the file, and writes the new file
// beside the old one before putting it in its place.
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ProgramsList.h"

namespace {
const char kName[] = "lifefaces-register";
// Where Debian's daemon finds its hacks by their bare names.
const char kDaemonHacks[] = "/usr/libexec/xscreensaver";

int Fail(const std::string& what, const std::string& path, int error) {
  std::fprintf(stderr, "%s: %s %s: %s\n", kName, what.c_str(), path.c_str(), std::strerror(error));
  return 1;
}

std::string RealPath(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) != nullptr ? resolved : "";
}

std::string Folder(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

// The hack's command for the list: installed beside this program (in
// PREFIX/libexec/xscreensaver when this is PREFIX/bin, or in the same
// folder in a build), by its bare name in the daemon's own folder of
// hacks, else by its full path.
std::string HackCommand() {
  const std::string self = RealPath("/proc/self/exe");
  for (const std::string& candidate :
       {Folder(self) + "/../libexec/xscreensaver/lifefaces", Folder(self) + "/lifefaces"}) {
    const std::string hack = RealPath(candidate);
    if (hack.empty() || access(hack.c_str(), X_OK) != 0) continue;
    return (Folder(hack) == kDaemonHacks ? "lifefaces" : hack) + " --root";
  }
  return "";
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return home;
  const passwd* user = getpwuid(getuid());
  return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "";
}

// Reads the whole file; false with errno set when it cannot be read.
bool ReadAll(int fd, std::string& text) {
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got == 0) return true;
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    text.append(buffer, static_cast<size_t>(got));
  }
}

bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t wrote = write(fd, text.data() + done, text.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    done += static_cast<size_t>(wrote);
  }
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    const bool help = std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0;
    std::fprintf(help ? stdout : stderr,
                 "usage: %s\n"
                 "Adds Life Faces (the lifefaces hack) to your XScreenSaver list, the\n"
                 "programs: setting of ~/.xscreensaver, creating the file when there is none.\n",
                 kName);
    return help ? 0 : 2;
  }
  const std::string home = HomeFolder();
  if (home.empty()) {
    std::fprintf(stderr, "%s: no home folder (HOME is not set)\n", kName);
    return 1;
  }
  const std::string command = HackCommand();
  if (command.empty()) {
    std::fprintf(stderr, "%s: cannot find the lifefaces hack beside this program\n", kName);
    return 1;
  }
  const std::string path = home + "/.xscreensaver";

  // The file, or a new one when there is none; a file that cannot be read
  // is never replaced.
  std::string text;
  std::string target = path;  // through a symbolic link, its target
  mode_t mode = 0644;
  const int in = open(path.c_str(), O_RDONLY);
  if (in < 0 && errno != ENOENT) return Fail("cannot read", path, errno);
  if (in >= 0) {
    struct stat info {};
    const bool read = fstat(in, &info) == 0 && ReadAll(in, text);
    const int error = errno;
    close(in);
    if (!read) return Fail("cannot read", path, error);
    mode = info.st_mode & 07777;
    target = RealPath(path);
    if (target.empty()) return Fail("cannot resolve", path, errno);
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0644 & ~mask;
    text =
        "# XScreenSaver settings, begun by lifefaces-register: xscreensaver-settings\n"
        "# adds the other display modes and the rest of the settings when it saves.\n\n";
  }

  if (AddToProgramsList(text, {"Life Faces", command}) == ProgramsChange::kPresent) {
    std::printf("%s: Life Faces is already in %s\n", kName, path.c_str());
    return 0;
  }

  std::string temporary = target + ".XXXXXX";
  const int out = mkstemp(temporary.data());
  if (out < 0) return Fail("cannot write beside", target, errno);
  bool written = fchmod(out, mode) == 0 && WriteAll(out, text) && fsync(out) == 0;
  int error = errno;
  if (close(out) != 0 && written) {
    written = false;
    error = errno;
  }
  if (written && rename(temporary.c_str(), target.c_str()) != 0) {
    written = false;
    error = errno;
  }
  if (!written) {
    unlink(temporary.c_str());
    return Fail("cannot write", target, error);
  }
  std::printf(
      "%s: added Life Faces to %s\n"
      "XScreenSaver reads the change by itself: choose Life Faces in xscreensaver-settings.\n",
      kName, path.c_str());
  return 0;
}
