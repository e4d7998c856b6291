#include "engine/ProfileSave.h"

#include <vector>

#include "engine/ProfileSyntax.h"
#include "engine/Reports.h"
#include "engine/SettingCatalogue.h"
#include "engine/TextSource.h"
#include "res/resource.h"

namespace {

using namespace profile_syntax;

// The name of the section a line heads, as the profile functions read it.
bool SectionName(const std::string& line, std::string* name) {
  const std::string trimmed = Trimmed(line);
  const size_t close = trimmed.find(']');
  if (trimmed.size() < 2 || trimmed[0] != '[' || close == std::string::npos) return false;
  *name = trimmed.substr(1, close - 1);
  return true;
}

bool IsBlank(const std::string& line) { return Trimmed(line).empty(); }

// The first part of a section, the one the profile functions read: its
// header's line, and the line after its last one that is not blank. A later
// part of the same name is another's to keep.
struct Span {
  bool found = false;
  size_t header = 0;
  size_t end = 0;
};

Span FindSpan(const ProfileLines& lines, const char* section) {
  Span span;
  std::string name;
  for (size_t i = 0; i < lines.Count(); ++i) {
    if (SectionName(lines.TextOf(i), &name)) {
      if (span.found) break;
      if (Lower(name) == Lower(section)) span = {true, i, i + 1};
    } else if (span.found && !IsBlank(lines.TextOf(i))) {
      span.end = i + 1;
    }
  }
  return span;
}

size_t FirstSection(const ProfileLines& lines) {
  std::string name;
  for (size_t i = 0; i < lines.Count(); ++i)
    if (SectionName(lines.TextOf(i), &name)) return i;
  return lines.Count();
}

// A new section after the last line, apart from it by a blank line; its
// header's line, as the first part of a span.
Span AppendSection(ProfileLines* lines, const char* section) {
  size_t at = lines->Count();
  if (at > 0 && !IsBlank(lines->TextOf(at - 1))) lines->Insert(at++, "");
  lines->Insert(at, std::string("[") + section + "]");
  return {true, at, at + 1};
}

// The program's own header comment ("; Profil von %s, gespeichert am %s"):
// its opening words, and its middle words after them.
bool IsHeaderComment(const std::string& line) {
  const std::string pattern = "; " + Text(IDS_PROFILE_HEADER);
  const size_t first = pattern.find("%s");
  const size_t second = pattern.find("%s", first + 2);
  if (second == std::string::npos) return false;
  const std::string text = Trimmed(line);
  const std::string middle = pattern.substr(first + 2, second - first - 2);
  return text.compare(0, first, pattern, 0, first) == 0 &&
         text.find(middle, first) != std::string::npos;
}

const std::string kFormatLine = "Format=" + std::to_string(kFormat);

void RewriteProgramSection(ProfileLines* lines, const std::string& header) {
  const Span span = FindSpan(*lines, kProgramSection);
  if (!span.found) {
    // Before the first section, where a fresh file has it; lines before
    // that stay before it.
    size_t at = FirstSection(*lines);
    const bool sectionFollows = at < lines->Count();
    for (const std::string& line : {std::string("[") + kProgramSection + "]", header, kFormatLine})
      lines->Insert(at++, line);
    if (sectionFollows) lines->Insert(at, "");
    return;
  }
  bool hasHeader = false;
  bool hasFormat = false;
  for (size_t i = span.header + 1; i < span.end; ++i) {
    std::string key, value;
    if (!IsComment(lines->TextOf(i)) && SplitLine(lines->TextOf(i), &key, &value) &&
        key == kFormatKey) {
      lines->Replace(i, kFormatLine);
      hasFormat = true;
    } else if (!hasHeader && IsHeaderComment(lines->TextOf(i))) {
      lines->Replace(i, header);
      hasHeader = true;
    }
  }
  size_t at = span.header + 1;
  if (!hasHeader) lines->Insert(at++, header);
  if (!hasFormat) lines->Insert(at, kFormatLine);
}

std::string SettingLine(SettingId id, const std::map<SettingId, Wanted>& choice) {
  auto found = choice.find(id);
  return std::to_string(id) + "=" + WantedWord(found == choice.end() ? Wanted::kLeave : found->second);
}

void RewriteSettings(ProfileLines* lines, const std::map<SettingId, Wanted>& choice) {
  Span span = FindSpan(*lines, kSettingsSection);
  if (!span.found) span = AppendSection(lines, kSettingsSection);
  std::vector<bool> written(kLastSettingId + 1);
  for (size_t i = span.header + 1; i < span.end; ++i) {
    std::string key, value;
    unsigned id = 0;
    if (IsComment(lines->TextOf(i)) || !SplitLine(lines->TextOf(i), &key, &value) ||
        !ReadNumber(key, &id) || !IsReportedSetting(id))
      continue;
    lines->Replace(i, SettingLine(id, choice));
    written[id] = true;
  }
  size_t at = span.end;
  for (SettingId id : SettingsInReports()) {
    if (written[id]) continue;
    lines->Insert(at++, "; " + Text(FindSetting(id)->labelId));
    lines->Insert(at++, SettingLine(id, choice));
  }
}

}  // namespace

void RewriteOwnLines(ProfileLines* lines, const std::map<SettingId, Wanted>& choice,
                     const std::string& header) {
  RewriteProgramSection(lines, "; " + header);
  RewriteSettings(lines, choice);
}
