#pragma once
// The screen-saver host: process entry, run modes, the saver window,
// dismissal on input and the saver password. It runs the saver through
// the hooks of SaverContract.h and knows nothing else of it.
#include <windows.h>

#include <cstdint>

#include "SaverContract.h"

// The entry proper: splits the command line, runs one mode and ends the
// process with the mode's result as exit code. Never returns.
[[noreturn]] void SaverEntry();

// Records the instance and the platform family, then runs the mode that
// the argument text names, under the fault guard. Returns the exit code.
int32_t DispatchMode(HINSTANCE instance, const char* argumentText);

// "p" and "l": a preview inside the window whose decimal handle is text.
int32_t RunPreview(const char* text);

// The configuration dialog (IDD_OPTIONS); owner may be null.
int32_t ShowConfigDialog(HWND owner);

// "a": lets the user change the saver password; always 0.
int32_t ChangePassword(const char* text);
void RequestPasswordChange(HWND owner);

// Runs the full-screen saver (no parent) or a preview inside parent until
// the window is gone. Returns 0 after a run, also when another full-screen
// saver is already up; -1 when no window could be made.
int32_t RunSaverWindow(HWND parent);

// The class window procedure of "WindowsScreenSaverClass".
LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Nonzero when the saver may close now (asks for the password if needed).
uint32_t CheckCanClose(HWND window);

void LoadPasswordVerifier();
void UnloadPasswordVerifier();

// The system's screen-saver-running state; acts on the 9x family only.
void SetSaverRunning(uint32_t on);
