#include "HostState.h"

#include "DismissRules.h"

HINSTANCE appInstance = nullptr;
uint32_t win9xFamily = 0;

HWND saverWindow = nullptr;
uint32_t isPreview = 0;
uint32_t closing = 0;
uint32_t checkingPassword = 0;
POINT lastCursorPos = {0, 0};
uint32_t lastPasswordAsk = kNeverAsked;

HMODULE passwordLibrary = nullptr;
VerifyPasswordFn verifyPasswordFn = nullptr;

HMODULE imeLibrary = nullptr;
AssociateContextFn associateContextFn = nullptr;
ImeContext previousImeContext = nullptr;
