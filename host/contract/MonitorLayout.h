#pragma once
// Where the full-screen saver window goes and where each monitor lies in
// it: what the host hands the saver window procedure at creation (as the
// window's creation parameter). Portable; the host fills it from the
// system's monitor list (host/Monitors.cpp).
#include <cstdint>
#include <vector>

// A rectangle, right and bottom exclusive.
struct ScreenRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool operator==(const ScreenRect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
};

struct MonitorLayout {
  // The window, in virtual-screen coordinates.
  ScreenRect window;
  // The monitors relative to the window's client area (which is the whole
  // window: the saver window has no frame): the primary first, then the
  // others by top, then by left. Never empty.
  std::vector<ScreenRect> monitors;
};

// The layout for the monitors given in virtual-screen coordinates, the
// primary first. The window covers `virtualScreen`; an empty one (systems
// before multiple monitors have no such metrics) gives the bounding box of
// the monitors. Empty monitor rectangles are dropped; with none left the
// whole window counts as one monitor.
MonitorLayout LayOutMonitors(const ScreenRect& virtualScreen,
                             const std::vector<ScreenRect>& monitors);

// One monitor covering a client area of the given size: the preview, and a
// window created without a layout.
MonitorLayout SingleMonitorLayout(int32_t width, int32_t height);
