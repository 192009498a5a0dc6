// libFuzzer target: the saver's command line on arbitrary bytes. Splits it
// as a plain byte string and as a double-byte code page would step it,
// picks the mode and reads a window handle, and checks what the host relies
// on: every pointer handed back lies inside the text, the argument text
// starts past the blanks, a mode's rest starts past the spaces after its
// letter, and a handle of up to nine digits reads as its decimal value.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "CommandLine.h"
#include "FuzzCheck.h"

namespace {

void Check(bool condition, const char* what) { CheckInvariant(condition, "command line", what); }

// Steps as CharNextA does in a double-byte code page: a lead byte takes the
// byte after it along, unless that byte ends the text.
const char* NextDoubleByte(const char* text) {
  if (*text == '\0') return text;
  const auto lead = static_cast<unsigned char>(*text);
  if (lead >= 0x81 && lead <= 0xFE && text[1] != '\0') return text + 2;
  return text + 1;
}

bool Within(const char* p, const char* text, size_t length) {
  return p >= text && p <= text + length;
}

void CheckSplit(const char* text, size_t length, NextCharFn next) {
  const char* arguments = ArgumentText(text, next);
  Check(Within(arguments, text, length), "argument text inside the command line");
  const auto first = static_cast<unsigned char>(*arguments);
  Check(first == 0 || first > 32, "argument text starts past the blanks");

  const size_t rest = length - static_cast<size_t>(arguments - text);
  const ModeChoice choice = ChooseMode(arguments);
  Check(Within(choice.rest, arguments, rest), "mode rest inside the argument text");
  if (choice.mode == RunMode::kPreview || choice.mode == RunMode::kChangePassword) {
    Check(choice.rest > arguments, "the letter was stepped over");
    Check(*choice.rest != ' ', "spaces after the letter skipped");
  }
  if (choice.mode == RunMode::kConfigure) Check(*choice.rest == '\0', "no letter: end of text");

  const uint32_t handle = ParseDecimal(choice.rest);
  size_t digits = 0;
  while (choice.rest[digits] >= '0' && choice.rest[digits] <= '9') ++digits;
  if (digits == 0) Check(handle == 0, "no digits read as 0");
  if (digits > 0 && digits <= 9)
    Check(handle == std::strtoul(choice.rest, nullptr, 10), "decimal value");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The command line as the platform hands it over: ends at its first NUL.
  std::vector<char> text(data, data + size);
  text.push_back('\0');
  const size_t length = std::strlen(text.data());
  CheckSplit(text.data(), length, NextByte);
  CheckSplit(text.data(), length, NextDoubleByte);
  return 0;
}
