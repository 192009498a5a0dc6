// The real registry under HKEY_CURRENT_USER.
#include <windows.h>

#include "Registry.h"

namespace {

HKEY Native(RegistryKey key) { return reinterpret_cast<HKEY>(key); }

bool CreateKey(const char* subkey, const char* keyClass, RegistryKey* key, bool* created) {
  HKEY opened = nullptr;
  DWORD disposition = 0;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, subkey, 0, const_cast<char*>(keyClass),
                      REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &opened,
                      &disposition) != ERROR_SUCCESS)
    return false;
  *key = reinterpret_cast<RegistryKey>(opened);
  *created = disposition == REG_CREATED_NEW_KEY;
  return true;
}

bool OpenKey(const char* subkey, RegistryKey* key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey, 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS)
    return false;
  *key = reinterpret_cast<RegistryKey>(opened);
  return true;
}

bool QueryValue(RegistryKey key, const char* name, uint32_t* type, void* data, uint32_t* size) {
  DWORD valueType = 0;
  DWORD valueSize = *size;
  const LONG result = RegQueryValueExA(Native(key), name, nullptr, &valueType,
                                       static_cast<BYTE*>(data), &valueSize);
  *size = valueSize;
  if (result != ERROR_SUCCESS) return false;
  *type = valueType;
  return true;
}

bool SetValue(RegistryKey key, const char* name, uint32_t type, const void* data, uint32_t size) {
  return RegSetValueExA(Native(key), name, 0, type, static_cast<const BYTE*>(data), size) ==
         ERROR_SUCCESS;
}

void CloseKey(RegistryKey key) { RegCloseKey(Native(key)); }

const RegistrySeam kWin32Seam = {CreateKey, OpenKey, QueryValue, SetValue, CloseKey};

}  // namespace

const RegistrySeam& PlatformRegistry() { return kWin32Seam; }
