#include "native/ExeByBinutils.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>

#include <iconv.h>
#include <stdlib.h>
#include <unistd.h>

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

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// An import by ordinal when the thunk says so, else by the name it points to.
template <class Name>
Import Entry(const std::string& dll, uint32_t thunk, Name name, bool delayLoaded) {
  Import import;
  import.dll = dll;
  import.delayLoaded = delayLoaded;
  import.byOrdinal = (thunk & kOrdinalFlag) != 0;
  if (import.byOrdinal) import.ordinal = static_cast<uint16_t>(thunk);
  else import.function = name();
  return import;
}

// The header fields and the import directory, as objdump -p prints them.
void ReadPrivateHeaders(const std::string& text, Exe& image, uint32_t& imageBase,
                        bool& hasResources) {
  static const std::regex format("file format (\\S+)");
  static const std::regex base("ImageBase\\s+([0-9a-fA-F]+)");
  static const std::regex majorVersion("MajorSubsystemVersion\\s+(\\d+)");
  static const std::regex minorVersion("MinorSubsystemVersion\\s+(\\d+)");
  static const std::regex subsystem("Subsystem\\s+([0-9a-fA-F]+)\\s.*");
  static const std::regex resourceDirectory("Entry 2 [0-9a-fA-F]+ ([0-9a-fA-F]+) Resource Directory.*");
  static const std::regex dllName("\\tDLL Name: (.+)");
  // "\t71e0\t   18  GetTickCount64", or "\t80000011\t   17  <none>" for an ordinal.
  static const std::regex entry("\\t([0-9a-fA-F]+)\\t\\s*(\\d+)\\s+(\\S+).*");
  std::smatch match;
  bool inImports = false;
  Import current;
  for (const std::string& line : Lines(text)) {
    if (std::regex_search(line, match, format)) {
      image.format = match[1];
    } else if (std::regex_match(line, match, base)) {
      imageBase = static_cast<uint32_t>(std::stoul(match[1], nullptr, 16));
    } else if (std::regex_match(line, match, majorVersion)) {
      image.majorSubsystemVersion = static_cast<uint16_t>(std::stoul(match[1]));
    } else if (std::regex_match(line, match, minorVersion)) {
      image.minorSubsystemVersion = static_cast<uint16_t>(std::stoul(match[1]));
    } else if (std::regex_match(line, match, resourceDirectory)) {
      hasResources = std::stoul(match[1], nullptr, 16) != 0;
    } else if (std::regex_match(line, match, subsystem)) {
      image.subsystem = static_cast<uint16_t>(std::stoul(match[1], nullptr, 16));
    } else if (line.rfind("PE File Base Relocations", 0) == 0) {
      break;  // thousands of lines, none read here
    } else if (line.rfind("The Import Tables", 0) == 0) {
      inImports = true;
    } else if (inImports && !line.empty() && !std::isspace(static_cast<unsigned char>(line[0]))) {
      inImports = false;  // the next table begins
    } else if (inImports && std::regex_match(line, match, dllName)) {
      current = Import();
      current.dll = Lower(match[1]);
    } else if (inImports && !current.dll.empty() &&
               std::regex_match(line, match, entry)) {
      const uint32_t thunk = static_cast<uint32_t>(std::stoul(match[1], nullptr, 16));
      image.imports.push_back(Entry(current.dll, thunk, [&] { return match[3].str(); }, false));
    }
  }
  if (image.format.empty()) throw ReadError("objdump names no file format");
}

// The loaded sections' bytes by address: objdump -h tells where in the file
// each section's contents lie.
class Memory {
 public:
  Memory(const std::string& path, const std::string& sectionTable) : file_(FileBytes(path)) {
    // "  0 .text  00029ea4  00401000  00401000  00000400  2**2": size, address,
    // load address, file offset. Sections without contents lie at offset 0.
    static const std::regex row("\\s*\\d+ \\S+\\s+([0-9a-f]+)\\s+([0-9a-f]+)\\s+[0-9a-f]+\\s+([0-9a-f]+)\\s.*");
    std::smatch match;
    for (const std::string& line : Lines(sectionTable))
      if (std::regex_match(line, match, row) && std::stoul(match[3], nullptr, 16) != 0)
        sections_.push_back({std::stoul(match[2], nullptr, 16), std::stoul(match[1], nullptr, 16),
                             std::stoul(match[3], nullptr, 16)});
  }

  uint8_t Byte(uint64_t address) const {
    for (const Section& section : sections_) {
      const uint64_t at = section.offset + (address - section.address);
      if (address >= section.address && address - section.address < section.size &&
          at < file_.size())
        return static_cast<uint8_t>(file_[at]);
    }
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
  struct Section {
    uint64_t address, size, offset;
  };
  std::string file_;
  std::vector<Section> sections_;
};

// Each delay-load descriptor the link map places: attributes, DLL name,
// module handle, address table, name table, then three fields not read here.
void ReadDelayImports(const std::string& path, const std::string& linkMap, uint32_t imageBase,
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

  const Memory memory(path, Run(HUSHGATE_OBJDUMP " -h " + Quoted(path)));
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
      if (!import.byOrdinal && import.function.empty())
        throw ReadError("empty delay-load import name");
      image.imports.push_back(import);
    }
  }
}

// A .res file as windres writes it: entries of a header (data size, header
// size, type and name each 0xFFFF plus a number or a UTF-16 string, then
// version, flags, language and two more fields) and the data, each 4-aligned.
std::vector<Resource> ReadResources(const std::string& res) {
  std::vector<Resource> resources;
  auto u16 = [&](size_t at) -> uint32_t {
    if (at + 2 > res.size()) throw ReadError("resource file cut short");
    return static_cast<uint8_t>(res[at]) | static_cast<uint8_t>(res[at + 1]) << 8;
  };
  auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
  // A number, or 0 for a name given as a string.
  auto nameOrId = [&](size_t& at) -> uint32_t {
    if (u16(at) == 0xFFFF) {
      at += 4;
      return u16(at - 2);
    }
    while (u16(at) != 0) at += 2;
    at += 2;
    return 0;
  };
  for (size_t at = 0; at < res.size();) {
    const uint32_t dataSize = u32(at);
    const uint32_t headerSize = u32(at + 4);
    size_t field = at + 8;
    Resource resource;
    resource.type = nameOrId(field);
    resource.id = nameOrId(field);
    field = (field + 3) & ~size_t{3};
    resource.language = u16(field + 6);
    const size_t data = at + headerSize;
    if (headerSize < 32 || data > res.size() || dataSize > res.size() - data)
      throw ReadError("resource entry past the end of the file");
    resource.data.assign(res.begin() + data, res.begin() + data + dataSize);
    // The file starts with an empty entry that only marks it as 32-bit.
    if (dataSize != 0 || resource.type != 0) resources.push_back(std::move(resource));
    at = (data + dataSize + 3) & ~size_t{3};
  }
  return resources;
}

// UTF-16 text as Windows-1252 bytes, or a note when it does not fit.
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

// windres writes a .res file only to a file it can seek in.
std::string DecompiledResources(const std::string& path) {
  char name[] = "/tmp/hushgate-resources-XXXXXX.res";
  const int file = mkstemps(name, 4);
  if (file < 0) throw ReadError("cannot make a temporary file");
  close(file);
  std::string res;
  try {
    Run(HUSHGATE_WINDRES " -i " + Quoted(path) + " -O res -o " + Quoted(name));
    res = FileBytes(name);
  } catch (...) {
    unlink(name);
    throw;
  }
  unlink(name);
  return res;
}

}  // namespace

std::string Import::Name() const {
  return dll + "!" + (byOrdinal ? "#" + std::to_string(ordinal) : function);
}

std::optional<Exe> ReadExe(const std::string& path, const std::string& linkMap,
                           std::string& error) {
  try {
    Exe image;
    uint32_t imageBase = 0;
    bool hasResources = false;
    ReadPrivateHeaders(Run(HUSHGATE_OBJDUMP " -p " + Quoted(path)), image, imageBase, hasResources);
    ReadDelayImports(path, linkMap, imageBase, image);
    // windres fails on an exe without resources.
    if (hasResources) image.resources = ReadResources(DecompiledResources(path));
    return image;
  } catch (const std::exception& e) {
    error = e.what();
    return std::nullopt;
  }
}

std::vector<Resource> ReadResourceFile(const std::string& path) {
  try {
    return ReadResources(FileBytes(path));
  } catch (const std::exception&) {
    return {};
  }
}

// Each string block n holds the strings 16 (n - 1) to 16 n - 1, each a
// length followed by that many UTF-16 units.
std::map<unsigned, std::string> FirstStrings(const std::vector<Resource>& resources) {
  constexpr uint32_t kStringBlock = 6;
  std::map<unsigned, std::string> table;
  std::set<uint32_t> seen;
  for (const Resource& resource : resources) {
    if (resource.type != kStringBlock || resource.id == 0 || !seen.insert(resource.id).second)
      continue;
    const std::vector<uint8_t>& data = resource.data;
    size_t at = 0;
    for (unsigned i = 0; i < 16 && at + 2 <= data.size(); ++i) {
      size_t length = data[at] | data[at + 1] << 8;
      at += 2;
      if (at + 2 * length > data.size()) break;
      std::u16string text;
      for (size_t k = 0; k < length; ++k, at += 2) text.push_back(char16_t(data[at] | data[at + 1] << 8));
      if (length) table[(resource.id - 1) * 16 + i] = ToWindows1252(text);
    }
  }
  return table;
}

std::string DecompiledScript(const std::string& path) {
  try {
    return Run(HUSHGATE_WINDRES " -i " + Quoted(path) + " -O rc");
  } catch (const std::exception&) {
    return std::string();
  }
}

}  // namespace exe
