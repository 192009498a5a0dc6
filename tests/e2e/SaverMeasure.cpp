// Measures the running saver under Wine: drives TICKS timer ticks into a
// full-screen life.scr and reports the CPU time the saver process spent per
// tick (in clock ticks of 10 ms, so use many ticks), the wall time per tick
// (the driver's round trip, the X server's drawing included), and its peak
// resident memory.
//   saver-measure FACE_PATH W H FRAMES ROWS BORNEND DIESTART TICKS INITPOP
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "E2eSupport.h"
#include "SaverProcess.h"

namespace {
DWORD Number(const char* text) { return static_cast<DWORD>(std::strtoul(text, nullptr, 10)); }
}  // namespace

int main(int argc, char** argv) {
  if (argc != 10) {
    std::fprintf(stderr,
                 "usage: saver-measure FACE_PATH W H FRAMES ROWS BORNEND DIESTART TICKS INITPOP\n");
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

  // Under Wine the saver is also a Linux process: its /proc entry gives CPU
  // time and peak resident memory as the kernel counts them (Wine's
  // GetProcessTimes under-reports another process's time).
  const std::string proc = e2e::SaverProcFolder(folder);
  const long long unixBefore = proc.empty() ? -1 : e2e::ProcCpuTicks(proc);
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
  const long long unixTicks = proc.empty() ? -1 : e2e::ProcCpuTicks(proc) - unixBefore;
  const double wall =
      static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);

  if (proc.empty()) {
    std::fprintf(stderr, "saver-measure: the saver's /proc entry was not found\n");
    return 1;
  }
  std::printf(
      "screen %dx%d, %s %lux%lu, initpop %lu, %d ticks: cpu %.2f ms/tick, wall %.2f "
      "ms/tick, peak resident %s (now: anonymous %s, shared %s, files %s)\n",
      GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), faceName.c_str(),
      settings.frameWidth, settings.frameHeight, settings.initpop, ticks,
      static_cast<double>(unixTicks) * 10.0 / ticks, wall * 1000 / ticks,
      e2e::ProcStatus(proc, "VmHWM").c_str(), e2e::ProcStatus(proc, "RssAnon").c_str(),
      e2e::ProcStatus(proc, "RssShmem").c_str(), e2e::ProcStatus(proc, "RssFile").c_str());
  std::fflush(stdout);
  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  return e2e::ExitCodeWithin(saver, 10000) == 0 ? 0 : 1;
}
