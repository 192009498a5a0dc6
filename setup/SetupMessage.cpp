#include "SetupMessage.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

SetupMessage::SetupMessage(const char* text) { std::snprintf(text_, sizeof text_, "%s", text); }

void RaiseSetupMessage(const char* format, ...) {
  char text[kMessageSize];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  throw SetupMessage(text);
}
