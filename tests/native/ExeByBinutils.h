#pragma once
// What the shipped-exe tests check, read from a 32-bit Windows exe with the
// cross binutils the build installs: objdump for the headers, the import
// tables and the section contents, windres for the resources.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace exe {

struct Import {
  std::string dll;       // lower case, since Windows matches DLL names without regard to case
  std::string function;  // empty when imported by ordinal
  uint16_t ordinal = 0;
  bool byOrdinal = false;
  bool delayLoaded = false;

  // "kernel32.dll!CreateFileA", or "comctl32.dll!#17" for an ordinal.
  std::string Name() const;
};

// One resource: type, numeric name and language. Entries named by a string
// carry id 0.
struct Resource {
  uint32_t type = 0;
  uint32_t id = 0;
  uint32_t language = 0;
  std::vector<uint8_t> data;
};

struct Exe {
  std::string format;  // objdump's name for it: "pei-i386" for a 32-bit x86 image
  uint16_t majorSubsystemVersion = 0;
  uint16_t minorSubsystemVersion = 0;
  uint16_t subsystem = 0;
  // The import directory first, then the delay-loaded ones.
  std::vector<Import> imports;
  std::vector<Resource> resources;
};

constexpr uint16_t kSubsystemWindowsGui = 2;

// Reads the exe. GNU ld leaves the delay-load directory of the header empty
// for dlltool's delay-load libraries, so their descriptors are found through
// the link map (ld -Map) of the same link; without one, none are read. On
// failure returns nothing and says why in error.
std::optional<Exe> ReadExe(const std::string& path, const std::string& linkMap,
                           std::string& error);

}  // namespace exe
