#include "SaverContract.h"

// The configuration dialog uses only the system's own control classes.
BOOL PrepareDialogClasses(HINSTANCE) { return 1; }
