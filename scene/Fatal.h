#pragma once
#include <string>

#include "CreateResult.h"

// Ends the process after a failure the saver cannot go on from: the text and
// caption are shown (a message box with no owner on Windows, standard error
// natively), then the runtime's orderly exit runs with code 1, so exit-time
// handlers run.
[[noreturn]] void FatalExit(const std::string& text, const char* caption);

// Ends the process with the fatal message of a failed creation; faceFile is
// the sprite-sheet name some messages quote whole. Returns when the result
// is kCreated.
void ExitIfNotCreated(CreateResult result, const std::string& faceFile);

// The saver's out-of-memory exit, "Out of memory." under "No Memory": the
// new-handler of the saver, so that a failed allocation anywhere ends the
// process the saver's own way rather than in std::terminate.
[[noreturn]] void OutOfMemoryExit();

// Tests and the browser page may intercept fatal exits: the hook is called
// instead of showing the message and must not return (it throws, typically).
using FatalHook = void (*)(const std::string& text, const char* caption);
void SetFatalHook(FatalHook hook);
