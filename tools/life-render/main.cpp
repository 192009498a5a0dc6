// life-render: the Life engine run headless, as the saver would run it.
// See RenderUsage() (life-render --help) for the options.
#include <cstdio>
#include <string>
#include <vector>

#include "LifeRender.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return LifeRenderMain(args, stdout, stderr);
}
