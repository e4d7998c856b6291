#include "system/ProfileLines.h"

#include <cstdint>

namespace {

const char kUtf16Mark[] = "\xFF\xFE";

// Windows-1252's characters 0x80 to 0x9F; the rest of the page is Latin-1.
// The five it leaves undefined stand for themselves, as the system maps them.
const uint16_t kHighHalf[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

uint16_t Unicode(char c) {
  const unsigned char byte = static_cast<unsigned char>(c);
  return byte >= 0x80 && byte < 0xA0 ? kHighHalf[byte - 0x80] : byte;
}

char CodePageChar(uint16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit < 0x100)) return static_cast<char>(unit);
  for (int i = 0; i < 32; ++i)
    if (kHighHalf[i] == unit) return static_cast<char>(0x80 + i);
  return '?';
}

uint16_t UnitAt(const std::string& bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) |
                               static_cast<unsigned char>(bytes[at + 1]) << 8);
}

}  // namespace

bool ProfileLines::Read(const std::string& bytes) {
  if (bytes.compare(0, 2, "\xFE\xFF") == 0) return false;
  wide_ = bytes.compare(0, 2, kUtf16Mark) == 0;
  lines_.clear();
  const size_t width = wide_ ? 2 : 1;
  size_t at = wide_ ? 2 : 0;
  const size_t end = wide_ ? bytes.size() - (bytes.size() - at) % 2 : bytes.size();
  tail_ = bytes.substr(end);
  Line line;
  for (; at < end; at += width) {
    const uint16_t unit = wide_ ? UnitAt(bytes, at) : static_cast<unsigned char>(bytes[at]);
    const std::string raw = bytes.substr(at, width);
    if (unit != '\n') {
      line.raw += raw;
      line.text += wide_ ? CodePageChar(unit) : raw[0];
      continue;
    }
    // A line end is LF, or CR LF: the CR leaves the line's text.
    if (!line.text.empty() && line.text.back() == '\r') {
      line.text.pop_back();
      line.end = line.raw.substr(line.raw.size() - width);
      line.raw.erase(line.raw.size() - width);
    }
    line.end += raw;
    lines_.push_back(line);
    line = Line();
  }
  if (!line.raw.empty()) lines_.push_back(line);
  return true;
}

std::string ProfileLines::Bytes() const {
  std::string bytes = wide_ ? kUtf16Mark : "";
  for (const Line& line : lines_) bytes += line.raw + line.end;
  return bytes + tail_;
}

std::string ProfileLines::Encoded(const std::string& text) const {
  if (!wide_) return text;
  std::string bytes;
  for (char c : text) {
    const uint16_t unit = Unicode(c);
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

void ProfileLines::Replace(size_t line, const std::string& text) {
  lines_[line].raw = Encoded(text);
  lines_[line].text = text;
}

void ProfileLines::Insert(size_t at, const std::string& text) {
  // A last line without its end gets one, so the new line starts a line.
  if (at > 0 && lines_[at - 1].end.empty()) lines_[at - 1].end = Encoded("\r\n");
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                Line{Encoded(text), text, Encoded("\r\n")});
}
