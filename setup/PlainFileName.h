#pragma once
// The one rule for the file names setup copies into and removes from the
// Windows directory.

// True when `name` names a file directly inside a folder and nothing else:
// not empty, at most kMaxPlainNameLength characters, none of \ / : * ? " <
// > | nor a control character, not "." or "..", no trailing dot or blank,
// and not a device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, CONIN$,
// CONOUT$, CLOCK$), with or without an extension.
bool IsPlainFileName(const char* name);

// The longest file name the rule lets through.
constexpr unsigned kMaxPlainNameLength = 255;
