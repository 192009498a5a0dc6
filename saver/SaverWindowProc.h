#pragma once
// The saver's own window procedure is declared with the other hooks, in the
// contract with the host.
#include "SaverContract.h"
