#include "native/ExeByBinutils.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <stdexcept>

#ifndef HUSHGATE_OBJDUMP
#define HUSHGATE_OBJDUMP "i686-w64-mingw32-objdump"
#endif
#ifndef HUSHGATE_WINDRES
#define HUSHGATE_WINDRES "i686-w64-mingw32-windres"
#endif

namespace exe {
namespace {

constexpr uint32_t kOrdinalFlag = 0x80000000u;
constexpr uint32_t kDelayAttributeRvaBased = 1;
constexpr size_t kMaxNameLength = 4096;
constexpr size_t kMaxTableEntries = 1 << 16;

struct ReadError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// The tool's standard output; a tool that fails is an error.
std::string Run(const std::string& command) {
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (!pipe) throw ReadError("cannot run " + command);
  std::string output;
  char buffer[65536];
  for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, got);
  if (pclose(pipe) != 0) throw ReadError(command + " failed");
  return output;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// An import by ordinal when the thunk says so, else by the name it points to.
template <class Name>
Import Entry(const std::string& dll, uint32_t thunk, Name name, bool delayLoaded) {
  const bool byOrdinal = (thunk & kOrdinalFlag) != 0;
  return {dll, byOrdinal ? "#" + std::to_string(thunk & 0xFFFF) : name(), delayLoaded};
}

// The header fields and the import directory, as objdump -p prints them.
void ReadPrivateHeaders(const std::string& text, Exe& image, unsigned& imageBase) {
  static const std::regex format("file format (\\S+)");
  static const std::regex field("(\\w+)\\s+([0-9a-fA-F]+)\\b.*");
  static const std::regex dllName("\\tDLL Name: (.+)");
  // "\t71e0\t   18  GetTickCount64", or "\t80000011\t   17  <none>" for an ordinal.
  static const std::regex entry("\\t([0-9a-fA-F]+)\\t\\s*(\\d+)\\s+(\\S+).*");
  const std::map<std::string, std::pair<unsigned*, int>> fields = {
      {"ImageBase", {&imageBase, 16}},
      {"MajorSubsystemVersion", {&image.majorSubsystemVersion, 10}},
      {"MinorSubsystemVersion", {&image.minorSubsystemVersion, 10}},
      {"Subsystem", {&image.subsystem, 16}}};
  std::smatch match;
  bool inImports = false;
  std::string dll;
  for (const std::string& line : Lines(text)) {
    if (std::regex_search(line, match, format)) {
      image.format = match[1];
    } else if (std::regex_match(line, match, field) && fields.count(match[1])) {
      const auto& [into, base] = fields.at(match[1]);
      *into = static_cast<unsigned>(std::stoul(match[2], nullptr, base));
    } else if (line.rfind("PE File Base Relocations", 0) == 0) {
      break;  // thousands of lines, none read here
    } else if (line.rfind("The Import Tables", 0) == 0) {
      inImports = true;
    } else if (inImports && !line.empty() && !std::isspace(static_cast<unsigned char>(line[0]))) {
      inImports = false;  // the next table begins
    } else if (inImports && std::regex_match(line, match, dllName)) {
      dll = Lower(match[1]);
    } else if (inImports && !dll.empty() && std::regex_match(line, match, entry)) {
      const uint32_t thunk = static_cast<uint32_t>(std::stoul(match[1], nullptr, 16));
      image.imports.push_back(Entry(dll, thunk, [&] { return match[3].str(); }, false));
    }
  }
  if (image.format.empty()) throw ReadError("objdump names no file format");
}

// The loaded sections' bytes by address, as objdump -s dumps them in rows of
// up to 16: " 401000 5589e583 ec18c704 24000000 00e8d6ff  U.......$.......".
class Memory {
 public:
  explicit Memory(const std::string& path) {
    for (const std::string& line : Lines(Run(HUSHGATE_OBJDUMP " -s " + Quoted(path)))) {
      const size_t end = line.find(' ', 1);
      if (line.size() < 2 || line[0] != ' ' || end == std::string::npos) continue;
      std::string& row = rows_[std::stoull(line.substr(1, end - 1), nullptr, 16)];
      for (size_t at = end; at + 1 < std::min(line.size(), end + 36); ++at)
        if (line[at] != ' ') row.push_back(static_cast<char>(std::stoi(line.substr(at++, 2), nullptr, 16)));
    }
  }

  uint8_t Byte(uint64_t address) const {
    auto row = rows_.upper_bound(address);
    if (row != rows_.begin() && address - (--row)->first < row->second.size())
      return static_cast<uint8_t>(row->second[address - row->first]);
    throw ReadError("address " + std::to_string(address) + " is in no section's contents");
  }
  uint32_t U32(uint64_t address) const {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | Byte(address + i);
    return value;
  }
  std::string String(uint64_t address) const {
    std::string text;
    for (uint8_t c; (c = Byte(address)) != 0; ++address) {
      if (text.size() == kMaxNameLength) throw ReadError("name too long");
      text.push_back(static_cast<char>(c));
    }
    return text;
  }

 private:
  std::map<uint64_t, std::string> rows_;
};

// Each delay-load descriptor the link map places: attributes, DLL name,
// module handle, address table, name table, then three fields not read here.
void ReadDelayImports(const std::string& path, const std::string& linkMap, unsigned imageBase,
                      Exe& image) {
  std::ifstream map(linkMap);
  if (!map) return;
  static const std::regex symbol("\\s+0x([0-9a-fA-F]+)\\s+_*DELAY_IMPORT_DESCRIPTOR_\\S+\\s*");
  std::vector<uint32_t> descriptors;
  std::smatch match;
  for (std::string line; std::getline(map, line);)
    if (line.find("DELAY_IMPORT_DESCRIPTOR_") != std::string::npos &&
        std::regex_match(line, match, symbol))
      descriptors.push_back(static_cast<uint32_t>(std::stoul(match[1], nullptr, 16)));
  if (descriptors.empty()) return;

  const Memory memory(path);
  for (uint32_t descriptor : descriptors) {
    const uint32_t attributes = memory.U32(descriptor);
    // Old descriptors hold addresses instead of RVAs.
    const uint64_t base = (attributes & kDelayAttributeRvaBased) ? imageBase : 0;
    const std::string dll = Lower(memory.String(base + memory.U32(descriptor + 4)));
    uint64_t entry = base + memory.U32(descriptor + 16);
    for (size_t count = 0;; ++count, entry += 4) {
      if (count == kMaxTableEntries) throw ReadError("delay-load name table implausibly long");
      const uint32_t thunk = memory.U32(entry);
      if (thunk == 0) break;
      // The name lies past a two-byte hint.
      Import import = Entry(dll, thunk, [&] { return memory.String(base + thunk + 2); }, true);
      if (import.function.empty())
        throw ReadError("empty delay-load import name");
      image.imports.push_back(import);
    }
  }
}

// Windows-1252's bytes 0x80 to 0x9F by the characters they stand for; 0
// where the byte stands for none.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

std::optional<Exe> ReadExe(const std::string& path, const std::string& linkMap,
                           std::string& error) {
  try {
    Exe image;
    unsigned imageBase = 0;
    ReadPrivateHeaders(Run(HUSHGATE_OBJDUMP " -p " + Quoted(path)), image, imageBase);
    ReadDelayImports(path, linkMap, imageBase, image);
    return image;
  } catch (const std::exception& e) {
    error = e.what();
    return std::nullopt;
  }
}

std::vector<Resource> Decompiled(const std::string& path) {
  static const std::regex language("LANGUAGE (\\d+), (\\d+)");
  static const std::regex header("(\\d+ (MENU|DIALOGEX|VERSIONINFO|24)|STRINGTABLE)\\b.*");
  std::vector<Resource> resources;
  std::string script;
  try {
    script = Run(HUSHGATE_WINDRES " -i " + Quoted(path) + " -O rc");
  } catch (const std::exception&) {
    return resources;
  }
  // windres names a language only where it changes.
  int current = 0;
  bool inside = false;
  std::smatch match;
  for (const std::string& line : Lines(script)) {
    if (std::regex_match(line, match, language)) {
      current = std::stoi(match[1]) | std::stoi(match[2]) << 10;
    } else if (!inside && std::regex_match(line, header)) {
      resources.push_back({current, line, {}});
      inside = true;
    } else if (inside) {
      inside = line != "END";
      resources.back().lines.push_back(line);
    }
  }
  return resources;
}

std::vector<std::string> Texts(const std::string& line, std::string* layout) {
  static const std::regex quoted("L?\"((?:[^\"]|\"\")*)\"");
  std::vector<std::string> texts;
  for (auto it = std::sregex_iterator(line.begin(), line.end(), quoted);
       it != std::sregex_iterator(); ++it)
    texts.push_back((*it)[1]);
  if (layout) *layout = std::regex_replace(line, quoted, "\"\"");
  return texts;
}

// windres writes a character outside printable ASCII as \a to \v, as three
// octal digits below 256, else as \x and four hex digits.
std::string Unquoted(const std::string& text) {
  static const std::string escapes = "abfnrtv", controls = "\a\b\f\n\r\t\v";
  std::string bytes;
  for (size_t at = 0; at < text.size(); ++at) {
    char16_t c = static_cast<unsigned char>(text[at]);
    if (c == '"') {
      ++at;  // "" is one quote
    } else if (c == '\\' && at + 1 < text.size()) {
      c = static_cast<unsigned char>(text[++at]);
      const bool hex = c == 'x', octal = c >= '0' && c <= '7';
      if (hex || octal) {
        c = char16_t(std::stoul(text.substr(at + hex, hex ? 4 : 3), nullptr, hex ? 16 : 8));
        at += hex ? 4 : 2;
      } else if (escapes.find(char(c)) != std::string::npos) {
        c = controls[escapes.find(char(c))];
      }
    }
    // Above Latin-1, or a control character whose byte Windows-1252 gives to another.
    if ((c >= 0x80 && c < 0xA0) || c > 0xFF) {
      const char16_t* high = std::find(kWindows1252High, kWindows1252High + 32, c);
      if (high == kWindows1252High + 32) return "<not representable in Windows-1252>";
      c = char16_t(0x80 + (high - kWindows1252High));
    }
    bytes += char(c);
  }
  return bytes;
}

// "  8, L\"Explorer: Remote-Desktop-Unterst\\374tzung ausschalten\""
std::map<unsigned, std::string> Strings(const std::vector<Resource>& resources, int language) {
  static const std::regex entry("\\s*(\\d+), L?\"(.*)\"");
  std::map<unsigned, std::string> table;
  std::smatch match;
  for (const Resource& resource : resources)
    if (resource.language == language && resource.header.rfind("STRINGTABLE", 0) == 0)
      for (const std::string& line : resource.lines)
        if (std::regex_match(line, match, entry)) table[std::stoul(match[1])] = Unquoted(match[2]);
  return table;
}

}  // namespace exe
