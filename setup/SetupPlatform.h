#pragma once
// What the setup steps need of the platform, as a table of functions: the
// Windows build fills it with the Win32 calls, the unit tests with fakes.
#include <cstddef>

#ifdef _WIN32
using DialogHandle = struct HWND__*;
#else
struct NativeDialog;
using DialogHandle = NativeDialog*;
#endif

// Size of every path, line and command-line buffer, terminating NUL included.
constexpr std::size_t kPathSize = 260;

// Message box flags and answers, with the platform's values.
constexpr unsigned kErrorBoxFlags = 0x1030;     // MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL
constexpr unsigned kQuestionBoxFlags = 0x1024;  // MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL
constexpr int kAnswerYes = 6;                   // IDYES

// Platform ids that setup accepts.
constexpr unsigned long kPlatformWindows9x = 1;  // VER_PLATFORM_WIN32_WINDOWS
constexpr unsigned long kPlatformWindowsNt = 2;  // VER_PLATFORM_WIN32_NT

// How a file copy ended; `error` is the platform's error code of a failure.
enum class CopyResult { Copied, SourceMissing, DestinationExists, Failed };
struct CopyOutcome {
  CopyResult result;
  unsigned long error;
};

// The registry roots setup writes under.
enum class RegistryRoot { LocalMachine, CurrentUser };

// How an elevated instance of setup went: it ran to its end, the user
// declined the consent prompt, or it could not be started.
enum class ElevatedRun { Ended, Declined, Failed };

// The exit code of setup when it needs administrator rights that it may
// not ask for (ERROR_ELEVATION_REQUIRED).
constexpr int kElevationRequiredExitCode = 740;

struct SetupPlatform {
  // MessageBoxA: shows the text, returns the button pressed.
  int (*messageBox)(DialogHandle owner, const char* text, const char* caption, unsigned flags);
  // GetVersionExA: false when it fails, else true and the platform id.
  bool (*platformId)(unsigned long* id);
  // GetWindowsDirectoryA: 0 on failure; a result of `size` or more means
  // the buffer was too small and holds nothing usable.
  unsigned (*windowsDirectory)(char* buffer, unsigned size);
  // CopyFileA, with GetLastError sorted into the kinds setup tells apart.
  CopyOutcome (*copyFile)(const char* source, const char* destination, bool failIfExists);
  // The platform's short description of an error code, NUL-terminated.
  void (*describeError)(unsigned long error, char* text, std::size_t size);
  // CreateProcessA of the program at the full path `application` with the
  // command line, not waited for; false when it could not be started.
  bool (*startProcess)(const char* application, char* commandLine);
  // SetDlgItemTextA on the intro edit control.
  void (*setIntroText)(DialogHandle dialog, const char* text);
  // ShowWindow with SW_HIDE, and EndDialog with result 0.
  void (*hideDialog)(DialogHandle dialog);
  void (*endDialog)(DialogHandle dialog);
  // GetSystemDirectoryA, with the contract of windowsDirectory.
  unsigned (*systemDirectory)(char* buffer, unsigned size);
  // The full path of the running setup program; false when it does not fit.
  bool (*programPath)(char* buffer, unsigned size);
  // The size of a file in bytes, or -1 when there is no such file.
  long long (*fileSize)(const char* path);
  // Deletes a file; true when it is gone afterwards, also when it was never
  // there. The running program's own file is marked for deletion at the
  // next restart, by the platform's own means; true when it is marked.
  bool (*removeFile)(const char* path);
  // Registry values under `root`\`key`; writing creates the key. Each is
  // false when it fails (reading also when the value is missing or longer
  // than `size` - 1). Deleting a key deletes its values with it.
  bool (*writeString)(RegistryRoot root, const char* key, const char* name, const char* value);
  bool (*writeNumber)(RegistryRoot root, const char* key, const char* name, unsigned long value);
  bool (*readString)(RegistryRoot root, const char* key, const char* name, char* buffer,
                     unsigned size);
  bool (*deleteValue)(RegistryRoot root, const char* key, const char* name);
  bool (*deleteKey)(RegistryRoot root, const char* key);
  // A DWORD value; false when it is missing or of another type.
  bool (*readNumber)(RegistryRoot root, const char* key, const char* name, unsigned long* value);
  bool (*keyExists)(RegistryRoot root, const char* key);
  // True on Windows Vista and later when this process cannot write into
  // the Windows directory: the copying and the registration then need an
  // elevated instance of setup.
  bool (*needsElevation)();
  // Starts the running program again with `arguments`, elevated through
  // the platform's consent prompt (owned by `owner`), in the current
  // directory, and waits for it to end, keeping `owner` painted but
  // disabled meanwhile. `exitCode` gets its exit code when it Ended, the
  // platform's error when it Failed.
  ElevatedRun (*runElevated)(DialogHandle owner, const char* arguments, unsigned long* exitCode);
};
