#pragma once

// What the engine takes from the system when a world and its canvas are
// made: the world's arrays and the pictures (surfaces). Each asks
// MayAcquire first, so that tests can make any one of them fail and see the
// saver end with its message rather than crash or leak.
enum class Acquisition { kWorldArray, kSurface };

// Returns false to make this acquisition fail.
using AcquisitionHook = bool (*)(Acquisition what);

// Null (the default): every acquisition is tried for real.
void SetAcquisitionHook(AcquisitionHook hook);
bool MayAcquire(Acquisition what);
