#pragma once
// A profile file as its lines, each kept in the file's own encoding (ANSI,
// or UTF-16LE after its byte-order mark) with its own line end, so that a
// save rewrites only the lines it owns and every other byte stays as it was.

#include <cstddef>
#include <string>
#include <vector>

class ProfileLines {
 public:
  // False for bytes this cannot keep as they are: UTF-16 big-endian, whose
  // mark is FE FF.
  bool Read(const std::string& bytes);
  std::string Bytes() const;

  size_t Count() const { return lines_.size(); }
  // The line as Windows-1252 text, without its end; a character the code
  // page does not have reads as '?'.
  const std::string& TextOf(size_t line) const { return lines_[line].text; }
  // Gives the line new Windows-1252 text; its end stays.
  void Replace(size_t line, const std::string& text);
  // A new line before the one at that place (at Count(): after the last),
  // ended by CR LF.
  void Insert(size_t at, const std::string& text);

 private:
  struct Line {
    std::string raw;   // in the file's encoding, without the end
    std::string text;  // Windows-1252
    std::string end;   // CR LF, LF or nothing (the last line), encoded
  };
  std::string Encoded(const std::string& text) const;

  bool wide_ = false;
  std::vector<Line> lines_;
  std::string tail_;  // an odd last byte of a UTF-16 file
};
