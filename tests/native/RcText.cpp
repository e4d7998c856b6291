#include "native/RcText.h"

#include <iconv.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

namespace rc {

namespace {

const char kWindres[] = "i686-w64-mingw32-windres";

bool IsDigitOf(char c, int base) {
  return base == 8 ? c >= '0' && c <= '7' : std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

unsigned HexValue(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10;
}

// The code unit of an escape that begins at text[*at] (just past the
// backslash); moves *at past it.
unsigned Escape(const std::string& text, size_t* at, bool wide) {
  char c = text[(*at)++];
  switch (c) {
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'a': return '\a';
    case 'x':
    case 'X': {
      unsigned value = 0;
      for (size_t digits = 0;
           digits < (wide ? 4u : 2u) && *at < text.size() && IsDigitOf(text[*at], 16); ++digits)
        value = value * 16 + HexValue(text[(*at)++]);
      return value;
    }
    default:
      if (IsDigitOf(c, 8)) {
        unsigned value = c - '0';
        for (size_t digits = 1; digits < 3 && *at < text.size() && IsDigitOf(text[*at], 8); ++digits)
          value = value * 8 + (text[(*at)++] - '0');
        return value;
      }
      return static_cast<unsigned char>(c);
  }
}

// The quoted text at text[*at] (a quote, or L and a quote); moves *at past it.
std::string ReadLiteral(const std::string& text, size_t* at) {
  bool wide = text[*at] == 'L';
  if (wide) ++*at;
  ++*at;  // the opening quote
  std::u16string units;
  std::string bytes;
  while (*at < text.size()) {
    char c = text[(*at)++];
    unsigned unit;
    if (c == '"') {
      if (*at < text.size() && text[*at] == '"') {
        ++*at;
        unit = '"';
      } else {
        break;
      }
    } else if (c == '\\' && *at < text.size()) {
      unit = Escape(text, at, wide);
    } else {
      unit = static_cast<unsigned char>(c);
    }
    if (wide)
      units.push_back(static_cast<char16_t>(unit));
    else
      bytes.push_back(static_cast<char>(unit));
  }
  return wide ? ToWindows1252(units) : bytes;
}

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r");
  size_t last = text.find_last_not_of(" \t\r");
  return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The arguments of a statement, split at the commas outside quotes; quoted
// ones are unquoted.
std::vector<std::string> Arguments(const std::string& text) {
  std::vector<std::string> arguments;
  std::string current;
  for (size_t at = 0; at < text.size();) {
    if (text[at] == '"' || (text[at] == 'L' && at + 1 < text.size() && text[at + 1] == '"')) {
      current += ReadLiteral(text, &at);
    } else if (text[at] == ',') {
      arguments.push_back(Trim(current));
      current.clear();
      ++at;
    } else {
      current += text[at++];
    }
  }
  arguments.push_back(Trim(current));
  return arguments;
}

bool IsQuoted(const std::string& text) {
  return !text.empty() && (text[0] == '"' || (text[0] == 'L' && text.size() > 1 && text[1] == '"'));
}

// Statements whose first argument is the control's text.
bool HasText(const std::string& statement, const std::string& rest) {
  return statement == "CONTROL" || statement == "ICON" || IsQuoted(rest);
}

Control ReadControl(const std::string& statement, const std::string& rest) {
  std::vector<std::string> arguments = Arguments(rest);
  Control control;
  control.statement = statement;
  size_t at = 0;
  if (HasText(statement, rest)) control.text = arguments[at++];
  if (at < arguments.size()) control.id = arguments[at++];
  if (statement == "CONTROL" && at + 1 < arguments.size()) {
    control.className = arguments[at];
    at += 2;  // the class and the style
  }
  for (size_t i = 0; i < 4 && at < arguments.size(); ++i, ++at)
    control.place.push_back(std::atoi(arguments[at].c_str()));
  return control;
}

std::string RunWindres(const std::string& exePath) {
  std::string command = std::string(kWindres) + " -i '" + exePath + "' -O rc 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return std::string();
  std::string output;
  char buffer[4096];
  for (size_t read; (read = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, read);
  return pclose(pipe) == 0 ? output : std::string();
}

}  // namespace

std::string ToWindows1252(const std::u16string& text) {
  iconv_t converter = iconv_open("CP1252", "UTF-16LE");
  std::string input(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  std::string output(text.size() * 2 + 1, '\0');
  char* in = &input[0];
  char* out = &output[0];
  size_t inLeft = input.size();
  size_t outLeft = output.size();
  size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (result == size_t(-1)) return "<not representable in Windows-1252>";
  output.resize(output.size() - outLeft);
  return output;
}

std::string Unquote(const std::string& literal) {
  size_t at = 0;
  return ReadLiteral(literal, &at);
}

std::map<int, std::string> ReadStringTableSource(const std::string& rcPath,
                                                 const std::string& headerPath) {
  std::map<std::string, int> names;
  std::ifstream header(headerPath);
  const std::regex define(R"(#define\s+(\w+)\s+(\d+))");
  for (std::string line; std::getline(header, line);) {
    std::smatch match;
    if (std::regex_search(line, match, define)) names[match[1]] = std::stoi(match[2]);
  }
  std::map<int, std::string> table;
  std::ifstream source(rcPath, std::ios::binary);
  const std::regex entry(R"(^\s*(\w+)\s*,\s*(L?".*)$)");
  for (std::string line; std::getline(source, line);) {
    std::smatch match;
    line = Trim(line);  // the source's lines end in CR LF
    if (!std::regex_match(line, match, entry)) continue;
    std::string id = match[1];
    int number = std::isdigit(static_cast<unsigned char>(id[0])) ? std::stoi(id)
                 : names.count(id)                               ? names[id]
                                                                 : -1;
    if (number >= 0) table[number] = Unquote(Trim(match[2]));
  }
  return table;
}

std::optional<std::vector<Resource>> ReadDecompiledExe(const std::string& exePath) {
  std::string text = RunWindres(exePath);
  if (text.empty()) return std::nullopt;
  std::vector<Resource> resources;
  std::istringstream lines(text);
  const std::regex languageLine(R"(^LANGUAGE (\d+), (\d+))");
  const std::regex header(R"(^(\d+) (MENU|DIALOGEX|DIALOG)\b.*)");
  const std::regex statementLine(R"(^\s*([A-Z]+)\s*(.*)$)");
  int language = 0;
  Resource* current = nullptr;
  int depth = 0;
  size_t position = 0;
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    std::string trimmed = Trim(line);
    if (!current) {
      if (std::regex_search(line, match, languageLine)) {
        language = std::stoi(match[1]) | std::stoi(match[2]) << 10;
      } else if (bool strings = trimmed.rfind("STRINGTABLE", 0) == 0;
                 strings || std::regex_match(trimmed, match, header)) {
        resources.push_back(Resource());
        current = &resources.back();
        current->type = strings ? "STRINGTABLE" : std::string(match[2]);
        current->name = strings ? 0 : std::stoi(match[1]);
        current->language = language;
        depth = 0;
        position = 0;
      }
      continue;
    }
    if (trimmed == "BEGIN" || trimmed == "END") {
      depth += trimmed == "BEGIN" ? 1 : -1;
      if (depth == 0) current = nullptr;
      continue;
    }
    if (!std::regex_match(line, match, statementLine)) {
      if (current->type == "STRINGTABLE" && depth == 1) {
        std::vector<std::string> arguments = Arguments(trimmed);
        if (arguments.size() == 2) current->texts.push_back({arguments[0], arguments[1]});
      }
      continue;
    }
    std::string statement = match[1];
    std::string rest = match[2];
    if (depth == 0) {
      if (statement == "CAPTION") current->texts.push_back({"caption", Unquote(Trim(rest))});
    } else if (current->type == "MENU") {
      if (rest != "SEPARATOR")
        current->texts.push_back({std::to_string(position++), Arguments(rest)[0]});
    } else if (current->type != "STRINGTABLE") {
      Control control = ReadControl(statement, rest);
      current->texts.push_back({std::to_string(position++), control.text});
      current->controls.push_back(control);
    }
  }
  return resources;
}

}  // namespace rc
