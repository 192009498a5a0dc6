#include <cstring>

#include "PlainFileName.h"
#include "Registration.h"
#include "SetupSteps.h"

namespace {

inline constexpr char kUninstallCaption[] = "Remove Life";
inline constexpr char kDesktopKey[] = "Control Panel\\Desktop";
inline constexpr char kScreenSaverValue[] = "SCRNSAVE.EXE";

constexpr unsigned kAskFlags = 0x24;      // MB_YESNO | MB_ICONQUESTION
constexpr unsigned kDoneFlags = 0x40;     // MB_OK | MB_ICONINFORMATION
constexpr unsigned kWarningFlags = 0x30;  // MB_OK | MB_ICONEXCLAMATION

constexpr int kNothingRemoved = 3;

// The Windows directory as install wrote it into the record: lower case,
// "\" appended; empty when it cannot be had.
std::string RecordedWindowsDirectory(const SetupPlatform& platform) {
  char path[kPathSize] = {};
  const unsigned length = platform.windowsDirectory(path, kPathSize);
  if (length == 0 || length >= kPathSize - 1) return "";
  std::strcat(path, "\\");
  LowerCaseAscii(path);
  return path;
}

// True when the entry is exactly <Windows directory>\<plain file name>.
bool IsInWindowsDirectory(const std::string& entry, const std::string& windows) {
  return !windows.empty() && entry.size() > windows.size() &&
         SameText(entry.substr(0, windows.size()), windows) &&
         IsPlainFileName(entry.c_str() + windows.size());
}

// Clears the current user's screen saver when it is our saver, and touches
// no other value of the user's desktop settings.
void ForgetOurScreenSaver(const SetupPlatform& platform, const std::vector<std::string>& files) {
  char current[kPathSize] = {};
  if (!platform.readString(RegistryRoot::CurrentUser, kDesktopKey, kScreenSaverValue, current,
                           kPathSize))
    return;
  for (const std::string& file : files)
    if (SameText(file, current) && SameText(FileNameOf(file.c_str()), kSaverFileName)) {
      platform.deleteValue(RegistryRoot::CurrentUser, kDesktopKey, kScreenSaverValue);
      return;
    }
}

int Refuse(const SetupPlatform& platform, const char* text) {
  const std::string message = std::string(text) + "\n\nNothing was removed.";
  platform.messageBox(nullptr, message.c_str(), kUninstallCaption, kWarningFlags);
  return kNothingRemoved;
}

// Removes the files of the record that are Life's and the registration,
// then tells the user. Returns 0, or 1 when something was left.
int RemoveFilesAndRegistration(const SetupPlatform& platform,
                               const std::vector<std::string>& files,
                               const std::string& windows) {
  std::string inUse, outside;
  for (const std::string& file : files) {
    if (!IsInWindowsDirectory(file, windows))
      outside += "\n" + file;
    else if (!platform.removeFile(file.c_str()))
      inUse += "\n" + file;
  }
  platform.deleteKey(RegistryRoot::LocalMachine, kUninstallKey);

  if (inUse.empty() && outside.empty()) {
    platform.messageBox(nullptr, "Life has been removed.", kUninstallCaption, kDoneFlags);
    return 0;
  }
  std::string text = "Life has been removed, but ";
  if (!inUse.empty())
    text += "these files are in use and were kept:\n" + inUse +
            "\n\nDelete them once they are no longer in use.";
  if (!outside.empty())
    text += std::string(inUse.empty() ? "these" : "\n\nThese") +
            " entries of its record are not files of the Windows directory and were left "
            "alone:\n" + outside;
  platform.messageBox(nullptr, text.c_str(), kUninstallCaption, kWarningFlags);
  return 1;
}

}  // namespace

int UninstallStep(const SetupPlatform& platform, const UninstallOptions& options) {
  const bool split = !options.filesOnly && platform.needsElevation();
  // Unattended, there is nobody to answer a consent prompt.
  if (options.silent && split) return kElevationRequiredExitCode;
  if (!IsRegistered(platform)) {
    platform.messageBox(nullptr, "Life is not installed.", kUninstallCaption, kDoneFlags);
    return 0;
  }
  if (!IsOurRegistration(platform))
    return Refuse(platform,
                  "The entry \"Life\" in the list of installed programs was not made by Life "
                  "Setup.");
  std::vector<std::string> files;
  if (ReadRegisteredFiles(platform, &files) == RecordState::Unreadable)
    return Refuse(platform,
                  "Life can`t be removed: its list of installed files is missing or damaged.");
  const std::string windows = RecordedWindowsDirectory(platform);
  if (windows.empty()) return Refuse(platform, "Cant find Windows directory path!");

  if (!options.filesOnly &&
      platform.messageBox(nullptr,
                          "Remove Life and the files it installed?\n\n"
                          "Your Life settings are kept.",
                          kUninstallCaption, kAskFlags) != kAnswerYes)
    return 2;

  std::vector<std::string> ours;
  for (const std::string& file : files)
    if (IsInWindowsDirectory(file, windows)) ours.push_back(file);
  if (!split) {
    if (!options.filesOnly) ForgetOurScreenSaver(platform, ours);
    return RemoveFilesAndRegistration(platform, files, windows);
  }

  unsigned long code = 0;
  const std::string arguments = std::string("/uninstall ") + kElevatedSwitch;
  switch (platform.runElevated(nullptr, arguments.c_str(), &code)) {
    case ElevatedRun::Ended:
      // The screen saver is the user's setting: cleared here, as the user.
      if (code <= 1) ForgetOurScreenSaver(platform, ours);
      return static_cast<int>(code);
    case ElevatedRun::Declined:
      platform.messageBox(nullptr,
                          "Removing Life needs administrator rights.\n\nNothing was removed.",
                          kUninstallCaption, kWarningFlags);
      return 2;
    case ElevatedRun::Failed:
      break;
  }
  return Refuse(platform, "Can`t start the removal as administrator!");
}
