#include "SetupCommandLine.h"

#include <vector>

#include "SetupSteps.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string> Words(const char* text) {
  std::vector<std::string> words;
  while (*text != '\0') {
    while (IsBlank(*text)) ++text;
    if (*text == '\0') break;
    std::string word;
    bool quoted = false;
    for (; *text != '\0' && (quoted || !IsBlank(*text)); ++text) {
      if (*text == '"')
        quoted = !quoted;
      else
        word += *text;
    }
    words.push_back(word);
  }
  return words;
}

bool IsSwitch(const std::string& word, const char* name) {
  return word.size() > 1 && (word[0] == '/' || word[0] == '-') && SameText(word.substr(1), name);
}

}  // namespace

const char* ArgumentsOf(const char* commandLine) {
  const char* at = commandLine;
  while (IsBlank(*at)) ++at;
  if (*at == '"') {  // a quoted name ends at its closing quote
    ++at;
    while (*at != '\0' && *at != '"') ++at;
    return *at == '"' ? at + 1 : at;
  }
  while (*at != '\0' && !IsBlank(*at)) ++at;
  return at;
}

SetupCommandLine ParseSetupCommandLine(const char* arguments) {
  SetupCommandLine parsed;
  const std::vector<std::string> words = Words(arguments);
  for (const std::string& word : words) {
    if (IsSwitch(word, "S")) {
      parsed.silent = true;
    } else if (IsSwitch(word, "uninstall")) {
      parsed.uninstall = true;
    } else if (IsSwitch(word, kElevatedSwitch + 1)) {
      parsed.elevated = true;
    }
  }
  return parsed;
}
