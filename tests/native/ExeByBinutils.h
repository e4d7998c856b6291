#pragma once
// What the tests check of a 32-bit Windows exe and its resources, read with
// the cross binutils the build installs: objdump for the headers, the import
// tables and the section table, windres for the resources.

#include <cstdint>
#include <map>
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

// The resources of a .res file as windres writes it; none when unreadable.
std::vector<Resource> ReadResourceFile(const std::string& path);

// The texts of the string tables by number, in Windows-1252. windres writes
// the languages of a resource in ascending order but not their ids: the
// first block of each number is taken, the German one (0x0007) where there
// is an English one (0x0409) too.
std::map<unsigned, std::string> FirstStrings(const std::vector<Resource>& resources);

// The resource script windres decompiles from the exe; empty when it fails.
std::string DecompiledScript(const std::string& path);

}  // namespace exe
