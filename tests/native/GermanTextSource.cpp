// The native tests see the program's texts as a German system shows them:
// the engine's text source is the German string table, as windres compiles
// it from its source.

#include <map>
#include <string>

#include "engine/TextSource.h"
#include "native/ExeByBinutils.h"

namespace {

std::string GermanText(int id) {
  static const std::map<unsigned, std::string> kTable =
      exe::Strings(exe::Decompiled(GERMAN_STRINGS_RES), exe::kGerman);
  auto found = kTable.find(id);
  return found == kTable.end() ? std::string() : found->second;
}

const bool kRegistered = (SetTextSource(GermanText), true);

}  // namespace
