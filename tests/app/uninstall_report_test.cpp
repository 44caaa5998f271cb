// The uninstall on the fake spooler: which printers, ports and drivers are planned, and what each
// step does, and what still happens after one fails.
#include "app/uninstall_report.h"

#include <gtest/gtest.h>

#include "config/fake_registry.h"
#include "spooler/fake_print_services.h"

namespace {

const std::u16string kUsbMonitor = u"Label USB Monitor";
const std::u16string kX86 = u"Windows NT x86";
const std::u16string kX64 = u"Windows x64";

std::vector<std::u16string> BoxTexts(const FakePrintPlatform& fake) {
  std::vector<std::u16string> texts;
  for (const RecordedBox& box : fake.Boxes()) texts.push_back(box.text);
  return texts;
}

bool Traced(const FakePrintPlatform& fake, const std::u16string& line) {
  std::vector<std::u16string> traces = fake.Traces();
  return std::find(traces.begin(), traces.end(), line) != traces.end();
}

using Drivers = std::vector<std::pair<std::u16string, std::u16string>>;

InstallContext Context() {
  InstallContext context;
  context.printerBaseName = u"Label Printer";
  context.driverPrefix = u"LBL";
  context.portMonitorName = kUsbMonitor;
  return context;
}

// Both monitors, a port of each and a parallel port; the drivers LBLENG and LBLCHN in each
// environment of a 64-bit system and one of another vendor.
void StageSpooler(FakeSpooler& spooler) {
  spooler.AddTcpIpMonitor();
  spooler.AddMonitor(kUsbMonitor);
  spooler.AddPort(u"10.0.0.5", kTcpIpMonitorName);
  spooler.AddPort(u"LBUSB001", kUsbMonitor);
  spooler.AddPort(u"LPT1:");
  for (const std::u16string& environment : {kX86, kX64}) {
    spooler.AddDriver(u"LBLENG", environment);
    spooler.AddDriver(u"LBLCHN", environment);
  }
  spooler.AddDriver(u"Generic", kX64);
}

TEST(UninstallPlan, PrintersByNameOrNumberedNameOnThisProgramsDrivers) {
  struct Case {
    std::u16string name;
    std::u16string driver;
    bool planned;
  } cases[] = {
      {u"Label Printer", u"LBLENG", true},
      {u"LABEL PRINTER", u"LBLCHN", true},  // the spooler's names ignore letter case
      {u"label printer(2)", u"LBLENG", true},
      {u"Label Printer(254)", u"lbleng", true},
      {u"Label Printer(255)", u"LBLENG", false},  // beyond the numbers an install takes
      {u"Label Printer(1)", u"LBLENG", false},
      {u"Label Printer(02)", u"LBLENG", false},
      {u"Label Printer (2)", u"LBLENG", false},
      {u"Label Printer(2", u"LBLENG", false},
      {u"Label Printer()", u"LBLENG", false},
      {u"Label Printer(x)", u"LBLENG", false},
      {u"Label Printer Copy", u"LBLENG", false},
      {u"Label Printe", u"LBLENG", false},
      {u"Label Printer", u"Generic", false},  // the name alone is not enough
      {u"Label Printer", u"LBLFRA", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.name) + " on " + Narrow(c.driver));
    FakePrintPlatform fake{64};
    StageSpooler(fake.spooler);
    fake.spooler.AddPrinter(c.name, u"LPT1:", 0, c.driver);
    UninstallPlan plan = PlanUninstall(Context(), fake.platform);
    EXPECT_EQ(plan.printers, c.planned ? std::vector<std::u16string>{c.name} : std::vector<std::u16string>{});
    EXPECT_TRUE(plan.unlisted.empty());
    // A parallel port is no install's own.
    EXPECT_TRUE(plan.ports.empty());
  }
}

TEST(UninstallPlan, PortsOnlyTheRemovedPrintersUseOfTheInstallsMonitors) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::u16string, std::u16string>> printers;  // name, port
    std::vector<std::u16string> ports;
    std::vector<std::u16string> monitors;
  } cases[] = {
      {"a TCP/IP port and a monitor port", {{u"Label Printer", u"10.0.0.5"}, {u"Label Printer(2)", u"LBUSB001"}},
       {u"10.0.0.5", u"LBUSB001"}, {kTcpIpMonitorName, kUsbMonitor}},
      {"one port for two printers, once", {{u"Label Printer", u"10.0.0.5"}, {u"Label Printer(2)", u"10.0.0.5"}},
       {u"10.0.0.5"}, {kTcpIpMonitorName}},
      {"a printer of another driver keeps the port", {{u"Label Printer", u"10.0.0.5"}, {u"Office", u"10.0.0.5"}},
       {}, {}},
      {"a pool: each of its ports", {{u"Label Printer", u"10.0.0.5, LBUSB001"}}, {u"10.0.0.5", u"LBUSB001"},
       {kTcpIpMonitorName, kUsbMonitor}},
      {"another printer's pool keeps its ports", {{u"Label Printer", u"10.0.0.5"}, {u"Office", u"LPT1:,10.0.0.5"}},
       {}, {}},
      {"the spooler's spelling", {{u"Label Printer", u"lbusb001"}}, {u"LBUSB001"}, {kUsbMonitor}},
      {"a port the spooler does not list", {{u"Label Printer", u"10.9.9.9"}}, {}, {}},
      {"a port of another monitor", {{u"Label Printer", u"LPT1:"}}, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePrintPlatform fake{64};
    StageSpooler(fake.spooler);
    for (const auto& [name, port] : c.printers) {
      fake.spooler.AddPrinter(name, port, 0, name == u"Office" ? u"Generic" : u"LBLENG");
    }
    UninstallPlan plan = PlanUninstall(Context(), fake.platform);
    EXPECT_EQ(plan.ports, c.ports);
    EXPECT_EQ(plan.portMonitors, c.monitors);
  }
}

// Ports an earlier run recorded (DeletePort failed, or another printer still used them): each is
// planned as a removed printer's port is, whether or not a printer of this configuration is left.
TEST(UninstallPlan, RecordedPortsThatNoPrinterUsesAnyMore) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::u16string, std::u16string>> printers;  // name, port
    std::vector<std::u16string> recorded;
    std::vector<std::u16string> ports;
    std::vector<std::u16string> monitors;
    std::vector<std::u16string> gone;
  } cases[] = {
      {"no printer left: the port is still planned", {}, {u"10.0.0.5"}, {u"10.0.0.5"}, {kTcpIpMonitorName}, {}},
      {"a monitor port, as the spooler spells it", {}, {u"lbusb001"}, {u"LBUSB001"}, {kUsbMonitor}, {}},
      {"another printer still uses it", {{u"Office", u"10.0.0.5"}}, {u"10.0.0.5"}, {}, {}, {}},
      {"a removed printer uses it: once", {{u"Label Printer", u"10.0.0.5"}}, {u"10.0.0.5", u"10.0.0.5"},
       {u"10.0.0.5"}, {kTcpIpMonitorName}, {}},
      {"gone already", {}, {u"10.9.9.9"}, {}, {}, {u"10.9.9.9"}},
      {"a port of another monitor stays", {}, {u"LPT1:"}, {}, {}, {}},
      {"beside a removed printer's own", {{u"Label Printer", u"LBUSB001"}}, {u"10.0.0.5"},
       {u"LBUSB001", u"10.0.0.5"}, {kUsbMonitor, kTcpIpMonitorName}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePrintPlatform fake{64};
    StageSpooler(fake.spooler);
    for (const auto& [name, port] : c.printers) {
      fake.spooler.AddPrinter(name, port, 0, name == u"Office" ? u"Generic" : u"LBLENG");
    }
    UninstallPlan plan = PlanUninstall(Context(), fake.platform, c.recorded);
    EXPECT_EQ(plan.ports, c.ports);
    EXPECT_EQ(plan.portMonitors, c.monitors);
    EXPECT_EQ(plan.portsGone, c.gone);
    EXPECT_TRUE(plan.unlisted.empty());
  }
}

TEST(UninstallPlan, RecordedPortsWithoutAPortListArePlannedNeitherNorGone) {
  FakePrintPlatform fake{64};
  StageSpooler(fake.spooler);
  fake.spooler.Fail("Ports", 1722);
  UninstallPlan plan = PlanUninstall(Context(), fake.platform, {u"10.0.0.5"});
  EXPECT_EQ(plan.unlisted, (std::vector<std::pair<std::u16string, std::uint32_t>>{{u"EnumPorts", 1722}}));
  EXPECT_TRUE(plan.ports.empty());
  EXPECT_TRUE(plan.portsGone.empty());
}

TEST(UninstallPlan, APortPlanAloneWeighsEveryPrinterAsAUser) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::u16string, std::u16string>> printers;  // name, port
    bool listed;
    std::vector<std::u16string> ports;
    std::vector<std::u16string> gone;
  } cases[] = {
      {"unused", {{u"Label Printer", u"LBUSB001"}}, true, {u"10.0.0.5"}, {}},
      {"this configuration's printer is a user too", {{u"Label Printer", u"10.0.0.5"}}, true, {}, {}},
      {"gone", {}, false, {}, {u"10.0.0.5"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePrintPlatform fake{64};
    StageSpooler(fake.spooler);
    if (!c.listed) fake.spooler.ports.clear();
    for (const auto& [name, port] : c.printers) fake.spooler.AddPrinter(name, port, 0, u"LBLENG");
    UninstallPlan plan = PlanPortRemoval(Context(), fake.platform, {u"10.0.0.5"});
    EXPECT_EQ(plan.ports, c.ports);
    EXPECT_EQ(plan.portsGone, c.gone);
    EXPECT_TRUE(plan.printers.empty());
    EXPECT_TRUE(plan.drivers.empty());
  }
}

TEST(UninstallPlan, WithoutACustomMonitorOnlyTcpIpPortsAreTheInstalls) {
  FakePrintPlatform fake{64};
  StageSpooler(fake.spooler);
  fake.spooler.AddPrinter(u"Label Printer", u"10.0.0.5,LBUSB001", 0, u"LBLENG");
  InstallContext context = Context();
  context.portMonitorName.clear();
  EXPECT_EQ(PlanUninstall(context, fake.platform).ports, std::vector<std::u16string>{u"10.0.0.5"});
}

TEST(UninstallPlan, DriversOfEachEnvironmentThatNoOtherPrinterUses) {
  struct Case {
    const char* what;
    int osBitness;
    std::vector<std::pair<std::u16string, std::u16string>> printers;  // name, driver
    Drivers drivers;
  } cases[] = {
      {"64-bit: both environments", 64, {{u"Label Printer", u"LBLENG"}},
       {{kX86, u"LBLENG"}, {kX86, u"LBLCHN"}, {kX64, u"LBLENG"}, {kX64, u"LBLCHN"}}},
      {"32-bit: its own only", 32, {{u"Label Printer", u"LBLENG"}}, {{kX86, u"LBLENG"}, {kX86, u"LBLCHN"}}},
      {"still used by a printer of another name", 64, {{u"Label Printer", u"LBLENG"}, {u"Shop", u"LBLENG"}},
       {{kX86, u"LBLCHN"}, {kX64, u"LBLCHN"}}},
      {"no printer left: the drivers still go", 64, {},
       {{kX86, u"LBLENG"}, {kX86, u"LBLCHN"}, {kX64, u"LBLENG"}, {kX64, u"LBLCHN"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePrintPlatform fake{c.osBitness};
    StageSpooler(fake.spooler);
    for (const auto& [name, driver] : c.printers) fake.spooler.AddPrinter(name, u"LPT1:", 0, driver);
    UninstallPlan plan = PlanUninstall(Context(), fake.platform);
    EXPECT_EQ(plan.drivers, c.drivers);
    if (c.osBitness == 32) {
      EXPECT_EQ(fake.log.Named("Drivers"), std::vector<std::string>{"Drivers(\"Windows NT x86\")"});
    }
  }
}

TEST(UninstallPlan, DriversOnlyWhereInstalledAndAsTheSpoolerSpellsThem) {
  FakePrintPlatform fake{64};
  fake.spooler.AddDriver(u"lbleng", kX64);
  fake.spooler.AddDriver(u"Generic", kX86);
  UninstallPlan plan = PlanUninstall(Context(), fake.platform);
  EXPECT_EQ(plan.drivers, (Drivers{{kX64, u"lbleng"}}));
  EXPECT_TRUE(plan.printers.empty());
  EXPECT_FALSE(plan.Empty());
  // No printer of this program: its ports are not asked for.
  EXPECT_EQ(fake.log.Count("Ports"), 0u);
}

TEST(UninstallPlan, ListsThatCannotBeReadAreNamedAndWhatDependsOnThemIsLeft) {
  struct Case {
    const char* what;
    std::function<void(FakeSpooler&)> arrange;
    std::vector<std::pair<std::u16string, std::uint32_t>> unlisted;
    std::size_t printers, ports, drivers;
  } cases[] = {
      {"printers: nothing at all", [](FakeSpooler& s) { s.Fail("LocalPrinters", 5, 1); }, {{u"EnumPrinters", 5}}, 0, 0, 0},
      {"printers: no memory", [](FakeSpooler& s) { s.FailAllocation("LocalPrinters"); }, {{u"EnumPrinters", 8}}, 0, 0, 0},
      {"ports: the printers and drivers still", [](FakeSpooler& s) { s.FailRead("Ports", ReadStage::FillFailed, 1722); },
       {{u"EnumPorts", 1722}}, 1, 0, 4},
      {"drivers of one environment", [](FakeSpooler& s) { s.Fail("Drivers", 5, 2); },
       {{u"EnumPrinterDrivers", 5}}, 1, 1, 2},
      {"an environment the spooler lacks has none", [](FakeSpooler& s) { s.driverDirectories.erase(kX64); }, {}, 1, 1, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePrintPlatform fake{64};
    StageSpooler(fake.spooler);
    fake.spooler.AddPrinter(u"Label Printer", u"10.0.0.5", 0, u"LBLENG");
    c.arrange(fake.spooler);
    UninstallPlan plan = PlanUninstall(Context(), fake.platform);
    EXPECT_EQ(plan.unlisted, c.unlisted);
    EXPECT_EQ(plan.printers.size(), c.printers);
    EXPECT_EQ(plan.ports.size(), c.ports);
    EXPECT_EQ(plan.drivers.size(), c.drivers);
    if (c.printers == 0) {
      EXPECT_EQ(fake.log.Count("Ports") + fake.log.Count("Drivers"), 0u);
    }
  }
}

TEST(UninstallPlan, WithoutNameOrPrefixNothingIsPlanned) {
  for (auto clear : {+[](InstallContext& c) { c.printerBaseName.clear(); }, +[](InstallContext& c) { c.driverPrefix.clear(); }}) {
    FakePrintPlatform fake{64};
    StageSpooler(fake.spooler);
    fake.spooler.AddPrinter(u"(2)", u"10.0.0.5", 0, u"ENG");
    fake.spooler.AddDriver(u"ENG", kX86);
    InstallContext context = Context();
    clear(context);
    UninstallPlan plan = PlanUninstall(context, fake.platform);
    EXPECT_TRUE(plan.Empty());
    EXPECT_TRUE(plan.unlisted.empty());
  }
}

TEST(RunUninstall, RemovesPrintersThenPortsThenDrivers) {
  FakePrintPlatform fake{64};
  StageSpooler(fake.spooler);
  fake.spooler.AddPrinter(u"Label Printer", u"10.0.0.5", 2, u"LBLENG");
  fake.spooler.AddPrinter(u"Label Printer(2)", u"LBUSB001", 0, u"LBLCHN");
  fake.spooler.AddPrinter(u"Office", u"LPT1:", 0, u"Generic");
  UninstallPlan plan = PlanUninstall(Context(), fake.platform);
  fake.log.Clear();

  FakeRegistry registry;
  EXPECT_TRUE(CarryOutUninstall(Context(), fake.platform, plan, registry));

  EXPECT_EQ(fake.log.calls, (std::vector<std::string>{
                                "OpenPrinterW(\"Label Printer\", 983052)",
                                "SetPrinterW(\"Label Printer\", 0, null, 3)",
                                "DeletePrinter(\"Label Printer\")",
                                "ClosePrinter(\"Label Printer\")",
                                "OpenPrinterW(\"Label Printer(2)\", 983052)",
                                "SetPrinterW(\"Label Printer(2)\", 0, null, 3)",
                                "DeletePrinter(\"Label Printer(2)\")",
                                "ClosePrinter(\"Label Printer(2)\")",
                                "OpenPrinterW(\", XcvMonitor Standard TCP/IP Port\", 1)",
                                "XcvDataW(\", XcvMonitor Standard TCP/IP Port\", \"DeletePort\", 236, 0)",
                                "ClosePrinter(\", XcvMonitor Standard TCP/IP Port\")",
                                "OpenPrinterW(\", XcvMonitor Label USB Monitor\", 1)",
                                "XcvDataW(\", XcvMonitor Label USB Monitor\", \"DeletePort\", 18, 0)",
                                "ClosePrinter(\", XcvMonitor Label USB Monitor\")",
                                "DeletePrinterDriverExW(\"Windows NT x86\", \"LBLENG\", 3, 3)",
                                "DeletePrinterDriverExW(\"Windows NT x86\", \"LBLCHN\", 3, 3)",
                                "DeletePrinterDriverExW(\"Windows x64\", \"LBLENG\", 3, 3)",
                                "DeletePrinterDriverExW(\"Windows x64\", \"LBLCHN\", 3, 3)",
                            }));
  // The Standard TCP/IP monitor's record: the name, then version 1 after the reserved bytes.
  const std::vector<std::uint8_t>& record = fake.spooler.monitors[kTcpIpMonitorName].deletePortInputs.at(0);
  std::vector<std::uint8_t> expected(236, 0);
  const std::u16string name = u"10.0.0.5";
  for (std::size_t i = 0; i < name.size(); ++i) expected[2 * i] = static_cast<std::uint8_t>(name[i]);
  expected[228] = 1;
  EXPECT_EQ(record, expected);
  EXPECT_EQ(fake.spooler.monitors[kUsbMonitor].deletePortInputs.at(0), TextBytes(u"LBUSB001"));

  ASSERT_EQ(fake.spooler.printers.size(), 1u);
  EXPECT_EQ(fake.spooler.printers[0].info.printerName, u"Office");
  ASSERT_EQ(fake.spooler.ports.size(), 1u);
  EXPECT_EQ(fake.spooler.ports[0].portName, u"LPT1:");
  ASSERT_EQ(fake.spooler.drivers.size(), 1u);
  EXPECT_EQ(fake.spooler.drivers[0].name, u"Generic");
  EXPECT_TRUE(fake.Boxes().empty());
  EXPECT_EQ(fake.spooler.OpenHandleCount(), 0u);
  for (const char16_t* line : {u"Removed printer Label Printer", u"Removed printer Label Printer(2)",
                               u"Removed port 10.0.0.5", u"Removed port LBUSB001",
                               u"Removed driver LBLENG (Windows NT x86)", u"Removed driver LBLCHN (Windows x64)"}) {
    EXPECT_TRUE(Traced(fake, line)) << Narrow(line);
  }
}

TEST(RunUninstall, AnEmptyPlanChangesNothingAndSucceeds) {
  FakePrintPlatform fake{64};
  fake.spooler.AddPrinter(u"Office", u"LPT1:", 0, u"Generic");
  UninstallPlan plan = PlanUninstall(Context(), fake.platform);
  ASSERT_TRUE(plan.Empty());
  fake.log.Clear();
  FakeRegistry registry;
  EXPECT_TRUE(CarryOutUninstall(Context(), fake.platform, plan, registry));
  EXPECT_TRUE(fake.log.calls.empty());
  EXPECT_TRUE(fake.Boxes().empty());
  EXPECT_TRUE(Traced(fake, u"Uninstall: nothing to remove"));
}

TEST(RunUninstall, AListThatCouldNotBeReadFailsTheUninstall) {
  FakePrintPlatform fake{64};
  StageSpooler(fake.spooler);
  fake.spooler.AddPrinter(u"Label Printer", u"10.0.0.5", 0, u"LBLENG");
  fake.spooler.Fail("Ports", 1722, 1);
  UninstallPlan plan = PlanUninstall(Context(), fake.platform);
  FakeRegistry registry;
  EXPECT_FALSE(CarryOutUninstall(Context(), fake.platform, plan, registry));
  EXPECT_EQ(BoxTexts(fake), std::vector<std::u16string>{ErrorBox(u"EnumPorts Failed", 1722)});
  EXPECT_EQ(fake.Boxes()[0].owner, WindowHandle{0});
  // The printer and the drivers go all the same; the port stays.
  EXPECT_EQ(fake.spooler.FindPrinter(u"Label Printer"), nullptr);
  EXPECT_TRUE(fake.spooler.drivers.size() == 1u);
  EXPECT_NE(fake.spooler.FindPort(u"10.0.0.5"), nullptr);

  FakePrintPlatform noPrinters{64};
  noPrinters.spooler.Fail("LocalPrinters", 5, 1);
  UninstallPlan nothing = PlanUninstall(Context(), noPrinters.platform);
  EXPECT_FALSE(CarryOutUninstall(Context(), noPrinters.platform, nothing, registry));
  EXPECT_EQ(BoxTexts(noPrinters), std::vector<std::u16string>{ErrorBox(u"EnumPrinters Failed", 5)});
  EXPECT_TRUE(Traced(noPrinters, u"Uninstall: nothing to remove"));
}

// One printer on a TCP/IP port with its driver on a 32-bit system: one object of each kind. Each
// case makes one step fail (or find its object gone) and tells what the run still did.
TEST(RunUninstall, EachStepsFailureAndWhatStillHappens) {
  const std::u16string printerBox = u"DeletePrinter Failed: Label Printer";
  const std::u16string portBox = u"DeletePort Failed: 10.0.0.5";
  const std::u16string driverBox = u"DeletePrinterDriver Failed: LBLENG (Windows NT x86)";
  struct Case {
    const char* what;
    std::function<void(FakeSpooler&)> arrange;  // after the plan is made
    int result;
    std::vector<std::u16string> boxes;
    bool printerLeft, portLeft, driverLeft;
    std::vector<std::u16string> traces;
  } cases[] = {
      {"printer cannot be opened: the spooler keeps its port and driver",
       [](FakeSpooler& s) { s.Fail("OpenPrinterW", 5, 1); }, 0,
       {ErrorBox(printerBox, 5), ErrorBox(portBox, 170), ErrorBox(driverBox, 3001)}, true, true, true,
       {u"OpenPrinter Failed: Label Printer Error 5", u"XcvData DeletePort Failed: 10.0.0.5 Error 170",
        u"DeletePrinterDriverEx Failed: LBLENG (Windows NT x86) Error 3001"}},
      {"printer refuses deletion", [](FakeSpooler& s) { s.Fail("DeletePrinter", 5); }, 0,
       {ErrorBox(printerBox, 5), ErrorBox(portBox, 170), ErrorBox(driverBox, 3001)}, true, true, true,
       {u"DeletePrinter Failed: Label Printer Error 5"}},
      {"purge refused without jobs: the printer goes", [](FakeSpooler& s) { s.Fail("SetPrinterW", 124); }, 1, {},
       false, false, false, {u"SetPrinter Purge Failed: Label Printer Error 124", u"Removed printer Label Printer"}},
      {"purge refused with jobs: marked for deletion, still in use",
       [](FakeSpooler& s) {
         s.Fail("SetPrinterW", 124);
         s.FindPrinter(u"Label Printer")->info.cJobs = 2;
       },
       0, {ErrorBox(printerBox, 124), ErrorBox(portBox, 170), ErrorBox(driverBox, 3001)}, true, true, true,
       {u"Printer Label Printer Marked For Deletion: 2 Jobs Left"}},
      {"purge refused, jobs unreadable: taken as none",
       [](FakeSpooler& s) {
         s.Fail("SetPrinterW", 124);
         s.Fail("Printer", 5);
       },
       1, {}, false, false, false, {u"Removed printer Label Printer"}},
      {"jobs queued and purged: everything goes", [](FakeSpooler& s) { s.FindPrinter(u"Label Printer")->info.cJobs = 2; },
       1, {}, false, false, false, {}},
      {"monitor cannot be opened", [](FakeSpooler& s) { s.Fail("OpenPrinterW", 5, 2); }, 0, {ErrorBox(portBox, 5)},
       false, true, false, {u"OpenPrinter Failed: 10.0.0.5 Error 5", u"Removed driver LBLENG (Windows NT x86)"}},
      {"XcvData fails", [](FakeSpooler& s) { s.Fail("XcvDataW", 1722); }, 0, {ErrorBox(portBox, 1722)}, false, true,
       false, {u"XcvData DeletePort Failed: 10.0.0.5 Error 1722"}},
      {"monitor answers 13", [](FakeSpooler& s) { s.monitors[kTcpIpMonitorName].deletePortStatus = 13; }, 0,
       {ErrorBox(portBox, 13)}, false, true, false, {}},
      {"a monitor that answers a port gone as the local monitor does",
       [](FakeSpooler& s) {
         s.ports.clear();
         s.monitors[kTcpIpMonitorName].goneStatus = 2;
       },
       1, {}, false, false, false, {u"Already gone: port 10.0.0.5"}},
      {"the call itself failing with 2 is no answer about the port", [](FakeSpooler& s) { s.Fail("XcvDataW", 2); }, 0,
       {ErrorBox(portBox, 2)}, false, true, false, {u"XcvData DeletePort Failed: 10.0.0.5 Error 2"}},
      {"driver refused: the older call is not tried", [](FakeSpooler& s) { s.Fail("DeletePrinterDriverExW", 5); }, 0,
       {ErrorBox(driverBox, 5)}, false, false, true, {u"DeletePrinterDriverEx Failed: LBLENG (Windows NT x86) Error 5"}},
      {"flags turned down, the older call fails",
       [](FakeSpooler& s) {
         s.Fail("DeletePrinterDriverExW", 87);
         s.Fail("DeletePrinterDriverW", 5);
       },
       0, {ErrorBox(driverBox, 5)}, false, false, true, {u"DeletePrinterDriver Failed: LBLENG (Windows NT x86) Error 5"}},
      {"everything gone already",
       [](FakeSpooler& s) {
         s.printers.clear();
         s.ports.clear();
         s.drivers.clear();
       },
       1, {}, false, false, false,
       {u"Already gone: printer Label Printer", u"Already gone: port 10.0.0.5",
        u"Already gone: driver LBLENG (Windows NT x86)"}},
      {"flags turned down, driver gone already",
       [](FakeSpooler& s) {
         s.Fail("DeletePrinterDriverExW", 87);
         s.drivers.clear();
       },
       1, {}, false, false, false, {u"Already gone: driver LBLENG (Windows NT x86)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePrintPlatform fake{32};
    fake.spooler.AddTcpIpMonitor();
    fake.spooler.AddPort(u"10.0.0.5", kTcpIpMonitorName);
    fake.spooler.AddDriver(u"LBLENG", kX86);
    fake.spooler.AddPrinter(u"Label Printer", u"10.0.0.5", 0, u"LBLENG");
    UninstallPlan plan = PlanUninstall(Context(), fake.platform);
    ASSERT_EQ(plan.printers.size() + plan.ports.size() + plan.drivers.size(), 3u);
    c.arrange(fake.spooler);

    FakeRegistry registry;
    EXPECT_EQ(CarryOutUninstall(Context(), fake.platform, plan, registry), c.result == 1);

    EXPECT_EQ(BoxTexts(fake), c.boxes);
    for (const RecordedBox& box : fake.Boxes()) EXPECT_EQ(box.caption, u"ERROR");
    EXPECT_EQ(fake.spooler.FindPrinter(u"Label Printer") != nullptr, c.printerLeft);
    EXPECT_EQ(fake.spooler.FindPort(u"10.0.0.5") != nullptr, c.portLeft);
    EXPECT_EQ(fake.spooler.FindDriver(u"LBLENG", kX86) != nullptr, c.driverLeft);
    for (const std::u16string& line : c.traces) EXPECT_TRUE(Traced(fake, line)) << Narrow(line);
    // Every step ran whatever came before it.
    EXPECT_EQ(fake.log.Count("DeletePrinterDriverExW"), 1u);
    EXPECT_EQ(fake.spooler.OpenHandleCount(), 0u);
  }
}

TEST(RunUninstall, DriverFlagsTurnedDownFallBackToThePlainCall) {
  for (std::uint32_t code : {87u, 50u, 120u, 127u}) {
    SCOPED_TRACE(code);
    FakePrintPlatform fake{32};
    fake.spooler.AddDriver(u"LBLCHN", kX86);
    UninstallPlan plan = PlanUninstall(Context(), fake.platform);
    fake.spooler.Fail("DeletePrinterDriverExW", code);
    fake.log.Clear();
    FakeRegistry registry;
    EXPECT_TRUE(CarryOutUninstall(Context(), fake.platform, plan, registry));
    EXPECT_EQ(fake.log.calls, (std::vector<std::string>{"DeletePrinterDriverExW(\"Windows NT x86\", \"LBLCHN\", 3, 3)",
                                                        "DeletePrinterDriverW(\"Windows NT x86\", \"LBLCHN\")"}));
    EXPECT_TRUE(fake.spooler.drivers.empty());
    std::string digits = std::to_string(code);
    EXPECT_TRUE(Traced(fake, u"DeletePrinterDriverEx Refused With " + std::u16string(digits.begin(), digits.end()) +
                                 u": DeletePrinterDriver"));
    EXPECT_TRUE(Traced(fake, u"Removed driver LBLCHN (Windows NT x86)"));
  }
}

TEST(RunUninstall, ATcpIpPortNameTheRecordCannotHoldIsNotSent) {
  FakePrintPlatform fake{32};
  UninstallPlan plan;
  plan.ports = {std::u16string(64, u'p')};
  plan.portMonitors = {kTcpIpMonitorName};
  FakeRegistry registry;
  EXPECT_FALSE(CarryOutUninstall(Context(), fake.platform, plan, registry));
  EXPECT_TRUE(fake.log.calls.empty());
  EXPECT_EQ(BoxTexts(fake), std::vector<std::u16string>{ErrorBox(u"DeletePort Failed: " + plan.ports[0], 87)});
  EXPECT_EQ(fake.Traces(), (std::vector<std::u16string>{u"XcvData DeletePort Failed: " + plan.ports[0] + u" Error 87",
                                                        u"Port " + plan.ports[0] + u" Kept For A Later Uninstall"}));
}

}  // namespace
