#include "NativeFont.h"

#include <stb/stb_truetype.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

// A character as drawn: its advance and its inked pixels, relative to the
// pen's place on the line and the top of the character cell. Made the
// first time it is drawn, as the activity line is drawn again every tick.
struct NativeGlyph {
  bool made = false;
  int advance = 0;  // in font units
  std::vector<std::pair<int, int>> ink;
};

struct NativeFont {
  std::vector<unsigned char> data;
  stbtt_fontinfo info{};
  float scale = 0;
  int baseline = 0;
  std::array<NativeGlyph, 256> glyphs;  // text comes as bytes
};

namespace {
constexpr const char* kFontFiles[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
};

bool ReadFile(const char* path, std::vector<unsigned char>& data) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  unsigned char buffer[65536];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    data.insert(data.end(), buffer, buffer + got);
  std::fclose(file);
  return !data.empty();
}
const NativeGlyph& Glyph(NativeFont& font, int codepoint) {
  NativeGlyph& glyph = font.glyphs[static_cast<size_t>(codepoint)];
  if (glyph.made) return glyph;
  glyph.made = true;
  int bearing = 0;
  stbtt_GetCodepointHMetrics(&font.info, codepoint, &glyph.advance, &bearing);
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  stbtt_GetCodepointBitmapBox(&font.info, codepoint, font.scale, font.scale, &x0, &y0, &x1, &y1);
  const int w = x1 - x0, h = y1 - y0;
  if (w <= 0 || h <= 0) return glyph;
  std::vector<unsigned char> coverage(static_cast<size_t>(w) * static_cast<size_t>(h));
  stbtt_MakeCodepointBitmap(&font.info, coverage.data(), w, h, w, font.scale, font.scale,
                            codepoint);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (coverage[static_cast<size_t>(y * w + x)] >= 128)
        glyph.ink.emplace_back(x0 + x, font.baseline + y0 + y);
  return glyph;
}
}  // namespace

FontHandle CreateNativeFont(const char* /*faceName*/, int height) {
  for (const char* path : kFontFiles) {
    auto* font = new NativeFont;
    if (ReadFile(path, font->data) && stbtt_InitFont(&font->info, font->data.data(), 0) != 0) {
      font->scale = stbtt_ScaleForPixelHeight(&font->info, static_cast<float>(height));
      int ascent = 0, descent = 0, lineGap = 0;
      stbtt_GetFontVMetrics(&font->info, &ascent, &descent, &lineGap);
      font->baseline = static_cast<int>(std::lround(static_cast<float>(ascent) * font->scale));
      return font;
    }
    delete font;
  }
  return nullptr;
}

void DeleteNativeFont(FontHandle font) { delete font; }

FontHandle DefaultNativeFont() {
  static FontHandle font = CreateNativeFont("System", 16);
  return font;
}

void DrawNativeText(FontHandle font, const char* text, int length,
                    const std::function<void(int, int)>& ink) {
  if (font == nullptr) return;
  float penX = 0;
  for (int i = 0; i < length; ++i) {
    const int codepoint = static_cast<unsigned char>(text[i]);
    const NativeGlyph& glyph = Glyph(*font, codepoint);
    const int left = static_cast<int>(std::lround(penX));
    for (const auto& [x, y] : glyph.ink) ink(left + x, y);
    const int advance = glyph.advance;
    penX += static_cast<float>(advance) * font->scale;
    if (i + 1 < length)
      penX += static_cast<float>(stbtt_GetCodepointKernAdvance(
                  &font->info, codepoint, static_cast<unsigned char>(text[i + 1]))) *
              font->scale;
  }
}
