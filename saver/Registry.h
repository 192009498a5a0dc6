#pragma once
// The settings store reaches the registry only through this seam: the real
// registry under HKEY_CURRENT_USER on Windows, an in-memory store natively
// (and in tests that want one).
#include <cstdint>

using RegistryKey = struct RegistryKeyTag*;

// Value types, numbered as the platform numbers them.
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegQword = 11;

struct RegistrySeam {
  // Creates HKEY_CURRENT_USER\subkey (non-volatile, with the given class) or
  // opens it when it exists; *created says which. All access.
  bool (*createKey)(const char* subkey, const char* keyClass, RegistryKey* key, bool* created);
  // Opens an existing HKEY_CURRENT_USER\subkey with all access.
  bool (*openKey)(const char* subkey, RegistryKey* key);
  // Copies the value's data into data (capacity *size bytes). Succeeds only
  // when the value exists and fits; then *type and *size describe it.
  bool (*queryValue)(RegistryKey key, const char* name, uint32_t* type, void* data, uint32_t* size);
  bool (*setValue)(RegistryKey key, const char* name, uint32_t type, const void* data,
                   uint32_t size);
  void (*closeKey)(RegistryKey key);
};

// The seam in use. Starts as the platform's own registry.
const RegistrySeam& Registry();
// Replaces the seam (null: back to the platform's own). For tests.
void SetRegistrySeam(const RegistrySeam* seam);

// The platform's own registry seam.
const RegistrySeam& PlatformRegistry();
