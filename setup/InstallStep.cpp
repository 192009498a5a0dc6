#include <cstdio>
#include <cstring>

#include "Registration.h"
#include "SetupMessage.h"
#include "SetupSteps.h"

namespace {

// The longest Windows directory path (before its "\" is appended) for which
// the saver path and the hand-over command line still fit their buffers; a
// path with a space needs two characters more for its quotes.
constexpr std::size_t kHandOverPrefixLength = sizeof kHandOverFormat - 1 - 2;  // no "%s"
constexpr std::size_t kMaxWindowsDirectoryLength =
    kPathSize - 1 - kHandOverPrefixLength - 1 - (sizeof kSaverFileName - 1);

// The folder of the system's own rundll32.exe, with "\" appended: the
// system directory, or on the 9x family the Windows directory.
std::string RundllFolder(const SetupPlatform& platform, const InstallOptions& options) {
  char folder[kPathSize] = {};
  const unsigned length = options.windows9x ? platform.windowsDirectory(folder, kPathSize)
                                            : platform.systemDirectory(folder, kPathSize);
  if (length == 0) RaiseSetupMessage("Cant find the system directory!\n");
  folder[kPathSize - 1] = '\0';
  if (length >= kPathSize) RaiseSetupMessage("The system directory path is too long!\n");
  std::string path = folder;
  if (path.back() != '\\') path += '\\';
  return path;
}

// Copies setup itself into the Windows directory as the uninstaller, always
// replacing an older one.
void CopyUninstaller(const SetupPlatform& platform, const std::string& windowsDirectory,
                     CopiedFiles* copied) {
  char program[kPathSize] = {};
  if (!platform.programPath(program, kPathSize))
    RaiseSetupMessage("Cant find the path of setup itself!\n");
  const std::string destination = windowsDirectory + kUninstallerName;
  if (SameText(program, destination)) return;  // run from the installed copy
  CopyOutcome outcome = platform.copyFile(program, destination.c_str(), true);
  bool created = outcome.result == CopyResult::Copied;
  if (outcome.result == CopyResult::DestinationExists)
    outcome = platform.copyFile(program, destination.c_str(), false);
  if (outcome.result != CopyResult::Copied) {
    char reason[256] = {};
    platform.describeError(outcome.error, reason, sizeof reason);
    reason[sizeof reason - 1] = '\0';
    RaiseSetupMessage("Can`t copy %s to %s!\n%s", program, destination.c_str(), reason);
  }
  (created ? copied->created : copied->replaced).push_back(destination);
}

// What this install owns: what earlier installs of ours recorded, and what
// this one wrote, each path once.
std::vector<std::string> OwnedFiles(const SetupPlatform& platform, const CopiedFiles& copied) {
  std::vector<std::string> owned;
  if (IsOurRegistration(platform)) owned = RegisteredFiles(platform);
  for (const auto* list : {&copied.created, &copied.replaced})
    for (const std::string& path : *list) {
      bool known = false;
      for (const std::string& have : owned) known = known || SameText(have, path);
      if (!known) owned.push_back(path);
    }
  return owned;
}

}  // namespace

void LowerCaseAscii(char* text) {
  for (; *text != '\0'; ++text)
    if (*text >= 'A' && *text <= 'Z') *text = static_cast<char>(*text - 'A' + 'a');
}

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  std::string lowerA = a, lowerB = b;
  LowerCaseAscii(lowerA.data());
  LowerCaseAscii(lowerB.data());
  return lowerA == lowerB;
}

void HandOver(const SetupPlatform& platform, const char* rundllFolder, const char* saverPath) {
  char application[kPathSize];
  int length = std::snprintf(application, sizeof application, "%s%s", rundllFolder, kRundll32Name);
  if (length < 0 || static_cast<std::size_t>(length) >= sizeof application)
    RaiseSetupMessage("The path %s%s is too long!\n", rundllFolder, kRundll32Name);
  // Quoted, a path with a space reaches the installer as one argument.
  const char* quote = std::strchr(saverPath, ' ') != nullptr ? "\"" : "";
  char commandLine[kPathSize];
  length =
      std::snprintf(commandLine, sizeof commandLine,
                    "rundll32.exe desk.cpl,InstallScreenSaver %s%s%s", quote, saverPath, quote);
  if (length < 0 || static_cast<std::size_t>(length) >= sizeof commandLine)
    RaiseSetupMessage("The path %s is too long to install!\n", saverPath);
  if (!platform.startProcess(application, commandLine))
    RaiseSetupMessage("Can`t start %s!\nTo finish, right-click %s and choose Install.\n",
                      commandLine, saverPath);
}

// Runs the elevated instance for the copying and the registration. False
// when it ended with a failure, which it has told the user itself.
bool InstallByElevatedInstance(const SetupPlatform& platform, DialogHandle dialog) {
  unsigned long code = 0;
  switch (platform.runElevated(dialog, kElevatedSwitch, &code)) {
    case ElevatedRun::Ended:
      return code == 0;
    case ElevatedRun::Declined:
      RaiseSetupMessage(
          "Setup needs administrator rights to copy Life into the Windows directory.\n"
          "Nothing was installed.\n");
    case ElevatedRun::Failed:
      break;
  }
  char reason[256] = {};
  platform.describeError(code, reason, sizeof reason);
  reason[sizeof reason - 1] = '\0';
  RaiseSetupMessage("Can`t start setup as administrator!\n%s", reason);
}

bool InstallStep(const SetupPlatform& platform, DialogHandle dialog,
                 const InstallOptions& options) {
  CopiedFiles copied;
  try {
    char path[kPathSize] = {};
    const unsigned length = platform.windowsDirectory(path, kPathSize);
    if (length == 0) RaiseSetupMessage("Cant find Windows directory path!\n");
    path[kPathSize - 1] = '\0';
    const std::size_t quotes = std::strchr(path, ' ') != nullptr ? 2 : 0;
    if (length >= kPathSize || std::strlen(path) + quotes > kMaxWindowsDirectoryLength)
      RaiseSetupMessage("The Windows directory path is too long!\n");
    std::strcat(path, "\\");
    LowerCaseAscii(path);
    const bool handOver = !options.silent && !options.filesOnly;
    const std::string rundllFolder = handOver ? RundllFolder(platform, options) : "";
    if (!options.filesOnly && platform.needsElevation()) {
      if (!InstallByElevatedInstance(platform, dialog)) return false;
    } else {
      CopyListWalk(platform, dialog, path, kCopyListPath, &copied);
      CopyUninstaller(platform, path, &copied);
      RegisterInstall(platform, path, OwnedFiles(platform, copied));
    }
    if (handOver) {
      std::strcat(path, kSaverFileName);
      HandOver(platform, rundllFolder.c_str(), path);
    }
    return true;
  } catch (const SetupMessage& message) {
    // Unattended, a failed install takes back the files it added.
    if (options.silent)
      for (const std::string& file : copied.created) platform.removeFile(file.c_str());
    platform.messageBox(dialog, message.text(), kErrorCaption, kErrorBoxFlags);
    return false;
  }
}
