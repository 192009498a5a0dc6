#pragma once
// Process-wide state of the screen-saver host.
#include <windows.h>

#include <cstdint>

using ImeContext = struct HIMC__*;
using VerifyPasswordFn = BOOL(WINAPI*)(HWND window);
using AssociateContextFn = ImeContext(WINAPI*)(HWND window, ImeContext context);

// Set once at entry.
extern HINSTANCE appInstance;   // the saver program's own module
extern uint32_t win9xFamily;    // 1 on the Windows 95/98/Me family

// The saver window and its dismissal.
extern HWND saverWindow;
extern uint32_t isPreview;         // set before the preview window is created
extern uint32_t closing;           // nonzero once closing has been allowed
extern uint32_t checkingPassword;  // 1 while the password question is open
extern POINT lastCursorPos;        // screen coordinates
extern uint32_t lastPasswordAsk;   // tick count at the end of the last question

// The password verifier, while loaded (9x family only).
extern HMODULE passwordLibrary;
extern VerifyPasswordFn verifyPasswordFn;

// The input-method library, when the process already has it.
extern HMODULE imeLibrary;
extern AssociateContextFn associateContextFn;
extern ImeContext previousImeContext;

// Looks up an export of a loaded library as a function of type Fn; null
// when the library is absent or lacks it.
template <typename Fn>
Fn LookUpExport(HMODULE library, const char* name) {
  if (library == nullptr) return nullptr;
  // The detour through a plain function type keeps the cast well-defined
  // for GCC's function-type checks.
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}
