// What the program knows of the machine before it changes it: what each
// setting costs, machines whose updates need the update service, who may
// change a setting, and the restore point around the changes.

#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "common/FullFakeSystem.h"
#include "engine/Consequences.h"
#include "engine/SettingCatalogue.h"
#include "engine/TextSource.h"
#include "engine/UpdateSource.h"
#include "native/FakeSystemTest.h"
#include "native/ExeByBinutils.h"
#include "res/resource.h"
#include "system/SystemAccess.h"

namespace {

const char kErrorReporting[] = "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting";

TEST(SettingCosts, EverySettingTellsWhatItCostsAndWhenInBothLanguages) {
  const auto german = exe::Strings(exe::Decompiled(GERMAN_STRINGS_RES), exe::kGerman);
  const auto english = exe::Strings(exe::Decompiled(ENGLISH_STRINGS_RES), exe::kEnglish);
  std::map<int, SettingId> usedBy;
  for (const SettingEntry& setting : AllSettings()) {
    EXPECT_TRUE(usedBy.emplace(setting.consequenceId, setting.id).second)
        << setting.id << " shares its text with " << usedBy[setting.consequenceId];
    EXPECT_TRUE(setting.effectId == IDS_EFFECT_AT_ONCE ||
                setting.effectId == IDS_EFFECT_NEXT_LOGON || setting.effectId == IDS_EFFECT_RESTART)
        << setting.id;
    std::vector<unsigned> texts = {unsigned(setting.consequenceId), unsigned(setting.effectId)};
    if (setting.updatesNoteId) texts.push_back(unsigned(setting.updatesNoteId));
    for (unsigned id : texts) {
      ASSERT_TRUE(german.count(id) && english.count(id)) << setting.id << " text " << id;
      // Their placeholders match as every text's do (ResourceLanguages).
      EXPECT_FALSE(german.at(id).empty() || english.at(id).empty()) << id;
    }
  }
  EXPECT_EQ("Wirksam: nach einem Neustart.", german.at(FindSetting(23)->effectId));
  EXPECT_EQ("Takes effect: next logon.", english.at(FindSetting(22)->effectId));
}

class BeforeChanges : public FakeSystemTest {
 protected:
  void SetUp() override {
    FakeSystemTest::SetUp();
    MakeFullFakeSystem();
  }
  std::vector<std::string> ChangesSince(size_t before) const {
    const auto& all = Registry().Changes();
    return std::vector<std::string>(all.begin() + before, all.end());
  }
  SystemAccess system_;
};

// Each mark alone turns the recommendation of 10 off; 9 stays recommended.
TEST_F(BeforeChanges, UpdatesThroughTheServiceKeepTenOutOfTheRecommendedChoice) {
  const std::function<void()> marks[] = {
      [] {},
      [] {
        Registry().AddKey(HKEY_LOCAL_MACHINE,
                          "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Legacy Update");
      },
      [] {
        Registry().AddKey(HKEY_LOCAL_MACHINE, "Software\\Hashbang Productions\\Legacy Update");
      },
      [] {
        Registry().PutString(HKEY_LOCAL_MACHINE,
                             "Software\\Policies\\Microsoft\\Windows\\WindowsUpdate", "WUServer",
                             "http://wsus:8530");
      },
      [] { Registry().PutNumber(HKEY_LOCAL_MACHINE, "System\\WPA\\PosReady", "Installed", 1); },
      [] { Registry().PutNumber(HKEY_LOCAL_MACHINE, "System\\WPA\\PosReady", "Installed", 0); },
  };
  const bool tenRecommended[] = {true, false, false, false, false, true};
  for (size_t i = 0; i < std::size(marks); ++i) {
    fake::ResetMachine();
    MakeFullFakeSystem();
    marks[i]();
    EXPECT_EQ(tenRecommended[i], IsRecommendedHere(system_, *FindSetting(10))) << "mark " << i;
    EXPECT_TRUE(IsRecommendedHere(system_, *FindSetting(9))) << "mark " << i;
    const std::string warning = Text(IDS_UPDATES_NEED_SERVICE);
    Machine().output.clear();
    EXPECT_EQ(0, RunCommandLine("/preview 10", system_));
    EXPECT_EQ(!tenRecommended[i],
              Machine().output.find("10\t" + warning + "\r\n") != std::string::npos)
        << Machine().output;
    // The user's explicit choice still applies it, with the warning.
    Machine().output.clear();
    EXPECT_EQ(0, RunCommandLine("10", system_)) << "mark " << i;
    EXPECT_EQ(tenRecommended[i] ? "" : warning + "\r\n", Machine().output);
    EXPECT_EQ(DWORD(SERVICE_DISABLED), Machine().services.Find("wuauserv")->startType);
  }
}

// Keeping the machine from Windows Update, or its driver searches off it,
// cuts such a machine's updates too: each setting says so in its own words.
TEST_F(BeforeChanges, UpdatesThroughTheServiceKeepWindowsUpdateSettingsOutToo) {
  EXPECT_TRUE(IsRecommendedHere(system_, *FindSetting(32)));
  Registry().AddKey(HKEY_LOCAL_MACHINE, "Software\\Hashbang Productions\\Legacy Update");
  for (SettingId id : {32u, 46u}) {
    const std::string note = Text(FindSetting(id)->updatesNoteId);
    EXPECT_FALSE(IsRecommendedHere(system_, *FindSetting(id))) << id;
    EXPECT_NE(Text(IDS_UPDATES_NEED_SERVICE), note);
    Machine().output.clear();
    EXPECT_EQ(0, RunCommandLine(std::to_string(id), system_));
    EXPECT_EQ(0u, Machine().output.find(note + "\r\n")) << Machine().output;
  }
}

// The operation lines stay; the costs follow each setting's own lines.
TEST_F(BeforeChanges, PreviewAndApplyTellTheCosts) {
  EXPECT_EQ(0, RunCommandLine("/preview 22", system_));
  EXPECT_EQ(
      "22\tWert\tHKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced\\"
      "EnableBalloonTips\tjetzt: fehlt\tneu: REG_DWORD 0\r\n"
      "22\t" +
          Text(722) + "\r\n22\tWirksam: nach der nächsten Anmeldung.\r\n",
      Machine().output);
  Machine().output.clear();
  EXPECT_EQ(0, RunCommandLine("22 4 23", system_));
  EXPECT_EQ(
      "Erst nach Anmeldung oder Neustart wirksam: 22 (" + Text(28) + "), 23 (" + Text(29) + ")\r\n",
      Machine().output);
  // Already off: nothing changed, nothing to wait for.
  Machine().output.clear();
  EXPECT_EQ(0, RunCommandLine("22", system_));
  EXPECT_EQ("", Machine().output);
}

// Without the Administrators group, a machine-wide number stops the whole
// run before anything is written; the user's own settings run as before.
TEST_F(BeforeChanges, WithoutAdministratorMachineWideNumbersChangeNothing) {
  Machine().administrator = false;
  Registry().PutNumber(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Webcheck",
                       "NoScheduledUpdates", 0);
  size_t before = Registry().Changes().size();
  const std::map<std::string, std::string> named = {
      {"6 4 10", "4, 10"}, {"/undo 4", "4"}, {"/restorepoint 4", "4"}, {"4 x", "4"},
      // The user's half of 27 alone would be theirs to write; the other is not.
      {"27", "27"}, {"/undo 27", "27"}};
  for (const auto& [tail, numbers] : named) {
    Machine().output.clear();
    EXPECT_EQ(kNothingChanged, RunCommandLine(tail, system_)) << tail;
    EXPECT_EQ(std::vector<std::string>(), ChangesSince(before)) << tail;
    EXPECT_TRUE(Machine().restorePoints.empty()) << tail;
    EXPECT_EQ("Nichts wurde geändert: Die Einstellungen " + numbers +
                  " brauchen Administratorrechte.\r\n",
              Machine().output);
  }
  EXPECT_EQ(DWORD(SERVICE_AUTO_START), Machine().services.Find("wuauserv")->startType);
  EXPECT_EQ(kAllDone, RunCommandLine("6", system_));
  EXPECT_EQ("type 4: 01 00 00 00",
            Describe(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Webcheck",
                     "NoScheduledUpdates"));
}

// Begun before the first write (the backup's included), ended after the
// last, or cancelled when nothing was changed.
TEST_F(BeforeChanges, RestorePointFramesEveryWrite) {
  size_t before = Registry().Changes().size();
  EXPECT_EQ(kAllDone, RunCommandLine("/restorepoint 4", system_));
  ASSERT_EQ(2u, Machine().restorePoints.size());
  const fake::RestorePointCall& begin = Machine().restorePoints[0];
  const fake::RestorePointCall& end = Machine().restorePoints[1];
  EXPECT_EQ((std::vector<DWORD>{BEGIN_SYSTEM_CHANGE, MODIFY_SETTINGS, 0}),
            (std::vector<DWORD>{begin.eventType, begin.pointType, DWORD(begin.sequence)}));
  EXPECT_EQ("Hushgate: before changes", begin.description);
  EXPECT_EQ(before, begin.registryChangesBefore);
  EXPECT_EQ((std::vector<DWORD>{END_SYSTEM_CHANGE, MODIFY_SETTINGS, 41}),
            (std::vector<DWORD>{end.eventType, end.pointType, DWORD(end.sequence)}));
  EXPECT_LT(before, end.registryChangesBefore);
  EXPECT_EQ(Registry().Changes().size(), end.registryChangesBefore);
  EXPECT_EQ("type 4: 00 00 00 00", Describe(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport"));
  // 4 is off already; /undo brings it back.
  for (const char* tail : {"/RestorePoint 4", "/restorepoint /undo 4"}) {
    Machine().restorePoints.clear();
    RunCommandLine(tail, system_);
    ASSERT_EQ(2u, Machine().restorePoints.size()) << tail;
    EXPECT_EQ(DWORD(END_SYSTEM_CHANGE), Machine().restorePoints[1].eventType) << tail;
    EXPECT_EQ(DWORD(tail[1] == 'R' ? CANCELLED_OPERATION : MODIFY_SETTINGS),
              Machine().restorePoints[1].pointType)
        << tail;
  }
  EXPECT_EQ("missing", Describe(HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport"));
  EXPECT_EQ(kMistyped, RunCommandLine("/restorepoint /status 4", system_));
}

// Missing, switched off or refusing: said plainly, and nothing changed.
TEST_F(BeforeChanges, RestorePointThatCannotBeMadeStopsTheRun) {
  const std::function<void()> refusals[] = {
      [] { Machine().restoreLibraryPresent = false; },
      [] { Machine().restorePointError = ERROR_INVALID_FUNCTION; },
      [] {
        Registry().PutNumber(HKEY_LOCAL_MACHINE,
                             "Software\\Microsoft\\Windows NT\\CurrentVersion\\SystemRestore",
                             "DisableSR", 1);
      },
  };
  for (size_t i = 0; i < std::size(refusals); ++i) {
    fake::ResetMachine();
    MakeFullFakeSystem();
    refusals[i]();
    size_t before = Registry().Changes().size();
    EXPECT_EQ(kNothingChanged, RunCommandLine("/restorepoint 4 13", system_)) << i;
    EXPECT_EQ(std::vector<std::string>(), ChangesSince(before)) << i;
    EXPECT_EQ("Wiederherstellungspunkt nicht verfügbar\r\n", Machine().output) << i;
    for (const fake::RestorePointCall& call : Machine().restorePoints)
      EXPECT_EQ(DWORD(BEGIN_SYSTEM_CHANGE), call.eventType) << "nothing to end";
  }
}

}  // namespace
