// The input is one registry value of any type and size, stored in the
// in-memory Windows at every place the program reads a value from, and the
// expectation CompareRegistryValue is asked about. Then every reader runs.
//
// Layout: type, kind choice, flags, expected number (4 bytes, low first),
// expected text (length byte, bytes), time-server value names (flags bits
// 1-3 give how many; each a length byte, 255 meaning 255 plus one more
// length byte, then the name), a stretch byte when flags bit 6 is set, and
// the value's data: the rest.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/SettingKeyPaths.h"
#include "engine/Revert.h"
#include "engine/SettingKeys.h"
#include "engine/StatusCheck.h"
#include "platform/fake/FakeMachine.h"
#include "system/SystemAccess.h"
#include "timeserver/TimeServerRegistry.h"

namespace {

using Bytes = std::vector<BYTE>;

constexpr int kKinds[] = {kKindText, kKindBinary, kKindNumber, 7, 0, 2};
constexpr DWORD kNumberBufferSize = 4;
constexpr size_t kStretchBase = 65536 - 256;  // stretched data ends around 64 KiB

constexpr unsigned kFlagNoExpectedText = 1u << 0;
constexpr unsigned kFlagNameCountShift = 1;
constexpr unsigned kFlagNameCountMask = 7;
constexpr unsigned kFlagUnreadableKey = 1u << 4;
constexpr unsigned kFlagStretch = 1u << 6;

const char kPlainKey[] = "Software\\Hushgate Fuzz";
const char kPlainValue[] = "Value";

struct Place {
  HKEY root;
  const char* path;
  const char* name;
};

// Every value the probes, the status check and the system programs read.
const Place kPlaces[] = {
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Internet Explorer\\Version Vector", "IE"},
    {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Office\\10.0\\Common\\InstallRoot", "InstallCount"},
    {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\MediaPlayer\\8.0\\Registration", "UDBVersion"},
    {HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\PSched\\Enum", "Count"},
    {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot"},
    {HKEY_LOCAL_MACHINE, keys::kAlexaExtensionPath, "Script"},
    {HKEY_CURRENT_USER, keys::kMediaPlayerPreferences, "SilentAcquisition"},
    {HKEY_CURRENT_USER, keys::kMediaPlayerPreferences, "SendUserGUID"},
    {HKEY_CURRENT_USER, keys::kMediaPlayerPreferences, "UpgradeCodecPrompt"},
    {HKEY_LOCAL_MACHINE, keys::kErrorReporting, "DoReport"},
    {HKEY_LOCAL_MACHINE, keys::kErrorReporting, "ShowUI"},
    {HKEY_CURRENT_USER, keys::kWebcheck, "NoScheduledUpdates"},
    {HKEY_CURRENT_USER, keys::kExplorerMain, "NoUpdateCheck"},
    {HKEY_CURRENT_USER, keys::kInternetSettings, "EnableNegotiate"},
    {HKEY_CURRENT_USER, keys::kInternetSettings, "MaxConnectionsPer1_0Server"},
    {HKEY_CURRENT_USER, keys::kInternetSettings, "MaxConnectionsPerServer"},
    {HKEY_CURRENT_USER, keys::kRun, "MSMSGS"},
    {HKEY_CLASSES_ROOT, keys::kMessengerServer, ""},
    {HKEY_LOCAL_MACHINE, keys::kTerminalServer, "fAllowToGetHelp"},
    {HKEY_LOCAL_MACHINE, keys::kTimeParameters, "Type"},
    {HKEY_LOCAL_MACHINE, keys::kExplorerAdvanced, "EnableBalloonTips"},
    {HKEY_LOCAL_MACHINE, keys::kMemoryManagement, "ClearPageFileAtShutdown"},
    {HKEY_LOCAL_MACHINE, keys::kOutlookExpress, "Hide Messenger"},
    {HKEY_CURRENT_USER,
     "Software\\Microsoft\\Windows\\CurrentVersion\\Group Policy Objects\\LokalMachine\\Software\\"
     "Policies\\Microsoft\\Windows\\Psched",
     "NonBestEffortLimit"},
    {HKEY_CURRENT_USER,
     "Software\\Microsoft\\Windows\\CurrentVersion\\Group Policy Objects\\LocalMachine\\Software\\"
     "Policies\\Microsoft\\Windows\\Psched",
     "NonBestEffortLimit"},
    {HKEY_CURRENT_USER, keys::kOfficeCommonUser, "DWNeverUpload"},
    {HKEY_CURRENT_USER, keys::kOfficeCommonUser, "DWNoExternalURL"},
    {HKEY_CURRENT_USER, keys::kOfficeCommonUser, "DWNoFileCollection"},
    {HKEY_CURRENT_USER, keys::kOfficeCommonUser, "DWNoSecondLevelCollection"},
    {HKEY_USERS, keys::kOfficeCommonDefault, "DWNeverUpload"},
    {HKEY_USERS, keys::kOfficeCommonDefault, "DWNoExternalURL"},
    {HKEY_USERS, keys::kOfficeCommonDefault, "DWNoFileCollection"},
    {HKEY_USERS, keys::kOfficeCommonDefault, "DWNoSecondLevelCollection"},
    {HKEY_LOCAL_MACHINE, keys::kShutdownControl, "WaitToKillServiceTimeout"},
    {HKEY_CURRENT_USER, keys::kDesktop, "AutoEndTasks"},
    {HKEY_CLASSES_ROOT, ".zip", "Content Type"},
    {HKEY_LOCAL_MACHINE, kMediaPlayerSetup, "Version"},
};

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

// Takes the input front to back; past its end every byte reads as 0.
class InputReader {
 public:
  InputReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::string Text(size_t length) {
    length = std::min(length, size_ - at_);
    std::string text(reinterpret_cast<const char*>(data_ + at_), length);
    at_ += length;
    return text;
  }
  Bytes Rest() {
    Bytes rest(data_ + at_, data_ + size_);
    at_ = size_;
    return rest;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

// The data up to its first zero byte.
std::string TextOf(const Bytes& data) {
  size_t length = 0;
  while (length < data.size() && data[length] != 0) ++length;
  return std::string(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(length));
}

// The number a time-server value's name stands for, or 0 for none.
int ServerNumberOf(const std::string& name) {
  if (name.empty() || name.size() > 9 || name[0] == '0') return 0;
  int number = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + (c - '0');
  }
  return number;
}

// What CompareRegistryValue must answer for a readable key holding data.
int ExpectedComparison(int kind, const Bytes& data, DWORD number, const char* text) {
  if (kind == kKindText || kind == kKindBinary) {
    if (data.size() > SystemAccess::kTextBufferSize) return kValueUnreadable;
    if (!text) return kValueDiffers;
    return TextOf(data) == text ? kValueEquals : kValueDiffers;
  }
  if (kind == kKindNumber) {
    if (data.size() > kNumberBufferSize) return kValueUnreadable;
    DWORD stored = 0;
    for (size_t i = 0; i < data.size(); ++i) stored |= DWORD(data[i]) << (8 * i);
    return stored == number ? kValueEquals : kValueDiffers;
  }
  return kValueDiffers;
}

void CheckTimeServers(const std::map<std::string, Bytes>& stored) {
  std::map<int, std::string> expectedHosts;
  for (const auto& [name, bytes] : stored)
    if (int number = ServerNumberOf(name)) expectedHosts[number] = TextOf(bytes);

  TimeServerList list = ReadTimeServers();
  Require(list.servers.size() == expectedHosts.size());
  for (size_t i = 0; i < list.servers.size(); ++i) {
    const TimeServer& server = list.servers[i];
    Require(i == 0 || list.servers[i - 1].number < server.number);
    auto expected = expectedHosts.find(server.number);
    Require(expected != expectedHosts.end() && expected->second == server.host);
  }
  const bool hasCurrent = stored.count("") != 0;
  Require(list.current >= -1 && list.current < static_cast<int>(list.servers.size()));
  Require(hasCurrent || list.current == -1);
}

void RequireNothingLeftOpen() {
  fake::FakeMachine& machine = fake::Machine();
  Require(machine.registry.OpenHandleCount() == 0);
  Require(machine.registry.BadHandleUses() == 0);
  Require(machine.services.OpenHandleCount() == 0);
  Require(machine.services.BadHandleUses() == 0);
  Require(machine.OpenProcessCount() == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t inputSize) {
  InputReader in(input, inputSize);
  const DWORD type = in.Byte();
  const int kind = kKinds[in.Byte() % (sizeof kKinds / sizeof kKinds[0])];
  const unsigned flags = in.Byte();
  DWORD expectedNumber = 0;
  for (int i = 0; i < 4; ++i) expectedNumber |= DWORD(in.Byte()) << (8 * i);
  const std::string expectedText = in.Text(in.Byte());
  const char* expected = (flags & kFlagNoExpectedText) ? nullptr : expectedText.c_str();
  std::vector<std::string> serverNames;
  for (unsigned count = (flags >> kFlagNameCountShift) & kFlagNameCountMask; count > 0; --count) {
    size_t length = in.Byte();
    if (length == 255) length += in.Byte();
    serverNames.push_back(in.Text(length));
  }
  size_t stretchTo = (flags & kFlagStretch) ? kStretchBase + 2 * size_t(in.Byte()) : 0;
  Bytes data = in.Rest();
  if (stretchTo) {
    if (data.empty()) data.push_back(0);
    // Doubling copies keep the stretch cheap next to the readers under test.
    data.reserve(stretchTo);
    while (data.size() < stretchTo)
      data.insert(data.end(), data.begin(),
                  data.begin() + static_cast<std::ptrdiff_t>(
                                     std::min(data.size(), stretchTo - data.size())));
  }

  fake::ResetMachine();
  fake::FakeRegistry& registry = fake::Machine().registry;
  registry.PutValue(HKEY_LOCAL_MACHINE, kPlainKey, kPlainValue, type, data);
  if (flags & kFlagUnreadableKey) registry.SetAccess(HKEY_LOCAL_MACHINE, kPlainKey, false, true);
  for (const Place& place : kPlaces) registry.PutValue(place.root, place.path, place.name, type, data);
  registry.PutNumber(HKEY_LOCAL_MACHINE, kMediaPlayerSetup, "IsInstalled", 1);
  // Each server value holds a different tail of the data.
  std::map<std::string, Bytes> servers;
  for (size_t i = 0; i < serverNames.size(); ++i) {
    Bytes tail(data.begin() + static_cast<std::ptrdiff_t>(std::min(i, data.size())), data.end());
    registry.PutValue(HKEY_LOCAL_MACHINE, kServers, serverNames[i], type, tail);
    servers[serverNames[i]] = tail;
  }

  SystemAccess system;
  int answer = system.CompareRegistryValue(HKEY_LOCAL_MACHINE, kPlainKey, kPlainValue, kind,
                                           expectedNumber, expected);
  Require(answer == kValueDiffers || answer == kValueEquals || answer == kValueUnreadable);
  if ((kind == kKindText || kind == kKindBinary) && data.size() > SystemAccess::kTextBufferSize)
    Require(answer == kValueUnreadable);
  if (kind == kKindNumber && data.size() > kNumberBufferSize) Require(answer == kValueUnreadable);
  Require(answer == ((flags & kFlagUnreadableKey)
                         ? kValueUnreadable
                         : ExpectedComparison(kind, data, expectedNumber, expected)));

  const bool fitsText = data.size() <= SystemAccess::kTextBufferSize;
  const bool hasText = fitsText && !TextOf(data).empty();
  Require(system.IsInternetExplorer6() == (fitsText && !data.empty() && data[0] == '6'));
  Require(system.IsOfficeXpInstalled() == hasText);
  Require(system.IsMediaPlayer8Installed() == hasText);
  Require(system.IsQosInstalled() == (data.size() <= kNumberBufferSize));
  // A version is a text of at most 128 bytes whose leading digits count.
  const int version = system.InternetExplorerVersion();
  Require(version >= 0 && version <= 999999999 && (version == 0 || (type == REG_SZ && fitsText)));
  Require(system.IsMediaPlayer9OrLater() == (version >= 9));
  for (SettingId id = 0; id <= kLastSettingId + 1; ++id) StatusCheck(system, id);
  system.UninstallMessenger();
  CheckTimeServers(servers);

  // Restoring the autostart reads the Messenger's path whole, whatever its
  // length, and writes it back as text with one terminating zero; a value
  // that is no text, or an empty one, is no path and the entry stays as it was.
  std::string path = TextOf(data);
  const bool isPath = (type == REG_SZ || type == REG_EXPAND_SZ) && !path.empty();
  Require(Revert(system, 14) == isPath);
  auto autostart = registry.GetValue(HKEY_CURRENT_USER, keys::kRun, "MSMSGS");
  if (isPath)
    Require(autostart && autostart->type == REG_SZ &&
            autostart->bytes == Bytes(path.c_str(), path.c_str() + path.size() + 1));
  else
    Require(autostart && autostart->type == type && autostart->bytes == data);

  RequireNothingLeftOpen();
  return 0;
}
