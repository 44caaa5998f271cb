// The detection marker as the roads and the uninstall leave it in the fake registry: written after
// a road that changed the printer, never after one that changed nothing or failed, and taken away
// with each printer the uninstall removed; and the ports this program made, taken once unused,
// remembered (PendingPorts) until then.
#include "app/install_records.h"

#include <gtest/gtest.h>

#include "app/quiet_install.h"
#include "app/road_context.h"
#include "app/uninstall_report.h"
#include "config/detection_marker.h"
#include "config/fake_registry.h"
#include "diag/fake_install_log.h"
#include "spooler/fake_print_services.h"
#include "usb/fake_device_tree.h"

namespace {

constexpr WindowHandle kMain = 0x2a;
const std::u16string kVersion = u"4.5.6";
const std::u16string kConfig = u"C:\\setup\\config.ini";

class InstallRecordsTest : public ::testing::Test {
 protected:
  InstallRecordsTest() : context(RoadTestContext()) {
    context.configPath = kConfig;
    AddDriverPackage(fake.files, context);
    fake.spooler.AddTcpIpMonitor();
    clock.time = {2026, 12, 8, 21, 42, 9, 517};
  }

  RoadEnd Run(WizardPage page, const std::u16string& text) {
    RoadOptions options;
    options.onInstalled = MarkInstalledPrinter(registry, clock, fake.platform, context, kVersion);
    return RunInstallRoad(page, text, kMain, context, fake.platform, std::move(options));
  }

  std::optional<std::u16string> Value(const std::u16string& printer, const std::u16string& name) const {
    return registry.Text(MarkerKey(printer), name);
  }

  bool Traced(const std::u16string& line) const {
    const std::vector<std::u16string> traces = fake.Traces();
    return std::find(traces.begin(), traces.end(), line) != traces.end();
  }

  InstallContext context;
  FakePrintPlatform fake;
  FakeRegistry registry;
  FakeClock clock;
};

TEST_F(InstallRecordsTest, AnInstallLeavesTheMarkerOfThePrinterItAdded) {
  ASSERT_EQ(RoadEnd::Installed, Run(WizardPage::Network, u"10.1.2.3"));
  ASSERT_EQ(RoadEnd::Installed, Run(WizardPage::Network, u"10.1.2.4"));
  const std::pair<std::u16string, std::u16string> values[] = {
      {u"Version", kVersion},           {u"Driver", u"LBLENG"},
      {u"Port", u"10.1.2.4"},           {u"Config", kConfig},
      {u"InstalledAt", u"2026-12-08T21:42:09"},
  };
  for (const auto& [name, text] : values) {
    SCOPED_TRACE(Narrow(name));
    EXPECT_EQ(Value(u"Label Printer(2)", name), text);
  }
  EXPECT_EQ(Value(u"Label Printer", u"Port"), u"10.1.2.3");
  EXPECT_EQ(fake.Boxes().back().text, u"Add Printer Successful - Label Printer(2)");
}

TEST_F(InstallRecordsTest, OnlyARoadThatChangedThePrinterWritesIt) {
  struct Case {
    const char* what;
    const char16_t* ifExists;
    bool printerThere;
    std::function<void(FakePrintPlatform&)> arrange;
    RoadEnd end;
    bool marked;
  } cases[] = {
      {"new", u"New", false, nullptr, RoadEnd::Installed, true},
      {"update", u"Update", true, nullptr, RoadEnd::Installed, true},
      {"keep changes nothing", u"Keep", true, nullptr, RoadEnd::Installed, false},
      {"an install that failed", u"New", false, [](FakePrintPlatform& f) { f.spooler.Fail("AddPrinterW", 5); },
       RoadEnd::Failed, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePrintPlatform local;
    AddDriverPackage(local.files, context);
    local.spooler.AddTcpIpMonitor();
    if (c.printerThere) {
      local.spooler.AddPort(u"10.1.2.3", kTcpIpMonitorName);
      local.spooler.AddPrinter(u"Label Printer", u"10.1.2.3", 0, u"LBLENG");
    }
    if (c.arrange) c.arrange(local);
    FakeRegistry marks;
    InstallContext ctx = context;
    ctx.ifExists = c.ifExists;
    RoadOptions options;
    options.onInstalled = MarkInstalledPrinter(marks, clock, local.platform, ctx, kVersion);
    EXPECT_EQ(c.end, RunInstallRoad(WizardPage::Network, u"10.1.2.3", kMain, ctx, local.platform, std::move(options)));
    EXPECT_EQ(marks.Text(MarkerKey(u"Label Printer"), u"Version"),
              c.marked ? std::optional<std::u16string>(kVersion) : std::nullopt);
  }
}

TEST_F(InstallRecordsTest, AMarkerThatCannotBeWrittenIsTracedAndTheInstallStillSucceeds) {
  registry.Fail("SetString", kRegistryAccessDenied);
  EXPECT_EQ(RoadEnd::Installed, Run(WizardPage::Network, u"10.1.2.3"));
  EXPECT_TRUE(Traced(
      u"Detection Marker Not Written: HKLM\\SOFTWARE\\PrinterSetup\\Printers\\Label Printer Error 5"));
  EXPECT_EQ(fake.Boxes().size(), 1u);
  EXPECT_EQ(fake.Boxes().back().text, u"Add Printer Successful - Label Printer");
  EXPECT_NE(fake.spooler.FindPrinter(u"Label Printer"), nullptr);
}

TEST_F(InstallRecordsTest, TheQuietInstallMarksItsPrinter) {
  FakeDeviceTree tree;
  UsbPlatform usb{tree, tree, fake.spooler};
  context.defaultPortType = u"ETH";
  context.printerAddress = u"10.9.8.7";
  EXPECT_EQ(kExitInstalled,
            RunQuietInstall(context, fake.platform, usb, MarkInstalledPrinter(registry, clock, fake.platform, context, kVersion)));
  EXPECT_EQ(Value(u"Label Printer", u"Port"), u"10.9.8.7");
  EXPECT_EQ(Value(u"Label Printer", u"Version"), kVersion);
}

// Two printers of this configuration and one of another driver, each with a marker: the
// uninstall takes the markers of the printers it removed, and only those.
TEST_F(InstallRecordsTest, TheUninstallTakesTheMarkersOfThePrintersItRemoved) {
  struct Case {
    const char* what;
    std::function<void(FakeSpooler&)> arrange;  // after the plan is made
    std::vector<std::u16string> marked;         // printers whose marker is left
    bool rootLeft;
  } cases[] = {
      {"both removed", nullptr, {u"Office"}, true},
      {"one refuses deletion", [](FakeSpooler& s) { s.Fail("DeletePrinter", 5, 2); }, {u"Label Printer(2)", u"Office"},
       true},
      {"one gone already", [](FakeSpooler& s) { s.printers.erase(s.printers.begin()); }, {u"Office"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePrintPlatform local{32};
    local.spooler.AddTcpIpMonitor();
    local.spooler.AddPort(u"10.0.0.5", kTcpIpMonitorName);
    local.spooler.AddDriver(u"LBLENG");
    FakeRegistry marks;
    for (const char16_t* printer : {u"Label Printer", u"Label Printer(2)", u"Office"}) {
      local.spooler.AddPrinter(printer, u"10.0.0.5", 0, printer == std::u16string(u"Office") ? u"Generic" : u"LBLENG");
      DetectionMarker marker;
      marker.printerName = printer;
      ASSERT_TRUE(WriteDetectionMarker(marks, marker));
    }
    const UninstallPlan plan = PlanUninstall(context, local.platform);
    if (c.arrange) c.arrange(local.spooler);
    CarryOutUninstall(context, local.platform, plan, marks);
    for (const char16_t* printer : {u"Label Printer", u"Label Printer(2)", u"Office"}) {
      const bool left = std::find(c.marked.begin(), c.marked.end(), printer) != c.marked.end();
      EXPECT_EQ(marks.HasKey(MarkerKey(printer)), left) << Narrow(printer);
    }
    EXPECT_EQ(marks.HasKey(kMarkerRootKey), c.rootLeft);
  }
}

TEST_F(InstallRecordsTest, TheLastMarkerTakesTheProgramsKeysWithIt) {
  ASSERT_EQ(RoadEnd::Installed, Run(WizardPage::Network, u"10.1.2.3"));
  ASSERT_TRUE(registry.HasKey(kMarkerRootKey));
  const UninstallPlan plan = PlanUninstall(context, fake.platform);
  EXPECT_TRUE(CarryOutUninstall(context, fake.platform, plan, registry));
  EXPECT_FALSE(registry.HasKey(kMarkerPrintersKey));
  EXPECT_FALSE(registry.HasKey(kMarkerRootKey));
  EXPECT_TRUE(registry.HasKey(u"SOFTWARE"));
}

TEST_F(InstallRecordsTest, AMarkerThatCannotBeRemovedIsTracedAndTheUninstallStillSucceeds) {
  ASSERT_EQ(RoadEnd::Installed, Run(WizardPage::Network, u"10.1.2.3"));
  registry.Fail("DeleteKey", kRegistryAccessDenied);
  const UninstallPlan plan = PlanUninstall(context, fake.platform);
  EXPECT_TRUE(CarryOutUninstall(context, fake.platform, plan, registry));
  EXPECT_TRUE(Traced(
      u"Detection Marker Not Removed: HKLM\\SOFTWARE\\PrinterSetup\\Printers\\Label Printer Error 5"));
  EXPECT_EQ(fake.spooler.FindPrinter(u"Label Printer"), nullptr);
}

std::vector<std::u16string> Pending(const FakeRegistry& registry) {
  return registry.Texts(kMarkerRootKey, kPendingPortsValue).value_or(std::vector<std::u16string>{});
}

TEST_F(InstallRecordsTest, TheMarkerNamesThePortsAnInstallsMonitorHolds) {
  struct Case {
    const char* what;
    WizardPage page;
    std::u16string text;
    std::vector<std::u16string> made;
  } cases[] = {
      {"network: the address port", WizardPage::Network, u"10.1.2.3", {u"10.1.2.3"}},
      {"USB through the monitor: its numbered port", WizardPage::Usb, u"VID:0x1A2B,PID:0x4D5E", {u"LBUSB001"}},
      {"serial: the spooler's own port", WizardPage::Serial, u"COM1:", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePrintPlatform local;
    AddDriverPackage(local.files, context);
    local.files.AddFile(u"C:\\setup\\MONITOR32\\MonitorSetup.exe");
    local.spooler.AddTcpIpMonitor();
    local.spooler.AddMonitor(u"Label USB Monitor");
    local.spooler.AddPort(u"COM1:");
    InstallContext ctx = context;
    ctx.portMonitorName = u"Label USB Monitor";
    ctx.portNamePrefix = u"LBUSB";
    FakeRegistry marks;
    RoadOptions options;
    options.onInstalled = MarkInstalledPrinter(marks, clock, local.platform, ctx, kVersion);
    ASSERT_EQ(RoadEnd::Installed, RunInstallRoad(c.page, c.text, kMain, ctx, local.platform, std::move(options)));
    EXPECT_EQ(marks.Texts(MarkerKey(u"Label Printer"), u"Ports"), c.made);
  }
}

// An Update that moves the printer from 10.1.2.3, which an earlier install made, to 10.1.2.4.
TEST_F(InstallRecordsTest, AnUpdateToAnotherPortTakesTheOldOneWhenNothingUsesIt) {
  struct Case {
    const char* what;
    std::function<void(FakeSpooler&)> arrange;
    bool oldPortLeft;
    std::vector<std::u16string> pending;
  } cases[] = {
      {"unused: taken", nullptr, false, {}},
      {"another printer uses it: pending", [](FakeSpooler& s) { s.AddPrinter(u"Office", u"10.1.2.3"); }, true,
       {u"10.1.2.3"}},
      {"DeletePort refused: pending", [](FakeSpooler& s) { s.monitors[kTcpIpMonitorName].deletePortStatus = 5; },
       true, {u"10.1.2.3"}},
      {"gone already: nothing to remember", [](FakeSpooler& s) { s.ports.clear(); }, false, {}},
      {"the printers cannot be listed: pending", [](FakeSpooler& s) { s.Fail("LocalPrinters", 1722, 2); }, true,
       {u"10.1.2.3"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePrintPlatform local;
    AddDriverPackage(local.files, context);
    local.spooler.AddTcpIpMonitor();
    FakeRegistry marks;
    InstallContext ctx = context;
    ctx.ifExists = u"Update";
    const auto run = [&](const std::u16string& address) {
      RoadOptions options;
      options.onInstalled = MarkInstalledPrinter(marks, clock, local.platform, ctx, kVersion);
      return RunInstallRoad(WizardPage::Network, address, kMain, ctx, local.platform, std::move(options));
    };
    ASSERT_EQ(RoadEnd::Installed, run(u"10.1.2.3"));
    if (c.arrange) c.arrange(local.spooler);
    local.log.Clear();
    EXPECT_EQ(RoadEnd::Installed, run(u"10.1.2.4"));
    EXPECT_EQ(local.spooler.FindPrinter(u"Label Printer")->info.portName, u"10.1.2.4");
    EXPECT_EQ(local.spooler.FindPort(u"10.1.2.3") != nullptr, c.oldPortLeft);
    EXPECT_NE(local.spooler.FindPort(u"10.1.2.4"), nullptr);
    EXPECT_EQ(marks.Texts(MarkerKey(u"Label Printer"), u"Ports"), std::vector<std::u16string>{u"10.1.2.4"});
    EXPECT_EQ(Pending(marks), c.pending);
    // The install's one box, whatever became of the old port.
    EXPECT_EQ(local.Boxes().back().text, u"Add Printer Successful - Label Printer");
    EXPECT_EQ(local.spooler.OpenHandleCount(), 0u);
  }
}

TEST_F(InstallRecordsTest, AnUpdateOnTheSamePortTouchesNoPort) {
  context.ifExists = u"Update";
  ASSERT_EQ(RoadEnd::Installed, Run(WizardPage::Network, u"10.1.2.3"));
  fake.log.Clear();
  ASSERT_EQ(RoadEnd::Installed, Run(WizardPage::Network, u"10.1.2.3"));
  EXPECT_EQ(fake.log.Count("XcvDataW"), 1u);  // the AddPort of the road only
  EXPECT_NE(fake.spooler.FindPort(u"10.1.2.3"), nullptr);
  EXPECT_FALSE(registry.Texts(kMarkerRootKey, kPendingPortsValue).has_value());
}

// An uninstall whose port could not go, then the next one: the port is taken then, and the
// records with it.
TEST_F(InstallRecordsTest, APortThatOutlivesItsPrinterIsTakenByALaterUninstall) {
  struct Case {
    const char* what;
    std::function<void(FakeSpooler&)> first;   // before the first uninstall
    std::function<void(FakeSpooler&)> second;  // before the second
    bool firstSucceeds;
  } cases[] = {
      {"DeletePort refused once", [](FakeSpooler& s) { s.monitors[kTcpIpMonitorName].deletePortStatus = 5; },
       [](FakeSpooler& s) { s.monitors[kTcpIpMonitorName].deletePortStatus.reset(); }, false},
      {"another printer used it until it went", [](FakeSpooler& s) { s.AddPrinter(u"Office", u"10.1.2.3"); },
       [](FakeSpooler& s) { s.printers.clear(); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePrintPlatform local{32};
    AddDriverPackage(local.files, context);
    local.spooler.AddTcpIpMonitor();
    FakeRegistry marks;
    RoadOptions options;
    options.onInstalled = MarkInstalledPrinter(marks, clock, local.platform, context, kVersion);
    ASSERT_EQ(RoadEnd::Installed, RunInstallRoad(WizardPage::Network, u"10.1.2.3", kMain, context, local.platform,
                                                 std::move(options)));
    c.first(local.spooler);
    const UninstallPlan first = PlanUninstall(context, local.platform, RecordedPorts(marks));
    EXPECT_EQ(CarryOutUninstall(context, local.platform, first, marks), c.firstSucceeds);
    EXPECT_EQ(local.spooler.FindPrinter(u"Label Printer"), nullptr);
    EXPECT_NE(local.spooler.FindPort(u"10.1.2.3"), nullptr);
    EXPECT_FALSE(marks.HasKey(MarkerKey(u"Label Printer")));
    EXPECT_EQ(Pending(marks), std::vector<std::u16string>{u"10.1.2.3"});

    c.second(local.spooler);
    const UninstallPlan second = PlanUninstall(context, local.platform, RecordedPorts(marks));
    EXPECT_TRUE(second.printers.empty());
    EXPECT_EQ(second.ports, std::vector<std::u16string>{u"10.1.2.3"});
    EXPECT_TRUE(CarryOutUninstall(context, local.platform, second, marks));
    EXPECT_EQ(local.spooler.FindPort(u"10.1.2.3"), nullptr);
    EXPECT_FALSE(marks.HasKey(kMarkerRootKey));
  }
}

TEST_F(InstallRecordsTest, RecordsOfPortsGoneAlreadyAreDroppedAndUnreadListsKeepThem) {
  struct Case {
    const char* what;
    std::function<void(FakeSpooler&)> arrange;
    std::vector<std::u16string> pending;
  } cases[] = {
      {"gone already", [](FakeSpooler& s) { s.ports.clear(); }, {}},
      {"no list of ports", [](FakeSpooler& s) { s.Fail("Ports", 1722); }, {u"10.1.2.3"}},
      {"no list of printers", [](FakeSpooler& s) { s.Fail("LocalPrinters", 1722); }, {u"10.1.2.3"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePrintPlatform local{32};
    local.spooler.AddTcpIpMonitor();
    local.spooler.AddPort(u"10.1.2.3", kTcpIpMonitorName);
    FakeRegistry marks;
    ASSERT_TRUE(WritePendingPorts(marks, {u"10.1.2.3"}));
    c.arrange(local.spooler);
    const UninstallPlan plan = PlanUninstall(context, local.platform, RecordedPorts(marks));
    // What the run does with a plan that holds nothing: it says so, and settles the records.
    ASSERT_TRUE(plan.Empty());
    SettleRecords(marks, plan, {});
    EXPECT_EQ(Pending(marks), c.pending);
    EXPECT_EQ(marks.HasKey(kMarkerRootKey), !c.pending.empty());
  }
}

TEST_F(InstallRecordsTest, PendingPortsThatCannotBeReadOrWrittenAreTracedAndTheUninstallGoesOn) {
  ASSERT_EQ(RoadEnd::Installed, Run(WizardPage::Network, u"10.1.2.3"));
  fake.spooler.monitors[kTcpIpMonitorName].deletePortStatus = 5;
  registry.Fail("SetStrings", kRegistryAccessDenied);
  const UninstallPlan plan = PlanUninstall(context, fake.platform, RecordedPorts(registry));
  EXPECT_FALSE(CarryOutUninstall(context, fake.platform, plan, registry));
  EXPECT_TRUE(Traced(u"Pending Ports Not Written: HKLM\\SOFTWARE\\PrinterSetup Error 5"));
  EXPECT_EQ(fake.spooler.FindPrinter(u"Label Printer"), nullptr);
  registry.Fail("Strings", kRegistryAccessDenied);
  EXPECT_TRUE(RecordedPorts(registry).empty());
  EXPECT_TRUE(Traced(u"Pending Ports Not Read: HKLM\\SOFTWARE\\PrinterSetup Error 5"));
}

}  // namespace
