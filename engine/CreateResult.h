#pragma once

// How making a world or a canvas ended. The failures are listed in the order
// they are tested, each with the fatal message the saver shows for it.
enum class CreateResult {
  kCreated,
  kOutOfMemory,  // "Out of memory." / "No Memory"
  kNoFaceName,   // "No target filename specified." / "No filename"
  kBadFrame,     // "Bad frame dimensions, %s" / "Bad Frame"
  kNoFaces,      // "Unable to find, %s" / "No Faces"
  kNoSurface,    // "Can`t create cellmap." / "???"
};
