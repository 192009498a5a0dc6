#include "ProgramsList.h"

#include <cctype>
#include <vector>

namespace {
// A resource as the daemon reads it: physical lines joined while one ends
// with a backslash (a line of fewer than two characters never continues).
struct Resource {
  size_t begin;      // its first character
  size_t lastBegin;  // where its last physical line begins
  size_t end;        // the end of that line: its newline, or the end of the text
};

std::vector<Resource> Resources(const std::string& t) {
  std::vector<Resource> all;
  size_t pos = 0;
  while (pos < t.size()) {
    Resource r{pos, pos, pos};
    for (;;) {
      const size_t newline = t.find('\n', pos);
      r.lastBegin = pos;
      r.end = newline == std::string::npos ? t.size() : newline;
      pos = newline == std::string::npos ? t.size() : newline + 1;
      const bool continues = r.end - r.lastBegin >= 2 && t[r.end - 1] == '\\';
      if (!continues || pos >= t.size()) break;
    }
    all.push_back(r);
  }
  return all;
}

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The position of the colon ending the key "programs" (in any case) of a
// resource, or npos when the resource is another one or a comment.
size_t ProgramsColon(const std::string& t, const Resource& r) {
  size_t i = r.begin;
  while (i < r.end && Blank(t[i])) ++i;
  const size_t colon = t.find(':', i);
  if (colon == std::string::npos || colon >= r.end) return std::string::npos;
  size_t keyEnd = colon;
  while (keyEnd > i && Blank(t[keyEnd - 1])) --keyEnd;
  const std::string key = t.substr(i, keyEnd - i);
  static const char kKey[] = "programs";
  if (key.size() != sizeof kKey - 1) return std::string::npos;
  for (size_t k = 0; k < key.size(); ++k)
    if (std::tolower(static_cast<unsigned char>(key[k])) != kKey[k]) return std::string::npos;
  return colon;
}

// The value after the colon as the daemon sees it: continuations joined,
// backslash escapes resolved ("\n" ends an entry).
std::string Value(const std::string& t, size_t from, size_t to) {
  std::string value;
  for (size_t i = from; i < to; ++i) {
    if (t[i] != '\\' || i + 1 >= to) {
      value += t[i];
      continue;
    }
    const char next = t[++i];
    if (next == '\n') continue;  // a continuation
    value += next == 'n' ? '\n' : next == 't' ? '\t' : next == 'r' ? '\r' : next;
  }
  return value;
}

// The program an entry runs: the command's first word, without its folder.
std::string Program(const std::string& entry) {
  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < entry.size() && Blank(entry[i])) ++i;
  };
  skipBlanks();
  if (i < entry.size() && entry[i] == '-') ++i;
  skipBlanks();
  size_t j = i;  // "visual:"
  while (j < entry.size() && entry[j] != ':' && entry[j] != '"' && !Blank(entry[j])) ++j;
  if (j < entry.size() && entry[j] == ':') i = j + 1;
  skipBlanks();
  if (i < entry.size() && entry[i] == '"') {  // "Name"
    const size_t close = entry.find('"', i + 1);
    i = close == std::string::npos ? entry.size() : close + 1;
  }
  skipBlanks();
  size_t end = i;
  while (end < entry.size() && !Blank(entry[end])) ++end;
  const std::string path = entry.substr(i, end - i);
  return path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
}

bool Lists(const std::string& value, const std::string& program) {
  size_t start = 0;
  while (start <= value.size()) {
    const size_t newline = value.find('\n', start);
    const size_t stop = newline == std::string::npos ? value.size() : newline;
    if (Program(value.substr(start, stop - start)) == program) return true;
    start = stop + 1;
  }
  return false;
}

// Tabs, then spaces, from column `from` to column `to`, as xscreensaver
// lays its file out.
std::string Pad(size_t from, size_t to) {
  std::string pad;
  while ((from / 8 + 1) * 8 <= to) {
    pad += '\t';
    from = (from / 8 + 1) * 8;
  }
  for (; from < to; ++from) pad += ' ';
  return pad;
}

// The entry indented as xscreensaver indents its entries.
std::string Indented(const ProgramsEntry& entry) {
  const std::string text = "\"" + entry.name + "\"  " + entry.command;
  return "\t\t\t\t" + text;
}

// The entry on a line of its own that goes on to the next one.
std::string ContinuedLine(const ProgramsEntry& entry) {
  const std::string line = Indented(entry);
  const size_t column = 32 + line.size() - 4;
  return line + (column < 75 ? Pad(column, 75) : "") + " \\n\\";
}

// Whether a line's content ends with the escape "\n" (blanks after it aside).
bool EndsWithEntryBreak(const std::string& line) {
  size_t end = line.size();
  while (end > 0 && Blank(line[end - 1])) --end;
  size_t slashes = 0;
  if (end < 2 || line[end - 1] != 'n') return false;
  for (size_t i = end - 1; i > 0 && line[i - 1] == '\\'; --i) ++slashes;
  return slashes % 2 == 1;
}
}  // namespace

ProgramsChange AddToProgramsList(std::string& text, const ProgramsEntry& entry) {
  const std::string program = Program(entry.command);
  const Resource* last = nullptr;
  size_t colon = std::string::npos;
  const std::vector<Resource> resources = Resources(text);
  for (const Resource& r : resources) {
    const size_t c = ProgramsColon(text, r);
    if (c == std::string::npos) continue;
    last = &r;
    colon = c;
  }

  if (last == nullptr) {
    // A new resource at the end, after a blank line when the text ends in
    // a continuation that would swallow it.
    std::string block;
    if (!text.empty() && text.back() != '\n') block += '\n';
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\\\n") == 0) block += '\n';
    block += "programs:" + Pad(9, 77) + " \\\n" + ContinuedLine(entry) + "\n\n";
    text += block;
    return ProgramsChange::kAdded;
  }

  if (Lists(Value(text, colon + 1, last->end), program)) return ProgramsChange::kPresent;

  const std::string lastLine = text.substr(last->lastBegin, last->end - last->lastBegin);
  const bool onlyLine = last->lastBegin == last->begin;
  const std::string afterKey = onlyLine ? text.substr(colon + 1, last->end - colon - 1) : lastLine;
  bool blank = true;
  for (const char c : afterKey) blank = blank && Blank(c);

  if (!lastLine.empty() && lastLine.back() == '\\') {
    // The list runs on to the end of the text.
    text.insert(last->end, "\n" + ContinuedLine(entry));
  } else if (blank && !onlyLine) {
    // As xscreensaver writes it: every entry ends with "\n\" and a blank
    // line ends the list; the entry goes in before that line.
    text.insert(last->lastBegin, ContinuedLine(entry) + "\n");
  } else if (blank) {
    text.insert(last->end, " \"" + entry.name + "\"  " + entry.command);
  } else if (EndsWithEntryBreak(lastLine)) {
    text.insert(last->end, "\\\n" + Indented(entry) + " \\n");
  } else {
    text.insert(last->end, " \\n\\\n" + Indented(entry));
  }
  return ProgramsChange::kAdded;
}
