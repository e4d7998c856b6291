// The main window's runs of changes without a window: what each asks, in
// which order, what it changes and what it says afterwards.

#include <functional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/WindowChanges.h"
#include "common/FullFakeSystem.h"
#include "engine/SettingCatalogue.h"
#include "engine/TextSource.h"
#include "native/FakeSystemTest.h"
#include "res/resource.h"
#include "system/SystemAccess.h"

namespace {

const char kReporting[] = "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting";

std::string Label(SettingId id) { return Text(FindSetting(id)->labelId); }

struct Flow {
  const char* label;
  std::function<void(SystemAccess&)> arrange;
  bool restorePoint;
  std::vector<int> answers;
  std::function<bool(WindowChanges&, std::string*)> run;
  bool ran;
  std::vector<std::string> boxes;  // the texts shown, in order
  std::string outcome;
  const char* doReport;  // 4's value afterwards
};

std::string NotApplied(const std::vector<SettingId>& ids) { return FormatText(IDS_NOT_APPLIED, {Labels(ids)}); }

auto ApplyOf(std::vector<SettingId> ids) {
  return [ids](WindowChanges& changes, std::string* outcome) { return changes.Apply(ids, outcome); };
}
auto RevertOf(std::vector<SettingId> ids) {
  return [ids](WindowChanges& changes, std::string*) { return changes.Revert(ids); };
}
bool UndoAll(WindowChanges& changes, std::string* outcome) { return changes.Undo(outcome); }
void NoRightsOnTheMachine(SystemAccess&) {
  fake::Machine().registry.SetTreeAccess(HKEY_LOCAL_MACHINE, true, false);
}
void FourOff(SystemAccess& system) { RunCommandLine("4", system); }
void FourOffWithoutMessenger(SystemAccess& system) {
  FourOff(system);
  fake::Machine().registry.DeleteKey(HKEY_CLASSES_ROOT,
                                     "CLSID\\{B69003B3-C55E-4b48-836C-BC5946FC3B28}\\LocalServer32");
}
void NoRestorePoints(SystemAccess& system) {
  FourOff(system);
  fake::Machine().restoreLibraryPresent = false;
}

const char kOff[] = "type 4: 00 00 00 00";
const char kOn[] = "type 4: 01 00 00 00";

// Built when the tests are listed, once the texts are there.
std::vector<Flow> Flows() {
  return {
    {"ApplyNamesWhatIsNotOffAfterTheBackupQuestion", NoRightsOnTheMachine, false, {IDYES},
     ApplyOf({1, 4}), true, {Text(IDS_NO_BACKUP_ASK)}, NotApplied({4}), "missing"},
    {"ApplyStopsAtTheBackupQuestion", NoRightsOnTheMachine, false, {IDNO}, ApplyOf({1, 4}), false,
     {Text(IDS_NO_BACKUP_ASK)}, "", "missing"},
    {"ApplyNamesWhatTakesEffectLater", nullptr, false, {}, ApplyOf({4, 22}), true, {},
     FormatText(IDS_EFFECT_LATER, {Label(22) + "\n"}), kOff},
    {"RevertSaysWhyOneCannotBegin", FourOffWithoutMessenger, false, {}, RevertOf({4, 14}), true,
     {Text(IDS_MESSENGER_MISSING)}, "", kOn},
    {"RevertStopsWithoutTheRestorePoint", NoRestorePoints, true, {IDNO}, RevertOf({4}), false,
     {Text(IDS_RESTORE_POINT_ASK)}, "", kOff},
    {"UndoRestoresAfterYes", FourOff, false, {IDYES}, UndoAll, true,
     {FormatText(IDS_UNDO_CONFIRM, {Label(4) + "\n"})}, Text(IDS_UNDO_DONE), "missing"},
    {"UndoWithoutABackupSaysSo", nullptr, false, {}, UndoAll, false, {Text(IDS_NO_BACKUP)}, "",
     "missing"},
  };
}

class WindowFlows : public FakeSystemTest, public ::testing::WithParamInterface<Flow> {};

TEST_P(WindowFlows, AskChangeAndSayAsTheWindowDoes) {
  const Flow& c = GetParam();
  MakeFullFakeSystem();
  SystemAccess system;
  if (c.arrange) c.arrange(system);
  Machine().messageBoxes.clear();
  Machine().messageBoxAnswers.assign(c.answers.begin(), c.answers.end());
  const HWND owner = reinterpret_cast<HWND>(0x4711);
  WindowChanges changes(system, owner, c.restorePoint);
  std::string outcome;
  EXPECT_EQ(c.ran, c.run(changes, &outcome));
  std::vector<std::string> boxes;
  for (const fake::MessageBoxCall& box : Machine().messageBoxes) {
    boxes.push_back(box.text);
    EXPECT_EQ(owner, box.owner);
  }
  EXPECT_EQ(c.boxes, boxes);
  EXPECT_EQ(c.outcome, outcome);
  EXPECT_EQ(c.doReport, Describe(HKEY_LOCAL_MACHINE, kReporting, "DoReport"));
}

INSTANTIATE_TEST_SUITE_P(Flows, WindowFlows, ::testing::ValuesIn(Flows()),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
