#include "Palette.h"

#include <algorithm>
#include <array>

namespace {
struct Entry {
  Rgb color;
  uint64_t count;
};

uint8_t Channel(Rgb c, int channel) { return channel == 0 ? c.r : channel == 1 ? c.g : c.b; }

struct Box {
  std::vector<Entry> entries;
  uint64_t weight = 0;
  int widestChannel = 0;
  int range = 0;

  void Measure() {
    weight = 0;
    std::array<int, 3> low = {255, 255, 255}, high = {0, 0, 0};
    for (const Entry& e : entries) {
      weight += e.count;
      for (int ch = 0; ch < 3; ++ch) {
        low[static_cast<size_t>(ch)] =
            std::min<int>(low[static_cast<size_t>(ch)], Channel(e.color, ch));
        high[static_cast<size_t>(ch)] =
            std::max<int>(high[static_cast<size_t>(ch)], Channel(e.color, ch));
      }
    }
    range = -1;
    for (int ch = 0; ch < 3; ++ch) {
      const int r = high[static_cast<size_t>(ch)] - low[static_cast<size_t>(ch)];
      if (r > range) {
        range = r;
        widestChannel = ch;
      }
    }
  }

  Rgb Average() const {
    uint64_t r = 0, g = 0, b = 0;
    for (const Entry& e : entries) {
      r += uint64_t{e.color.r} * e.count;
      g += uint64_t{e.color.g} * e.count;
      b += uint64_t{e.color.b} * e.count;
    }
    const uint64_t w = std::max<uint64_t>(weight, 1);
    return {static_cast<uint8_t>((r + w / 2) / w), static_cast<uint8_t>((g + w / 2) / w),
            static_cast<uint8_t>((b + w / 2) / w)};
  }
};

int Distance(Rgb a, Rgb b) {
  const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  return dr * dr * 3 + dg * dg * 4 + db * db * 2;
}
}  // namespace

std::vector<Rgb> BuildPalette(const ColorHistogram& histogram, const std::vector<Rgb>& exact,
                              size_t maxColors) {
  std::vector<Rgb> palette;
  for (const Rgb c : exact)
    if (palette.size() < maxColors && std::find(palette.begin(), palette.end(), c) == palette.end())
      palette.push_back(c);
  const size_t room = maxColors - palette.size();
  if (room == 0) return palette;

  Box all;
  for (const auto& [packed, count] : histogram) {
    const Rgb c = UnpackRgb(packed);
    if (std::find(palette.begin(), palette.end(), c) == palette.end())
      all.entries.push_back({c, count});
  }
  if (all.entries.empty()) return palette;
  // The same histogram gives the same palette whatever the hash order.
  std::sort(all.entries.begin(), all.entries.end(),
            [](const Entry& a, const Entry& b) { return PackRgb(a.color) < PackRgb(b.color); });
  all.Measure();

  std::vector<Box> boxes = {std::move(all)};
  while (boxes.size() < room) {
    // Split the heaviest box that still has more than one colour.
    Box* target = nullptr;
    for (Box& box : boxes)
      if (box.entries.size() > 1 &&
          (target == nullptr || box.weight * static_cast<uint64_t>(box.range + 1) >
                                    target->weight * static_cast<uint64_t>(target->range + 1)))
        target = &box;
    if (target == nullptr) break;
    const int ch = target->widestChannel;
    std::sort(target->entries.begin(), target->entries.end(), [ch](const Entry& a, const Entry& b) {
      return Channel(a.color, ch) != Channel(b.color, ch)
                 ? Channel(a.color, ch) < Channel(b.color, ch)
                 : PackRgb(a.color) < PackRgb(b.color);
    });
    // Cut at the weighted median, leaving at least one colour each side.
    uint64_t seen = 0;
    size_t cut = 1;
    for (; cut < target->entries.size() - 1; ++cut) {
      seen += target->entries[cut - 1].count;
      if (seen * 2 >= target->weight) break;
    }
    Box upper;
    upper.entries.assign(target->entries.begin() + static_cast<std::ptrdiff_t>(cut),
                         target->entries.end());
    target->entries.resize(cut);
    target->Measure();
    upper.Measure();
    boxes.push_back(std::move(upper));
  }
  for (const Box& box : boxes) palette.push_back(box.Average());
  return palette;
}

uint8_t PaletteMapper::Index(Rgb c) {
  const uint32_t key = PackRgb(c);
  const auto found = cache_.find(key);
  if (found != cache_.end()) return found->second;
  size_t best = 0;
  int bestDistance = -1;
  for (size_t i = 0; i < palette_.size(); ++i) {
    const int d = Distance(c, palette_[i]);
    if (bestDistance < 0 || d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  const auto index = static_cast<uint8_t>(best);
  cache_.emplace(key, index);
  return index;
}
