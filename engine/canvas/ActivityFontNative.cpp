#include "ActivityFont.h"
#include "NativeFont.h"

FontHandle CreateActivityFont(const char* faceName) { return CreateNativeFont(faceName, 14); }

void DeleteActivityFont(FontHandle font) { DeleteNativeFont(font); }
