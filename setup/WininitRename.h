#pragma once
// The 95/98/Me family deletes files at the next restart through the
// [rename] section of WININIT.INI: a line "NUL=<short path>" per file.
#include <string>

// The text of WININIT.INI with the line "NUL=<shortPath>" added to its
// [rename] section, which is added at the end when there is none. Other
// lines stay as they are: several NUL= lines are allowed there.
std::string WithDeleteAtRestart(const std::string& ini, const std::string& shortPath);
