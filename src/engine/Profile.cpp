#include "engine/Profile.h"

#include "engine/Reports.h"
#include "engine/SettingCatalogue.h"
#include "engine/TextSource.h"
#include "res/resource.h"
#include "system/RegistryText.h"

namespace {

const char kProgramSection[] = "Hushgate";
const char kSettingsSection[] = "Settings";
const char kFormatKey[] = "format";
constexpr unsigned kFormat = 1;

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  size_t last = text.find_last_not_of(" \t");
  return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

bool IsComment(const std::string& line) {
  std::string trimmed = Trimmed(line);
  return trimmed.empty() || trimmed[0] == ';';
}

// Key and value of a line, trimmed and the key in lower case; false for a
// line without '='.
bool SplitLine(const std::string& line, std::string* key, std::string* value) {
  size_t equals = line.find('=');
  if (equals == std::string::npos) return false;
  *key = Lower(Trimmed(line.substr(0, equals)));
  *value = Lower(Trimmed(line.substr(equals + 1)));
  return true;
}

// Plain decimal digits only, few enough to fit: a setting or a format.
bool ReadNumber(const std::string& text, unsigned* number) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  return LeadingNumber(text, number);
}

bool ReadWanted(const std::string& value, Wanted* wanted) {
  static const Wanted kAll[] = {Wanted::kOff, Wanted::kOn, Wanted::kLeave};
  for (Wanted each : kAll)
    if (value == WantedWord(each)) {
      *wanted = each;
      return true;
    }
  return false;
}

std::string Unknown(const std::string& line) {
  return FormatText(IDS_PROFILE_UNKNOWN_ENTRY, {PrintableText(Trimmed(line))});
}

void ReadSettings(const std::vector<std::string>& lines, Profile* profile) {
  std::map<SettingId, bool> clashes;
  for (const std::string& line : lines) {
    if (IsComment(line)) continue;
    std::string key, value;
    unsigned id = 0;
    Wanted wanted = Wanted::kLeave;
    if (!SplitLine(line, &key, &value) || !ReadNumber(key, &id) || !IsProfileSetting(id) ||
        !ReadWanted(value, &wanted)) {
      profile->skipped.push_back(Unknown(line));
      continue;
    }
    auto [at, added] = profile->wanted.emplace(id, wanted);
    if (!added && at->second != wanted) clashes[id] = true;
  }
  for (const auto& clash : clashes) {
    profile->wanted.erase(clash.first);
    profile->skipped.push_back(FormatText(IDS_PROFILE_DUPLICATE, {std::to_string(clash.first)}));
  }
}

// The file's format; a value that is no number is skipped and named, and
// the file read as this version's.
unsigned ReadFormat(const ProfileSection* section, Profile* profile) {
  unsigned format = kFormat;
  if (!section) return format;
  for (const std::string& line : section->lines) {
    std::string key, value;
    if (IsComment(line) || !SplitLine(line, &key, &value) || key != kFormatKey) continue;
    if (!ReadNumber(value, &format)) profile->skipped.push_back(Unknown(line));
  }
  return format;
}

std::string FileLine(int id, const std::string& path) { return FormatText(id, {PrintableText(path)}); }

std::string ProblemLine(FileProblem problem, const ProfileFileText& file, const std::string& name) {
  static const int kProblems[] = {0, IDS_PROFILE_MISSING, IDS_PROFILE_UNREADABLE, IDS_PROFILE_UTF8};
  return FileLine(kProblems[static_cast<int>(problem)], file.path.empty() ? name : file.path);
}

// The lines of an existing section to keep: what this version does not
// write itself, so that a newer or hand-made entry survives a save.
std::vector<std::string> KeptLines(const ProfileFileText& file, const char* section,
                                   bool (*written)(const std::string& key)) {
  std::vector<std::string> kept;
  const ProfileSection* found = FindSection(file, section);
  if (!found) return kept;
  for (const std::string& line : found->lines) {
    std::string key, value;
    if (!IsComment(line) && (!SplitLine(line, &key, &value) || !written(key))) kept.push_back(line);
  }
  return kept;
}

bool IsFormatKey(const std::string& key) { return key == kFormatKey; }

bool IsWrittenSetting(const std::string& key) {
  unsigned id = 0;
  return ReadNumber(key, &id) && IsProfileSetting(id);
}

std::vector<std::string> SettingLines(const std::map<SettingId, Wanted>& choice) {
  std::vector<std::string> lines;
  for (SettingId id : SettingsInReports()) {
    auto found = choice.find(id);
    lines.push_back("; " + Text(FindSetting(id)->labelId));
    lines.push_back(std::to_string(id) + "=" +
                    WantedWord(found == choice.end() ? Wanted::kLeave : found->second));
  }
  return lines;
}

}  // namespace

bool IsProfileSetting(SettingId id) {
  const SettingEntry* setting = FindSetting(id);
  return setting && !IsNoAction(*setting);
}

const char* WantedWord(Wanted wanted) {
  return wanted == Wanted::kOff ? "off" : wanted == Wanted::kOn ? "on" : "leave";
}

Profile ParseProfile(const ProfileFileText& file) {
  Profile profile;
  profile.format = ReadFormat(FindSection(file, kProgramSection), &profile);
  if (const ProfileSection* settings = FindSection(file, kSettingsSection))
    ReadSettings(settings->lines, &profile);
  return profile;
}

LoadedProfile LoadProfile(const std::string& name) {
  LoadedProfile loaded;
  ProfileFileText file;
  FileProblem problem = ReadProfileFile(name, &file);
  if (problem != FileProblem::kNone) {
    loaded.problem = ProblemLine(problem, file, name);
    return loaded;
  }
  loaded.profile = ParseProfile(file);
  if (loaded.profile.format > kFormat)
    loaded.problem = FileLine(IDS_PROFILE_NEWER, file.path);
  else if (!FindSection(file, kSettingsSection))
    loaded.problem = FileLine(IDS_PROFILE_NO_SETTINGS, file.path);
  return loaded;
}

std::string SaveProfile(const std::string& name, const std::map<SettingId, Wanted>& choice,
                        const std::string& computer, const std::string& time) {
  // An existing file that cannot be read whole is not overwritten: what it
  // holds beyond this version's entries would be lost.
  ProfileFileText existing;
  FileProblem problem = ReadProfileFile(name, &existing);
  if (problem != FileProblem::kNone && problem != FileProblem::kMissing)
    return ProblemLine(problem, existing, name);
  std::vector<ProfileSection> sections = {
      {kProgramSection,
       {"; " + FormatText(IDS_PROFILE_HEADER, {computer, time}), "Format=" + std::to_string(kFormat)}},
      {kSettingsSection, SettingLines(choice)}};
  for (const std::string& line : KeptLines(existing, kProgramSection, IsFormatKey))
    sections[0].lines.push_back(line);
  for (const std::string& line : KeptLines(existing, kSettingsSection, IsWrittenSetting))
    sections[1].lines.push_back(line);
  for (const ProfileSection& section : existing.sections)
    if (Lower(section.name) != Lower(kProgramSection) && Lower(section.name) != Lower(kSettingsSection))
      sections.push_back(section);
  std::string path;
  return WriteProfileFile(name, sections, &path) ? std::string()
                                                 : FileLine(IDS_PROFILE_NOT_WRITTEN, path.empty() ? name : path);
}
