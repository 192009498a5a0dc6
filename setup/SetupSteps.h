#pragma once
// The steps of setup: intro, platform check, install with its copy-list
// walk, file copy and hand-over to the control panel's installer.
#include <cstddef>
#include <string>
#include <vector>

#include "SetupPlatform.h"

// Both data files are named relative to the current directory.
inline constexpr char kIntroPath[] = ".\\_intro";
inline constexpr char kCopyListPath[] = ".\\_copy.lst";
inline constexpr char kSaverFileName[] = "life.scr";
inline constexpr char kHandOverFormat[] = "rundll32.exe desk.cpl,InstallScreenSaver %s";
inline constexpr char kRundll32Name[] = "rundll32.exe";

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

// True on a Win32 platform of the 9x or NT family, with its id in `id`
// when given; otherwise tells the user under "Setup Error" and returns false.
bool PlatformCheck(const SetupPlatform& platform, DialogHandle dialog, unsigned long* id = nullptr);

struct InstallOptions {
  // Unattended: no hand-over, and the files this run created are removed
  // again when the install fails. Questions and messages are the
  // platform's business (see Silenced).
  bool silent = false;
  // The 9x family keeps rundll32.exe in the Windows directory.
  bool windows9x = false;
  // The elevated instance's part: the copying and the registration only.
  bool filesOnly = false;
};

// Copies the files of the copy list and setup itself into the Windows
// directory, registers the install, and hands life.scr to the installer.
// True when all was done; on a failure tells the user under "Setup Error"
// and returns false. Files copied before a failure stay in place (unless
// silent), and a failure before the registration registers nothing.
// When the platform needs elevation, an elevated instance of setup
// (kElevatedSwitch) does the copying and the registration, and asks the
// questions; the hand-over stays with this process, the user's own.
bool InstallStep(const SetupPlatform& platform, DialogHandle dialog,
                 const InstallOptions& options = {});

// The destinations a walk wrote: files it created, and files that were
// there and that it replaced (those kept on No are in neither).
struct CopiedFiles {
  std::vector<std::string> created;
  std::vector<std::string> replaced;
};

// Runs the file copy step for every non-empty line of the list, noting
// what it wrote in `copied` when given. Raises a SetupMessage when the list
// cannot be opened or holds a line too long for a path, and passes on the
// ones the file copy step raises.
void CopyListWalk(const SetupPlatform& platform, DialogHandle dialog, const char* windowsDirectory,
                  const char* listPath, CopiedFiles* copied = nullptr);

enum class CopyDone { Created, Replaced, Kept };

// Copies one source into the Windows directory (which ends in "\") under
// its file name, asking before it replaces an existing file. Raises a
// SetupMessage for a missing source, a destination path too long, a copy
// that fails otherwise, and an overwrite that fails after the user's Yes.
CopyDone FileCopyStep(const SetupPlatform& platform, DialogHandle dialog,
                      const char* windowsDirectory, const char* source);

// Starts the rundll32.exe of `rundllFolder` (which ends in "\") as
// "rundll32.exe desk.cpl,InstallScreenSaver <saverPath>", the saver path in
// quotes when it holds a space, and does not wait for it. Raises a
// SetupMessage when a path does not fit or the process cannot be started.
void HandOver(const SetupPlatform& platform, const char* rundllFolder, const char* saverPath);

// The same platform with every question answered Yes and every message
// dropped unseen: what setup runs on when it is told to be silent.
SetupPlatform Silenced(const SetupPlatform& platform);

// The hidden switch of the elevated instance. It grants nothing: the
// instance re-reads the copy list and the registration itself and trusts
// nothing else from the instance that started it.
inline constexpr char kElevatedSwitch[] = "/elevated";

struct UninstallOptions {
  bool silent = false;      // no question, no message (the platform is Silenced)
  bool filesOnly = false;   // the elevated instance's part: files and registration
};

// Removes the registered install when it is ours and its record readable:
// asks once, removes the recorded files that lie directly in the Windows
// directory, clears the user's screen saver when it names our saver, and
// removes the registration; the user's settings stay. Files that cannot be
// removed, and record entries outside the Windows directory (left alone),
// are named at the end. With elevation needed, an elevated instance removes
// the files and the registration, and this process, the user's own, clears
// the screen saver. Returns the exit code: 0 when Life is gone (or was not
// installed), 1 when files were left, 2 when the user said No (or declined
// the consent prompt), 3 when the registration is not ours or its record
// cannot be read (nothing removed), 740 when silent and elevation needed.
int UninstallStep(const SetupPlatform& platform, const UninstallOptions& options = {});

// Setup with /S: installs without a dialog; the exit code is 0 on success,
// 740 without the administrator rights it needs (nothing done).
int SilentInstall(const SetupPlatform& platform);

// The part of a source path after its last backslash, or the whole path.
const char* FileNameOf(const char* source);

// Lower-cases the letters A to Z in place; other bytes stay as they are.
void LowerCaseAscii(char* text);

// Equal but for the case of the letters A to Z.
bool SameText(const std::string& a, const std::string& b);
