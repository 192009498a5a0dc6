#pragma once
#include "SetupPlatform.h"

// The setup steps' platform table filled with the Win32 calls.
const SetupPlatform& Win32SetupPlatform();

// The temporary copy's job after an uninstall: waits for the process to
// end, then deletes its file `path`; the copy goes at the next restart.
int FinishRemoval(unsigned long processId, const char* path);
