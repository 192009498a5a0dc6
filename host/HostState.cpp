#include "HostState.h"

#include "SaverContract.h"

namespace {
HostState hostState;
}  // namespace

HostState& Host() { return hostState; }

HINSTANCE AppInstance() { return hostState.appInstance; }
