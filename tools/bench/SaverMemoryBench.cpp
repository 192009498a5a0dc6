// The saver's own memory under Wine at the screen's size: a full-screen
// window as the saver makes it, then a crowded world on it ticked as the
// saver ticks it, with the process's resident memory read from /proc before
// the window, before the world and at the end. What the world adds (its
// cells, its picture's DIB section, the sprite sheet) is the saver's own;
// what the window adds is Wine's copy of the window's surface.
//   saver-memory-bench SHEET.bmp [TICKS]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "MonitorLayout.h"
#include "PictureCopies.h"
#include "WorldLayout.h"
#include "WorldSet.h"

namespace {

// Resident memory of this process in KiB, as the kernel counts it: private
// (anonymous) pages, shared memory (MIT-SHM images) and the peak of all.
struct Resident {
  long anonymous = 0, shared = 0, peak = 0;
};

// This process's /proc folder ("self" there names another under Wine):
// the one whose first argument is this program (not a shell that started
// it).
std::string OwnProcFolder() {
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return "";
  std::string result;
  do {
    const std::string name = found.cFileName;
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream in("Z:\\proc\\" + name + "\\cmdline", std::ios::binary);
    std::string program;
    std::getline(in, program, '\0');
    const std::string suffix = "saver-memory-bench.exe";
    if (program.size() >= suffix.size() &&
        program.compare(program.size() - suffix.size(), suffix.size(), suffix) == 0)
      result = "Z:\\proc\\" + name;
  } while (result.empty() && FindNextFileA(search, &found));
  FindClose(search);
  return result;
}

Resident ReadResident() {
  static const std::string folder = OwnProcFolder();
  Resident r;
  std::ifstream in(folder + "\\status");
  std::string key;
  long value = 0;
  while (in >> key) {
    if (!(in >> value)) {
      in.clear();
      in.ignore(1 << 16, '\n');
      continue;
    }
    if (key == "RssAnon:") r.anonymous = value;
    if (key == "RssShmem:") r.shared = value;
    if (key == "VmHWM:") r.peak = value;
    in.ignore(1 << 16, '\n');
  }
  return r;
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

double MiB(long kib) { return static_cast<double>(kib) / 1024.0; }

}  // namespace

int main(int argc, char** argv) {
  const char* sheet = argc > 1 ? argv[1] : "lifeface.bmp";
  const int ticks = argc > 2 ? std::atoi(argv[2]) : 100;
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  const Resident start = ReadResident();
  if (start.peak == 0) {
    std::fprintf(stderr, "saver-memory-bench: no /proc entry of this process\n");
    return 1;
  }

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = "SaverMemoryBench";
  RegisterClassA(&windowClass);
  HWND window =
      CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0,
                      width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
  UpdateWindow(window);
  Pump();
  const Resident withWindow = ReadResident();

  // The hack's crowded world of the default faces, every overlay on.
  WorldSettings settings;
  settings.face = {sheet, 16, 16, 25, 6, 5, 12};
  settings.initpop = 40000;
  settings.canvas.bMiniDisplay = settings.canvas.bActivityBar = settings.canvas.bFrameScreen = 1;
  settings.canvas.displayColor = 0x00C0C0C0;
  settings.canvas.faceFile = sheet;
  settings.fontName = "MS Sans Serif";
  WorldSet worlds;
  worlds.Create(window, PlaceWorlds(SingleMonitorLayout(width, height), 4711, 0), settings);
  std::vector<PixelRect> areas;
  std::vector<PictureCopy> copies;
  for (int i = 0; i < ticks; ++i) {
    HDC dc = GetDC(window);
    for (size_t w = 0; w < worlds.size(); ++w) {
      World& world = worlds[w];
      const Picture* picture = world.canvas.Compose();
      if (picture == nullptr) continue;
      AreasToCopy(world.canvas.ChangedAll(), world.canvas.ChangedAreas(), picture->width(),
                  picture->height(), 16, areas);
      copies.clear();
      PlanCopies(world.area, world.views, picture->width(), picture->height(), areas, copies);
      for (const PictureCopy& c : copies)
        BitBlt(dc, c.x, c.y, c.width, c.height, picture->dc(), c.sourceX, c.sourceY, SRCCOPY);
    }
    ReleaseDC(window, dc);
    worlds.Step();
    Pump();
  }
  const Resident end = ReadResident();

  const double pixels = static_cast<double>(width) * height;
  const long own = end.anonymous - withWindow.anonymous;
  const long surface = withWindow.anonymous + withWindow.shared - start.anonymous - start.shared;
  std::printf(
      "saver %dx%d, 16x16 faces, start population 40000, %d ticks: its own private %.1f MiB "
      "(%.2f B/px); Wine's window surface %.1f MiB (%.2f B/px, %.1f MiB of it shared with the X "
      "server); Wine before the window %.1f MiB private, %.1f MiB shared; peak resident %.1f "
      "MiB\n",
      width, height, ticks, MiB(own), static_cast<double>(own) * 1024 / pixels, MiB(surface),
      static_cast<double>(surface) * 1024 / pixels, MiB(withWindow.shared - start.shared),
      MiB(start.anonymous), MiB(start.shared), MiB(end.peak));
  DestroyWindow(window);
  return 0;
}
