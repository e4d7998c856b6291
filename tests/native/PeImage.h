#pragma once
// Reads the few facts the shipped-exe tests check from a 32-bit PE image held
// in memory. Every read is bounds-checked, so a damaged or hostile file gives
// an error message rather than undefined behaviour.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pe {

constexpr uint16_t kMachineI386 = 0x14c;
constexpr uint16_t kSubsystemWindowsGui = 2;

struct Import {
  std::string dll;       // lower case, since Windows matches DLL names without regard to case
  std::string function;  // empty when imported by ordinal
  uint16_t ordinal = 0;
  bool byOrdinal = false;
  bool delayLoaded = false;

  // "kernel32.dll!CreateFileA", or "comctl32.dll!#17" for an ordinal.
  std::string Name() const;
};

// One leaf of the resource tree: type, numeric name and language. Entries
// named by a string carry id 0.
struct Resource {
  uint32_t type = 0;
  uint32_t id = 0;
  uint32_t language = 0;
  std::vector<uint8_t> data;
};

struct PeImage {
  uint16_t machine = 0;
  uint32_t timeDateStamp = 0;
  uint16_t majorOperatingSystemVersion = 0;
  uint16_t minorOperatingSystemVersion = 0;
  uint16_t majorSubsystemVersion = 0;
  uint16_t minorSubsystemVersion = 0;
  uint16_t subsystem = 0;
  // The import directory first, then the delay-load one. GNU ld (2.40 at least) leaves the
  // delay-load directory empty for dlltool's delay libraries, so those imports go unseen.
  std::vector<Import> imports;
  std::vector<Resource> resources;
};

// Parses a PE32 image (a PE32+ one is an error); on failure returns nothing
// and says why in error.
std::optional<PeImage> ReadPeImage(const std::vector<uint8_t>& bytes, std::string& error);

}  // namespace pe
