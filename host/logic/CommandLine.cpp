#include "CommandLine.h"

namespace {
bool IsBlank(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 1 && byte <= 32;
}

bool IsAboveBlank(char c) { return static_cast<unsigned char>(c) > 32; }

const char* SkipSpaces(const char* text) {
  while (*text == ' ') ++text;
  return text;
}
}  // namespace

const char* NextByte(const char* text) { return *text == '\0' ? text : text + 1; }

const char* ArgumentText(const char* commandLine, NextCharFn next) {
  const char* p = commandLine;
  if (*p == '"') {
    do {
      p = next(p);
    } while (*p != '\0' && *p != '"');
    if (*p == '"') p = next(p);
  } else if (IsAboveBlank(*p)) {
    while (IsAboveBlank(*p)) p = next(p);
  }
  while (IsBlank(*p)) p = next(p);
  return p;
}

ModeChoice ChooseMode(const char* argumentText) {
  const char* p = argumentText;
  for (;; ++p) {
    switch (*p) {
      case '\0':
        return {RunMode::kConfigure, p};
      case ' ':
      case '-':
      case '/':
        continue;
      case 's':
      case 'S':
        return {RunMode::kFullScreen, p + 1};
      case 'c':
      case 'C':
        return {RunMode::kConfigureOwned, p + 1};
      case 'p':
      case 'P':
      case 'l':
      case 'L':
        return {RunMode::kPreview, SkipSpaces(p + 1)};
      case 'a':
      case 'A':
        return {RunMode::kChangePassword, SkipSpaces(p + 1)};
      default:
        return {RunMode::kUnknown, p};
    }
  }
}

uint32_t ParseDecimal(const char* text) {
  uint32_t value = 0;
  for (const char* p = text; *p >= '0' && *p <= '9'; ++p)
    value = value * 10u + static_cast<uint32_t>(*p - '0');
  return value;
}
