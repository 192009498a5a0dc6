#pragma once
// The registration of an installed Life under the system's list of
// installed programs, with the record of the files that install wrote.
#include <string>
#include <vector>

#include "SetupPlatform.h"

inline constexpr char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Life";
// Our own value there: the full paths of the installed files, "|" between.
inline constexpr char kInstalledFilesValue[] = "InstalledFiles";
// The copy of setup that stays in the Windows directory to remove Life.
inline constexpr char kUninstallerName[] = "lifesetup.exe";
inline constexpr char kPublisher[] = "Vantreel";

// The files recorded by the installs so far; empty when none is registered.
std::vector<std::string> RegisteredFiles(const SetupPlatform& platform);

// Writes the registration for an install into `windowsDirectory` (ending
// in "\\") that owns `files`. Raises a SetupMessage when a value cannot be
// written, after removing what was written, so nothing half-registered
// stays behind.
void RegisterInstall(const SetupPlatform& platform, const std::string& windowsDirectory,
                     const std::vector<std::string>& files);

// "a|b|c" and back; empty parts are dropped.
std::string JoinPaths(const std::vector<std::string>& paths);
std::vector<std::string> SplitPaths(const std::string& joined);
