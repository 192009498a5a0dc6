#include "OptionTable.h"

#include <cctype>

namespace cmdline {

bool SetFlag(Flags flags, const std::string& name) {
  bool matched = false;
  for (const Flag& flag : flags) {
    if (name == flag.name) {
      *flag.target = flag.value;
      matched = true;
    }
  }
  return matched;
}

const Flag* FlagGivenValue(Flags flags, const std::string& arg) {
  for (const Flag& flag : flags)
    if (arg.rfind(std::string(flag.name) + "=", 0) == 0) return &flag;
  return nullptr;
}

const Valued* FindValued(ValuedOptions options, const std::string& name) {
  for (const Valued& option : options)
    if (name == option.name) return &option;
  return nullptr;
}

std::function<bool(const std::string&, std::string&)> Unsigned(uint32_t& target) {
  return [&target](const std::string& value, std::string&) { return ParseUnsigned(value, target); };
}

std::function<bool(const std::string&, std::string&)> NonEmpty(std::string& target) {
  return [&target](const std::string& value, std::string&) {
    if (value.empty()) return false;
    target = value;
    return true;
  };
}

bool ParseUnsigned(const std::string& text, uint32_t& value) {
  if (text.empty() || text.size() > 10) return false;
  uint64_t v = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  if (v > UINT32_MAX) return false;
  value = static_cast<uint32_t>(v);
  return true;
}

bool ParseHex(const std::string& text, uint32_t& value) {
  if (text.empty() || text.size() > 8) return false;
  uint32_t v = 0;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (!std::isxdigit(u)) return false;
    const int digit = std::isdigit(u) ? u - '0' : std::tolower(u) - 'a' + 10;
    v = v * 16 + static_cast<uint32_t>(digit);
  }
  value = v;
  return true;
}

}  // namespace cmdline
