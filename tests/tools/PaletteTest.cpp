#include <gtest/gtest.h>

#include <algorithm>

#include "Palette.h"

TEST(Palette, KeepsEveryColourWhenThereIsRoom) {
  ColorHistogram histogram = {{0x102030, 5}, {0xFFFFFF, 1}, {0x00FF00, 9}};
  const std::vector<Rgb> palette = BuildPalette(histogram, {{0, 0, 0}}, 255);
  ASSERT_EQ(palette.size(), 4u);
  EXPECT_EQ(palette[0], (Rgb{0, 0, 0}));  // exact colours first
  for (const auto& [packed, count] : histogram)
    EXPECT_NE(std::find(palette.begin(), palette.end(), UnpackRgb(packed)), palette.end());
}

TEST(Palette, ReducesManyColoursToTheLimitKeepingExactOnes) {
  ColorHistogram histogram;
  for (uint32_t i = 0; i < 5000; ++i) histogram[i * 3301u & 0xFFFFFFu] = 1 + i % 7;
  const Rgb exact = {0xC0, 0xC0, 0xC0};
  const std::vector<Rgb> palette = BuildPalette(histogram, {{0, 0, 0}, exact}, 64);
  ASSERT_EQ(palette.size(), 64u);
  EXPECT_EQ(palette[0], (Rgb{0, 0, 0}));
  EXPECT_EQ(palette[1], exact);
  PaletteMapper mapper(palette);
  EXPECT_EQ(mapper.Index(exact), 1);
  EXPECT_EQ(mapper.Index({0, 0, 0}), 0);
}

TEST(Palette, SameHistogramGivesTheSamePalette) {
  ColorHistogram a, b;
  for (uint32_t i = 0; i < 3000; ++i) a[i * 7919u & 0xFFFFFFu] = i % 5 + 1;
  // The same counts inserted in the opposite order.
  for (uint32_t i = 3000; i-- > 0;) b[i * 7919u & 0xFFFFFFu] = i % 5 + 1;
  EXPECT_TRUE(BuildPalette(a, {}, 100) == BuildPalette(b, {}, 100));
}

TEST(Palette, MapperFindsTheNearestEntry) {
  PaletteMapper mapper({{0, 0, 0}, {250, 200, 40}, {60, 120, 255}});
  EXPECT_EQ(mapper.Index({240, 190, 50}), 1);
  EXPECT_EQ(mapper.Index({50, 110, 240}), 2);
  EXPECT_EQ(mapper.Index({10, 5, 0}), 0);
  EXPECT_EQ(mapper.Index({240, 190, 50}), 1);  // remembered answer
}
