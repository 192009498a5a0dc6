// A failed allocation anywhere in the saver (a container growing, a string,
// a new) ends the process with the saver's own out-of-memory message and
// exit code 1, through the runtime's exit, whose handlers give the system's
// screen-saver-running state back. Installed before the program's entry.
#include <new>

#include "Fatal.h"

namespace {
const std::new_handler previousHandler = std::set_new_handler(OutOfMemoryExit);
}  // namespace
