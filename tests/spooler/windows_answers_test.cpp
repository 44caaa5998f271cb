// The fakes answer as Windows does where Wine lets things through: each answer here is one the
// code above them relies on, taken from Wine's conformance tests (which run on Windows) or from
// the published headers.
#include <gtest/gtest.h>

#include "fake_print_services.h"

namespace {

const std::u16string kX86Dir = u"C:\\windows\\system32\\spool\\drivers\\w32x86";

DriverInfo3 Driver(const std::u16string& environment = u"Windows NT x86") {
  DriverInfo3 driver;
  driver.cVersion = 3;
  driver.name = u"LBLENG";
  driver.environment = environment;
  driver.driverPath = u"UNIDRV.DLL";
  driver.dataFile = u"LBLENG.GPD";
  driver.configFile = u"UNIDRVUI.DLL";
  driver.helpFile = u"UNIDRV.HLP";
  driver.dependentFiles = std::u16string(u"LBLRCENG.DLL\0UNIRES.DLL\0\0", 25);
  return driver;
}

// Every file Driver() names, in the x86 driver directory.
void StageDriverFiles(FakeFileSystem& files) {
  for (const char16_t* name : {u"UNIDRV.DLL", u"LBLENG.GPD", u"UNIDRVUI.DLL", u"UNIDRV.HLP", u"LBLRCENG.DLL", u"UNIRES.DLL"}) {
    files.AddFile(kX86Dir + u"\\" + name);
  }
}

TEST(FakeSpoolerAnswers, ADriverIsRegisteredOnlyWithEveryFileItNames) {
  struct Case {
    const char* what;
    std::function<void(FakeFileSystem&)> arrange;
    std::uint32_t code;
  } cases[] = {
      {"all staged", [](FakeFileSystem&) {}, 0},
      {"the driver file missing", [](FakeFileSystem& f) { f.RemoveFile(kX86Dir + u"\\UNIDRV.DLL"); }, 2},
      {"the data file missing", [](FakeFileSystem& f) { f.RemoveFile(kX86Dir + u"\\LBLENG.GPD"); }, 2},
      {"a dependent file missing", [](FakeFileSystem& f) { f.RemoveFile(kX86Dir + u"\\UNIRES.DLL"); }, 2},
      {"already in the version directory",
       [](FakeFileSystem& f) {
         f.RemoveFile(kX86Dir + u"\\LBLRCENG.DLL");
         f.AddFile(kX86Dir + u"\\3\\LBLRCENG.DLL");
       },
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (bool ex : {false, true}) {
      FakePrintPlatform fake{32};
      StageDriverFiles(fake.files);
      c.arrange(fake.files);
      const Status status = ex ? fake.spooler.RegisterDriverEx(Driver(), kApdCopyAllFiles)
                               : fake.spooler.RegisterDriver(Driver());
      EXPECT_EQ(status.code, c.code);
      EXPECT_EQ(fake.spooler.drivers.size(), c.code == 0 ? 1u : 0u);
    }
  }
}

TEST(FakeSpoolerAnswers, EnvironmentsMatchWithoutRegardToCase) {
  FakePrintPlatform fake{32};
  StageDriverFiles(fake.files);
  EXPECT_EQ(fake.spooler.DriverDirectory(u"windows nt X86").value, kX86Dir);
  EXPECT_TRUE(fake.spooler.RegisterDriver(Driver(u"WINDOWS NT X86")));
  // Held, and listed, under the spooler's own spelling.
  ASSERT_EQ(fake.spooler.drivers.size(), 1u);
  EXPECT_EQ(fake.spooler.drivers[0].environment, u"Windows NT x86");
  EXPECT_EQ(fake.spooler.Drivers(u"windows nt x86").value, std::vector<std::u16string>{u"LBLENG"});
  // Registered again in another spelling: the same record, replaced.
  EXPECT_TRUE(fake.spooler.RegisterDriver(Driver(u"Windows NT x86")));
  EXPECT_EQ(fake.spooler.drivers.size(), 1u);

  EXPECT_EQ(fake.spooler.DriverDirectory(u"Windows 98").code, kErrorInvalidEnvironment);
  EXPECT_EQ(fake.spooler.RegisterDriver(Driver(u"Windows 98")).code, kErrorInvalidEnvironment);
}

TEST(FakeSpoolerAnswers, APrinterFindsItsDriverOnlyInTheSpoolersEnvironment) {
  FakePrintPlatform fake{64};
  fake.spooler.AddPort(u"LPT1:");
  fake.spooler.AddDriver(u"LBLENG", u"Windows NT x86");
  PrinterInfo2 printer;
  printer.printerName = u"Label Printer";
  printer.portName = u"LPT1:";
  printer.driverName = u"LBLENG";
  EXPECT_EQ(fake.spooler.CreatePrinter(printer).code, kErrorUnknownPrinterDriver);

  fake.spooler.AddDriver(u"lbleng", u"windows x64");
  const Opened opened = fake.spooler.CreatePrinter(printer);
  ASSERT_TRUE(opened);
  fake.spooler.ClosePrinter(opened.handle);

  // SetPrinter takes its driver from the same environment.
  fake.spooler.drivers.pop_back();
  const Opened again = fake.spooler.Open(u"Label Printer", kPrinterAllAccess);
  ASSERT_TRUE(again);
  EXPECT_EQ(fake.spooler.ChangePrinter(again.handle, printer).code, kErrorUnknownPrinterDriver);
  fake.spooler.ClosePrinter(again.handle);
}

TEST(FakeSpoolerAnswers, PortsAreListedAtLevelsOneAndTwoOnly) {
  FakePrintPlatform fake;
  fake.spooler.AddPort(u"LPT1:");
  for (std::uint32_t level : {0u, 3u, 4u}) EXPECT_EQ(fake.spooler.Ports(level).code, kErrorInvalidLevel) << level;
  EXPECT_EQ(fake.spooler.Ports(1).value.at(0).monitorName, u"");
  EXPECT_EQ(fake.spooler.Ports(2).value.at(0).monitorName, u"Local Port");
}

TEST(FakeSpoolerAnswers, NoAdministrationForAUserWhoIsNoAdministrator) {
  struct Case {
    const char* what;
    std::u16string name;
    std::uint32_t access;
    std::uint32_t code;
  } cases[] = {
      {"a monitor for administration", u", XcvMonitor Standard TCP/IP Port", kServerAccessAdminister, 5},
      {"a printer with every right", u"Office", kPrinterAllAccess, 5},
      {"a printer for use", u"Office", 0x00000008, 0},
      {"an unknown printer", u"Nobody", kPrinterAllAccess, kErrorInvalidPrinterName},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePrintPlatform fake;
    fake.spooler.AddTcpIpMonitor();
    fake.spooler.AddPrinter(u"Office");
    fake.spooler.refuseAdministration = true;
    const Opened opened = fake.spooler.Open(c.name, c.access);
    EXPECT_EQ(opened.code, c.code);
    EXPECT_EQ(opened.handle != 0, c.code == 0);
    if (opened) fake.spooler.ClosePrinter(opened.handle);
  }
}

// Wine's localmon tests: the local monitor's "DeletePort" of a port that is not there.
TEST(FakeSpoolerAnswers, APortAlreadyGoneIsFileNotFoundToTheLocalMonitor) {
  struct Case {
    std::u16string monitor;
    std::uint32_t status;
  } cases[] = {{u"Local Port", kErrorFileNotFound}, {u"Label USB Monitor", kErrorUnknownPort}};
  for (const Case& c : cases) {
    FakePrintPlatform fake;
    fake.spooler.AddMonitor(c.monitor);
    const Opened opened = fake.spooler.Open(u", XcvMonitor " + c.monitor, kServerAccessAdminister);
    ASSERT_TRUE(opened);
    const XcvAnswer answer = fake.spooler.Xcv(opened.handle, kDeletePortCommand, TextBytes(u"GONE:"), 0);
    EXPECT_TRUE(answer.call);
    EXPECT_EQ(answer.status, c.status);
    fake.spooler.ClosePrinter(opened.handle);
  }
}

// winver.h, and Wine's version tests: a source that cannot be read.
TEST(FakeFileAnswers, ASourceThatCannotBeReadIsCannotReadSrc) {
  EXPECT_EQ(kVifCannotReadSrc, 0x00010000u);
  FakePrintPlatform fake;
  fake.files.AddFile(u"C:\\pkg\\LOCKED.DLL", {1, 2});
  fake.files.MakeUnreadable(u"C:\\pkg\\LOCKED.DLL");
  std::u16string temp;
  std::uint32_t length = 520;
  for (const char16_t* name : {u"LOCKED.DLL", u"ABSENT.DLL"}) {
    EXPECT_EQ(fake.versions.VerInstallFileW(kViffForceInstall, name, name, u"C:\\pkg", kX86Dir, kX86Dir, temp, length),
              kVifCannotReadSrc);
    EXPECT_FALSE(fake.files.Exists(kX86Dir + u"\\" + name));
  }
  EXPECT_TRUE(fake.files.PathFileExistsW(u"C:\\pkg\\LOCKED.DLL"));
  EXPECT_EQ(fake.files.ReadBytes(u"C:\\pkg\\LOCKED.DLL").code, kErrorAccessDenied);
  EXPECT_EQ(fake.files.ReadBytes(u"C:\\pkg\\ABSENT.DLL").code, kErrorFileNotFound);
}

}  // namespace
