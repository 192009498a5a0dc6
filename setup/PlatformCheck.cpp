#include "SetupMessage.h"
#include "SetupSteps.h"

bool PlatformCheck(const SetupPlatform& platform, DialogHandle dialog, unsigned long* platformId) {
  try {
    unsigned long id = 0;
    if (!platform.platformId(&id)) RaiseSetupMessage("Failed to get OS version!\n");
    if (id != kPlatformWindows9x && id != kPlatformWindowsNt)
      RaiseSetupMessage("Life can`t run on this Windows!\n");
    if (platformId != nullptr) *platformId = id;
    return true;
  } catch (const SetupMessage& message) {
    platform.messageBox(dialog, message.text(), kErrorCaption, kErrorBoxFlags);
    return false;
  }
}
