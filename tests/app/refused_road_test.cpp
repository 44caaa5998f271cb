// Roads the system refuses: a package folder without the files its driver names (refused before
// any change), a driver Windows blocks (its own exit code), and a user who may not administer
// the spooler (the refused open named, before anything runs).
#include <gtest/gtest.h>

#include "app/install_road.h"
#include "app/quiet_install.h"
#include "app/road_context.h"
#include "spooler/fake_print_services.h"
#include "usb/fake_device_tree.h"

namespace {

constexpr WindowHandle kMain = 0x2a;
const std::u16string kMonitor = u"Label USB Monitor";
const std::u16string kSource = u"C:\\setup\\SETUP\\ENG";

struct Road {
  const char* name;
  WizardPage page;
  const char16_t* text;
  bool monitor;
};
const Road kRoads[] = {
    {"network", WizardPage::Network, u"10.1.2.3", false},
    {"USB with a monitor", WizardPage::Usb, u"VID:0x1A2B,PID:0x4D5E", true},
    {"serial", WizardPage::Serial, u"COM1:", false},
    {"update", WizardPage::Network, u"10.1.2.3", false},
};

// The road's bed: the package, the tools, the monitors and the ports a road takes.
struct Bed {
  explicit Bed(const Road& road) : context(RoadTestContext()) {
    AddDriverPackage(fake.files, context);
    fake.files.AddFile(u"C:\\setup\\MONITOR32\\MonitorSetup.exe");
    fake.files.AddFile(u"C:\\setup\\UTILS\\DeletePrintJobs.bat");
    fake.spooler.AddTcpIpMonitor();
    fake.spooler.AddPort(u"COM1:");
    if (road.monitor) {
      context.portMonitorName = kMonitor;
      context.portNamePrefix = u"LBUSB";
      fake.spooler.AddMonitor(kMonitor);
    }
    if (std::string(road.name) == "update") {
      context.ifExists = u"Update";
      fake.spooler.AddPort(u"10.1.2.3", kTcpIpMonitorName);
      fake.spooler.AddPrinter(u"Label Printer", u"10.1.2.3", 0, u"LBLOLD");
    }
  }
  RoadEnd Run(const Road& road) { return RunInstallRoad(road.page, road.text, kMain, context, fake.platform); }
  std::vector<std::u16string> BoxTexts() const {
    std::vector<std::u16string> texts;
    for (const RecordedBox& box : fake.Boxes()) texts.push_back(box.text);
    return texts;
  }
  // Every call that changes the spooler or starts a tool.
  std::size_t Changes() const {
    std::size_t changes = 0;
    for (const char* call : {"XcvDataW", "VerInstallFileW", "CopyFileW", "AddPrinterDriverW", "AddPrinterDriverExW",
                             "AddPrinterW", "SetPrinterW", "SetPrinterDataW", "ShellExecuteExW", "ConfigurePortW"}) {
      changes += fake.log.Count(call);
    }
    return changes;
  }

  FakePrintPlatform fake;
  InstallContext context;
};

TEST(IncompletePackage, EveryRoadRefusesBeforeAnyChange) {
  for (const Road& road : kRoads) {
    SCOPED_TRACE(road.name);
    Bed bed(road);
    bed.fake.files.RemoveFile(kSource + u"\\LBLRCENG.DLL");
    bed.fake.files.RemoveFile(kSource + u"\\UNIRES.DLL");
    const std::size_t portsBefore = bed.fake.spooler.ports.size();

    const RoadEnd end = bed.Run(road);
    EXPECT_EQ(RoadEnd::Failed, end);
    EXPECT_EQ(1603, ExitCodeFor(true, end));
    EXPECT_EQ(std::vector<std::u16string>{u"Driver package incomplete: SETUP\\ENG lacks LBLRCENG.DLL, UNIRES.DLL. "
                                          u"Nothing was changed. - ERROR CODE: 2\r\n"},
              bed.BoxTexts());
    EXPECT_EQ(std::optional<std::u16string>(u"ERROR"), bed.fake.Boxes().at(0).caption);
    EXPECT_EQ(0u, bed.Changes());
    EXPECT_EQ(portsBefore, bed.fake.spooler.ports.size());
    EXPECT_TRUE(bed.fake.spooler.drivers.empty());
  }
}

TEST(IncompletePackage, AnUnreadableOptionalFileIsRefusedTooAndAnAbsentOneIsNot) {
  const Road& network = kRoads[0];
  {
    Bed bed(network);
    bed.fake.files.MakeUnreadable(kSource + u"\\LBLENG.INI");
    EXPECT_EQ(RoadEnd::Failed, bed.Run(network));
    EXPECT_EQ(std::vector<std::u16string>{u"Driver package incomplete: SETUP\\ENG lacks LBLENG.INI. Nothing was changed. "
                                          u"- ERROR CODE: 5\r\n"},
              bed.BoxTexts());
    EXPECT_EQ(0u, bed.Changes());
  }
  {
    Bed bed(network);
    bed.fake.files.RemoveFile(kSource + u"\\LBLENG.INI");
    EXPECT_EQ(RoadEnd::Installed, bed.Run(network));
    EXPECT_EQ(std::vector<std::u16string>{u"Add Printer Successful - Label Printer"}, bed.BoxTexts());
  }
}

TEST(BlockedDriver, TheUsualBoxALineInWordsAndItsOwnExitCode) {
  for (std::uint32_t code : {3014u, 3013u}) {
    for (const Road& road : kRoads) {
      SCOPED_TRACE(std::string(road.name) + " " + std::to_string(code));
      Bed bed(road);
      const bool update = std::string(road.name) == "update";
      bed.fake.spooler.Fail(update ? "AddPrinterDriverExW" : "AddPrinterDriverW", code);
      const RoadEnd end = bed.Run(road);
      EXPECT_EQ(RoadEnd::Rejected, end);
      EXPECT_EQ(1625, ExitCodeFor(true, end));
      const std::string digits = std::to_string(code);
      const std::u16string usual = std::u16string(update ? u"AddPrinterDriverEx Failed" : u"AddPrinterDriver Failed") +
                                   u" - ERROR CODE: " + std::u16string(digits.begin(), digits.end()) + u"\r\n";
      ASSERT_EQ(1u, bed.fake.Boxes().size());
      EXPECT_EQ(usual + u"Windows blocks this driver on this system", bed.fake.Boxes()[0].text);
      EXPECT_EQ(std::optional<std::u16string>(u"ERROR"), bed.fake.Boxes()[0].caption);
      EXPECT_EQ(kMain, bed.fake.Boxes()[0].owner);
      EXPECT_EQ(0u, bed.fake.log.Count("AddPrinterW"));
    }
  }
}

TEST(BlockedDriver, OtherRefusalsStayPlainFailures) {
  Bed bed(kRoads[2]);
  bed.fake.spooler.Fail("AddPrinterDriverW", 5);
  const RoadEnd end = bed.Run(kRoads[2]);
  EXPECT_EQ(RoadEnd::Failed, end);
  EXPECT_EQ(1603, ExitCodeFor(true, end));
  EXPECT_EQ(std::vector<std::u16string>{u"AddPrinterDriver Failed - ERROR CODE: 5\r\n"}, bed.BoxTexts());
}

TEST(BlockedDriver, AQuietRunExitsWith1625) {
  Bed bed(kRoads[0]);
  bed.context.defaultPortType = u"ETH";
  bed.context.printerAddress = u"10.1.2.3";
  bed.fake.spooler.Fail("AddPrinterDriverW", 3014);
  FakeDeviceTree tree;
  UsbPlatform usb{tree, tree, bed.fake.spooler};
  EXPECT_EQ(1625, RunQuietInstall(bed.context, bed.fake.platform, usb));
  EXPECT_EQ(1u, bed.fake.Boxes().size());
}

TEST(ExitCodeFor, ARejectedPackageIs1625) {
  EXPECT_EQ(1625, ExitCodeFor(true, RoadEnd::Rejected));
  EXPECT_EQ(kExitPackageRejected, 1625);
}

// A user who may not administer the spooler: the box names the open that was refused, and
// nothing after it runs (no tool, no port, no driver) even where the port is there already.
TEST(AdministrationRefused, TheRoadNamesTheRefusedOpen) {
  struct Case {
    const char* what;
    const Road& road;
    bool portThere;
    std::u16string box;
  } cases[] = {
      {"network", kRoads[0], false,
       u"OpenPrinter Refused For Administration: Standard TCP/IP Port - ERROR CODE: 5\r\n"},
      {"network, the port there already", kRoads[0], true,
       u"OpenPrinter Refused For Administration: Standard TCP/IP Port - ERROR CODE: 5\r\n"},
      {"USB with a monitor", kRoads[1], false,
       u"OpenPrinter Refused For Administration: Label USB Monitor - ERROR CODE: 5\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bed bed(c.road);
    if (c.portThere) bed.fake.spooler.AddPort(u"10.1.2.3", kTcpIpMonitorName);
    bed.fake.spooler.refuseAdministration = true;
    const RoadEnd end = bed.Run(c.road);
    EXPECT_EQ(RoadEnd::Failed, end);
    EXPECT_EQ(std::vector<std::u16string>{c.box}, bed.BoxTexts());
    EXPECT_EQ(0u, bed.Changes());
    EXPECT_EQ(nullptr, bed.fake.spooler.FindPrinter(u"Label Printer"));
  }
}

// Refused only once the setup tool has run: the box after it names the open, not a missing monitor.
TEST(AdministrationRefused, AfterTheSetupToolTheBoxStillNamesTheOpen) {
  const Road& usb = kRoads[1];
  Bed bed(usb);
  bed.fake.shell.onRun = [&bed](const ShellExecuteInfo&) { bed.fake.spooler.refuseAdministration = true; };
  EXPECT_EQ(RoadEnd::Failed, bed.Run(usb));
  EXPECT_EQ(std::vector<std::u16string>{u"OpenPrinter Refused For Administration: Label USB Monitor - ERROR CODE: 5\r\n"},
            bed.BoxTexts());
  EXPECT_EQ(0u, bed.fake.log.Count("AddPrinterDriverW"));
}

}  // namespace
