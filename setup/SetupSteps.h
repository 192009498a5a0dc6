#pragma once
// The steps of setup: intro, platform check, install with its copy-list
// walk, file copy and hand-over to the control panel's installer.
#include <cstddef>

#include "SetupPlatform.h"

// Both data files are named relative to the current directory.
inline constexpr char kIntroPath[] = ".\\_intro";
inline constexpr char kCopyListPath[] = ".\\_copy.lst";
inline constexpr char kSaverFileName[] = "life.scr";
inline constexpr char kHandOverFormat[] = "rundll32.exe desk.cpl,InstallScreenSaver %s";

inline constexpr char kErrorCaption[] = "Setup Error";
inline constexpr char kQuestionCaption[] = "Overwrite?";

// Bytes of the intro file that are shown.
constexpr std::size_t kIntroSize = 1024;

// Reads at most `size` bytes of the intro file into `buffer`, which holds
// size + 1 bytes and is zero-filled first, so the text always ends in a NUL.
// When the file cannot be opened, puts a message into the intro control
// instead and returns false.
bool IntroStep(const SetupPlatform& platform, DialogHandle dialog, const char* path, char* buffer,
               std::size_t size);

// True on a Win32 platform of the 9x or NT family; otherwise tells the user
// under "Setup Error" and returns false.
bool PlatformCheck(const SetupPlatform& platform, DialogHandle dialog);

// Copies the files of the copy list into the Windows directory and hands
// life.scr to the installer. True when both were done; on a failure tells
// the user under "Setup Error" and returns false. Files copied before a
// failure stay in place.
bool InstallStep(const SetupPlatform& platform, DialogHandle dialog);

// Runs the file copy step for every non-empty line of the list. Raises a
// SetupMessage when the list cannot be opened or holds a line too long for
// a path, and passes on the ones the file copy step raises.
void CopyListWalk(const SetupPlatform& platform, DialogHandle dialog, const char* windowsDirectory,
                  const char* listPath);

// Copies one source into the Windows directory (which ends in "\") under
// its file name, asking before it replaces an existing file. Raises a
// SetupMessage for a missing source, a destination path too long, a copy
// that fails otherwise, and an overwrite that fails after the user's Yes.
void FileCopyStep(const SetupPlatform& platform, DialogHandle dialog, const char* windowsDirectory,
                  const char* source);

// Starts "rundll32.exe desk.cpl,InstallScreenSaver <saverPath>" and does not
// wait for it. Raises a SetupMessage when the command line does not fit.
void HandOver(const SetupPlatform& platform, const char* saverPath);

// The part of a source path after its last backslash, or the whole path.
const char* FileNameOf(const char* source);

// Lower-cases the letters A to Z in place; other bytes stay as they are.
void LowerCaseAscii(char* text);
