#include "Acquisition.h"

namespace {
AcquisitionHook acquisitionHook = nullptr;
}

void SetAcquisitionHook(AcquisitionHook hook) { acquisitionHook = hook; }

bool MayAcquire(Acquisition what) { return acquisitionHook == nullptr || acquisitionHook(what); }
