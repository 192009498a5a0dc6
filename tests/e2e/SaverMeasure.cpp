// Measures the running saver under Wine: drives TICKS timer ticks into a
// full-screen life.scr and reports the CPU time the saver process spent per
// tick (in clock ticks of 10 ms, so use many ticks), the wall time per tick
// (the driver's round trip, the X server's drawing included), and its peak
// resident memory.
//   saver-measure FACE_PATH W H FRAMES ROWS BORNEND DIESTART TICKS INITPOP
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "E2eSupport.h"

namespace {
// Under Wine the saver is also a Linux process: its /proc entry (seen
// through drive Z:) gives CPU time and peak resident memory as the kernel
// counts them (Wine's GetProcessTimes under-reports another process's
// time). Found by the scenario folder on its command line.
std::string UnixProcFolder(const std::string& marker) {
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return "";
  std::string result;
  do {
    const std::string name = found.cFileName;
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string folder = "Z:\\proc\\" + name;
    std::ifstream in(folder + "\\cmdline", std::ios::binary);
    std::string line;
    std::getline(in, line);  // NUL-separated arguments, no line end
    if (line.find(marker) != std::string::npos && line.find("life.scr") != std::string::npos) {
      result = folder;
      break;
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return result;
}

// utime + stime of /proc/PID/stat, in clock ticks.
long long UnixCpuTicks(const std::string& folder) {
  std::ifstream in(folder + "\\stat");
  std::string line;
  std::getline(in, line);
  const size_t close = line.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(line.substr(close + 2));
  std::string field;
  long long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) utime = std::stoll(field);
    if (i == 15) stime = std::stoll(field);
  }
  return utime + stime;
}

std::string UnixStatus(const std::string& folder, const char* key) {
  std::ifstream in(folder + "\\status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(key, 0) == 0) {
      const size_t value = line.find_first_not_of(" \t", line.find(':') + 1);
      return value == std::string::npos ? "?" : line.substr(value);
    }
  return "?";
}

DWORD Number(const char* text) { return static_cast<DWORD>(std::strtoul(text, nullptr, 10)); }
}  // namespace

int main(int argc, char** argv) {
  if (argc != 10) {
    std::fprintf(stderr, "usage: saver-measure FACE_PATH W H FRAMES ROWS BORNEND DIESTART TICKS INITPOP\n");
    return 2;
  }
  const std::string facePath = argv[1];
  const std::string faceName = facePath.substr(facePath.find_last_of("\\/") + 1);
  e2e::TestSettings settings;
  settings.loadImage = faceName;
  settings.frameWidth = Number(argv[2]);
  settings.frameHeight = Number(argv[3]);
  settings.numFrames = Number(argv[4]);
  settings.numRows = Number(argv[5]);
  settings.bornEnd = Number(argv[6]);
  settings.dieStart = Number(argv[7]);
  const int ticks = static_cast<int>(Number(argv[8]));
  settings.initpop = Number(argv[9]);
  settings.bMiniDisplay = settings.bActivityBar = settings.bFrameScreen = 1;

  e2e::ScenarioFolder folder("measure");
  if (!CopyFileA(facePath.c_str(), (folder.path() + "\\" + faceName).c_str(), FALSE)) {
    std::fprintf(stderr, "saver-measure: cannot copy %s\n", facePath.c_str());
    return 1;
  }
  e2e::WriteSettings(settings);
  wintest::Process saver;
  if (!e2e::Start(saver, folder, "life.scr", "/s")) return 1;
  HWND window = wintest::WaitForWindow(saver.id(), e2e::kSaverClass, "Screen Saver", 30000);
  if (window == nullptr || !e2e::WaitUntilPainted(window)) {
    std::fprintf(stderr, "saver-measure: no saver window\n");
    return 1;
  }

  const std::string proc = UnixProcFolder(folder.path().substr(folder.path().find_last_of('\\') + 1));
  const long long unixBefore = proc.empty() ? -1 : UnixCpuTicks(proc);
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < ticks; ++i) {
    if (!e2e::Tick(window)) {
      std::fprintf(stderr, "saver-measure: tick %d failed\n", i);
      return 1;
    }
  }
  QueryPerformanceCounter(&end);
  const long long unixTicks = proc.empty() ? -1 : UnixCpuTicks(proc) - unixBefore;
  const double wall = static_cast<double>(end.QuadPart - start.QuadPart) /
                      static_cast<double>(frequency.QuadPart);

  if (proc.empty()) {
    std::fprintf(stderr, "saver-measure: the saver's /proc entry was not found\n");
    return 1;
  }
  std::printf("screen %dx%d, %s %lux%lu, initpop %lu, %d ticks: cpu %.2f ms/tick, wall %.2f "
              "ms/tick, peak resident %s\n",
              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), faceName.c_str(),
              settings.frameWidth, settings.frameHeight, settings.initpop, ticks,
              static_cast<double>(unixTicks) * 10.0 / ticks, wall * 1000 / ticks,
              UnixStatus(proc, "VmHWM").c_str());
  std::fflush(stdout);
  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  return e2e::ExitCodeWithin(saver, 10000) == 0 ? 0 : 1;
}
