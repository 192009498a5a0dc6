// Linked into a copy of the saver: makes the k-th acquisition of the engine
// (a world array or a surface) fail, k from the environment variable
// LIFE_FAILING_ACQUISITION, so that a test can watch the real saver meet it.
#include <windows.h>

#include <cstdlib>

#include "Acquisition.h"

namespace {

long failing = 0;
long made = 0;

bool FailTheChosenOne(Acquisition) { return ++made != failing; }

struct InstallFromEnvironment {
  InstallFromEnvironment() {
    char value[32] = {};
    if (GetEnvironmentVariableA("LIFE_FAILING_ACQUISITION", value, sizeof value) == 0) return;
    failing = std::strtol(value, nullptr, 10);
    SetAcquisitionHook(FailTheChosenOne);
  }
} installFromEnvironment;

}  // namespace
