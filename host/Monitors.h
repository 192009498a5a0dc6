#pragma once
// The system's monitors as the full-screen saver window covers them.
#include "MonitorLayout.h"

// The virtual screen and every monitor on it. EnumDisplayMonitors and
// GetMonitorInfoA came with Windows 98 and 2000: they are looked up by name,
// so that the program still loads on Windows 95 and NT 4, where the screen
// is the only monitor.
MonitorLayout ScreenMonitorLayout();
