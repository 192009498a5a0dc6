#pragma once
// The configuration dialog's helpers and the About box. The dialog
// procedure itself, OptionsDialogProc, is one of the hooks of the contract
// with the host (SaverContract.h).
#include <windows.h>

#include <cstdint>

// The About box, dialog resource 107.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the colour chooser owned by `owner`, starting from `color` and with
// all 16 custom colours set to it; stores the chosen colour in `color` when
// the user confirms, else leaves it.
void ChooseDisplayColor(HWND owner, uint32_t& color);

// Gives edit `editId` of `dialog` an up-down control with the same
// identifier, range lower..upper and the position `position`. A position
// outside the range is shown in the edit as it is.
void AttachUpDown(HWND dialog, int editId, uint32_t lower, uint32_t upper, uint32_t position);
