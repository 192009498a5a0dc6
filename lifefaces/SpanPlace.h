#pragma once
// Where -span puts the hack's one world when its window covers several
// monitors: laid out as the saver lays out a spanned world.
#include <cstdint>
#include <optional>
#include <vector>

#include "WorldLayout.h"

// The spanned world for a window at `window` over `monitors` (both in root
// coordinates, the primary monitor first), its rectangles relative to the
// window. Nothing when the window meets fewer than two monitors, or when
// they lie so far apart that the saver would give each a world of its
// own: the window then gets one world of its own size, as without -span.
std::optional<WorldPlace> SpanPlace(const ScreenRect& window,
                                    const std::vector<ScreenRect>& monitors, uint32_t seed);
