#pragma once
#include <cstdint>

// The saver's command line: the argument text after the program name, the
// run mode its first option letter names, and decimal window handles.

// Steps to the next character of the text; on Windows this is CharNextA,
// which steps over a double-byte character of the active code page whole.
using NextCharFn = const char* (*)(const char* text);

// A byte-by-byte step, for plain single-byte text.
const char* NextByte(const char* text);

// Skips the program name (quoted, or up to the first blank) and the blanks
// after it (bytes 1 to 32); what is left is the argument text.
const char* ArgumentText(const char* commandLine, NextCharFn next);

enum class RunMode {
  kConfigure,       // no letter: the configuration dialog without an owner
  kConfigureOwned,  // "c": the dialog owned by the foreground window
  kFullScreen,      // "s"
  kPreview,         // "p" or "l", followed by a window handle
  kChangePassword,  // "a", optionally followed by a window handle
  kUnknown,         // any other byte
};

struct ModeChoice {
  RunMode mode;
  // For kPreview and kChangePassword: the text after the letter and the
  // spaces that follow it. Otherwise where the walk stopped.
  const char* rest;
};

// Picks the mode from the first letter of the argument text, skipping
// spaces, "-" and "/" before it. Letters match in either case.
ModeChoice ChooseMode(const char* argumentText);

// Reads the leading decimal digits of text, modulo 2^32; 0 when the text
// does not begin with a digit.
uint32_t ParseDecimal(const char* text);
