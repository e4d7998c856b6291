// The service operations against the fake service control manager.

#include "native/FakeSystemTest.h"
#include "system/SystemAccess.h"

namespace {

class ServiceControlTest : public FakeSystemTest {
 protected:
  fake::FakeServices& Services() { return Machine().services; }
  ServiceControl control_;
};

fake::FakeService Configured(DWORD startType, bool running) {
  fake::FakeService service;
  service.startType = startType;
  service.running = running;
  service.serviceType = 0x20;
  service.errorControl = 0;
  service.binaryPath = "C:\\WINDOWS\\System32\\svchost.exe -k netsvcs";
  service.loadOrderGroup = "SchedulerGroup";
  service.dependencies = {"RpcSs", "EventLog"};
  service.account = ".\\Operator";
  service.displayName = "Taskplaner";
  return service;
}

TEST_F(ServiceControlTest, StartTypeIsReadFromTheConfiguration) {
  Services().Add("Disabled", Configured(SERVICE_DISABLED, false));
  Services().Add("OnDemand", Configured(SERVICE_DEMAND_START, false));
  EXPECT_EQ(4u, control_.GetServiceStartType("Disabled"));
  EXPECT_EQ(3u, control_.GetServiceStartType("ondemand"));
  EXPECT_EQ(kStartTypeMissing, control_.GetServiceStartType("Missing"));
}

TEST_F(ServiceControlTest, RefusedManagerOrServiceIsUnknownNotMissing) {
  Services().Add("Locked", Configured(SERVICE_AUTO_START, false)).refusesOpen = true;
  Services().Add("Open", Configured(SERVICE_AUTO_START, false));
  EXPECT_EQ(kStartTypeUnknown, control_.GetServiceStartType("Locked"));
  Services().refuseManager = true;
  EXPECT_EQ(kStartTypeUnknown, control_.GetServiceStartType("Open"));
  EXPECT_FALSE(control_.SetServiceStartType(SERVICE_DISABLED, "Open"));
  EXPECT_FALSE(control_.StartServiceByName("Open"));
  EXPECT_FALSE(control_.StopServiceByName("Open"));
  EXPECT_EQ(0, Services().Find("Open")->configurationChanges);
}

TEST_F(ServiceControlTest, ConfigurationLargerThanTheUsualBufferIsStillRead) {
  fake::FakeService big = Configured(SERVICE_AUTO_START, false);
  big.binaryPath = "C:\\" + std::string(2000, 'x') + ".exe";
  Services().Add("Big", big);
  EXPECT_EQ(2u, control_.GetServiceStartType("Big"));
  ASSERT_TRUE(control_.SetServiceStartType(SERVICE_DISABLED, "Big"));
  EXPECT_EQ(big.binaryPath, Services().Find("Big")->binaryPath);
  EXPECT_EQ(4u, Services().Find("Big")->startType);
}

TEST_F(ServiceControlTest, SetStartTypeChangesOnlyTheStartType) {
  fake::FakeService before = Configured(SERVICE_AUTO_START, true);
  Services().Add("Schedule", before);
  ASSERT_TRUE(control_.SetServiceStartType(SERVICE_DISABLED, "Schedule"));
  const fake::FakeService& after = *Services().Find("Schedule");
  EXPECT_EQ(4u, after.startType);
  EXPECT_TRUE(after.running);
  EXPECT_EQ(before.serviceType, after.serviceType);
  EXPECT_EQ(before.errorControl, after.errorControl);
  EXPECT_EQ(before.binaryPath, after.binaryPath);
  EXPECT_EQ(before.loadOrderGroup, after.loadOrderGroup);
  EXPECT_EQ(before.dependencies, after.dependencies);
  EXPECT_EQ(before.account, after.account);
  EXPECT_EQ(before.displayName, after.displayName);
  EXPECT_EQ(1, after.configurationChanges);
  // Nothing but the start type is handed back: the ANSI texts of the record
  // would lose every character outside the code page.
  EXPECT_EQ(std::vector<std::string>{"startType"}, after.changedFields);
}

TEST_F(ServiceControlTest, SetStartTypeOfAMissingServiceFails) {
  EXPECT_FALSE(control_.SetServiceStartType(SERVICE_DISABLED, "Missing"));
}

TEST_F(ServiceControlTest, StartAndStopAreRequestsThatFailWhenNothingChanges) {
  Services().Add("Svc", Configured(SERVICE_AUTO_START, false));
  EXPECT_FALSE(control_.StopServiceByName("Svc"));
  EXPECT_TRUE(control_.StartServiceByName("Svc"));
  EXPECT_TRUE(Services().Find("Svc")->running);
  EXPECT_FALSE(control_.StartServiceByName("Svc"));
  EXPECT_TRUE(control_.StopServiceByName("Svc"));
  EXPECT_FALSE(Services().Find("Svc")->running);
  EXPECT_FALSE(control_.StartServiceByName("Missing"));
}

TEST_F(ServiceControlTest, EveryOperationOpensTheManagerAfresh) {
  Services().Add("Svc", Configured(SERVICE_AUTO_START, false));
  control_.GetServiceStartType("Svc");
  control_.SetServiceStartType(SERVICE_AUTO_START, "Svc");
  control_.StartServiceByName("Svc");
  control_.StopServiceByName("Svc");
  EXPECT_EQ(4, Services().managerOpens);
}

TEST_F(ServiceControlTest, ASharedManagerIsOpenedOnceAndClosedByTheLastSharer) {
  Services().Add("Svc", Configured(SERVICE_AUTO_START, false));
  Services().Add("Other", Configured(SERVICE_DEMAND_START, false));
  {
    ServiceControl::SharedManager outer(control_);
    {
      ServiceControl::SharedManager inner(control_);
      EXPECT_EQ(2u, control_.GetServiceStartType("Svc"));
      EXPECT_EQ(kStartTypeMissing, control_.GetServiceStartType("Missing"));
      EXPECT_TRUE(control_.SetServiceStartType(SERVICE_DISABLED, "Svc"));
    }
    EXPECT_EQ(4u, control_.GetServiceStartType("Svc")) << "a start type set is asked anew";
    Services().Find("Svc")->startType = SERVICE_DEMAND_START;
    EXPECT_EQ(4u, control_.GetServiceStartType("Svc")) << "one read is remembered";
    EXPECT_EQ(1, Services().managerOpens);
    EXPECT_EQ(1u, Services().OpenHandleCount()) << "the manager stays open for the outer one";
  }
  EXPECT_EQ(0u, Services().OpenHandleCount());
  EXPECT_EQ(3u, control_.GetServiceStartType("Svc")) << "nothing is remembered after the last";
  EXPECT_EQ(0u, Services().OpenHandleCount());
  // A manager that cannot be opened is asked again, and nothing is left open.
  Services().refuseManager = true;
  {
    ServiceControl::SharedManager shared(control_);
    EXPECT_EQ(kStartTypeUnknown, control_.GetServiceStartType("Svc"));
    Services().refuseManager = false;
    EXPECT_EQ(3u, control_.GetServiceStartType("Other"));
  }
  EXPECT_EQ(0u, Services().OpenHandleCount());
  EXPECT_EQ(0, Services().BadHandleUses());
}

// The window's start types are asked on another thread and handed over.
TEST_F(ServiceControlTest, StartTypesHandedOverAreTakenOnlyWhileShared) {
  Services().Add("Svc", Configured(SERVICE_AUTO_START, false));
  control_.Remember({{"Svc", SERVICE_DISABLED}});
  EXPECT_EQ(2u, control_.GetServiceStartType("Svc")) << "nothing is kept without a sharer";
  const int opensBefore = Services().managerOpens;
  {
    ServiceControl::SharedManager shared(control_);
    control_.Remember({{"Svc", SERVICE_DISABLED}});
    EXPECT_EQ(4u, control_.GetServiceStartType("Svc"));
    EXPECT_EQ(opensBefore, Services().managerOpens) << "the manager is not asked again";
  }
  EXPECT_EQ(2u, control_.GetServiceStartType("Svc"));
}

// Three answers, and only Windows' own "does not exist" means missing: a
// service that could not be asked may well exist and run.
struct AskedService {
  const char* what;
  bool administrator;
  bool refuseManager;
  bool refusesOpen;
  const char* name;
  DWORD startType;
  bool installed;
};

const AskedService kAskedServices[] = {
    {"Read", true, false, false, "Svc", SERVICE_AUTO_START, true},
    {"ReadByAStandardUser", false, false, false, "Svc", SERVICE_AUTO_START, true},
    {"Missing", true, false, false, "Gone", kStartTypeMissing, false},
    {"ManagerRefused", true, true, false, "Svc", kStartTypeUnknown, true},
    {"ServiceRefused", false, false, true, "Svc", kStartTypeUnknown, true},
};

class ServiceAnswers : public ServiceControlTest,
                       public ::testing::WithParamInterface<AskedService> {};

TEST_P(ServiceAnswers, TellMissingFromUnknown) {
  const AskedService& c = GetParam();
  Machine().administrator = c.administrator;
  Services().refuseManager = c.refuseManager;
  Services().Add("Svc", Configured(SERVICE_AUTO_START, true)).refusesOpen = c.refusesOpen;
  SystemAccess system;
  EXPECT_EQ(c.startType, control_.GetServiceStartType(c.name));
  EXPECT_EQ(c.installed, system.IsServiceInstalled(c.name));
}

INSTANTIATE_TEST_SUITE_P(Cases, ServiceAnswers, ::testing::ValuesIn(kAskedServices),
                         [](const auto& info) { return std::string(info.param.what); });


}  // namespace
