#pragma once
#include "Platform.h"

// The activity-line font: a character cell 14 pixels high, normal weight,
// in the named face. Null when it cannot be made.
FontHandle CreateActivityFont(const char* faceName);
void DeleteActivityFont(FontHandle font);
