#include "engine/TextSource.h"

namespace {

TextLoader source = nullptr;

}  // namespace

TextLoader SetTextSource(TextLoader newSource) {
  TextLoader before = source;
  source = newSource;
  return before;
}

std::string Text(int id) { return source ? source(id) : std::string(); }

std::string PrintableText(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  return text;
}

std::string FormatText(int id, const std::vector<std::string>& values) {
  return FormatWith(Text(id), values);
}

std::string FormatWith(std::string text, const std::vector<std::string>& values) {
  size_t at = 0;
  for (const std::string& value : values) {
    at = text.find("%s", at);
    if (at == std::string::npos) break;
    text.replace(at, 2, value);
    // A value is never searched for placeholders of its own.
    at += value.size();
  }
  return text;
}
