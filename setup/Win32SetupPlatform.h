#pragma once
#include "SetupPlatform.h"

// The setup steps' platform table filled with the Win32 calls.
const SetupPlatform& Win32SetupPlatform();

// Restricts where this process loads libraries from to the system
// directory, where the platform offers it; called first in main.
void RestrictLibrarySearch();
