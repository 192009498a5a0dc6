#include "Monitors.h"

#include <windows.h>

#include "HostState.h"

namespace {
using EnumMonitorsFn = BOOL(WINAPI*)(HDC dc, LPCRECT clip, MONITORENUMPROC callback, LPARAM data);
using MonitorInfoFn = BOOL(WINAPI*)(HMONITOR monitor, LPMONITORINFO info);

struct Enumeration {
  MonitorInfoFn monitorInfo;
  std::vector<ScreenRect> monitors;  // the primary first
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  auto& enumeration = *reinterpret_cast<Enumeration*>(data);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (enumeration.monitorInfo(monitor, &info) == 0) return TRUE;
  const ScreenRect rect = {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right,
                           info.rcMonitor.bottom};
  auto& monitors = enumeration.monitors;
  if ((info.dwFlags & MONITORINFOF_PRIMARY) != 0)
    monitors.insert(monitors.begin(), rect);
  else
    monitors.push_back(rect);
  return TRUE;
}

ScreenRect VirtualScreen() {
  const ScreenRect virtualScreen = {
      GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
      GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
      GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  if (!virtualScreen.empty()) return virtualScreen;
  // Before multiple monitors the metrics read 0: the screen is all there is.
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}
}  // namespace

MonitorLayout ScreenMonitorLayout() {
  HMODULE user = GetModuleHandleA("USER32.DLL");
  Enumeration enumeration{LookUpExport<MonitorInfoFn>(user, "GetMonitorInfoA"), {}};
  auto enumMonitors = LookUpExport<EnumMonitorsFn>(user, "EnumDisplayMonitors");
  if (enumMonitors != nullptr && enumeration.monitorInfo != nullptr)
    enumMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&enumeration));
  return LayOutMonitors(VirtualScreen(), enumeration.monitors);
}
