#include "Fatal.h"

#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {
FatalHook fatalHook = nullptr;
}

void SetFatalHook(FatalHook hook) { fatalHook = hook; }

void FatalExit(const std::string& text, const char* caption) {
  if (fatalHook != nullptr) fatalHook(text, caption);
#ifdef _WIN32
  MessageBoxA(nullptr, text.c_str(), caption, MB_OK);
#else
  std::fprintf(stderr, "%s: %s\n", caption, text.c_str());
#endif
  std::exit(1);
}

void OutOfMemoryExit() {
  // The text fits the string's own buffer: no allocation is needed for it.
  FatalExit("Out of memory.", "No Memory");
}

void ExitIfNotCreated(CreateResult result, const std::string& faceFile) {
  switch (result) {
    case CreateResult::kCreated:
      return;
    case CreateResult::kOutOfMemory:
      OutOfMemoryExit();
    case CreateResult::kNoFaceName:
      FatalExit("No target filename specified.", "No filename");
    case CreateResult::kBadFrame:
      FatalExit("Bad frame dimensions, " + faceFile, "Bad Frame");
    case CreateResult::kNoFaces:
      FatalExit("Unable to find, " + faceFile, "No Faces");
    case CreateResult::kNoSurface:
      FatalExit("Can`t create cellmap.", "???");
  }
}
