#include "SetupDialog.h"

#include "SetupResources.h"
#include "SetupSteps.h"

namespace {
// The intro text with one NUL past its 1024 bytes that is never overwritten.
char introText[kIntroSize + 1];
}  // namespace

void InitSetupDialog(const SetupPlatform& platform, DialogHandle dialog) {
  if (IntroStep(platform, dialog, kIntroPath, introText, kIntroSize))
    platform.setIntroText(dialog, introText);
}

bool SetupCommand(const SetupPlatform& platform, DialogHandle dialog, unsigned command) {
  switch (command) {
    case SETUP_INSTALL_BUTTON: {
      unsigned long id = 0;
      if (PlatformCheck(platform, dialog, &id) &&
          InstallStep(platform, dialog, {false, id == kPlatformWindows9x}))
        platform.hideDialog(dialog);
      platform.endDialog(dialog);
      return true;
    }
    case SETUP_CANCEL_BUTTON:
      platform.endDialog(dialog);
      return true;
    default:
      return false;
  }
}
