#pragma once
// The saver as the Linux process Wine runs it in, read from outside through
// its /proc entry on drive Z:: CPU time and memory as the kernel counts them
// (Wine's own figures for another process are incomplete).
#include <string>

#include "E2eSupport.h"

namespace e2e {

// The /proc folder ("Z:\proc\PID") of the life.scr started in the scenario
// folder, found by the folder's name on its command line; empty when none.
std::string SaverProcFolder(const ScenarioFolder& folder);

// utime + stime of the process, in clock ticks (10 ms); -1 when unreadable.
long long ProcCpuTicks(const std::string& procFolder);

// The value of a "Key:   123 kB" line of its status file ("123 kB"); "?"
// when there is none.
std::string ProcStatus(const std::string& procFolder, const char* key);

}  // namespace e2e
