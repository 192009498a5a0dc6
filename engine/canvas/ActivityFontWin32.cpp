#include <windows.h>

#include "ActivityFont.h"

FontHandle CreateActivityFont(const char* faceName) {
  return CreateFontA(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, faceName);
}

void DeleteActivityFont(FontHandle font) {
  if (font != nullptr) DeleteObject(font);
}
