#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "RenderOptions.h"

// life-render: runs the Life engine as the saver window would for a client
// area, and reports what it did as statistics, a state dump, a picture or
// an animation.
//
// Exit codes: 0 done; 1 the engine refused the face set (its own fatal
// message, as the saver shows it) or an output file could not be written;
// 2 bad arguments.
int LifeRenderMain(const std::vector<std::string>& args, FILE* out, FILE* err);

// Runs the world as asked. Output paths are taken relative to the
// directory current at the call, even when --dir changes it.
int RunLifeRender(const RenderOptions& options, FILE* out, FILE* err);
