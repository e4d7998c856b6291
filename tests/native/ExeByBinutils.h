#pragma once
// What the tests check of a 32-bit Windows exe and its resources, read with
// the cross binutils the build installs: objdump for the headers and the
// import tables, windres for the resources.

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

struct Exe {
  std::string format;  // objdump's name for it: "pei-i386" for a 32-bit x86 image
  uint16_t majorSubsystemVersion = 0;
  uint16_t minorSubsystemVersion = 0;
  uint16_t subsystem = 0;
  // The import directory first, then the delay-loaded ones.
  std::vector<Import> imports;
};

constexpr uint16_t kSubsystemWindowsGui = 2;

// Reads the exe. GNU ld leaves the delay-load directory of the header empty
// for dlltool's delay-load libraries, so their descriptors are found through
// the link map (ld -Map) of the same link; without one, none are read. On
// failure returns nothing and says why in error.
std::optional<Exe> ReadExe(const std::string& path, const std::string& linkMap,
                           std::string& error);

// The tags Windows itself picks by: German under the neutral sublanguage,
// English under U.S. English.
constexpr int kGerman = 0x0007;
constexpr int kEnglish = 0x0409;

// A menu, dialog, string table block, version record or manifest as windres
// decompiles it: its language, its first line ("243 MENU", "STRINGTABLE",
// "1 24 /* RT_MANIFEST */") and its lines to the END.
struct Resource {
  int language;
  std::string header;
  std::vector<std::string> lines;
};

// Those resources of an exe or a .res file, in windres's order; none when
// windres cannot read it.
std::vector<Resource> Decompiled(const std::string& path);

// The quoted texts of a line as windres writes them (with "" for a quote and
// C escapes), and the line with each of them emptied.
std::vector<std::string> Texts(const std::string& line, std::string* layout = nullptr);

// Such a text in Windows-1252, or a note when it does not fit.
std::string Unquoted(const std::string& text);

// The texts of a language's string tables by number, in Windows-1252.
std::map<unsigned, std::string> Strings(const std::vector<Resource>& resources, int language);

}  // namespace exe
