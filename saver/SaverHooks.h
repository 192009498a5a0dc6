#pragma once
// The three hooks through which the screen-saver host runs this saver.
#include <windows.h>

// The saver's own window procedure. The host's class procedure passes it
// every message it does not consume; what it does not handle goes on to
// DefSaverProc.
LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The procedure of the configuration dialog, resource 2003.
INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Registers window classes the configuration dialog needs before it opens.
// Returns nonzero on success.
BOOL PrepareDialogClasses(HINSTANCE instance);
