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

// The files recorded by the installs so far; empty when none is registered
// or the record cannot be read.
std::vector<std::string> RegisteredFiles(const SetupPlatform& platform);

// The record as ReadRegisteredFiles found it.
enum class RecordState { Read, Unreadable };
// Reads the record into `files`. Unreadable: the value is missing, not
// text, longer than the record may be, or names no file at all.
RecordState ReadRegisteredFiles(const SetupPlatform& platform, std::vector<std::string>* files);

// True when a registration is there (it has a DisplayName).
bool IsRegistered(const SetupPlatform& platform);
// True when the registration is one that setup wrote: its DisplayName is
// "Life <version>" and its Publisher ours.
bool IsOurRegistration(const SetupPlatform& platform);

// Writes the registration for an install into `windowsDirectory` (ending
// in "\\") that owns `files`. Raises a SetupMessage when a value cannot be
// written, after putting back what was there before: the earlier
// registration of an upgrade stays as it was, and the key goes only when
// this run created it.
void RegisterInstall(const SetupPlatform& platform, const std::string& windowsDirectory,
                     const std::vector<std::string>& files);

// "a|b|c" and back; empty parts are dropped.
std::string JoinPaths(const std::vector<std::string>& paths);
std::vector<std::string> SplitPaths(const std::string& joined);
