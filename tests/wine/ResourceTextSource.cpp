// The window tests see the engine's texts as the program does: it registers
// its string-table reader as the text source at start-up.

#include "engine/TextSource.h"
#include "ui/ResourceText.h"

namespace {

const bool kRegistered = (SetTextSource(LoadText), true);

}  // namespace
