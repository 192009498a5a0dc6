#pragma once
// Identifiers of the saver's dialogs and their controls, shared by the
// resource script and the code. The configuration dialog's own, IDD_OPTIONS,
// is part of the contract with the host.
#include "SaverContract.h"

#define IDD_ABOUT 107
#define IDI_LIFE 102

#define IDC_DELAY 1001
#define IDC_ACTIVITY_BAR 1002
#define IDC_MINI_DISPLAY 1003
#define IDC_SEED 1004
#define IDC_INITPOP 1005
#define IDC_FACES 1008
#define IDC_COLOR 1011
#define IDC_CREDIT 1012
#define IDC_ABOUT 1013
#define IDC_FRAME_SCREEN 1017
#define IDC_SPAN_MONITORS 1018
#define IDC_UNADDRESSED 65535
