#include "MemoryRegistry.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

namespace {

// Key paths and value names ignore the case of ASCII letters, as the
// registry's do.
char Folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i)
    if (Folded(a[i]) != Folded(b[i])) return false;
  return i == a.size() && b[i] == '\0';
}

struct NameOrder {
  bool operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Folded(x) < Folded(y); });
  }
};

struct MemoryKey {
  std::string keyClass;
  std::vector<MemoryValue> values;  // in order of first setting
};

// Keys by their path. Nodes live until the store is reset, so a handle
// stays valid while the key is open.
std::map<std::string, std::unique_ptr<MemoryKey>, NameOrder>& Keys() {
  static std::map<std::string, std::unique_ptr<MemoryKey>, NameOrder> keys;
  return keys;
}

RegistryKey Handle(MemoryKey* key) { return reinterpret_cast<RegistryKey>(key); }
MemoryKey* Node(RegistryKey key) { return reinterpret_cast<MemoryKey*>(key); }

MemoryValue* FindValue(MemoryKey* key, const char* name) {
  for (MemoryValue& value : key->values)
    if (SameName(value.name, name)) return &value;
  return nullptr;
}

bool CreateKey(const char* subkey, const char* keyClass, RegistryKey* key, bool* created) {
  auto& slot = Keys()[subkey];
  *created = slot == nullptr;
  if (*created) {
    slot = std::make_unique<MemoryKey>();
    slot->keyClass = keyClass != nullptr ? keyClass : "";
  }
  *key = Handle(slot.get());
  return true;
}

bool OpenKey(const char* subkey, RegistryKey* key) {
  auto found = Keys().find(subkey);
  if (found == Keys().end()) return false;
  *key = Handle(found->second.get());
  return true;
}

bool QueryValue(RegistryKey key, const char* name, uint32_t* type, void* data, uint32_t* size) {
  const MemoryValue* value = FindValue(Node(key), name);
  if (value == nullptr) return false;
  const auto stored = static_cast<uint32_t>(value->data.size());
  if (stored > *size) {
    *size = stored;
    return false;
  }
  if (stored > 0) std::memcpy(data, value->data.data(), stored);
  *type = value->type;
  *size = stored;
  return true;
}

bool SetValue(RegistryKey key, const char* name, uint32_t type, const void* data, uint32_t size) {
  MemoryKey* node = Node(key);
  MemoryValue* value = FindValue(node, name);
  if (value == nullptr) {
    node->values.push_back({name, type, {}});
    value = &node->values.back();
  }
  value->type = type;
  const auto* bytes = static_cast<const uint8_t*>(data);
  value->data.assign(bytes, bytes + size);
  return true;
}

void CloseKey(RegistryKey) {}

const RegistrySeam kMemorySeam = {CreateKey, OpenKey, QueryValue, SetValue, CloseKey};

}  // namespace

const RegistrySeam& MemoryRegistrySeam() { return kMemorySeam; }

void ResetMemoryRegistry() { Keys().clear(); }

bool MemoryKeyExists(const std::string& subkey) { return Keys().count(subkey) != 0; }

std::string MemoryKeyClass(const std::string& subkey) {
  auto found = Keys().find(subkey);
  return found == Keys().end() ? std::string() : found->second->keyClass;
}

std::vector<MemoryValue> MemoryKeyValues(const std::string& subkey) {
  auto found = Keys().find(subkey);
  return found == Keys().end() ? std::vector<MemoryValue>() : found->second->values;
}
