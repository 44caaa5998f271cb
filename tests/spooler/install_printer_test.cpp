#include <gtest/gtest.h>

#include "fake_print_services.h"
#include "spooler/name_compare.h"

namespace {

constexpr WindowHandle kMain = 0x1234;
const std::u16string kSource = u"C:\\Setup\\SETUP64\\ENG";
const std::u16string kX64Dir = u"C:\\windows\\system32\\spool\\drivers\\x64";
const std::u16string kPort = u"LBUSB001";

std::u16string MultiString(std::initializer_list<std::u16string> entries) {
  std::u16string text;
  for (const std::u16string& entry : entries) text += entry + u'\0';
  return text + u'\0';
}

// The package, and the port the printer goes on: the spooler adds a printer only on a port it has.
void StageInstall(FakePrintPlatform& fake, const InstallContext& context) {
  AddDriverPackage(fake.files, context);
  fake.spooler.AddPort(kPort, u"Label USB Monitor");
}


class InstallPrinterTest : public ::testing::Test {
 protected:
  InstallPrinterTest() {
    context.installDir = u"C:\\Setup";
    context.setupDirName = u"SETUP64";
    context.languageCode = u"ENG";
    context.driverPrefix = u"LBL";
    context.printerBaseName = u"Label Printer";
    context.printerData = {{u"PaperName", u"Label 60x40"}, {u"Darkness", u"8"}};
    StageInstall(fake, context);
    fake.spooler.AddPrinter(u"Office");
  }
  void Install() { last = InstallPrinter(context, fake.platform, kPort); }
  // The box the install's outcome gives; the install itself shows none.
  RecordedBox OnlyBox() {
    EXPECT_TRUE(fake.Boxes().empty());
    return BoxOf(last, kMain);
  }
  Installed last;
  const DriverInfo3& Driver() { return fake.spooler.drivers.at(0); }

  FakePrintPlatform fake{64};
  InstallContext context;
};

TEST_F(InstallPrinterTest, CallsInTheOrderOfTheInstall) {
  Install();
  std::vector<std::string> expected = {"LocalPrinters", "DriverDirectory"};
  expected.insert(expected.end(), 11, "VerInstallFileW");
  for (const char* call : {"GetSystemDirectoryW", "PathFileExistsW", "CopyFileW", "PathFileExistsW", "PathFileExistsW",
                           "PathFileExistsW", "AddPrinterDriverW", "AddPrinterW", "SetPrinterDataW", "SetPrinterDataW",
                           "ClosePrinter"}) {
    expected.push_back(call);
  }
  EXPECT_EQ(fake.log.Methods(), expected);
  const std::vector<std::string>& calls = fake.log.calls;
  EXPECT_EQ(calls[1], "DriverDirectory(\"Windows x64\")");
  EXPECT_EQ(calls[2], "VerInstallFileW(1, \"LBLENG.GPD\", \"LBLENG.GPD\", \"C:\\Setup\\SETUP64\\ENG\", "
                      "\"C:\\windows\\system32\\spool\\drivers\\x64\", \"C:\\windows\\system32\\spool\\drivers\\x64\")");
  EXPECT_EQ(calls[13], "GetSystemDirectoryW(260)");
  EXPECT_EQ(calls[14], "PathFileExistsW(\"C:\\windows\\system32\\srclient.dll\")");
  EXPECT_EQ(calls[15], "CopyFileW(\"C:\\Setup\\SETUP64\\ENG\\srclient.dll\", \"C:\\windows\\system32\\srclient.dll\", 0)");
  EXPECT_EQ(calls[16], "PathFileExistsW(\"C:\\Setup\\SETUP64\\ENG\\LBLENG.INI\")");
  EXPECT_EQ(calls[17], "PathFileExistsW(\"C:\\Setup\\SETUP64\\ENG\\LBLUIENG.DLL\")");
  EXPECT_EQ(calls[18], "PathFileExistsW(\"C:\\Setup\\SETUP64\\ENG\\LBLUNIENG.DLL\")");
  EXPECT_EQ(calls[19], "AddPrinterDriverW(3, \"LBLENG\", \"Windows x64\")");
  EXPECT_EQ(calls[20], "AddPrinterW(2, \"Label Printer\", \"LBUSB001\", \"LBLENG\")");
  EXPECT_EQ(calls[21], "SetPrinterDataW(\"Label Printer\", \"PaperName\", 1, 22)");
  EXPECT_EQ(calls[22], "SetPrinterDataW(\"Label Printer\", \"Darkness\", 1, 2)");
  EXPECT_EQ(calls[23], "ClosePrinter(\"Label Printer\")");
  EXPECT_EQ(fake.spooler.OpenHandleCount(), 0u);
  for (std::uint32_t length : fake.versions.tempLengths) EXPECT_EQ(length, 520u);
}

TEST_F(InstallPrinterTest, CopiesInPackageOrder) {
  Install();
  std::vector<std::string> copied;
  for (const std::string& call : fake.log.Named("VerInstallFileW")) {
    std::size_t start = call.find('"') + 1;
    copied.push_back(call.substr(start, call.find('"', start) - start));
  }
  EXPECT_EQ(copied, (std::vector<std::string>{"LBLENG.GPD", "LBLUIENG.DLL", "LBLENG.INI", "LBLUNIENG.DLL",
                                              "LBLRCENG.DLL", "UNIDRV.DLL", "UNIDRVUI.DLL", "UNIDRV.HLP",
                                              "UNIRES.DLL", "STDNAMES.GPD", "TTFSUB.GPD"}));
  EXPECT_TRUE(fake.files.Exists(kX64Dir + u"\\LBLUNIENG.DLL"));
}

TEST_F(InstallPrinterTest, RegistersTheDriverAndThePrinterAsPublished) {
  Install();
  ASSERT_EQ(fake.spooler.drivers.size(), 1u);
  const DriverInfo3& driver = Driver();
  EXPECT_EQ(driver.cVersion, 3u);
  EXPECT_EQ(driver.name, u"LBLENG");
  EXPECT_EQ(driver.environment, u"Windows x64");
  EXPECT_EQ(driver.driverPath, u"UNIDRV.DLL");
  EXPECT_EQ(driver.dataFile, u"LBLENG.GPD");
  EXPECT_EQ(driver.configFile, u"UNIDRVUI.DLL");
  EXPECT_EQ(driver.helpFile, u"UNIDRV.HLP");
  EXPECT_EQ(driver.monitorName, std::nullopt);
  EXPECT_EQ(driver.defaultDataType, u"Raw");
  DriverFileNames names = BuildDriverFileNames(u"LBL", u"ENG", u"C:\\Setup", u"SETUP64");
  EXPECT_EQ(driver.dependentFiles, BuildDependentFiles(names, true, true, true));

  const FakePrinter* printer = fake.spooler.FindPrinter(u"Label Printer");
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(printer->info.portName, u"LBUSB001");
  EXPECT_EQ(printer->info.driverName, u"LBLENG");
  EXPECT_EQ(printer->info.printProcessor, u"WinPrint");
  EXPECT_EQ(printer->info.datatype, u"Raw");
  EXPECT_EQ(printer->info.attributes, 0x40u);
  EXPECT_EQ(printer->info.serverName, u"");
  EXPECT_EQ(printer->info.shareName, u"");
  EXPECT_EQ(printer->info.priority, 0u);
  EXPECT_EQ(printer->Text(u"PaperName"), u"Label 60x40");
  EXPECT_EQ(printer->Text(u"Darkness"), u"8");
  EXPECT_EQ(printer->data.at(u"Darkness").first, 1u);

  const RecordedBox& box = OnlyBox();
  EXPECT_EQ(box.owner, kMain);
  EXPECT_EQ(box.text, u"Add Printer Successful - Label Printer");
  EXPECT_EQ(box.caption, u"OK");
  EXPECT_EQ(box.type, 0u);
}

TEST_F(InstallPrinterTest, TracesEachCopyAndEachValue) {
  fake.files.RemoveFile(kSource + u"\\LBLENG.INI");
  Install();
  std::vector<std::u16string> traces = fake.Traces();
  ASSERT_EQ(traces.size(), 13u);
  EXPECT_EQ(traces[0], u"Copy LBLENG.GPD From " + kSource + u" To " + kX64Dir + u" Result 0x00000000\r\n");
  EXPECT_EQ(traces[2], u"Copy LBLENG.INI From " + kSource + u" To " + kX64Dir + u" Result 0x00010000\r\n");
  EXPECT_EQ(traces[11], u"PaperName Label 60x40");
  EXPECT_EQ(traces[12], u"Darkness 8");
  // The copy of an optional file the package does not have had nothing to do.
  EXPECT_EQ(OnlyBox().text, u"Add Printer Successful - Label Printer");
}

// A copy that did not happen fails the install, naming the file, before the driver is
// registered: the spooler would find the file missing, or an older one in its place.
TEST_F(InstallPrinterTest, ACopyThatDidNotHappenFailsNamingTheFile) {
  constexpr std::uint32_t kVifFileInUse = 0x80;
  constexpr std::uint32_t kVifSharingViolation = 0x400;
  struct Case {
    const char* what;
    std::function<void(FakePrintPlatform&)> arrange;
    std::u16string box;
  } cases[] = {
      {"the GPD is missing", [](FakePrintPlatform& f) { f.files.RemoveFile(kSource + u"\\LBLENG.GPD"); },
       ErrorBox(u"Copy Failed: LBLENG.GPD", kVifCannotReadSrc)},
      {"the RC DLL cannot be read", [](FakePrintPlatform& f) { f.files.MakeUnreadable(kSource + u"\\LBLRCENG.DLL"); },
       ErrorBox(u"Copy Failed: LBLRCENG.DLL", kVifCannotReadSrc)},
      {"a UNIDRV file in use", [](FakePrintPlatform& f) { f.versions.flagsFor[u"UNIDRV.DLL"] = kVifFileInUse; },
       ErrorBox(u"Copy Failed: UNIDRV.DLL", kVifFileInUse)},
      {"an optional file that is there is refused",
       [](FakePrintPlatform& f) { f.versions.flagsFor[u"LBLENG.INI"] = kVifSharingViolation; },
       ErrorBox(u"Copy Failed: LBLENG.INI", kVifSharingViolation)},
      {"the first of two refused is named",
       [](FakePrintPlatform& f) {
         f.files.RemoveFile(kSource + u"\\TTFSUB.GPD");
         f.files.MakeUnreadable(kSource + u"\\LBLUIENG.DLL");
       },
       ErrorBox(u"Copy Failed: LBLUIENG.DLL", kVifCannotReadSrc)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePrintPlatform local{64};
    StageInstall(local, context);
    c.arrange(local);
    const Installed installed = InstallPrinter(context, local.platform, kPort);
    EXPECT_EQ(BoxOf(installed, kMain).text, c.box);
    EXPECT_FALSE(installed.driverBlocked);
    // Every copy was tried and traced; nothing was registered.
    EXPECT_EQ(local.log.Count("VerInstallFileW"), 11u);
    EXPECT_EQ(local.log.Count("AddPrinterDriverW"), 0u);
    EXPECT_TRUE(local.spooler.drivers.empty());
    EXPECT_EQ(local.spooler.FindPrinter(u"Label Printer"), nullptr);
  }
}

// As Windows: a driver whose files are not all in the driver directory is not registered.
TEST_F(InstallPrinterTest, TheSpoolerRefusesADriverWhoseFilesAreNotThere) {
  // The installer says yes but leaves nothing behind.
  fake.versions.flagsFor[u"LBLRCENG.DLL"] = 0;
  Install();
  EXPECT_EQ(OnlyBox().text, ErrorBox(u"AddPrinterDriver Failed", 2));
  EXPECT_TRUE(fake.spooler.drivers.empty());
  EXPECT_EQ(fake.log.Count("AddPrinterW"), 0u);
}

TEST_F(InstallPrinterTest, ADriverTheSystemBlocksIsMarked) {
  struct Case {
    std::uint32_t code;
    bool blocked;
  } cases[] = {{3014, true}, {3013, true}, {5, false}, {1797, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    FakePrintPlatform local{64};
    StageInstall(local, context);
    local.spooler.Fail("AddPrinterDriverW", c.code);
    const Installed installed = InstallPrinter(context, local.platform, kPort);
    EXPECT_EQ(BoxOf(installed, kMain).text, ErrorBox(u"AddPrinterDriver Failed", c.code));
    EXPECT_EQ(installed.driverBlocked, c.blocked);
    EXPECT_EQ(local.log.Count("AddPrinterW"), 0u);
  }
}

TEST_F(InstallPrinterTest, TakenNameGetsTheFirstFreeNumber) {
  fake.spooler.AddPrinter(u"Label Printer");
  fake.spooler.AddPrinter(u"Label Printer(2)");
  Install();
  EXPECT_EQ(fake.log.Named("AddPrinterW")[0], "AddPrinterW(2, \"Label Printer(3)\", \"LBUSB001\", \"LBLENG\")");
  EXPECT_EQ(OnlyBox().text, u"Add Printer Successful - Label Printer(3)");
}

// The spooler refuses a name some printer has in another letter case: the install must not
// offer it after the port and the driver were made.
TEST_F(InstallPrinterTest, NameTakenInAnotherLetterCaseGetsANumber) {
  struct Case {
    std::vector<std::u16string> present;
    std::u16string chosen;
  } cases[] = {
      {{u"label printer"}, u"Label Printer(2)"},
      {{u"LABEL PRINTER", u"label printer(2)"}, u"Label Printer(3)"},
  };
  for (const Case& c : cases) {
    FakePrintPlatform local{64};
    StageInstall(local, context);
    for (const std::u16string& name : c.present) local.spooler.AddPrinter(name);
    const Installed installed = InstallPrinter(context, local.platform, kPort);
    EXPECT_EQ(BoxOf(installed, kMain).text, u"Add Printer Successful - " + c.chosen);
    EXPECT_EQ(local.spooler.printers.size(), c.present.size() + 1);
    EXPECT_EQ(local.spooler.printers.back().info.printerName, c.chosen);
  }
}

TEST_F(InstallPrinterTest, WithoutPrinterListTheBaseNameGoesToTheSpooler) {
  struct Case {
    const char* what;
    std::function<void(FakeSpooler&)> arrange;
    std::size_t enumerations;
  } cases[] = {
      {"size query fails otherwise", [](FakeSpooler& s) { s.FailRead("LocalPrinters", ReadStage::SizeQueryFailed, 5); }, 1},
      {"no memory for the list", [](FakeSpooler& s) { s.FailAllocation("LocalPrinters"); }, 1},
      {"the fill fails", [](FakeSpooler& s) { s.FailRead("LocalPrinters", ReadStage::FillFailed, 1722); }, 1},
  };
  for (const Case& c : cases) {
    FakePrintPlatform local{64};
    StageInstall(local, context);
    local.spooler.AddPrinter(u"Label Printer");
    c.arrange(local.spooler);
    const Installed installed = InstallPrinter(context, local.platform, kPort);
    EXPECT_EQ(local.log.Count("LocalPrinters"), c.enumerations) << c.what;
    EXPECT_EQ(local.log.Named("AddPrinterW").at(0), "AddPrinterW(2, \"Label Printer\", \"LBUSB001\", \"LBLENG\")")
        << c.what;
    // The name is taken: the spooler's refusal is reported.
    EXPECT_EQ(BoxOf(installed, kMain).text, ErrorBox(u"AddPrinter Failed", 1802)) << c.what;
    EXPECT_EQ(BoxOf(installed, kMain).caption, u"ERROR");
  }
}

TEST_F(InstallPrinterTest, NothingToEnumerateMeansOneCall) {
  fake.spooler.printers.clear();
  Install();
  EXPECT_EQ(fake.log.Count("LocalPrinters"), 1u);
  EXPECT_EQ(OnlyBox().text, u"Add Printer Successful - Label Printer");
}

TEST_F(InstallPrinterTest, DriverDirectoryIsAskedForTheDriversEnvironment) {
  // A 32-bit process's own default would be the x86 directory.
  Install();
  EXPECT_EQ(Driver().environment, u"Windows x64");
  EXPECT_TRUE(fake.files.Exists(kX64Dir + u"\\LBLENG.GPD"));
  EXPECT_FALSE(fake.files.Exists(u"C:\\windows\\system32\\spool\\drivers\\w32x86\\LBLENG.GPD"));

  FakePrintPlatform x86{32};
  context.setupDirName = u"SETUP";
  StageInstall(x86, context);
  InstallPrinter(context, x86.platform, kPort);
  EXPECT_EQ(x86.log.Named("DriverDirectory")[0], "DriverDirectory(\"Windows NT x86\")");
  EXPECT_EQ(x86.spooler.drivers.at(0).environment, u"Windows NT x86");
  EXPECT_EQ(x86.spooler.drivers.at(0).dependentFiles, Driver().dependentFiles);
}

TEST_F(InstallPrinterTest, DriverDirectoryFailureStopsBeforeCopying) {
  fake.spooler.driverDirectories.erase(u"Windows x64");
  Install();
  EXPECT_EQ(OnlyBox().text, ErrorBox(u"GetPrinterDriverDirectory Failed", 1805));
  EXPECT_EQ(OnlyBox().owner, kMain);
  EXPECT_EQ(fake.log.Count("VerInstallFileW"), 0u);
  EXPECT_EQ(fake.log.Count("CopyFileW"), 0u);
  EXPECT_EQ(fake.log.Count("AddPrinterDriverW"), 0u);
}

TEST_F(InstallPrinterTest, DriverRefusedStopsBeforeThePrinter) {
  fake.spooler.Fail("AddPrinterDriverW", 5);
  Install();
  EXPECT_EQ(OnlyBox().text, ErrorBox(u"AddPrinterDriver Failed", 5));
  EXPECT_EQ(OnlyBox().caption, u"ERROR");
  EXPECT_EQ(OnlyBox().owner, kMain);
  EXPECT_EQ(fake.log.Count("AddPrinterW"), 0u);
  EXPECT_TRUE(fake.files.Exists(kX64Dir + u"\\LBLENG.GPD"));  // nothing rolled back
}

TEST_F(InstallPrinterTest, PrinterRefusedLeavesTheDriverAndWritesNoData) {
  struct Case {
    const char* what;
    std::function<void(FakeSpooler&)> arrange;
    std::uint32_t code;
  } cases[] = {
      {"refused outright", [](FakeSpooler& s) { s.Fail("AddPrinterW", 5); }, 5},
      {"port not in the spooler's list", [](FakeSpooler& s) { s.ports.clear(); }, 1796},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePrintPlatform local{64};
    StageInstall(local, context);
    c.arrange(local.spooler);
    const Installed installed = InstallPrinter(context, local.platform, kPort);
    EXPECT_EQ(BoxOf(installed, kMain).text, ErrorBox(u"AddPrinter Failed", c.code));
    EXPECT_EQ(local.spooler.drivers.size(), 1u);
    EXPECT_EQ(local.spooler.FindPrinter(u"Label Printer"), nullptr);
    EXPECT_EQ(local.log.Count("SetPrinterDataW"), 0u);
    EXPECT_EQ(local.log.Count("ClosePrinter"), 0u);
  }
}

TEST_F(InstallPrinterTest, OptionalFilesMissingAreLeftOutOfTheList) {
  struct Case {
    bool ini, ui, uni;
    std::size_t names;
  } cases[] = {{false, true, true, 10}, {false, false, false, 8}, {true, false, true, 10}};
  for (const Case& c : cases) {
    FakePrintPlatform local{64};
    AddDriverPackage(local.files, context, c.ini, c.ui, c.uni);
    local.spooler.AddPort(kPort);
    InstallPrinter(context, local.platform, kPort);
    DriverFileNames names = BuildDriverFileNames(u"LBL", u"ENG", u"C:\\Setup", u"SETUP64");
    const std::u16string& list = local.spooler.drivers.at(0).dependentFiles;
    EXPECT_EQ(list, BuildDependentFiles(names, c.ui, c.ini, c.uni));
    EXPECT_EQ(static_cast<std::size_t>(std::count(list.begin(), list.end(), u'\0')), c.names + 1);
    // Each optional file is copied in any case.
    EXPECT_EQ(local.log.Count("VerInstallFileW"), 11u);
  }
}

TEST_F(InstallPrinterTest, SystemRestoreClientCopiedOnlyWhenMissing) {
  fake.files.AddFile(u"C:\\windows\\system32\\srclient.dll");
  Install();
  EXPECT_EQ(fake.log.Count("CopyFileW"), 0u);

  FakePrintPlatform noSystemDir{64};
  StageInstall(noSystemDir, context);
  noSystemDir.files.Fail("GetSystemDirectoryW", 5);
  const Installed installed = InstallPrinter(context, noSystemDir.platform, kPort);
  // Not at the root of the drive: no copy at all.
  EXPECT_EQ(noSystemDir.log.Count("CopyFileW"), 0u);
  EXPECT_EQ(noSystemDir.log.Count("PathFileExistsW"), 3u);
  EXPECT_EQ(BoxOf(installed, kMain).text, u"Add Printer Successful - Label Printer");
}

TEST_F(InstallPrinterTest, PrinterDataEntries) {
  std::u16string longKey(260, u'k');
  context.printerData = ParsePrinterData(
      MultiString({u"x=y=z", u"k=", u"=v", u"novalue", longKey + u"=lost", std::u16string(259, u'n') + u"=kept"}));
  Install();
  const FakePrinter* printer = fake.spooler.FindPrinter(u"Label Printer");
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(printer->dataOrder,
            (std::vector<std::u16string>{u"x", u"k", u"", std::u16string(259, u'n')}));
  EXPECT_EQ(printer->Text(u"x"), u"y=z");
  EXPECT_EQ(printer->data.at(u"k").second.size(), 0u);
  EXPECT_EQ(printer->Text(u""), u"v");
  std::vector<std::u16string> traces = fake.Traces();
  std::vector<std::u16string> dataTraces(traces.begin() + 11, traces.end());
  ASSERT_EQ(dataTraces.size(), 5u);
  EXPECT_EQ(dataTraces[0], u"x y=z");
  EXPECT_EQ(dataTraces[1], u"k ");
  EXPECT_EQ(dataTraces[2], u" v");
  EXPECT_EQ(dataTraces[3].substr(0, 31), u"Skip DATA Entry, Name Too Long:");
  EXPECT_EQ(OnlyBox().text, u"Add Printer Successful - Label Printer");
}

TEST_F(InstallPrinterTest, FailedDataWriteIsPassedOver) {
  fake.spooler.Fail("SetPrinterDataW", 5, 1);
  Install();
  EXPECT_EQ(fake.log.Count("SetPrinterDataW"), 2u);
  EXPECT_EQ(fake.spooler.FindPrinter(u"Label Printer")->Text(u"Darkness"), u"8");
  EXPECT_EQ(OnlyBox().text, u"Add Printer Successful - Label Printer");
}

TEST_F(InstallPrinterTest, EmptyDataSectionWritesNothing) {
  context.printerData.clear();
  Install();
  EXPECT_EQ(fake.log.Count("SetPrinterDataW"), 0u);
  EXPECT_EQ(fake.log.Count("ClosePrinter"), 1u);
  EXPECT_EQ(OnlyBox().text, u"Add Printer Successful - Label Printer");
}

TEST_F(InstallPrinterTest, ANameTooLongForItsNumberIsRefusedBeforeAnyChange) {
  FakePrintPlatform local{64};
  context.printerBaseName = std::u16string(258, u'N');
  local.spooler.AddPrinter(context.printerBaseName);
  const Installed installed = InstallPrinter(context, local.platform, kPort);
  EXPECT_EQ(local.log.Methods(), std::vector<std::string>{"LocalPrinters"});
  EXPECT_EQ(BoxOf(installed, kMain).text, ErrorBox(u"PrnName Too Long", 206));
}

// Wine's AddPrinter overwrites a printer of that name: with every name taken nothing is staged,
// and no printer is added or changed.
TEST_F(InstallPrinterTest, EveryNameTakenFailsBeforeAnyChange) {
  struct Case {
    const char* what;
    std::u16string freed;  // a name left free; empty: none
    std::u16string chosen;
  } cases[] = {
      {"all 255 taken", u"", u""},
      {"only (254) free", u"Label Printer(254)", u"Label Printer(254)"},
      {"only the base free", u"Label Printer", u"Label Printer"},
  };
  for (const Case& c : cases) {
    FakePrintPlatform local{64};
    StageInstall(local, context);
    std::vector<std::u16string> taken = {u"LABEL PRINTER"};
    for (int n = 2; n <= 254; ++n) {
      const std::string digits = std::to_string(n);
      taken.push_back(u"label printer(" + std::u16string(digits.begin(), digits.end()) + u")");
    }
    for (const std::u16string& name : taken) {
      if (!SameNameIgnoringCase(name, c.freed)) local.spooler.AddPrinter(name, u"OLDPORT");
    }
    const std::size_t before = local.spooler.printers.size();
    const Installed installed = InstallPrinter(context, local.platform, kPort);
    if (c.chosen.empty()) {
      EXPECT_EQ(local.log.Methods(), std::vector<std::string>{"LocalPrinters"}) << c.what;
      EXPECT_EQ(BoxOf(installed, kMain).text,
                ErrorBox(u"No free printer name: Label Printer to Label Printer(254) are all taken.", 1802));
      EXPECT_EQ(BoxOf(installed, kMain).caption, u"ERROR");
      EXPECT_EQ(local.spooler.printers.size(), before) << c.what;
      EXPECT_TRUE(local.spooler.drivers.empty()) << c.what;
      for (const FakePrinter& printer : local.spooler.printers) {
        EXPECT_EQ(printer.info.portName, u"OLDPORT") << c.what;
        EXPECT_TRUE(printer.data.empty()) << c.what;
      }
    } else {
      EXPECT_EQ(BoxOf(installed, kMain).text, u"Add Printer Successful - " + c.chosen) << c.what;
      EXPECT_EQ(local.spooler.printers.size(), before + 1) << c.what;
    }
  }
}

TEST_F(InstallPrinterTest, InstallDriverFileReportsTheFlags) {
  EXPECT_TRUE(InstallDriverFile(fake.platform, u"LBLENG.GPD", kSource, kX64Dir));
  const Status missing = InstallDriverFile(fake.platform, u"MISSING.DLL", kSource, kX64Dir);
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.code, 0x00010000u);  // VIF_CANNOTREADSRC
  EXPECT_EQ(fake.Traces()[1], u"Copy MISSING.DLL From " + kSource + u" To " + kX64Dir + u" Result 0x00010000\r\n");
}

}  // namespace
