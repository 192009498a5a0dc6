#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "RleFile.h"

namespace {

// Reads RLE text back into the set of live cells, checking its line rules
// on the way: no line longer than 70, none ending in a run count.
std::set<std::pair<uint32_t, uint32_t>> ParseRle(const std::string& text) {
  const size_t bodyStart = text.find('\n') + 1;
  std::set<std::pair<uint32_t, uint32_t>> live;
  uint32_t x = 0, y = 0, count = 0;
  size_t lineLength = 0;
  for (size_t i = bodyStart; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n') {
      EXPECT_EQ(count, 0u) << "a run count is cut from its letter";
      EXPECT_LE(lineLength, 70u);
      lineLength = 0;
      continue;
    }
    ++lineLength;
    if (c >= '0' && c <= '9') {
      count = count * 10 + static_cast<uint32_t>(c - '0');
      continue;
    }
    const uint32_t run = count == 0 ? 1 : count;
    count = 0;
    if (c == 'o')
      for (uint32_t k = 0; k < run; ++k) live.insert({x++, y});
    else if (c == 'b')
      x += run;
    else if (c == '$')
      y += run, x = 0;
    else
      EXPECT_EQ(c, '!');
  }
  return live;
}

TEST(RleFileTest, RandomPatternsComeBackCellForCell) {
  std::mt19937 random(7);
  for (const auto& [width, height, density] : {std::tuple{1u, 1u, 1.0},
                                               {70u, 3u, 1.0},
                                               {300u, 40u, 0.35},
                                               {257u, 90u, 0.05},
                                               {64u, 64u, 0.0}}) {
    std::set<std::pair<uint32_t, uint32_t>> cells;
    std::bernoulli_distribution alive(density);
    for (uint32_t y = 0; y < height; ++y)
      for (uint32_t x = 0; x < width; ++x)
        if (alive(random)) cells.insert({x, y});
    const std::string text = RleText(
        width, height,
        [&](uint32_t x, uint32_t y) {
          return cells.count({x, y}) != 0;
        },
        "B3/S23:T" + std::to_string(width) + "," + std::to_string(height));
    EXPECT_EQ(text.substr(0, text.find('\n')),
              "x = " + std::to_string(width) + ", y = " + std::to_string(height) +
                  ", rule = B3/S23:T" + std::to_string(width) + "," + std::to_string(height));
    EXPECT_EQ(ParseRle(text), cells) << width << "x" << height;
  }
}

}  // namespace
