// Updating a printer in place on the fake spooler: the driver registered so that its files are
// replaced, the printer pointed at this install's driver and port and nothing else of it changed,
// the DATA values written again, one box; the printer's printing defaults and permissions kept.
#include <gtest/gtest.h>

#include "fake_print_services.h"

namespace {

constexpr WindowHandle kMain = 0x1234;

const std::u16string kPort = u"LBUSB001";

std::vector<std::uint8_t> Utf16(const std::u16string& text) { return TextBytesWithoutTerminator(text); }

// What the printer's user set: landscape 60x40 mm labels, with the driver's private data; and
// permissions owned by the Users alias.
const std::vector<std::uint8_t> kUsersDevMode = FakeDevMode(u"Label Printer", devmode::kLandscape, 400, 600, 24);
const std::vector<std::uint8_t> kUsersDescriptor = FakeSecurityDescriptor(545);

// The package; the port this install chose; an earlier install's printer on another port and
// an older driver, with a comment, a location, printer data, printing defaults and permissions
// of its own.
void StageUpdate(FakePrintPlatform& fake, const InstallContext& context) {
  AddDriverPackage(fake.files, context);
  fake.spooler.AddMonitor(u"Label USB Monitor");
  fake.spooler.AddPort(kPort, u"Label USB Monitor");
  fake.spooler.AddPort(u"10.0.0.5", kTcpIpMonitorName);
  fake.spooler.AddDriver(u"LBLOLD", u"Windows x64");
  FakePrinter& printer = fake.spooler.AddPrinter(u"Label Printer", u"10.0.0.5", 1, u"LBLOLD");
  printer.info.comment = u"Front desk";
  printer.info.location = u"Hall";
  printer.info.shareName = u"LABEL";
  printer.info.printProcessor = u"WinPrint";
  printer.info.datatype = u"RAW";
  printer.info.attributes = 0x40 | 0x08;
  printer.info.priority = 7;
  printer.info.defaultPriority = 3;
  printer.info.startTime = 60;
  printer.info.untilTime = 120;
  printer.data[u"Darkness"] = {kRegSz, Utf16(u"3")};
  printer.data[u"Keep"] = {kRegSz, Utf16(u"mine")};
  printer.dataOrder = {u"Darkness", u"Keep"};
  printer.info.devMode = kUsersDevMode;
  printer.info.securityDescriptor = kUsersDescriptor;
}

class UpdatePrinterTest : public ::testing::Test {
 protected:
  UpdatePrinterTest() {
    context.installDir = u"C:\\Setup";
    context.setupDirName = u"SETUP64";
    context.languageCode = u"ENG";
    context.driverPrefix = u"LBL";
    context.printerBaseName = u"Label Printer";
    context.printerData = {{u"PaperName", u"Label 60x40"}, {u"Darkness", u"8"}};
    StageUpdate(fake, context);
  }
  bool Update(const std::u16string& name = u"Label Printer") {
    last = UpdatePrinter(context, fake.platform, kPort, name);
    return last.ok();
  }
  // The update shows no box itself: this is the one its outcome gives.
  RecordedBox Box() const { return BoxOf(last, kMain); }
  Installed last;

  FakePrintPlatform fake{64};
  InstallContext context;
};

TEST_F(UpdatePrinterTest, CallsInTheOrderOfTheUpdate) {
  EXPECT_TRUE(Update());
  std::vector<std::string> expected = {"DriverDirectory"};
  expected.insert(expected.end(), 11, "VerInstallFileW");
  for (const char* call : {"GetSystemDirectoryW", "PathFileExistsW", "CopyFileW", "PathFileExistsW", "PathFileExistsW",
                           "PathFileExistsW", "AddPrinterDriverExW", "OpenPrinterW", "Printer",
                           "SetPrinterW", "SetPrinterDataW", "SetPrinterDataW", "ClosePrinter"}) {
    expected.push_back(call);
  }
  EXPECT_EQ(fake.log.Methods(), expected);
  EXPECT_EQ(fake.log.Named("AddPrinterDriverExW")[0], "AddPrinterDriverExW(3, \"LBLENG\", \"Windows x64\", 4)");
  EXPECT_EQ(fake.log.Named("OpenPrinterW")[0], "OpenPrinterW(\"Label Printer\", 983052)");
  EXPECT_EQ(fake.log.Named("SetPrinterW")[0],
            "SetPrinterW(\"Label Printer\", 2, \"Label Printer\", \"LBUSB001\", \"LBLENG\", 0)");
  EXPECT_EQ(fake.spooler.OpenHandleCount(), 0u);
}

TEST_F(UpdatePrinterTest, NewDriverAndPortEverythingElseKept) {
  ASSERT_TRUE(Update());
  ASSERT_EQ(fake.spooler.printers.size(), 1u);
  const PrinterInfo2& info = fake.spooler.printers[0].info;
  EXPECT_EQ(info.printerName, u"Label Printer");
  EXPECT_EQ(info.driverName, u"LBLENG");
  EXPECT_EQ(info.portName, u"LBUSB001");
  EXPECT_EQ(info.comment, u"Front desk");
  EXPECT_EQ(info.location, u"Hall");
  EXPECT_EQ(info.shareName, u"LABEL");
  EXPECT_EQ(info.printProcessor, u"WinPrint");
  EXPECT_EQ(info.datatype, u"RAW");
  EXPECT_EQ(info.attributes, 0x48u);
  EXPECT_EQ(info.priority, 7u);
  EXPECT_EQ(info.defaultPriority, 3u);
  EXPECT_EQ(info.startTime, 60u);
  EXPECT_EQ(info.untilTime, 120u);
  EXPECT_EQ(info.cJobs, 1u);

  // The driver as an install registers it.
  const DriverInfo3* driver = fake.spooler.FindDriver(u"LBLENG", u"Windows x64");
  ASSERT_NE(driver, nullptr);
  DriverFileNames names = BuildDriverFileNames(u"LBL", u"ENG", u"C:\\Setup", u"SETUP64");
  EXPECT_EQ(driver->dependentFiles, BuildDependentFiles(names, true, true, true));
  EXPECT_EQ(driver->dataFile, u"LBLENG.GPD");
  EXPECT_EQ(driver->defaultDataType, u"Raw");
  EXPECT_TRUE(fake.files.Exists(u"C:\\windows\\system32\\spool\\drivers\\x64\\LBLUNIENG.DLL"));

  EXPECT_TRUE(fake.Boxes().empty());
  EXPECT_EQ(Box().text, u"Add Printer Successful - Label Printer");

  // The DATA values written again; a value the section does not name is left.
  const FakePrinter& printer = fake.spooler.printers[0];
  EXPECT_EQ(printer.Text(u"Darkness"), u"8");
  EXPECT_EQ(printer.Text(u"PaperName"), u"Label 60x40");
  EXPECT_EQ(printer.Text(u"Keep"), u"mine");
  EXPECT_EQ(printer.data.at(u"PaperName").first, kRegSz);
  std::vector<std::u16string> traces = fake.Traces();
  EXPECT_NE(std::find(traces.begin(), traces.end(), u"Update Printer Label Printer: Driver LBLENG, Port LBUSB001"),
            traces.end());
}

TEST_F(UpdatePrinterTest, PrintingDefaultsAndPermissionsSurviveByteForByte) {
  // Device modes of every shape the spooler may hold: with private data, without, and one of an
  // older, shorter layout.
  std::vector<std::uint8_t> older = FakeDevMode(u"Label Printer", devmode::kLandscape, 400, 600);
  older.resize(156);
  older[devmode::kDmSize] = 156;
  struct Case {
    const char* what;
    std::vector<std::uint8_t> devMode;
    std::vector<std::uint8_t> descriptor;
  } cases[] = {
      {"with the driver's private data", kUsersDevMode, kUsersDescriptor},
      {"public part only", FakeDevMode(u"Label Printer", devmode::kLandscape, 400, 600), FakeSecurityDescriptor(547)},
      {"an older, shorter layout", older, kUsersDescriptor},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePrintPlatform local{64};
    StageUpdate(local, context);
    local.spooler.printers[0].info.devMode = c.devMode;
    local.spooler.printers[0].info.securityDescriptor = c.descriptor;
    ASSERT_TRUE(UpdatePrinter(context, local.platform, kPort, u"Label Printer").ok());
    const PrinterInfo2& info = local.spooler.printers[0].info;
    EXPECT_EQ(info.devMode, c.devMode);
    EXPECT_EQ(info.securityDescriptor, c.descriptor);
    EXPECT_EQ(info.driverName, u"LBLENG");
  }
}

TEST_F(UpdatePrinterTest, TheBoxNamesThePrinterAsGiven) {
  // The caller passes the name as the spooler holds it (FindExistingPrinter).
  fake.spooler.printers[0].info.printerName = u"LABEL PRINTER";
  ASSERT_TRUE(Update(u"LABEL PRINTER"));
  EXPECT_EQ(Box().text, u"Add Printer Successful - LABEL PRINTER");
  EXPECT_EQ(fake.spooler.printers[0].info.printerName, u"LABEL PRINTER");
}

TEST_F(UpdatePrinterTest, FlagTurnedDownFallsBackToAddPrinterDriver) {
  for (std::uint32_t code : {87u, 50u, 120u, 127u}) {
    SCOPED_TRACE(code);
    FakePrintPlatform local{64};
    StageUpdate(local, context);
    local.spooler.Fail("AddPrinterDriverExW", code);
    EXPECT_TRUE(UpdatePrinter(context, local.platform, kPort, u"Label Printer").ok());
    EXPECT_EQ(local.log.Named("AddPrinterDriverW"), std::vector<std::string>{"AddPrinterDriverW(3, \"LBLENG\", \"Windows x64\")"});
    EXPECT_NE(local.spooler.FindDriver(u"LBLENG", u"Windows x64"), nullptr);
    EXPECT_EQ(local.spooler.printers[0].info.driverName, u"LBLENG");
    std::string digits = std::to_string(code);
    std::vector<std::u16string> traces = local.Traces();
    EXPECT_NE(std::find(traces.begin(), traces.end(),
                        u"AddPrinterDriverEx Refused With " + std::u16string(digits.begin(), digits.end()) +
                            u": AddPrinterDriver"),
              traces.end());
  }
}

TEST_F(UpdatePrinterTest, EachFailureOneErrorBoxAndThePrinterAsItWas) {
  struct Case {
    const char* what;
    std::function<void(FakePrintPlatform&, std::u16string&)> arrange;
    std::u16string box;
    std::size_t dataWrites;
  } cases[] = {
      {"driver directory", [](FakePrintPlatform& f, std::u16string&) { f.spooler.driverDirectories.clear(); },
       ErrorBox(u"GetPrinterDriverDirectory Failed", 1805), 0},
      {"driver refused", [](FakePrintPlatform& f, std::u16string&) { f.spooler.Fail("AddPrinterDriverExW", 5); },
       ErrorBox(u"AddPrinterDriverEx Failed", 5), 0},
      {"flag turned down, plain call refused",
       [](FakePrintPlatform& f, std::u16string&) {
         f.spooler.Fail("AddPrinterDriverExW", 87);
         f.spooler.Fail("AddPrinterDriverW", 1797);
       },
       ErrorBox(u"AddPrinterDriver Failed", 1797), 0},
      {"printer gone", [](FakePrintPlatform& f, std::u16string&) { f.spooler.printers.clear(); },
       ErrorBox(u"OpenPrinter Failed", 1801), 0},
      {"printer cannot be read", [](FakePrintPlatform& f, std::u16string&) { f.spooler.Fail("Printer", 5, 1); },
       ErrorBox(u"GetPrinter Failed", 5), 0},
      {"the fill fails",
       [](FakePrintPlatform& f, std::u16string&) { f.spooler.FailRead("Printer", ReadStage::FillFailed, 1722); },
       ErrorBox(u"GetPrinter Failed", 1722), 0},
      {"no memory for the record", [](FakePrintPlatform& f, std::u16string&) { f.spooler.FailAllocation("Printer"); },
       ErrorBox(u"GetPrinter Failed", 8), 0},
      {"printer refuses the change", [](FakePrintPlatform& f, std::u16string&) { f.spooler.Fail("SetPrinterW", 5); },
       ErrorBox(u"SetPrinter Failed", 5), 0},
      {"port the spooler does not have", [](FakePrintPlatform&, std::u16string& port) { port = u"LBUSB009"; },
       ErrorBox(u"SetPrinter Failed", 1796), 0},
      {"closing may not hide the code",
       [](FakePrintPlatform& f, std::u16string&) {
         f.spooler.Fail("SetPrinterW", 5);
         f.spooler.Fail("ClosePrinter", 6);
       },
       ErrorBox(u"SetPrinter Failed", 5), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePrintPlatform local{64};
    std::u16string port = kPort;
    StageUpdate(local, context);
    c.arrange(local, port);
    const Installed updated = UpdatePrinter(context, local.platform, port, u"Label Printer");
    EXPECT_EQ(BoxOf(updated, kMain).text, c.box);
    EXPECT_EQ(BoxOf(updated, kMain).caption, u"ERROR");
    EXPECT_EQ(local.log.Count("SetPrinterDataW"), c.dataWrites);
    EXPECT_EQ(local.log.Count("AddPrinterW"), 0u);
    if (!local.spooler.printers.empty()) {
      EXPECT_EQ(local.spooler.printers[0].info.driverName, u"LBLOLD");
      EXPECT_EQ(local.spooler.printers[0].info.portName, u"10.0.0.5");
      EXPECT_EQ(local.spooler.printers[0].Text(u"Darkness"), u"3");
      EXPECT_EQ(local.spooler.printers[0].info.devMode, kUsersDevMode);
      EXPECT_EQ(local.spooler.printers[0].info.securityDescriptor, kUsersDescriptor);
    }
    // Every handle opened was closed, or at least its close asked for when the close fails.
    const bool closeFails = std::string(c.what) == "closing may not hide the code";
    EXPECT_EQ(local.spooler.OpenHandleCount(), closeFails ? 1u : 0u);
    if (closeFails) {
      EXPECT_EQ(local.log.Count("ClosePrinter"), 1u);
    }
  }
}

TEST_F(UpdatePrinterTest, ANameThatWouldBeCutIsRefusedBeforeAnyChange) {
  EXPECT_FALSE(Update(std::u16string(260, u'N')));
  EXPECT_TRUE(fake.log.calls.empty());
  EXPECT_EQ(Box().text, ErrorBox(u"PrnName Too Long", 206));
}

TEST_F(UpdatePrinterTest, ADriverTheSystemBlocksIsMarkedOnEitherCall) {
  struct Case {
    const char* what;
    std::function<void(FakeSpooler&)> arrange;
    std::u16string box;
    bool blocked;
  } cases[] = {
      {"the replacing call blocked", [](FakeSpooler& s) { s.Fail("AddPrinterDriverExW", 3014); },
       ErrorBox(u"AddPrinterDriverEx Failed", 3014), true},
      {"flag turned down, the plain call warned",
       [](FakeSpooler& s) {
         s.Fail("AddPrinterDriverExW", 87);
         s.Fail("AddPrinterDriverW", 3013);
       },
       ErrorBox(u"AddPrinterDriver Failed", 3013), true},
      {"refused otherwise", [](FakeSpooler& s) { s.Fail("AddPrinterDriverExW", 1797); },
       ErrorBox(u"AddPrinterDriverEx Failed", 1797), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePrintPlatform local{64};
    StageUpdate(local, context);
    c.arrange(local.spooler);
    const Installed updated = UpdatePrinter(context, local.platform, kPort, u"Label Printer");
    EXPECT_EQ(BoxOf(updated, kMain).text, c.box);
    EXPECT_EQ(updated.driverBlocked, c.blocked);
    EXPECT_EQ(local.spooler.printers.at(0).info.driverName, u"LBLOLD");
  }
}

TEST(FindExistingPrinter, TheSpoolersSpellingOfTheSameName) {
  struct Case {
    const char* what;
    std::vector<std::u16string> printers;
    std::optional<std::u16string> found;
  } cases[] = {
      {"same name", {u"Office", u"Label Printer"}, u"Label Printer"},
      {"another letter case", {u"LABEL PRINTER"}, u"LABEL PRINTER"},
      {"a numbered name is another printer", {u"Label Printer(2)"}, std::nullopt},
      {"a longer name", {u"Label Printer Copy"}, std::nullopt},
      {"no printer at all", {}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePrintPlatform fake;
    for (const std::u16string& name : c.printers) fake.spooler.AddPrinter(name);
    EXPECT_EQ(FindExistingPrinter(fake.platform, u"Label Printer"), c.found);
    EXPECT_TRUE(fake.Traces().empty());
  }
}

TEST(FindExistingPrinter, NoListNoPrinterAndATraceLine) {
  FakePrintPlatform fake;
  fake.spooler.AddPrinter(u"Label Printer");
  fake.spooler.FailRead("LocalPrinters", ReadStage::FillFailed, 1722);
  EXPECT_EQ(FindExistingPrinter(fake.platform, u"Label Printer"), std::nullopt);
  EXPECT_EQ(fake.Traces(), std::vector<std::u16string>{u"EnumPrinters Failed With 1722: No Printer To Update"});
}

}  // namespace
