#pragma once
// What the command-line parsers of lifefaces and life-render share: a table
// of on/off flags, a table of options that take a value, and the number
// formats their values are written in. Each program keeps its own syntax
// (dashes, "--name=value") and its own error messages.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

namespace cmdline {

// A flag without a value: when given, target is set to value.
struct Flag {
  const char* name;
  bool* target;
  bool value;
};
using Flags = std::initializer_list<Flag>;

// Sets the flag called name; false when the table has none.
bool SetFlag(Flags flags, const std::string& name);
// The flag that arg names with "=" and a value after it ("--stats=1"), or
// nullptr when arg is not one.
const Flag* FlagGivenValue(Flags flags, const std::string& arg);

// An option that takes a value: read stores a good value in its place and
// returns false for a bad one, setting error when it has more to say than
// that the value is bad.
struct Valued {
  const char* name;
  std::function<bool(const std::string& value, std::string& error)> read;
};
using ValuedOptions = std::initializer_list<Valued>;

// The option called name, or nullptr when the table has none.
const Valued* FindValued(ValuedOptions options, const std::string& name);

// Readers for the table: a decimal number of digits only that fits 32
// bits; any text but the empty one.
std::function<bool(const std::string&, std::string&)> Unsigned(uint32_t& target);
std::function<bool(const std::string&, std::string&)> NonEmpty(std::string& target);

// A decimal number of digits only that fits 32 bits; value is left alone
// when text is not one.
bool ParseUnsigned(const std::string& text, uint32_t& value);
// One to eight hexadecimal digits, nothing else; value is left alone when
// text is not that.
bool ParseHex(const std::string& text, uint32_t& value);

}  // namespace cmdline
