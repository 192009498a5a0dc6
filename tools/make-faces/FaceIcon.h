#pragma once
#include "IconFile.h"

// The program icon: the smiling yellow face in the 16 standard colours.
IconImage PaintIconImage(int size);
