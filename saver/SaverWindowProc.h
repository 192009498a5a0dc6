#pragma once
// The saver's own window procedure is declared with the other hooks.
#include "SaverHooks.h"
