// Soaks the running saver under Wine: starts a full-screen life.scr with a
// 1 ms timer and the overlays on, lets it run on its own for MINUTES, and
// once a minute records, from outside the process, its resident memory and
// open files (of the Linux process behind it), its working set, its handle
// count and its GDI and USER object counts (GetGuiResources; Wine 8 answers
// 0 for both, and 0 handles, so under Wine the Linux figures carry the
// weight). Passes when none of them grew
// after the first minute (resident memory within a tolerance of 1 MiB for
// the allocator's page-level noise) and the saver ends with exit code 0 when
// dismissed.
//   saver-soak MINUTES
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "E2eSupport.h"
#include "SaverProcess.h"

namespace {

constexpr DWORD kMinuteMs = 60000;
constexpr long long kResidentToleranceKiB = 1024;

// A "Key:   123 kB" line of /proc/PID/status, in KiB; -1 when absent.
long long StatusKiB(const std::string& proc, const char* key) {
  const std::string value = e2e::ProcStatus(proc, key);
  return value == "?" ? -1 : std::atoll(value.c_str());
}

// Entries of a /proc folder (open files of the Linux process).
long long CountEntries(const std::string& folder) {
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return -1;
  long long count = 0;
  do {
    const std::string name = found.cFileName;
    count += name != "." && name != "..";
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return count;
}

// The CPU time in seconds: that the saver kept working.
double CpuSeconds(const std::string& proc) {
  const long long ticks = e2e::ProcCpuTicks(proc);
  return ticks < 0 ? -1 : static_cast<double>(ticks) / 100.0;
}

struct Sample {
  int minute;
  double cpuSeconds;
  long long residentKiB;  // VmRSS of the Linux process
  long long openFiles;    // its file descriptors
  long long workingSetKiB;
  long long privateKiB;  // PagefileUsage
  DWORD handles;
  DWORD gdiObjects;
  DWORD userObjects;
};

Sample Measure(int minute, HANDLE process, const std::string& proc) {
  Sample s{
      minute, CpuSeconds(proc), StatusKiB(proc, "VmRSS"), CountEntries(proc + "\\fd"), -1, -1, 0, 0,
      0};
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process, &memory, sizeof memory)) {
    s.workingSetKiB = static_cast<long long>(memory.WorkingSetSize / 1024);
    s.privateKiB = static_cast<long long>(memory.PagefileUsage / 1024);
  }
  if (!GetProcessHandleCount(process, &s.handles)) s.handles = 0;
  s.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
  s.userObjects = GetGuiResources(process, GR_USEROBJECTS);
  return s;
}

void Print(const Sample& s) {
  std::printf(
      "minute %3d: cpu %.1f s, resident %lld KiB, open files %lld, working set "
      "%lld KiB, private %lld KiB, handles %lu, GDI objects %lu, USER objects %lu\n",
      s.minute, s.cpuSeconds, s.residentKiB, s.openFiles, s.workingSetKiB, s.privateKiB, s.handles,
      s.gdiObjects, s.userObjects);
  std::fflush(stdout);
}

// What grew after the first minute; empty when nothing did.
std::string Growth(const std::vector<Sample>& samples) {
  if (samples.size() < 3) return "";
  const Sample& base = samples[1];
  std::string grown;
  for (size_t i = 2; i < samples.size(); ++i) {
    const Sample& s = samples[i];
    if (s.residentKiB > base.residentKiB + kResidentToleranceKiB) grown += " resident";
    if (s.workingSetKiB > base.workingSetKiB + kResidentToleranceKiB) grown += " working-set";
    if (s.openFiles > base.openFiles) grown += " open-files";
    if (s.handles > base.handles) grown += " handles";
    if (s.gdiObjects > base.gdiObjects) grown += " GDI";
    if (s.userObjects > base.userObjects) grown += " USER";
    if (!grown.empty()) return "minute " + std::to_string(s.minute) + ":" + grown;
  }
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: saver-soak MINUTES\n");
    return 2;
  }
  const int minutes = std::max(2, std::atoi(argv[1]));
  e2e::TestSettings settings;
  settings.delay = 1;
  settings.seed = 0;  // from the clock: each soak sees another world
  settings.bMiniDisplay = settings.bActivityBar = settings.bFrameScreen = 1;

  e2e::ScenarioFolder folder("soak");
  e2e::WriteSettings(settings);
  wintest::Process saver;
  if (!e2e::Start(saver, folder, "life.scr", "/s")) return 1;
  HWND window = wintest::WaitForWindow(saver.id(), e2e::kSaverClass, "Screen Saver", 30000);
  const std::string proc = e2e::SaverProcFolder(folder);
  if (window == nullptr || proc.empty()) {
    std::fprintf(stderr, "saver-soak: no saver window or no /proc entry\n");
    return 1;
  }
  std::printf("saver-soak: screen %dx%d, delay 1 ms, %d minutes\n", GetSystemMetrics(SM_CXSCREEN),
              GetSystemMetrics(SM_CYSCREEN), minutes);

  std::vector<Sample> samples{Measure(0, saver.handle(), proc)};
  Print(samples.back());
  for (int minute = 1; minute <= minutes; ++minute) {
    // Waiting on the process: a saver that ends early ends the soak.
    if (WaitForSingleObject(saver.handle(), kMinuteMs) != WAIT_TIMEOUT) {
      std::fprintf(stderr, "saver-soak: the saver ended in minute %d\n", minute);
      return 1;
    }
    samples.push_back(Measure(minute, saver.handle(), proc));
    Print(samples.back());
  }

  PostMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
  const DWORD exitCode = e2e::ExitCodeWithin(saver, 20000);
  const std::string grown = Growth(samples);
  std::printf("saver-soak: exit code %lu; %s\n", exitCode,
              grown.empty() ? "no growth after the first minute" : ("GROWTH at " + grown).c_str());
  return exitCode == 0 && grown.empty() ? 0 : 1;
}
