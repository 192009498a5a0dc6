#pragma once
#include "SetupPlatform.h"

// The setup steps' platform table filled with the Win32 calls.
const SetupPlatform& Win32SetupPlatform();
