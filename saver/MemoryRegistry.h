#pragma once
// A registry held in memory with the semantics the settings store relies on:
// keys by path, values with a type and raw bytes, queries that fail when the
// value is missing or larger than the caller's buffer. One store per process.
#include <cstdint>
#include <string>
#include <vector>

#include "Registry.h"

struct MemoryValue {
  std::string name;
  uint32_t type;
  std::vector<uint8_t> data;
};

// The seam over the in-memory store.
const RegistrySeam& MemoryRegistrySeam();

// Removes every key.
void ResetMemoryRegistry();

// Whether the key exists, its class, and its values in the order they were
// first set. For inspection by tests.
bool MemoryKeyExists(const std::string& subkey);
std::string MemoryKeyClass(const std::string& subkey);
std::vector<MemoryValue> MemoryKeyValues(const std::string& subkey);
