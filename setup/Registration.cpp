#include "Registration.h"

#include "LifeVersion.h"
#include "SetupMessage.h"
#include "SetupSteps.h"

namespace {

// Room for the record of every installed file.
constexpr unsigned kRecordSize = 32768;

// What the files take on disk, in KB rounded up, as the list shows it.
unsigned long EstimatedKilobytes(const SetupPlatform& platform,
                                 const std::vector<std::string>& files) {
  long long bytes = 0;
  for (const std::string& file : files) {
    const long long size = platform.fileSize(file.c_str());
    if (size > 0) bytes += size;
  }
  return static_cast<unsigned long>((bytes + 1023) / 1024);
}

}  // namespace

std::string JoinPaths(const std::vector<std::string>& paths) {
  std::string joined;
  for (const std::string& path : paths) {
    if (path.empty()) continue;
    if (!joined.empty()) joined += '|';
    joined += path;
  }
  return joined;
}

std::vector<std::string> SplitPaths(const std::string& joined) {
  std::vector<std::string> paths;
  std::string::size_type start = 0;
  while (start <= joined.size()) {
    std::string::size_type end = joined.find('|', start);
    if (end == std::string::npos) end = joined.size();
    if (end > start) paths.push_back(joined.substr(start, end - start));
    start = end + 1;
  }
  return paths;
}

std::vector<std::string> RegisteredFiles(const SetupPlatform& platform) {
  std::vector<char> record(kRecordSize, '\0');
  if (!platform.readString(RegistryRoot::LocalMachine, kUninstallKey, kInstalledFilesValue,
                           record.data(), kRecordSize))
    return {};
  return SplitPaths(record.data());
}

void RegisterInstall(const SetupPlatform& platform, const std::string& windowsDirectory,
                     const std::vector<std::string>& files) {
  const std::string uninstaller = windowsDirectory + kUninstallerName;
  const std::string quoted = "\"" + uninstaller + "\" /uninstall";
  std::string location = windowsDirectory;
  if (location.size() > 3) location.pop_back();  // "c:\" keeps its backslash
  const std::string record = JoinPaths(files);
  if (record.size() >= kRecordSize) RaiseSetupMessage("Too many files to register!\n");

  const auto text = [&](const char* name, const std::string& value) {
    return platform.writeString(RegistryRoot::LocalMachine, kUninstallKey, name, value.c_str());
  };
  const auto number = [&](const char* name, unsigned long value) {
    return platform.writeNumber(RegistryRoot::LocalMachine, kUninstallKey, name, value);
  };
  const bool written =
      text("DisplayName", LIFE_PRODUCT_NAME " " LIFE_VERSION_TEXT) &&
      text("DisplayVersion", LIFE_VERSION_TEXT) && text("Publisher", kPublisher) &&
      text("DisplayIcon", uninstaller) && text("InstallLocation", location) &&
      number("EstimatedSize", EstimatedKilobytes(platform, files)) && number("NoModify", 1) &&
      number("NoRepair", 1) && text("UninstallString", quoted) &&
      text("QuietUninstallString", quoted + " /S") && text(kInstalledFilesValue, record);
  if (written) return;
  platform.deleteKey(RegistryRoot::LocalMachine, kUninstallKey);
  RaiseSetupMessage("Can`t register Life in the list of installed programs!\n");
}
