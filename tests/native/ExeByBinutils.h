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
  std::string function;  // "#17" for an import by ordinal 17
  bool delayLoaded = false;

  bool ByOrdinal() const { return function.rfind('#', 0) == 0; }
  // "kernel32.dll!CreateFileA", or "comctl32.dll!#17".
  std::string Name() const { return dll + "!" + function; }
};

struct Exe {
  std::string format;  // objdump's name for it: "pei-i386" for a 32-bit x86 image
  unsigned majorSubsystemVersion = 0;
  unsigned minorSubsystemVersion = 0;
  unsigned subsystem = 0;
  // The import directory first, then the delay-loaded ones.
  std::vector<Import> imports;
};

constexpr unsigned kSubsystemWindowsGui = 2;

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
