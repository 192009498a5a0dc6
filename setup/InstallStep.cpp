#include <cstdio>
#include <cstring>

#include "SetupMessage.h"
#include "SetupSteps.h"

namespace {

// The longest Windows directory path (before its "\" is appended) for which
// the saver path and the hand-over command line still fit their buffers.
constexpr std::size_t kHandOverPrefixLength = sizeof kHandOverFormat - 1 - 2;  // no "%s"
constexpr std::size_t kMaxWindowsDirectoryLength =
    kPathSize - 1 - kHandOverPrefixLength - 1 - (sizeof kSaverFileName - 1);

}  // namespace

void LowerCaseAscii(char* text) {
  for (; *text != '\0'; ++text)
    if (*text >= 'A' && *text <= 'Z') *text = static_cast<char>(*text - 'A' + 'a');
}

void HandOver(const SetupPlatform& platform, const char* saverPath) {
  char commandLine[kPathSize];
  const int length = std::snprintf(commandLine, sizeof commandLine,
                                   "rundll32.exe desk.cpl,InstallScreenSaver %s", saverPath);
  if (length < 0 || static_cast<std::size_t>(length) >= sizeof commandLine)
    RaiseSetupMessage("The path %s is too long to install!\n", saverPath);
  if (!platform.startProcess(commandLine))
    RaiseSetupMessage("Can`t start %s!\nTo finish, right-click %s and choose Install.\n",
                      commandLine, saverPath);
}

bool InstallStep(const SetupPlatform& platform, DialogHandle dialog) {
  try {
    char path[kPathSize] = {};
    const unsigned length = platform.windowsDirectory(path, kPathSize);
    if (length == 0) RaiseSetupMessage("Cant find Windows directory path!\n");
    path[kPathSize - 1] = '\0';
    if (length >= kPathSize || std::strlen(path) > kMaxWindowsDirectoryLength)
      RaiseSetupMessage("The Windows directory path is too long!\n");
    std::strcat(path, "\\");
    LowerCaseAscii(path);
    CopyListWalk(platform, dialog, path, kCopyListPath);
    std::strcat(path, kSaverFileName);
    HandOver(platform, path);
    return true;
  } catch (const SetupMessage& message) {
    platform.messageBox(dialog, message.text(), kErrorCaption, kErrorBoxFlags);
    return false;
  }
}
