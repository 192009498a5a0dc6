#pragma once
// The whole contract between the screen-saver host (host/) and the saver it
// runs. The host knows the saver only through the three hooks below; the
// saver knows the host only through DefSaverProc and AppInstance. Nothing
// else crosses between them.

// The configuration dialog's template: the saver's resources hold it, the
// host opens it with OptionsDialogProc. Also read by the resource compiler.
#define IDD_OPTIONS 2003

#ifndef RC_INVOKED
#include <windows.h>

// --- Provided by the saver -------------------------------------------------

// The saver's own window procedure. The host's class procedure passes it
// every message it does not consume; what it does not handle it hands on,
// with the same four values, to DefSaverProc and returns that result. At
// WM_CREATE the creation parameter (CREATESTRUCT lpCreateParams) points at
// the window's MonitorLayout (MonitorLayout.h), or is null for one monitor
// covering the client area.
LRESULT SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The procedure of the configuration dialog IDD_OPTIONS.
INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Registers window classes the configuration dialog needs before it opens.
// Returns nonzero on success.
BOOL PrepareDialogClasses(HINSTANCE instance);

// --- Provided by the host --------------------------------------------------

// Default handling for SaverWindowProc: input closes the full-screen saver,
// a close asks for the password where one is in use.
LRESULT DefSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The saver program's own module, for its resources; set at entry.
HINSTANCE AppInstance();
#endif
