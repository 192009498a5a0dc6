#include "Registration.h"
#include "SetupSteps.h"

namespace {

inline constexpr char kUninstallCaption[] = "Remove Life";
inline constexpr char kDesktopKey[] = "Control Panel\\Desktop";
inline constexpr char kScreenSaverValue[] = "SCRNSAVE.EXE";

constexpr unsigned kAskFlags = 0x24;      // MB_YESNO | MB_ICONQUESTION
constexpr unsigned kDoneFlags = 0x40;     // MB_OK | MB_ICONINFORMATION
constexpr unsigned kWarningFlags = 0x30;  // MB_OK | MB_ICONEXCLAMATION

// Clears the current user's screen saver when it is one of our files.
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

}  // namespace

int UninstallStep(const SetupPlatform& platform) {
  char name[kPathSize] = {};
  if (!platform.readString(RegistryRoot::LocalMachine, kUninstallKey, "DisplayName", name,
                           kPathSize)) {
    platform.messageBox(nullptr, "Life is not installed.", kUninstallCaption, kDoneFlags);
    return 0;
  }
  if (platform.messageBox(nullptr,
                          "Remove Life and the files it installed?\n\n"
                          "Your Life settings are kept.",
                          kUninstallCaption, kAskFlags) != kAnswerYes)
    return 2;

  const std::vector<std::string> files = RegisteredFiles(platform);
  ForgetOurScreenSaver(platform, files);
  std::string left;
  for (const std::string& file : files)
    if (!platform.removeFile(file.c_str())) left += "\n" + file;
  platform.deleteKey(RegistryRoot::LocalMachine, kUninstallKey);

  if (left.empty()) {
    platform.messageBox(nullptr, "Life has been removed.", kUninstallCaption, kDoneFlags);
    return 0;
  }
  const std::string text = "Life has been removed, but these files are in use and were kept:\n" +
                           left + "\n\nDelete them once they are no longer in use.";
  platform.messageBox(nullptr, text.c_str(), kUninstallCaption, kWarningFlags);
  return 1;
}
