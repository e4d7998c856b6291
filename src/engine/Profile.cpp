#include "engine/Profile.h"

#include "engine/ProfileSave.h"
#include "engine/ProfileSyntax.h"
#include "engine/SettingCatalogue.h"
#include "engine/TextSource.h"
#include "res/resource.h"
#include "system/RegistryText.h"

namespace {

using namespace profile_syntax;

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
    if (!SplitLine(line, &key, &value) || !ReadNumber(key, &id) || !IsReportedSetting(id) ||
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

// The file's format: plain digits, or the file is unreadable to this version
// ("+2", "2.0", "0x2" and the like). Ten or more digits are a newer format,
// whatever they would wrap round to.
void ReadFormat(const ProfileSection* section, Profile* profile) {
  if (!section) return;
  for (const std::string& line : section->lines) {
    std::string key, value;
    if (IsComment(line) || !SplitLine(line, &key, &value) || key != kFormatKey) continue;
    if (value.empty() || value.find_first_not_of("0123456789") != std::string::npos)
      profile->formatUnreadable = true;
    else if (!ReadNumber(value, &profile->format))
      profile->format = ~0u;
  }
}

std::string FileLine(int id, const std::string& path) { return FormatText(id, {PrintableText(path)}); }

// A format this version cannot read: the text that says so, else 0.
int FormatProblem(const Profile& profile) {
  if (profile.formatUnreadable) return IDS_PROFILE_BAD_FORMAT;
  return profile.format > kFormat ? IDS_PROFILE_NEWER : 0;
}

std::string ProblemLine(FileProblem problem, const ProfileFileText& file, const std::string& name) {
  static const int kProblems[] = {0, IDS_PROFILE_MISSING, IDS_PROFILE_UNREADABLE, IDS_PROFILE_UTF8};
  return FileLine(kProblems[static_cast<int>(problem)], file.path.empty() ? name : file.path);
}

}  // namespace

const char* WantedWord(Wanted wanted) {
  return wanted == Wanted::kOff ? "off" : wanted == Wanted::kOn ? "on" : "leave";
}

Profile ParseProfile(const ProfileFileText& file) {
  Profile profile;
  ReadFormat(FindSection(file, kProgramSection), &profile);
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
  if (int format = FormatProblem(loaded.profile))
    loaded.problem = FileLine(format, file.path);
  else if (!FindSection(file, kSettingsSection))
    loaded.problem = FileLine(IDS_PROFILE_NO_SETTINGS, file.path);
  return loaded;
}

SavedProfile SaveProfile(const std::string& name, const std::map<SettingId, Wanted>& choice,
                         const std::string& computer, const std::string& time) {
  // An existing file that cannot be read whole is not overwritten: what it
  // holds beyond this version's entries would be lost. One of a newer or
  // unreadable format is refused as loading refuses it, never made Format 1.
  ProfileFileText existing;
  ProfileLines lines;
  const FileProblem problem = ReadProfileFile(name, &existing);
  if (problem != FileProblem::kNone && problem != FileProblem::kMissing)
    return {ProblemLine(problem, existing, name), false};
  if (problem == FileProblem::kNone) {
    if (int format = FormatProblem(ParseProfile(existing)))
      return {FileLine(format, existing.path), true};
    if (!ReadProfileLines(existing.path, &lines))
      return {FileLine(IDS_PROFILE_UNREADABLE, existing.path), false};
  }
  RewriteOwnLines(&lines, choice, FormatText(IDS_PROFILE_HEADER, {computer, time}));
  const std::string& path = existing.path.empty() ? name : existing.path;
  if (existing.path.empty() || !WriteProfileLines(existing.path, lines))
    return {FileLine(IDS_PROFILE_NOT_WRITTEN, path), false};
  return {};
}
