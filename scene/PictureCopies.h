#pragma once
// What of a world's picture the saver copies to its window each tick: the
// whole picture, or only the areas the canvas changed, on every monitor
// that shows the world.
#include <cstdint>
#include <vector>

#include "MonitorLayout.h"
#include "Picture.h"
#include "WorldLayout.h"

// One block copy from a world's picture to the window.
struct PictureCopy {
  int x, y, width, height;  // in the window's client area
  int sourceX, sourceY;     // in the picture
};

// The canvas's changed areas (row bands top to bottom, left to right along
// a band, then the overlays) clipped to a width x height picture, with
// neighbours on the same band at most `gap` pixels apart joined into one.
void JoinChangedAreas(const std::vector<PixelRect>& changed, int width, int height, int gap,
                      std::vector<PixelRect>& joined);

// The areas of a width x height picture to copy after a Compose that
// changed `changed` (FaceCanvas::ChangedAreas), its tiles frameHeight pixels
// high: the whole picture when `whole` asks for it, or when the changed
// areas cover most of it (one copy of the whole costs less than many);
// else the changed areas, joined along their bands where the unchanged
// pixels between cost less to copy than another copy does.
void AreasToCopy(bool whole, const std::vector<PixelRect>& changed, int width, int height,
                 int frameHeight, std::vector<PixelRect>& areas);

// Whether two of the worlds show on a common part of the window (mirrored
// monitors): the world copied last must then cover the others there every
// tick, so every picture is copied whole.
bool ViewsOverlap(const std::vector<WorldPlace>& places);

// The copies that show the areas (in picture pixels) of a width x height
// picture placed at `area` of the client area, on each view (monitor) that
// shows it, clipped to the picture and to the view. Appended to copies.
void PlanCopies(const ScreenRect& area, const std::vector<ScreenRect>& views, int width, int height,
                const std::vector<PixelRect>& areas, std::vector<PictureCopy>& copies);
