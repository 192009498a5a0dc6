// Natively the platform's registry is the in-memory store.
#include "MemoryRegistry.h"
#include "Registry.h"

const RegistrySeam& PlatformRegistry() { return MemoryRegistrySeam(); }
