#pragma once
// What the setup dialog does with its messages, apart from the window
// plumbing: the intro at initialisation, and the Install and Cancel commands.
#include "SetupPlatform.h"

// WM_INITDIALOG, after the icon is set: shows the intro text, or the reason
// it could not be read.
void InitSetupDialog(const SetupPlatform& platform, DialogHandle dialog);

// WM_COMMAND with the low word `command`. Install runs the platform check
// and the install step, hides the dialog when the install succeeded and ends
// the dialog whatever the outcome; Cancel ends it. Returns true for these
// two commands, false for any other.
bool SetupCommand(const SetupPlatform& platform, DialogHandle dialog, unsigned command);
