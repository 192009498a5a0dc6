#pragma once
// The `programs:` resource of a user's ~/.xscreensaver: the list of display
// modes the XScreenSaver daemon runs and xscreensaver-settings shows. Its
// value is one logical line made of physical lines joined by a backslash at
// their end; entries are separated by the escape "\n" and read
//   [-] [visual:] ["Name"] command [arguments]
// ("-" marks a mode that is listed but switched off).
#include <string>

// One entry of the list.
struct ProgramsEntry {
  std::string name;     // shown by xscreensaver-settings, e.g. "Life Faces"
  std::string command;  // e.g. "lifefaces --root"
};

enum class ProgramsChange {
  kAdded,    // the text now lists the entry
  kPresent,  // an entry already runs the same program: the text is unchanged
};

// Adds `entry` at the end of the last `programs:` resource of `text` (the
// contents of a ~/.xscreensaver; empty for a new file), so that the indices
// that `selected:` keeps into the list stay valid. Only inserts bytes:
// every byte of `text` is kept, in order. Without a `programs:` resource,
// one holding only the entry is appended; the daemon and
// xscreensaver-settings add the system's own modes after it when they read
// the file. An entry counts as present when its program (the command's
// first word, without its folder) is the entry's.
ProgramsChange AddToProgramsList(std::string& text, const ProgramsEntry& entry);
