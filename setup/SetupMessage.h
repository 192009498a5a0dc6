#pragma once
// The one exception of setup: a formatted message for the user. The step
// that meets a failure raises it; the step that owns the outcome shows it.
#include <cstddef>

constexpr std::size_t kMessageSize = 1024;

class SetupMessage {
 public:
  // Keeps at most kMessageSize - 1 characters of the text.
  explicit SetupMessage(const char* text);
  const char* text() const { return text_; }

 private:
  char text_[kMessageSize];
};

#if defined(__MINGW32__)
#define SETUP_PRINTF_FORMAT __attribute__((format(gnu_printf, 1, 2)))
#else
#define SETUP_PRINTF_FORMAT __attribute__((format(printf, 1, 2)))
#endif

// Formats the message printf-style (cut to kMessageSize - 1 characters)
// and raises it as a SetupMessage.
[[noreturn]] void RaiseSetupMessage(const char* format, ...) SETUP_PRINTF_FORMAT;
