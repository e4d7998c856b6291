// Hostile registry data in the places the program reads: values of the
// wrong type, empty, of 127, 128, 129 and 64 KiB bytes, without terminators.
// Nothing is read past what was stored (the native tier runs under the
// sanitizers) and every reader gives its documented answer.

#include <functional>
#include <map>

#include "engine/Revert.h"
#include "engine/StatusCheck.h"
#include "native/FakeSystemTest.h"
#include "system/SystemAccess.h"
#include "timeserver/TimeServerRegistry.h"

namespace {

std::vector<BYTE> Bytes(size_t count, BYTE fill) { return std::vector<BYTE>(count, fill); }
std::vector<BYTE> Text(const std::string& text) { return std::vector<BYTE>(text.begin(), text.end()); }

struct Shape {
  const char* label;
  DWORD type;
  std::vector<BYTE> bytes;
};

// One place the program reads, and what it must answer for each shape.
struct Place {
  const char* label;
  HKEY root;
  const char* path;
  const char* name;
  std::function<int(SystemAccess&)> read;
};

const char kTime[] = "SYSTEM\\CurrentControlSet\\Services\\W32Time\\Parameters";
const char kPreferences[] = "Software\\Microsoft\\MediaPlayer\\Preferences";
const char kErrorReporting[] = "SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting";
const char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kVersionVector[] = "SOFTWARE\\Microsoft\\Internet Explorer\\Version Vector";
const char kPsched[] = "SYSTEM\\CurrentControlSet\\Services\\PSched\\Enum";

const Shape kShapes[] = {
    {"Empty", REG_SZ, {}},
    {"Text127", REG_SZ, Bytes(127, 'a')},
    {"Text128WithoutZero", REG_SZ, Bytes(128, 'a')},
    {"Text129", REG_SZ, Bytes(129, 'a')},
    {"Binary64KiB", REG_BINARY, Bytes(65536, 0)},
    {"TextAsNumber", REG_DWORD, Text("NoSync")},
    {"NumberTwoBytes", REG_DWORD, {0, 0}},
    {"NumberFiveBytes", REG_DWORD, Bytes(5, 0)},
    {"SixAtFullLength", REG_SZ, Text("6" + std::string(127, '.'))},
    {"SixTooLong", REG_SZ, Text("6" + std::string(128, '.'))},
};

const Place kPlaces[] = {
    {"TimeType", HKEY_LOCAL_MACHINE, kTime, "Type",
     [](SystemAccess& s) { return int(StatusCheck(s, 21)); }},
    {"SilentAcquisition", HKEY_CURRENT_USER, kPreferences, "SilentAcquisition",
     [](SystemAccess& s) { return int(StatusCheck(s, 1)); }},
    {"DoReport", HKEY_LOCAL_MACHINE, kErrorReporting, "DoReport",
     [](SystemAccess& s) { return int(StatusCheck(s, 4)); }},
    {"MessengerAutostart", HKEY_CURRENT_USER, kRun, "MSMSGS",
     [](SystemAccess& s) { return int(StatusCheck(s, 14)); }},
    {"InternetExplorer", HKEY_LOCAL_MACHINE, kVersionVector, "IE",
     [](SystemAccess& s) { return int(s.IsInternetExplorer6()); }},
    {"PacketScheduler", HKEY_LOCAL_MACHINE, kPsched, "Count",
     [](SystemAccess& s) { return int(s.IsQosInstalled()); }},
};

// The documented answer of each place for each shape, in the order above:
// texts and binaries are read through 128 bytes and numbers through 4,
// larger values are unreadable, an absent-rule value that exists is present.
const std::map<std::string, std::vector<int>> kAnswers = {
    //                      Type SilentAcq DoReport MSMSGS IE QoS
    {"Empty",               {0,  1,        1,       0,     0, 1}},
    {"Text127",             {0,  0,        0,       0,     0, 0}},
    {"Text128WithoutZero",  {0,  0,        0,       0,     0, 0}},
    {"Text129",             {0,  0,        0,       0,     0, 0}},
    {"Binary64KiB",         {0,  0,        0,       0,     0, 0}},
    {"TextAsNumber",        {1,  0,        0,       0,     0, 0}},
    {"NumberTwoBytes",      {0,  1,        1,       0,     0, 1}},
    {"NumberFiveBytes",     {0,  1,        0,       0,     0, 0}},
    {"SixAtFullLength",     {0,  0,        0,       0,     1, 0}},
    {"SixTooLong",          {0,  0,        0,       0,     0, 0}},
};

class HostileData : public FakeSystemTest, public ::testing::WithParamInterface<Shape> {};

TEST_P(HostileData, EveryReaderGivesItsDocumentedAnswer) {
  const Shape& shape = GetParam();
  const std::vector<int>& expected = kAnswers.at(shape.label);
  for (size_t i = 0; i < sizeof kPlaces / sizeof kPlaces[0]; ++i) {
    const Place& place = kPlaces[i];
    fake::ResetMachine();
    Registry().PutValue(place.root, place.path, place.name, shape.type, shape.bytes);
    SystemAccess system;
    EXPECT_EQ(expected[i], place.read(system)) << place.label;
  }
}

INSTANTIATE_TEST_SUITE_P(Shapes, HostileData, ::testing::ValuesIn(kShapes),
                         [](const auto& info) { return std::string(info.param.label); });

class HostileSystemRoot : public FakeSystemTest {
 protected:
  // The folder the Messenger removal would run in, or "none" when it
  // launched nothing.
  std::string LaunchFolderFor(const std::vector<BYTE>& root, DWORD type = REG_SZ) {
    fake::ResetMachine();
    Registry().PutValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                        "SystemRoot", type, root);
    SystemAccess system;
    system.UninstallMessenger();
    return Machine().launches.empty() ? "none" : Machine().launches[0].directory;
  }
};

TEST_F(HostileSystemRoot, IsUsedWholeWhenItEndsWithinItsBufferAndNeverCut) {
  EXPECT_EQ("none", LaunchFolderFor({}));
  EXPECT_EQ("none", LaunchFolderFor({0}));
  EXPECT_EQ(std::string(127, 'C'), LaunchFolderFor(Bytes(127, 'C')));
  // Filling the whole buffer without a zero, it may go on beyond it.
  EXPECT_EQ("none", LaunchFolderFor(Bytes(128, 'C')));
  EXPECT_EQ("none", LaunchFolderFor(Text("C:\\WINDOWS"), REG_BINARY));
  EXPECT_EQ("none", LaunchFolderFor({'C', ':', 0, 0}, REG_DWORD));
  EXPECT_EQ("C:\\WINDOWS", LaunchFolderFor(Text("C:\\WINDOWS"), REG_EXPAND_SZ));
  EXPECT_EQ("none", LaunchFolderFor(Bytes(129, 'C')));
  EXPECT_EQ("none", LaunchFolderFor(Bytes(65536, 'C')));
  EXPECT_EQ("C:\\W", LaunchFolderFor({'C', ':', '\\', 'W', 0, 'x', 'y'}));
}

TEST_F(HostileSystemRoot, MessengerPathOf64KiBIsWrittenBackWhole) {
  std::string path(65536, 'm');
  Registry().PutValue(HKEY_CLASSES_ROOT, "CLSID\\{B69003B3-C55E-4b48-836C-BC5946FC3B28}\\LocalServer32",
                      "", REG_SZ, Text(path));
  Registry().AddKey(HKEY_CURRENT_USER, kRun);
  SystemAccess system;
  EXPECT_TRUE(Revert(system, 14));
  auto written = Registry().GetValue(HKEY_CURRENT_USER, kRun, "MSMSGS");
  ASSERT_TRUE(written);
  EXPECT_EQ(65537u, written->bytes.size());
  EXPECT_EQ(0, written->bytes.back());
}

TEST(HostileTimeServers, OddNamesGapsAndHugeHostsAreReadSafely) {
  fake::ResetMachine();
  auto& reg = fake::Machine().registry;
  const char servers[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\DateTime\\Servers";
  reg.PutValue(HKEY_LOCAL_MACHINE, servers, "", REG_BINARY, Bytes(65536, '7'));
  reg.PutValue(HKEY_LOCAL_MACHINE, servers, "7", REG_SZ, Bytes(65536, 'h'));
  reg.PutValue(HKEY_LOCAL_MACHINE, servers, "3", REG_DWORD, {1, 2, 3, 4});
  reg.PutValue(HKEY_LOCAL_MACHINE, servers, std::string(300, '9'), REG_SZ, Text("too long a name"));
  reg.PutValue(HKEY_LOCAL_MACHINE, servers, "-1", REG_SZ, Text("negative"));
  TimeServerList list = ReadTimeServers();
  ASSERT_EQ(2u, list.servers.size());
  EXPECT_EQ(3, list.servers[0].number);
  EXPECT_EQ(7, list.servers[1].number);
  EXPECT_EQ(65536u, list.servers[1].host.size());
  EXPECT_EQ(-1, list.current);  // the current number is far too large
  EXPECT_EQ(0u, reg.OpenHandleCount());
}

}  // namespace
