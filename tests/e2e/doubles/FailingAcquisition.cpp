// Linked into a copy of the saver: makes the k-th acquisition of the engine
// (a world array or a surface) fail, k from the environment variable
// LIFE_FAILING_ACQUISITION, or the k-th allocation of the C++ runtime's
// operator new, k from LIFE_FAILING_ALLOCATION, so that a test can watch
// the real saver meet it.
#include <windows.h>

#include <cstdlib>
#include <new>

#include "Acquisition.h"

namespace {

long failing = 0;
long made = 0;
long failingAllocation = 0;
long allocations = 0;

bool FailTheChosenOne(Acquisition) { return ++made != failing; }

struct InstallFromEnvironment {
  InstallFromEnvironment() {
    char value[32] = {};
    if (GetEnvironmentVariableA("LIFE_FAILING_ALLOCATION", value, sizeof value) != 0)
      failingAllocation = std::strtol(value, nullptr, 10);
    if (GetEnvironmentVariableA("LIFE_FAILING_ACQUISITION", value, sizeof value) == 0) return;
    failing = std::strtol(value, nullptr, 10);
    SetAcquisitionHook(FailTheChosenOne);
  }
} installFromEnvironment;

}  // namespace

// As the runtime's own operator new does when memory runs out: the
// new-handler is called, and without one std::bad_alloc is thrown. The
// count starts once the program's start-up has put a new-handler in place:
// without one, nothing fails and no out-of-memory message comes.
void* operator new(std::size_t size) {
  if (failingAllocation != 0 && std::get_new_handler() != nullptr &&
      ++allocations >= failingAllocation) {
    if (std::new_handler handler = std::get_new_handler()) handler();
    throw std::bad_alloc();
  }
  void* memory = std::malloc(size == 0 ? 1 : size);
  if (memory == nullptr) throw std::bad_alloc();
  return memory;
}

void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
