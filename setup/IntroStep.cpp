#include <cstdio>
#include <cstring>

#include "SetupMessage.h"
#include "SetupSteps.h"

bool IntroStep(const SetupPlatform& platform, DialogHandle dialog, const char* path, char* buffer,
               std::size_t size) {
  try {
    // Raw bytes: the CR LF pairs the edit control needs arrive unchanged.
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) RaiseSetupMessage("Cant find file, %s!\n", path);
    std::memset(buffer, 0, size + 1);
    std::fread(buffer, 1, size, file);
    std::fclose(file);
    return true;
  } catch (const SetupMessage& message) {
    // The dialog stays open with this text in place of the intro.
    platform.setIntroText(dialog, message.text());
    return false;
  }
}
