#pragma once
// Test access to the settings key through a registry seam: a recording
// wrapper that logs every write and can refuse to open keys, and helpers
// that store and inspect raw values.
#include <cstdint>
#include <string>
#include <vector>

#include "Registry.h"

struct RecordedWrite {
  std::string name;
  uint32_t type;
  uint32_t size;
};

// Installs a wrapper around `inner` as the active seam; writes are logged.
void StartRecording(const RegistrySeam& inner);
void StopRecording();
const std::vector<RecordedWrite>& RecordedWrites();
// While set, creating and opening keys fails.
void RefuseKeys(bool refuse);

// Raw access to the settings key through the inner seam.
bool SettingsKeyExists();
void StoreRaw(const char* name, uint32_t type, const void* data, uint32_t size);
void StoreDword(const char* name, uint32_t value);
void StoreString(const char* name, const std::string& text);  // with its zero byte
bool StoredDword(const char* name, uint32_t* value);
bool StoredString(const char* name, std::string* text);
