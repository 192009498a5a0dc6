#include "Registry.h"

namespace {
const RegistrySeam* activeSeam = nullptr;
}

const RegistrySeam& Registry() { return activeSeam != nullptr ? *activeSeam : PlatformRegistry(); }

void SetRegistrySeam(const RegistrySeam* seam) { activeSeam = seam; }
