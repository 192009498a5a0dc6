#pragma once
// Handles the engine passes through without looking inside: the window its
// pictures are made for, and the activity-line font. On Windows these are
// the platform's own handle types; natively they name our off-screen stand-ins.
#ifdef _WIN32
using WindowHandle = struct HWND__*;
using FontHandle = struct HFONT__*;
#else
struct NativeWindow;
struct NativeFont;
using WindowHandle = NativeWindow*;
using FontHandle = NativeFont*;

// Natively, the "window" a map draws for: pictures live in memory only.
WindowHandle OffscreenWindow();
#endif
