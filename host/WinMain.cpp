// The runtime's start-up hands over to the host's entry, which ends the
// process itself.
#include <windows.h>

#include "SaverHost.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { SaverEntry(); }
