#include "MonitorLayout.h"

#include <algorithm>

namespace {
ScreenRect BoundingBox(const std::vector<ScreenRect>& rects) {
  ScreenRect box = rects.front();
  for (const ScreenRect& r : rects) {
    box.left = std::min(box.left, r.left);
    box.top = std::min(box.top, r.top);
    box.right = std::max(box.right, r.right);
    box.bottom = std::max(box.bottom, r.bottom);
  }
  return box;
}
}  // namespace

MonitorLayout LayOutMonitors(const ScreenRect& virtualScreen,
                             const std::vector<ScreenRect>& monitors) {
  std::vector<ScreenRect> shown;
  for (const ScreenRect& monitor : monitors)
    if (!monitor.empty()) shown.push_back(monitor);

  MonitorLayout layout;
  if (!virtualScreen.empty())
    layout.window = virtualScreen;
  else if (!shown.empty())
    layout.window = BoundingBox(shown);
  if (shown.empty()) {
    layout.monitors.push_back({0, 0, layout.window.width(), layout.window.height()});
    return layout;
  }

  // The primary keeps its place; the others are ordered so that the same
  // arrangement always numbers its monitors alike.
  std::stable_sort(shown.begin() + 1, shown.end(), [](const ScreenRect& a, const ScreenRect& b) {
    return a.top != b.top ? a.top < b.top : a.left < b.left;
  });
  for (const ScreenRect& monitor : shown)
    layout.monitors.push_back({monitor.left - layout.window.left, monitor.top - layout.window.top,
                               monitor.right - layout.window.left,
                               monitor.bottom - layout.window.top});
  return layout;
}

MonitorLayout SingleMonitorLayout(int32_t width, int32_t height) {
  MonitorLayout layout;
  layout.window = {0, 0, width, height};
  layout.monitors.push_back(layout.window);
  return layout;
}
