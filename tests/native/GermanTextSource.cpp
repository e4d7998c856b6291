// The native tests see the program's texts as a German system shows them:
// the engine's text source is the German string table, read from its source.

#include <map>
#include <string>

#include "engine/TextSource.h"
#include "native/RcText.h"

namespace {

std::string GermanText(int id) {
  static const std::map<int, std::string> kTable = rc::ReadStringTableSource(
      HUSHGATE_RES_DIR "/strings.rc", HUSHGATE_RES_DIR "/resource.h");
  auto found = kTable.find(id);
  return found == kTable.end() ? std::string() : found->second;
}

const bool kRegistered = (SetTextSource(GermanText), true);

}  // namespace
