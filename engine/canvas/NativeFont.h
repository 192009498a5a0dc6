#pragma once
#include <functional>

#include "Platform.h"

// Native stand-in for the activity-line font: a TrueType font rendered
// without anti-aliasing (each pixel is either ink or background).

// The font with a character cell `height` pixels high; null when no font file
// can be read. The face name is not matched: one sans-serif face serves.
FontHandle CreateNativeFont(const char* faceName, int height);
void DeleteNativeFont(FontHandle font);

// The font an absent font falls back to (may be null: no text drawn).
FontHandle DefaultNativeFont();

// Calls ink(x, y) for every inked pixel of the text, relative to the top-left
// corner of its first character cell.
void DrawNativeText(FontHandle font, const char* text, int length,
                    const std::function<void(int, int)>& ink);
