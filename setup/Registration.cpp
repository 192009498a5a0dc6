#include "Registration.h"

#include <cstring>
#include <utility>

#include "LifeVersion.h"
#include "SetupMessage.h"
#include "SetupSteps.h"

namespace {

// Room for the record of every installed file.
constexpr unsigned kRecordSize = 32768;

inline constexpr char kDisplayName[] = LIFE_PRODUCT_NAME " " LIFE_VERSION_TEXT;
inline constexpr char kDisplayNamePrefix[] = LIFE_PRODUCT_NAME " ";

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

bool ReadValue(const SetupPlatform& platform, const char* name, std::string* value) {
  std::vector<char> buffer(kRecordSize, '\0');
  if (!platform.readString(RegistryRoot::LocalMachine, kUninstallKey, name, buffer.data(),
                           kRecordSize))
    return false;
  *value = buffer.data();
  return true;
}

// One value of the registration: what this install writes, and what was
// there before it (to put back when the registration fails).
struct Value {
  Value(const char* valueName, bool isNumber, std::string valueText, unsigned long valueCount)
      : name(valueName), number(isNumber), text(std::move(valueText)), count(valueCount) {}

  const char* name;
  bool number;
  std::string text;
  unsigned long count;
  bool existed = false;
  std::string oldText;
  unsigned long oldCount = 0;

  bool Write(const SetupPlatform& platform, bool old) const {
    return number ? platform.writeNumber(RegistryRoot::LocalMachine, kUninstallKey, name,
                                         old ? oldCount : count)
                  : platform.writeString(RegistryRoot::LocalMachine, kUninstallKey, name,
                                         (old ? oldText : text).c_str());
  }
};

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

RecordState ReadRegisteredFiles(const SetupPlatform& platform, std::vector<std::string>* files) {
  std::string record;
  if (!ReadValue(platform, kInstalledFilesValue, &record)) return RecordState::Unreadable;
  *files = SplitPaths(record);
  return files->empty() ? RecordState::Unreadable : RecordState::Read;
}

std::vector<std::string> RegisteredFiles(const SetupPlatform& platform) {
  std::vector<std::string> files;
  ReadRegisteredFiles(platform, &files);
  return files;
}

bool IsRegistered(const SetupPlatform& platform) {
  std::string name;
  return ReadValue(platform, "DisplayName", &name);
}

bool IsOurRegistration(const SetupPlatform& platform) {
  std::string name, publisher;
  return ReadValue(platform, "DisplayName", &name) &&
         ReadValue(platform, "Publisher", &publisher) &&
         name.compare(0, sizeof kDisplayNamePrefix - 1, kDisplayNamePrefix) == 0 &&
         name.size() > sizeof kDisplayNamePrefix - 1 && publisher == kPublisher;
}

void RegisterInstall(const SetupPlatform& platform, const std::string& windowsDirectory,
                     const std::vector<std::string>& files) {
  const std::string uninstaller = windowsDirectory + kUninstallerName;
  const std::string quoted = "\"" + uninstaller + "\" /uninstall";
  std::string location = windowsDirectory;
  if (location.size() > 3) location.pop_back();  // "c:\" keeps its backslash
  const std::string record = JoinPaths(files);
  if (record.size() >= kRecordSize) RaiseSetupMessage("Too many files to register!\n");

  std::vector<Value> values = {
      {"DisplayName", false, kDisplayName, 0},
      {"DisplayVersion", false, LIFE_VERSION_TEXT, 0},
      {"Publisher", false, kPublisher, 0},
      {"DisplayIcon", false, uninstaller, 0},
      {"InstallLocation", false, location, 0},
      {"EstimatedSize", true, "", EstimatedKilobytes(platform, files)},
      {"NoModify", true, "", 1},
      {"NoRepair", true, "", 1},
      {"UninstallString", false, quoted, 0},
      {"QuietUninstallString", false, quoted + " /S", 0},
      {kInstalledFilesValue, false, record, 0},
  };
  const bool keyExisted = platform.keyExists(RegistryRoot::LocalMachine, kUninstallKey);
  for (Value& value : values)
    value.existed = value.number ? platform.readNumber(RegistryRoot::LocalMachine, kUninstallKey,
                                                       value.name, &value.oldCount)
                                 : ReadValue(platform, value.name, &value.oldText);

  std::size_t written = 0;
  while (written < values.size() && values[written].Write(platform, false)) ++written;
  if (written == values.size()) return;
  // Back to what was there: the failed value may have been half written too.
  if (!keyExisted) {
    platform.deleteKey(RegistryRoot::LocalMachine, kUninstallKey);
  } else {
    for (std::size_t i = 0; i <= written; ++i) {
      if (values[i].existed)
        values[i].Write(platform, true);
      else
        platform.deleteValue(RegistryRoot::LocalMachine, kUninstallKey, values[i].name);
    }
  }
  RaiseSetupMessage("Can`t register Life in the list of installed programs!\n");
}
