// The detection marker as the roads and the uninstall leave it in the fake registry: written after
// a road that changed the printer, never after one that changed nothing or failed, and taken away
// with each printer the uninstall removed.
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
    options.onInstalled = MarkInstalledPrinter(registry, clock, context, kVersion);
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
    options.onInstalled = MarkInstalledPrinter(marks, clock, ctx, kVersion);
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
            RunQuietInstall(context, fake.platform, usb, MarkInstalledPrinter(registry, clock, context, kVersion)));
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

}  // namespace
