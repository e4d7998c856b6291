#pragma once
// Reads the texts of resource scripts: the string table source (Windows-1252,
// numbers by the names of resource.h) and what windres decompiles from the
// built exe, resource by resource and language by language.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace rc {

// UTF-16 text as Windows-1252 bytes, or a note when it does not fit.
std::string ToWindows1252(const std::u16string& text);

// One quoted text of a script, its escapes resolved, in Windows-1252.
std::string Unquote(const std::string& literal);

// The strings of a STRINGTABLE source by number.
std::map<int, std::string> ReadStringTableSource(const std::string& rcPath,
                                                 const std::string& headerPath);

struct Control {
  std::string statement;  // LTEXT, PUSHBUTTON, CONTROL ...
  std::string text;       // its text, or the icon's number for an icon
  std::string id;
  std::string className;  // CONTROL statements only
  std::vector<int> place;  // x, y, width, height
};

struct Resource {
  std::string type;  // STRINGTABLE, MENU, DIALOGEX
  int name = 0;      // the block number for a string table
  int language = 0;  // the LANGID
  // The texts in order: string table entries by number ("12"), menu items
  // and popups by their position ("2" for the third), a dialog's caption
  // ("caption") and its controls by position.
  std::vector<std::pair<std::string, std::string>> texts;
  std::vector<Control> controls;  // dialogs
};

// Decompiles the exe's resources with the cross windres; nothing when it fails.
std::optional<std::vector<Resource>> ReadDecompiledExe(const std::string& exePath);

}  // namespace rc
