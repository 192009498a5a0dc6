#include "SpanPlace.h"

#include <algorithm>

std::optional<WorldPlace> SpanPlace(const ScreenRect& window,
                                    const std::vector<ScreenRect>& monitors, uint32_t seed) {
  // Only the parts of the monitors inside the window show anything.
  std::vector<ScreenRect> inside;
  for (const ScreenRect& m : monitors) {
    const ScreenRect clipped = {std::max(m.left, window.left), std::max(m.top, window.top),
                                std::min(m.right, window.right), std::min(m.bottom, window.bottom)};
    if (!clipped.empty()) inside.push_back(clipped);
  }
  if (inside.size() < 2 || window.empty()) return std::nullopt;
  // A clock of 0 leaves a seed of 0 to the engine, which takes the clock.
  std::vector<WorldPlace> places = PlaceSpannedWorld(LayOutMonitors(window, inside), seed, 0);
  if (places.size() != 1) return std::nullopt;
  return places.front();
}
