// The uninstall against Wine's spooler and the stand-in monitors: what an install made is planned
// and removed, a port a printer of another driver uses stays, and a second run finds nothing.
// Each case installs from a copy of the demo package under a prefix of its own, so that no other
// test's printer keeps its driver in use.
#include <algorithm>

#include "spooler/uninstall.h"
#include "test_bed.h"

namespace {

using Drivers = std::vector<std::pair<std::u16string, std::u16string>>;

std::u16string Environment(int osBitness) { return osBitness == 64 ? u"Windows x64" : u"Windows NT x86"; }
std::u16string SetupDir(int osBitness) { return osBitness == 64 ? u"SETUP64" : u"SETUP"; }

// A package copy of this prefix and the printers of base on a Standard TCP/IP port; all of it
// removed before and after.
struct UninstallScene {
  TestBed& bed;
  std::u16string prefix, base, port, installDir;
  CleanUp cleanUp;
  UninstallScene(TestBed& testBed, std::u16string packagePrefix, std::u16string baseName, std::u16string portName)
      : bed(testBed),
        prefix(std::move(packagePrefix)),
        base(std::move(baseName)),
        port(std::move(portName)),
        cleanUp([this] {
          wine_test::DeletePrinters(base);
          wine_test::DeleteTcpIpPort(port);
          wine_test::DeleteDriverEverywhere(prefix + u"ENG");
          if (!installDir.empty()) wine_test::RemoveFolder(installDir);
        }) {
    installDir = wine_test::StagePackageCopy(prefix, SetupDir(bed.osBitness), u"ENG");
    REQUIRE(!installDir.empty());
    REQUIRE_EQ(bed.AddTcpIpPort(port), 1);
  }
  InstallContext Context() const {
    InstallContext context = wine_test::DemoContext(bed.osBitness, u"ENG", base);
    context.installDir = installDir;
    context.driverPrefix = prefix;
    return context;
  }
};

CASE(UninstallRemovesPrinterPortAndDriverAndASecondRunFindsNothing) {
  TestBed bed;
  UninstallScene scene(bed, u"WUA", u"Wine Uninstall One", u"192.0.2.51");
  InstallContext context = scene.Context();
  const std::u16string driver = u"WUAENG";
  const std::u16string environment = Environment(bed.osBitness);
  REQUIRE_EQ(bed.Install(context, scene.port), 1);
  REQUIRE(wine_test::FindDriver(W(environment), driver).has_value());

  UninstallPlan plan = PlanUninstall(context, bed.Platform());
  CHECK_EQ(plan.printers, std::vector<std::u16string>{scene.base});
  CHECK_EQ(plan.ports, std::vector<std::u16string>{scene.port});
  CHECK_EQ(plan.portMonitors, std::vector<std::u16string>{wine_test::kTcpIpMonitor});
  CHECK_EQ(plan.drivers, (Drivers{{environment, driver}}));
  CHECK(plan.unlisted.empty());

  CHECK(AllRemoved(RunUninstall(context, bed.Platform(), plan)));
  CHECK_EQ(bed.Boxes().size(), 1u);  // the install's own
  CHECK(!wine_test::FindPrinter(scene.base).has_value());
  CHECK(!wine_test::FindPort(scene.port).has_value());
  CHECK(!wine_test::FindDriver(W(environment), driver).has_value());
  CHECK(bed.Traced(u"Removed printer " + scene.base));
  CHECK(bed.Traced(u"Removed port " + scene.port));
  CHECK(bed.Traced(u"Removed driver " + driver + u" (" + environment + u")"));
  // DELETE_PORT_DATA_1 reached the monitor as published: the name, version 1 at byte 228.
  std::vector<std::uint8_t> record(236, 0);
  wine_test::PutText(record, 0, scene.port);
  wine_test::PutU32(record, 228, 1);
  CHECK_BYTES(wine_test::LastDeletePort(wine_test::kTcpIpMonitor), record);
  // Wine 8 has no level 0 in SetPrinterW (ERROR_INVALID_LEVEL) and takes no delete flag in
  // DeletePrinterDriverExW (ERROR_INVALID_PARAMETER): the printer had no job, and the plain
  // DeletePrinterDriverW removed the driver.
  CHECK(bed.Traced(u"SetPrinter Purge Failed: " + scene.base + u" Error 124"));
  CHECK(bed.Traced(u"DeletePrinterDriverEx Refused With 87: DeletePrinterDriver"));

  UninstallPlan again = PlanUninstall(context, bed.Platform());
  CHECK(again.Empty());
  CHECK(again.unlisted.empty());
  CHECK(AllRemoved(RunUninstall(context, bed.Platform(), again)));
  CHECK(bed.Traced(u"Uninstall: nothing to remove"));
  CHECK_EQ(bed.Boxes().size(), 1u);
}

CASE(UninstallOfNameAndNumberedNameKeepsThePortAnotherDriversPrinterUses) {
  TestBed bed;
  UninstallScene scene(bed, u"WUB", u"Wine Uninstall Two", u"192.0.2.52");
  UninstallScene other(bed, u"WUC", u"Wine Uninstall Other", u"192.0.2.52");
  InstallContext context = scene.Context();
  InstallContext otherContext = other.Context();
  const std::u16string environment = Environment(bed.osBitness);
  REQUIRE_EQ(bed.Install(context, scene.port), 1);
  REQUIRE_EQ(bed.Install(context, scene.port), 1);
  REQUIRE_EQ(bed.Install(otherContext, other.port), 1);
  REQUIRE(wine_test::FindPrinter(scene.base + u"(2)").has_value());

  UninstallPlan plan = PlanUninstall(context, bed.Platform());
  std::vector<std::u16string> printers = plan.printers;
  std::sort(printers.begin(), printers.end());
  CHECK_EQ(printers, (std::vector<std::u16string>{scene.base, scene.base + u"(2)"}));
  CHECK(plan.ports.empty());
  CHECK_EQ(plan.drivers, (Drivers{{environment, u"WUBENG"}}));
  CHECK(bed.Traced(u"Port " + scene.port + u" Kept: Printer " + other.base + u" Uses It"));

  CHECK(AllRemoved(RunUninstall(context, bed.Platform(), plan)));
  CHECK_EQ(bed.Boxes().size(), 3u);  // the installs' own
  CHECK(!wine_test::FindPrinter(scene.base).has_value());
  CHECK(!wine_test::FindPrinter(scene.base + u"(2)").has_value());
  CHECK(!wine_test::FindDriver(W(environment), u"WUBENG").has_value());
  std::optional<fixture::PrinterEntry> kept = wine_test::FindPrinter(other.base);
  REQUIRE(kept.has_value());
  CHECK_EQ(kept->port, std::wstring(W(scene.port)));
  CHECK_EQ(kept->driver, std::wstring(L"WUCENG"));
  CHECK(wine_test::FindPort(scene.port).has_value());
  CHECK(wine_test::FindDriver(W(environment), u"WUCENG").has_value());
}

CASE(UninstallRemovesAPortOfTheCustomMonitor) {
  TestBed bed;
  UninstallScene scene(bed, u"WUD", u"Wine Uninstall Usb", u"192.0.2.53");
  CleanUp usbPorts([] { wine_test::DeleteUsbPortsWithPrefix(u"WUD"); });
  CustomPortRecord record = BuildCustomPortRecord(custom_port::kUsbConnection, u"VID:0x1A2B,PID:0x5E6F");
  std::u16string usbPort;
  usbPort = AddMonitorPort(bed.Platform(), wine_test::kUsbMonitor, u"WUD", record).portName;
  REQUIRE(!usbPort.empty());
  InstallContext context = scene.Context();
  REQUIRE_EQ(bed.Install(context, usbPort), 1);

  UninstallPlan plan = PlanUninstall(context, bed.Platform());
  CHECK_EQ(plan.ports, std::vector<std::u16string>{usbPort});
  CHECK_EQ(plan.portMonitors, std::vector<std::u16string>{wine_test::kUsbMonitor});
  CHECK(AllRemoved(RunUninstall(context, bed.Platform(), plan)));
  CHECK(!wine_test::FindPort(usbPort).has_value());
  CHECK(!wine_test::FindPrinter(scene.base).has_value());
  // The port's name with its terminator.
  std::vector<std::uint8_t> name(2 * (usbPort.size() + 1), 0);
  wine_test::PutText(name, 0, usbPort);
  CHECK_BYTES(wine_test::LastDeletePort(wine_test::kUsbMonitor), name);
  // The TCP/IP port of the scene had no printer of this install: it stays.
  CHECK(wine_test::FindPort(scene.port).has_value());
}

// The 32-bit program on 64-bit Windows asks both environments: the x64 driver the install
// registered goes. (Wine's spooler cannot add the printer here: see wow64_install_wine.cpp.)
WOW64_CASE(UninstallFromThe32BitProgramRemovesTheX64Driver) {
  TestBed bed;
  REQUIRE_EQ(bed.osBitness, 64);
  UninstallScene scene(bed, u"WUW", u"Wine Uninstall Wow64", u"192.0.2.54");
  InstallContext context = scene.Context();
  CHECK_EQ(bed.Install(context, scene.port), 0);
  REQUIRE(wine_test::FindDriver(L"Windows x64", u"WUWENG").has_value());

  UninstallPlan plan = PlanUninstall(context, bed.Platform());
  CHECK(plan.printers.empty());
  CHECK_EQ(plan.drivers, (Drivers{{u"Windows x64", u"WUWENG"}}));
  CHECK(plan.unlisted.empty());
  CHECK(AllRemoved(RunUninstall(context, bed.Platform(), plan)));
  CHECK(!wine_test::FindDriver(L"Windows x64", u"WUWENG").has_value());
  CHECK(bed.Traced(u"Removed driver WUWENG (Windows x64)"));
}

}  // namespace
