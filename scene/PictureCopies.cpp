#include "PictureCopies.h"

#include <algorithm>

void JoinChangedAreas(const std::vector<PixelRect>& changed, int width, int height, int gap,
                      std::vector<PixelRect>& joined) {
  joined.clear();
  for (const PixelRect& area : changed) {
    const int left = std::max(area.left, 0), top = std::max(area.top, 0);
    const int right = std::min(area.right, width), bottom = std::min(area.bottom, height);
    if (right <= left || bottom <= top) continue;
    if (!joined.empty()) {
      PixelRect& last = joined.back();
      const int between = left - last.right;
      if (last.top == top && last.bottom == bottom && between >= 0 && between <= gap) {
        last.right = right;
        continue;
      }
    }
    joined.push_back({left, top, right, bottom});
  }
}

void AreasToCopy(bool whole, const std::vector<PixelRect>& changed, int width, int height,
                 int frameHeight, std::vector<PixelRect>& areas) {
  // Measured under Wine at 4K: a block copy costs about as much as copying
  // 4096 pixels more, and copying two thirds of the picture in areas about
  // as much as copying all of it at once.
  constexpr int kPixelsPerCopy = 4096;
  constexpr int64_t kWholeShareNumerator = 2, kWholeShareDenominator = 3;
  if (!whole) {
    JoinChangedAreas(changed, width, height, kPixelsPerCopy / std::max(frameHeight, 1), areas);
    int64_t pixels = 0;
    for (const PixelRect& a : areas)
      pixels += static_cast<int64_t>(a.right - a.left) * (a.bottom - a.top);
    if (pixels * kWholeShareDenominator <= int64_t{width} * height * kWholeShareNumerator) return;
  }
  areas.assign(1, PixelRect{0, 0, width, height});
}

void PlanCopies(const ScreenRect& area, const std::vector<ScreenRect>& views, int width, int height,
                const std::vector<PixelRect>& areas, std::vector<PictureCopy>& copies) {
  for (const ScreenRect& view : views) {
    // The part of the picture this view shows, in picture pixels.
    const int viewLeft = std::max(view.left - area.left, 0);
    const int viewTop = std::max(view.top - area.top, 0);
    const int viewRight = std::min(view.right - area.left, width);
    const int viewBottom = std::min(view.bottom - area.top, height);
    for (const PixelRect& a : areas) {
      const int left = std::max(a.left, viewLeft), top = std::max(a.top, viewTop);
      const int right = std::min(a.right, viewRight), bottom = std::min(a.bottom, viewBottom);
      if (right <= left || bottom <= top) continue;
      copies.push_back({area.left + left, area.top + top, right - left, bottom - top, left, top});
    }
  }
}

bool ViewsOverlap(const std::vector<WorldPlace>& places) {
  for (size_t i = 0; i < places.size(); ++i)
    for (size_t j = i + 1; j < places.size(); ++j)
      for (const ScreenRect& a : places[i].views)
        for (const ScreenRect& b : places[j].views)
          if (std::max(a.left, b.left) < std::min(a.right, b.right) &&
              std::max(a.top, b.top) < std::min(a.bottom, b.bottom))
            return true;
  return false;
}
