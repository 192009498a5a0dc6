#include "RegistryProbe.h"

#include <cstring>

#include "Settings.h"

namespace {

const RegistrySeam* inner = nullptr;
std::vector<RecordedWrite> writes;
bool refuseKeys = false;

bool CreateKey(const char* subkey, const char* keyClass, RegistryKey* key, bool* created) {
  return !refuseKeys && inner->createKey(subkey, keyClass, key, created);
}
bool OpenKey(const char* subkey, RegistryKey* key) {
  return !refuseKeys && inner->openKey(subkey, key);
}
bool QueryValue(RegistryKey key, const char* name, uint32_t* type, void* data, uint32_t* size) {
  return inner->queryValue(key, name, type, data, size);
}
bool SetValue(RegistryKey key, const char* name, uint32_t type, const void* data, uint32_t size) {
  writes.push_back({name, type, size});
  return inner->setValue(key, name, type, data, size);
}
void CloseKey(RegistryKey key) { inner->closeKey(key); }

const RegistrySeam kRecorder = {CreateKey, OpenKey, QueryValue, SetValue, CloseKey};

// Opens (creating when asked) the settings key through the inner seam.
RegistryKey SettingsKey(bool create) {
  RegistryKey key = nullptr;
  bool created = false;
  if (create) {
    if (!inner->createKey(kSettingsSubkey, kSettingsKeyClass, &key, &created)) return nullptr;
  } else if (!inner->openKey(kSettingsSubkey, &key)) {
    return nullptr;
  }
  return key;
}

bool Query(const char* name, uint32_t* type, std::vector<uint8_t>* data) {
  RegistryKey key = SettingsKey(false);
  if (key == nullptr) return false;
  data->assign(4096, 0);
  auto size = static_cast<uint32_t>(data->size());
  const bool found = inner->queryValue(key, name, type, data->data(), &size);
  inner->closeKey(key);
  if (found) data->resize(size);
  return found;
}

}  // namespace

void StartRecording(const RegistrySeam& seam) {
  inner = &seam;
  writes.clear();
  refuseKeys = false;
  SetRegistrySeam(&kRecorder);
}

void StopRecording() { SetRegistrySeam(nullptr); }

const std::vector<RecordedWrite>& RecordedWrites() { return writes; }

void RefuseKeys(bool refuse) { refuseKeys = refuse; }

bool SettingsKeyExists() {
  RegistryKey key = SettingsKey(false);
  if (key == nullptr) return false;
  inner->closeKey(key);
  return true;
}

void StoreRaw(const char* name, uint32_t type, const void* data, uint32_t size) {
  RegistryKey key = SettingsKey(true);
  if (key == nullptr) return;
  inner->setValue(key, name, type, data, size);
  inner->closeKey(key);
}

void StoreDword(const char* name, uint32_t value) {
  StoreRaw(name, kRegDword, &value, sizeof value);
}

void StoreString(const char* name, const std::string& text) {
  StoreRaw(name, kRegSz, text.c_str(), static_cast<uint32_t>(text.size() + 1));
}

bool StoredDword(const char* name, uint32_t* value) {
  uint32_t type = 0;
  std::vector<uint8_t> data;
  if (!Query(name, &type, &data) || type != kRegDword || data.size() != sizeof *value) return false;
  std::memcpy(value, data.data(), sizeof *value);
  return true;
}

bool StoredString(const char* name, std::string* text) {
  uint32_t type = 0;
  std::vector<uint8_t> data;
  if (!Query(name, &type, &data) || type != kRegSz) return false;
  text->assign(data.begin(), data.end());
  const size_t zero = text->find('\0');
  if (zero != std::string::npos) text->resize(zero);
  return true;
}
