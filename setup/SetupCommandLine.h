#pragma once
// The command line of setup: nothing for the interactive install, /S for a
// silent one, /uninstall (with /S: silent) to remove Life, and the hidden
// /elevated of the instance that setup starts with administrator rights
// for the copying (or removing) and the registration.
#include <string>

struct SetupCommandLine {
  bool silent = false;
  bool uninstall = false;
  bool elevated = false;
};

// Parses the arguments after the program name. Switches are case-blind and
// may start with "/" or "-"; a word in double quotes may hold spaces. Words
// not understood are ignored, as setup always did.
SetupCommandLine ParseSetupCommandLine(const char* arguments);

// The arguments of a full command line: what follows the program name,
// which is quoted or ends at the first blank.
const char* ArgumentsOf(const char* commandLine);
