#include "SetupSteps.h"

namespace {

constexpr unsigned kYesNoFlag = 0x4;  // MB_YESNO
constexpr int kAnswerOk = 1;          // IDOK

int AnswerUnseen(DialogHandle, const char*, const char*, unsigned flags) {
  return (flags & kYesNoFlag) != 0 ? kAnswerYes : kAnswerOk;
}

}  // namespace

SetupPlatform Silenced(const SetupPlatform& platform) {
  SetupPlatform silenced = platform;
  silenced.messageBox = AnswerUnseen;
  return silenced;
}

int SilentInstall(const SetupPlatform& platform) {
  // Unattended, there is nobody to answer a consent prompt.
  if (platform.needsElevation()) return kElevationRequiredExitCode;
  const SetupPlatform silenced = Silenced(platform);
  unsigned long id = 0;
  if (!PlatformCheck(silenced, nullptr, &id)) return 1;
  return InstallStep(silenced, nullptr, {true, id == kPlatformWindows9x}) ? 0 : 1;
}
