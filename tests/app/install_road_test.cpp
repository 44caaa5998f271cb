#include <gtest/gtest.h>

#include "app/install_road.h"
#include "app/road_context.h"
#include "config/texts.h"
#include "spooler/fake_print_services.h"
#include "spooler/port_records.h"

namespace {

constexpr WindowHandle kMain = 0x2a;
const std::u16string kMonitor = u"Label USB Monitor";

class InstallRoadTest : public ::testing::Test {
 protected:
  InstallRoadTest() : context(RoadTestContext()) {
    AddDriverPackage(fake.files, context);
    fake.files.AddFile(u"C:\\setup\\MONITOR32\\MonitorSetup.exe");
    fake.files.AddFile(u"C:\\setup\\UTILS\\DeletePrintJobs.bat");
    fake.spooler.AddTcpIpMonitor();
  }

  RoadEnd Run(WizardPage page, const std::u16string& text) {
    return RunInstallRoad(page, text, kMain, context, fake.platform);
  }

  std::vector<std::u16string> BoxTexts() const {
    std::vector<std::u16string> texts;
    for (const RecordedBox& box : fake.Boxes()) texts.push_back(box.text);
    return texts;
  }

  // The tools the shell started, by file name, in order.
  std::vector<std::u16string> ToolsRun() const {
    std::vector<std::u16string> tools;
    for (const ShellExecuteInfo& info : fake.shell.executed) tools.push_back(info.lpFile.substr(info.lpFile.rfind(u'\\') + 1));
    return tools;
  }

  void UseMonitor(bool installedBefore) {
    context.portMonitorName = kMonitor;
    context.portNamePrefix = u"LBUSB";
    if (installedBefore) fake.spooler.AddMonitor(kMonitor);
  }

  InstallContext context;
  FakePrintPlatform fake;
};

const std::u16string kSuccess = u"Add Printer Successful - Label Printer";

TEST_F(InstallRoadTest, NetworkCreatesTheAddressPortAndInstallsOnIt) {
  EXPECT_EQ(RoadEnd::Installed, Run(WizardPage::Network, u"10.1.2.3"));
  ASSERT_NE(nullptr, fake.spooler.FindPort(u"10.1.2.3"));
  const std::vector<std::uint8_t>& record = fake.spooler.monitors[kTcpIpMonitorName].addPortInputs.at(0);
  EXPECT_EQ(u"10.1.2.3", GetText(record.data(), port_data_1::kHostAddress, port_data_1::kHostAddressChars));
  EXPECT_EQ(9100u, GetU32(record.data(), port_data_1::kPortNumber));
  ASSERT_NE(nullptr, fake.spooler.FindPrinter(u"Label Printer"));
  EXPECT_EQ(u"10.1.2.3", fake.spooler.FindPrinter(u"Label Printer")->info.portName);
  EXPECT_EQ(std::vector<std::u16string>{kSuccess}, BoxTexts());
}

// A port the monitor made (or had) carries the printer; one it refused, or a monitor that is not
// there, ends the road with a box naming the port, before the driver is staged. The monitor's yes
// is taken as the port: a monitor that says yes and makes nothing is caught by AddPrinter.
TEST_F(InstallRoadTest, NetworkRoadGoesOnOnlyOnAPortTheSpoolerLists) {
  struct Case {
    const char* name;
    std::function<void(FakePrintPlatform&)> arrange;
    std::vector<std::u16string> boxes;
    bool staged = false;
  };
  const std::u16string notCreated = u"Port Not Created: 10.1.2.3 - ERROR CODE: 1796\r\n";
  const Case cases[] = {
      {"port already there", [](FakePrintPlatform& f) { f.spooler.AddPort(u"10.1.2.3", kTcpIpMonitorName); },
       {kSuccess}, true},
      {"monitor answers 5", [](FakePrintPlatform& f) { f.spooler.monitors[kTcpIpMonitorName].addPortStatus = 5; },
       {u"XcvData AddPort Error. Status:5", notCreated}},
      {"XcvData fails", [](FakePrintPlatform& f) { f.spooler.monitors[kTcpIpMonitorName].addPortCallSucceeds = false; },
       {u"XcvData AddPort Failed", notCreated}},
      {"monitor says yes and makes nothing",
       [](FakePrintPlatform& f) { f.spooler.monitors[kTcpIpMonitorName].createsPorts = false; },
       {u"AddPrinter Failed - ERROR CODE: 1796\r\n"}, true},
      {"no TCP/IP monitor", [](FakePrintPlatform& f) { f.spooler.monitors.erase(kTcpIpMonitorName); },
       {u"Port Not Created: 10.1.2.3 (Monitor Not Exist: Standard TCP/IP Port) - ERROR CODE: 1801\r\n"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakePrintPlatform local;
    InstallContext ctx = context;
    AddDriverPackage(local.files, ctx);
    local.spooler.AddTcpIpMonitor();
    c.arrange(local);
    const bool installs = c.boxes.back() == kSuccess;
    EXPECT_EQ(installs ? RoadEnd::Installed : RoadEnd::Failed,
              RunInstallRoad(WizardPage::Network, u"10.1.2.3", kMain, ctx, local.platform));
    std::vector<std::u16string> texts;
    for (const RecordedBox& box : local.Boxes()) {
      texts.push_back(box.text);
      EXPECT_EQ(kMain, box.owner) << "every box of the road is owned by the main window";
    }
    EXPECT_EQ(c.boxes, texts);
    EXPECT_EQ(installs, local.spooler.FindPrinter(u"Label Printer") != nullptr);
    EXPECT_EQ(c.staged, !local.log.Named("VerInstallFileW").empty()) << "nothing staged without the port";
  }
}

TEST_F(InstallRoadTest, SpoolerPortPagesInstallOnTheChosenText) {
  struct Case {
    WizardPage page;
    std::u16string text;
    bool configures;
  };
  const Case cases[] = {
      {WizardPage::Usb, u"USB002", false},
      {WizardPage::Parallel, u"LPT1:", false},
      {WizardPage::Serial, u"COM3:", true},
  };
  for (const Case& c : cases) {
    FakePrintPlatform local;
    InstallContext ctx = context;
    AddDriverPackage(local.files, ctx);
    local.spooler.AddPort(c.text);
    EXPECT_EQ(RoadEnd::Installed, RunInstallRoad(c.page, c.text, kMain, ctx, local.platform));
    ASSERT_NE(nullptr, local.spooler.FindPrinter(u"Label Printer"));
    EXPECT_EQ(c.text, local.spooler.FindPrinter(u"Label Printer")->info.portName);
    std::vector<std::string> methods = local.log.Methods();
    auto configure = std::find(methods.begin(), methods.end(), "ConfigurePortW");
    auto addPrinter = std::find(methods.begin(), methods.end(), "AddPrinterW");
    EXPECT_EQ(c.configures, configure != methods.end());
    if (c.configures) {
      EXPECT_LT(configure, addPrinter) << "the port dialog opens before the printer is added";
      EXPECT_EQ(std::vector<std::u16string>{c.text}, local.spooler.configuredPorts);
    }
  }
}

// The page's text is taken as it is; the spooler's answer follows.
TEST_F(InstallRoadTest, SpoolerPortPagesPassAPortTheSpoolerLacksOn) {
  for (const std::u16string& text : {std::u16string(u""), std::u16string(u"USB001")}) {
    FakePrintPlatform local;
    InstallContext ctx = context;
    AddDriverPackage(local.files, ctx);
    EXPECT_EQ(RoadEnd::Failed, RunInstallRoad(WizardPage::Usb, text, kMain, ctx, local.platform));
    EXPECT_NE(std::string::npos, local.log.Named("AddPrinterW").at(0).find(", " + Quoted(text) + ", "));
    ASSERT_EQ(1u, local.Boxes().size());
    EXPECT_EQ(u"AddPrinter Failed - ERROR CODE: 1796\r\n", local.Boxes()[0].text);
  }
}

TEST_F(InstallRoadTest, SerialGoesOnWhenThePortDialogFails) {
  fake.spooler.AddPort(u"COM1:");
  fake.spooler.Fail("ConfigurePortW", 1223);  // ERROR_CANCELLED
  EXPECT_EQ(RoadEnd::Installed, Run(WizardPage::Serial, u"COM1:"));
}

TEST_F(InstallRoadTest, MonitorUsbWithoutADeviceHintsInTheCurrentLanguageAndStays) {
  UseMonitor(true);
  for (const char16_t* code : {u"ENG", u"CHN"}) {
    SelectLanguage(context, code);
    fake.log.Clear();
    fake.diagnostics.dialogs.boxes.clear();
    EXPECT_EQ(RoadEnd::Stay, Run(WizardPage::Usb, u""));
    ASSERT_EQ(1u, fake.Boxes().size());
    EXPECT_EQ(std::u16string(LookupText(context, u"HintNotFindUSBPrinter")) + u" - ERROR CODE: 0\r\n",
              fake.Boxes()[0].text);
    EXPECT_EQ(kMain, fake.Boxes()[0].owner);
    EXPECT_TRUE(fake.log.calls.empty()) << "nothing reaches the spooler or the shell";
  }
}

TEST_F(InstallRoadTest, MonitorUsbCreatesTheNextNumberedPortAndInstallsOnIt) {
  UseMonitor(true);
  fake.spooler.AddPort(u"LBUSB001", kMonitor);
  EXPECT_EQ(RoadEnd::Installed, Run(WizardPage::Usb, u"VID:0x1A2B,PID:0x4D5E"));
  const std::vector<std::uint8_t>& record = fake.spooler.monitors[kMonitor].addPortInputs.at(0);
  ASSERT_EQ(custom_port::kSize, record.size());
  EXPECT_EQ(4u, GetU32(record.data(), custom_port::kConnectionKind));
  EXPECT_EQ(u"VID:0x1A2B,PID:0x4D5E", GetText(record.data(), custom_port::kDeviceText, custom_port::kTextChars));
  EXPECT_EQ(u"LBUSB002", fake.spooler.FindPrinter(u"Label Printer")->info.portName);
  EXPECT_EQ(std::vector<std::u16string>{u"MonitorSetup.exe"}, ToolsRun()) << "no jobs: no purge";
  EXPECT_EQ(std::optional<std::u16string>(u"update"), fake.shell.executed.at(0).lpParameters);
}

TEST_F(InstallRoadTest, MonitorUsbPurgesQueuedJobsBeforeTheSetupTool) {
  UseMonitor(true);
  fake.spooler.AddPort(u"LBUSB001", kMonitor);
  fake.spooler.AddPrinter(u"Old Label", u"LBUSB001", 3);
  EXPECT_EQ(RoadEnd::Installed, Run(WizardPage::Usb, u"VID:0x1A2B,PID:0x4D5E"));
  EXPECT_EQ((std::vector<std::u16string>{u"DeletePrintJobs.bat", u"MonitorSetup.exe"}), ToolsRun());
}

TEST_F(InstallRoadTest, MonitorUsbSetupToolInstallsAMissingMonitor) {
  UseMonitor(false);
  fake.spooler.AddPort(u"LPT1:");
  fake.shell.onRun = [this](const ShellExecuteInfo&) { fake.spooler.AddMonitor(kMonitor); };
  EXPECT_EQ(RoadEnd::Installed, Run(WizardPage::Usb, u"VID:0x1A2B,PID:0x4D5E"));
  EXPECT_EQ(std::vector<std::u16string>{u"MonitorSetup.exe"}, ToolsRun());
  EXPECT_EQ(u"LBUSB001", fake.spooler.FindPrinter(u"Label Printer")->info.portName);
}

// A tool that cannot start is named in the program's own box and the road goes on as before:
// with the monitor there it installs, without it the monitor's absence ends it.
TEST_F(InstallRoadTest, MonitorUsbNamesAMissingSetupToolAndGoesOn) {
  const std::u16string missing =
      u"Cannot Start Tool: C:\\setup\\MONITOR32\\MonitorSetup.exe - ERROR CODE: 2\r\n";
  for (bool monitorThere : {true, false}) {
    SCOPED_TRACE(monitorThere);
    FakePrintPlatform local;
    InstallContext ctx = context;
    ctx.portMonitorName = kMonitor;
    ctx.portNamePrefix = u"LBUSB";
    AddDriverPackage(local.files, ctx);
    if (monitorThere) local.spooler.AddMonitor(kMonitor);
    const RoadEnd end = RunInstallRoad(WizardPage::Usb, u"VID:0x1A2B,PID:0x4D5E", kMain, ctx, local.platform);
    EXPECT_TRUE(local.shell.shellBoxes.empty()) << "no box of the shell's own";
    std::vector<std::u16string> boxes;
    for (const RecordedBox& box : local.Boxes()) boxes.push_back(box.text);
    if (monitorThere) {
      EXPECT_EQ(RoadEnd::Installed, end);
      EXPECT_EQ((std::vector<std::u16string>{missing, kSuccess}), boxes);
    } else {
      EXPECT_EQ(RoadEnd::Failed, end);
      EXPECT_EQ((std::vector<std::u16string>{missing, u"Monitor Not Exist - ERROR CODE: 1801\r\n"}), boxes);
    }
  }
}

TEST_F(InstallRoadTest, MonitorUsbFailuresEndTheRoadWithTheirCode) {
  struct Case {
    const char* name;
    std::function<void(FakePrintPlatform&)> arrange;
    std::u16string box;
  };
  const Case cases[] = {
      {"monitor still missing", [](FakePrintPlatform&) {}, u"Monitor Not Exist - ERROR CODE: 1801\r\n"},
      {"monitor refuses the port",
       [](FakePrintPlatform& f) { f.spooler.AddMonitor(kMonitor).addPortStatus = 87; },
       u"Add KCPort Failed - ERROR CODE: 87\r\n"},
      {"XcvData fails",
       [](FakePrintPlatform& f) {
         FakeMonitor& m = f.spooler.AddMonitor(kMonitor);
         m.addPortCallSucceeds = false;
         m.addPortError = 1722;
       },
       u"Add KCPort Failed - ERROR CODE: 1722\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakePrintPlatform local;
    InstallContext ctx = context;
    ctx.portMonitorName = kMonitor;
    ctx.portNamePrefix = u"LBUSB";
    AddDriverPackage(local.files, ctx);
    local.files.AddFile(u"C:\\setup\\MONITOR32\\MonitorSetup.exe");
    c.arrange(local);
    EXPECT_EQ(RoadEnd::Failed, RunInstallRoad(WizardPage::Usb, u"VID:0x1A2B,PID:0x4D5E", kMain, ctx, local.platform));
    ASSERT_EQ(1u, local.Boxes().size());
    EXPECT_EQ(c.box, local.Boxes()[0].text);
    EXPECT_EQ(0u, local.log.Count("AddPrinterDriverW")) << "nothing is installed";
    EXPECT_EQ(0u, local.log.Count("AddPrinterW"));
  }
}

TEST_F(InstallRoadTest, OverlongConfigurationIsRefusedBeforeAnySpoolerChange) {
  context.driverPrefix = std::u16string(300, u'P');
  EXPECT_EQ(RoadEnd::Failed, Run(WizardPage::Network, u"10.1.2.3"));
  EXPECT_EQ(0u, fake.log.Count("XcvDataW"));
  EXPECT_EQ(0u, fake.log.Count("AddPrinterDriverW"));
  ASSERT_EQ(1u, fake.Boxes().size());
  EXPECT_NE(std::u16string::npos, fake.Boxes()[0].text.find(u"Prefix"));
}

TEST_F(InstallRoadTest, InstallFailureEndsTheRoadAsFailed) {
  fake.spooler.Fail("AddPrinterDriverW", 1797);
  EXPECT_EQ(RoadEnd::Failed, Run(WizardPage::Parallel, u"LPT1:"));
  EXPECT_EQ(std::vector<std::u16string>{u"AddPrinterDriver Failed - ERROR CODE: 1797\r\n"}, BoxTexts());
}

TEST_F(InstallRoadTest, PagesWithoutARoadDoNothing) {
  EXPECT_EQ(RoadEnd::Stay, Run(WizardPage::Language, u"x"));
  EXPECT_EQ(RoadEnd::Stay, Run(WizardPage::ConnectionType, u"x"));
  EXPECT_TRUE(fake.log.calls.empty());
}

TEST(ExitCodeFor, FollowsTheInstallerConvention) {
  EXPECT_EQ(0, ExitCodeFor(true, RoadEnd::Installed));
  EXPECT_EQ(1603, ExitCodeFor(true, RoadEnd::Failed));
  EXPECT_EQ(1602, ExitCodeFor(false, RoadEnd::Stay));
  EXPECT_EQ(1602, ExitCodeFor(true, RoadEnd::Stay));
}

}  // namespace

TEST_F(InstallRoadTest, BadConfigurationIsRefusedBeforeAnyCall) {
  struct Case {
    WizardPage page;
    const char16_t* text;
    std::function<void(InstallContext&)> change;
    std::u16string box;
  };
  const Case cases[] = {
      {WizardPage::Network, u"10.1.2.3", [](InstallContext& c) { c.printerBaseName = u"Acc,Label\\X"; },
       u"config.ini: PrnName must not contain a comma (,) or a backslash (\\). - ERROR CODE: 1801\r\n"},
      {WizardPage::Usb, u"VID:0x1A2B,PID:0x4D5E", [](InstallContext& c) { c.driverPrefix = u"..\\..\\TRAV"; },
       u"config.ini: Prefix may hold only letters, digits, _ and -. - ERROR CODE: 123\r\n"},
      {WizardPage::Serial, u"COM1", [](InstallContext& c) { c.printerBaseName = std::u16string(300, u'P'); },
       u"config.ini: PrnName is too long (at most 215 characters). - ERROR CODE: 206\r\n"},
      {WizardPage::Parallel, u"LPT1", [](InstallContext& c) { c.printerAddress = u"1.2.3"; },
       u"config.ini: IPAddress is not a valid IPv4 address (four numbers from 0 to 255, such as 192.168.1.200). - "
       u"ERROR CODE: 87\r\n"},
      {WizardPage::Network, u"10.1.2.3", [](InstallContext& c) { c.printerDataCut = true; },
       u"config.ini: the [DATA] section is too long (at most 32765 characters). - ERROR CODE: 206\r\n"},
      {WizardPage::Usb, u"VID:0x1A2B,PID:0x4D5E",
       [](InstallContext& c) { c.printerData.push_back({std::u16string(260, u'N'), u"v"}); },
       u"config.ini: a name in [DATA] is too long (at most 259 characters). - ERROR CODE: 206\r\n"},
  };
  for (const Case& c : cases) {
    FakePrintPlatform platform;
    InstallContext changed = context;
    c.change(changed);
    EXPECT_EQ(RoadEnd::Failed, RunInstallRoad(c.page, c.text, kMain, changed, platform.platform));
    EXPECT_TRUE(platform.log.calls.empty()) << platform.log.calls.front();
    ASSERT_EQ(1u, platform.Boxes().size());
    EXPECT_EQ(c.box, platform.Boxes()[0].text);
    EXPECT_EQ(kMain, platform.Boxes()[0].owner);
  }
}

TEST_F(InstallRoadTest, AnIncompleteAddressKeepsTheNetworkPage) {
  // The window reads a blank or partly filled address control as an empty text.
  EXPECT_EQ(RoadEnd::Stay, Run(WizardPage::Network, u""));
  EXPECT_TRUE(fake.log.calls.empty());
  EXPECT_EQ(std::vector<std::u16string>{u"Please enter the printer's complete IP address: four numbers from 0 to 255. - "
                                        u"ERROR CODE: 0\r\n"},
            BoxTexts());
}

// IfExists with a printer of that name already there (in another letter case, as the spooler
// compares names): Keep changes nothing, Update points that printer at this install, New adds
// the next free name.
TEST_F(InstallRoadTest, IfExistsDecidesWhatARerunDoes) {
  struct Case {
    const char16_t* ifExists;
    RoadEnd end;
    std::vector<std::u16string> printers;  // afterwards
    std::vector<std::u16string> boxes;
  };
  const Case cases[] = {
      {u"keep", RoadEnd::Installed, {u"label PRINTER"}, {u"label PRINTER is already installed."}},
      {u"Update", RoadEnd::Installed, {u"label PRINTER"}, {u"Add Printer Successful - label PRINTER"}},
      {u"", RoadEnd::Installed, {u"label PRINTER", u"Label Printer(2)"}, {u"Add Printer Successful - Label Printer(2)"}},
      {u"sometimes", RoadEnd::Installed, {u"label PRINTER", u"Label Printer(2)"},
       {u"Add Printer Successful - Label Printer(2)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.ifExists, c.ifExists + std::char_traits<char16_t>::length(c.ifExists)));
    FakePrintPlatform local;
    InstallContext ctx = context;
    ctx.ifExists = c.ifExists;
    AddDriverPackage(local.files, ctx);
    local.spooler.AddTcpIpMonitor();
    local.spooler.AddPort(u"10.1.2.3", kTcpIpMonitorName);
    local.spooler.AddPrinter(u"label PRINTER", u"10.1.2.3");
    const std::size_t callsBefore = local.log.calls.size();
    EXPECT_EQ(c.end, RunInstallRoad(WizardPage::Network, u"10.1.2.3", kMain, ctx, local.platform));
    std::vector<std::u16string> printers;
    for (const FakePrinter& printer : local.spooler.printers) printers.push_back(printer.info.printerName);
    EXPECT_EQ(c.printers, printers);
    std::vector<std::u16string> texts;
    for (const RecordedBox& box : local.Boxes()) texts.push_back(box.text);
    EXPECT_EQ(c.boxes, texts);
    if (std::u16string_view(c.ifExists) == u"keep") {
      // Only the look for the printer: no port, copy, driver or printer call.
      const std::vector<std::string> methods = local.log.Methods();
      EXPECT_EQ((std::vector<std::string>{"LocalPrinters"}),
                std::vector<std::string>(methods.begin() + static_cast<long>(callsBefore), methods.end()));
    }
    if (std::u16string_view(c.ifExists) == u"Update") {
      EXPECT_EQ(1u, local.log.Count("SetPrinterW"));
      EXPECT_EQ(0u, local.log.Count("AddPrinterW"));
    }
  }
}
