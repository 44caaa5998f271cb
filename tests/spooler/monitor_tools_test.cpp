#include <gtest/gtest.h>

#include <functional>

#include "fake_print_services.h"

namespace {

constexpr WindowHandle kMain = 0x1234;
const std::u16string kMonitor = u"Label USB Monitor";

InstallContext Context64() {
  InstallContext context;
  context.installDir = u"C:\\Setup";
  context.monitorDirName = u"MONITOR64";
  return context;
}

TEST(MonitorTools, SetupStartsHiddenFromItsFolderAndIsWaitedFor) {
  for (const char16_t* dir : {u"MONITOR64", u"MONITOR32"}) {
    FakePrintPlatform fake;
    InstallContext context = Context64();
    context.monitorDirName = dir;
    const std::u16string folder = u"C:\\Setup\\" + std::u16string(dir);
    fake.files.AddFile(folder + u"\\MonitorSetup.exe");
    RunMonitorSetup(context, fake.platform, kMain);
    ASSERT_EQ(fake.shell.executed.size(), 1u);
    const ShellExecuteInfo& info = fake.shell.executed[0];
    EXPECT_EQ(info.fMask, 0x440u);  // SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI
    EXPECT_EQ(info.hwnd, kMain);
    EXPECT_EQ(info.lpVerb, u"open");
    EXPECT_EQ(info.lpFile, folder + u"\\MonitorSetup.exe");
    EXPECT_EQ(info.lpParameters, u"update");
    EXPECT_EQ(info.lpDirectory, folder);
    EXPECT_EQ(info.nShow, 0);
    EXPECT_EQ(fake.log.Methods(),
              (std::vector<std::string>{"ShellExecuteExW", "WaitForSingleObject", "CloseHandle"}));
    EXPECT_EQ(fake.log.calls[1], "WaitForSingleObject(1792, 4294967295)");
    EXPECT_TRUE(fake.shell.openProcesses.empty());
    EXPECT_TRUE(fake.Boxes().empty());
  }
}

TEST(MonitorTools, PurgeScriptFromUtilsWithoutArguments) {
  FakePrintPlatform fake;
  fake.files.AddFile(u"C:\\Setup\\UTILS\\DeletePrintJobs.bat");
  RunDeletePrintJobs(Context64(), fake.platform, kMain);
  ASSERT_EQ(fake.shell.executed.size(), 1u);
  EXPECT_EQ(fake.shell.executed[0].lpFile, u"C:\\Setup\\UTILS\\DeletePrintJobs.bat");
  EXPECT_EQ(fake.shell.executed[0].lpDirectory, u"C:\\Setup\\UTILS");
  EXPECT_EQ(fake.shell.executed[0].lpParameters, std::nullopt);
  EXPECT_EQ(fake.log.Count("WaitForSingleObject"), 1u);
}

// The shell's own box would say "File not found" and name nothing: the outcome names the tool.
TEST(MonitorTools, AToolThatCannotStartIsNamedWithTheShellsErrorAndNotWaitedFor) {
  struct Case {
    const char* what;
    bool setup;
    std::function<void(FakePrintPlatform&)> arrange;
    std::u16string call;
    std::uint32_t code;
  } cases[] = {
      {"setup missing", true, [](FakePrintPlatform&) {}, u"Cannot Start Tool: C:\\Setup\\MONITOR64\\MonitorSetup.exe", 2},
      {"script missing", false, [](FakePrintPlatform&) {}, u"Cannot Start Tool: C:\\Setup\\UTILS\\DeletePrintJobs.bat", 2},
      {"setup refused", true,
       [](FakePrintPlatform& f) {
         f.files.AddFile(u"C:\\Setup\\MONITOR64\\MonitorSetup.exe");
         f.shell.Fail("ShellExecuteExW", 1223);
       },
       u"Cannot Start Tool: C:\\Setup\\MONITOR64\\MonitorSetup.exe", 1223},
      {"setup there", true,
       [](FakePrintPlatform& f) { f.files.AddFile(u"C:\\Setup\\MONITOR64\\MonitorSetup.exe"); }, u"", 0},
  };
  for (const Case& c : cases) {
    FakePrintPlatform fake;
    c.arrange(fake);
    const Outcome outcome = c.setup ? RunMonitorSetup(Context64(), fake.platform, kMain)
                                    : RunDeletePrintJobs(Context64(), fake.platform, kMain);
    EXPECT_EQ(outcome.call, c.call) << c.what;
    EXPECT_EQ(outcome.code, c.code) << c.what;
    EXPECT_FALSE(outcome.plain) << c.what;
    EXPECT_TRUE(fake.shell.shellBoxes.empty()) << c.what;
    EXPECT_TRUE(fake.Boxes().empty()) << c.what;  // the caller shows the outcome
    EXPECT_EQ(fake.log.Count("WaitForSingleObject"), c.call.empty() ? 1u : 0u) << c.what;
  }
}

TEST(MonitorTools, AFolderTooLongForTheToolPathStartsNothing) {
  FakePrintPlatform fake;
  InstallContext context = Context64();
  context.installDir = u"C:\\" + std::u16string(230, u'd');  // + \MONITOR64\MonitorSetup.exe = 260
  const Outcome outcome = RunMonitorSetup(context, fake.platform, kMain);
  EXPECT_TRUE(fake.log.calls.empty());
  EXPECT_EQ(outcome.call.substr(0, 25), u"Install Folder Too Long: ");
  EXPECT_EQ(outcome.code, 206u);
  context.installDir.pop_back();
  EXPECT_TRUE(MonitorSetupLaunch(context));
}

class MonitorPortQueryTest : public ::testing::Test {
 protected:
  MonitorPortQueryTest() : monitor(fake.spooler.AddMonitor(kMonitor)) {
    fake.spooler.AddPort(u"LBUSB001", kMonitor);
    fake.spooler.AddPort(u"LPT1:", u"Local Port");
  }
  FakePrintPlatform fake;
  FakeMonitor& monitor;
  CustomPortRecord answer{};
};

TEST_F(MonitorPortQueryTest, OwnPortAnswersGetPort) {
  monitor.getPortAnswer = {'L', 0, 'B', 0};
  EXPECT_TRUE(QueryMonitorPort(fake.platform, u"LBUSB001", answer));
  EXPECT_EQ(fake.log.calls, (std::vector<std::string>{"OpenPrinterW(\", XcvPort LBUSB001\", 1)",
                                                      "XcvDataW(\", XcvPort LBUSB001\", \"GetPort\", 18, 2620)",
                                                      "ClosePrinter(\", XcvPort LBUSB001\")"}));
  EXPECT_EQ(fake.spooler.xcvCalls[0].input, TextBytes(u"LBUSB001"));
  EXPECT_EQ(answer[0], 'L');
}

TEST_F(MonitorPortQueryTest, AnythingElseIsNotTheMonitors) {
  EXPECT_EQ(QueryMonitorPort(fake.platform, u"LPT1:", answer), false);  // another monitor: status 87
  EXPECT_EQ(QueryMonitorPort(fake.platform, u"NOPORT", answer), false);  // cannot be opened
  monitor.getPortStatus = 5;
  EXPECT_EQ(QueryMonitorPort(fake.platform, u"LBUSB001", answer), false);
  monitor.answersGetPort = false;
  EXPECT_EQ(QueryMonitorPort(fake.platform, u"LBUSB001", answer), false);
  EXPECT_EQ(fake.spooler.OpenHandleCount(), 0u);
}

TEST_F(MonitorPortQueryTest, PortNameTooLongForTheHandleNameIsNotAsked) {
  std::u16string longest(249, u'p');
  fake.spooler.AddPort(longest, kMonitor);
  fake.spooler.AddPort(longest + u"p", kMonitor);
  EXPECT_EQ(QueryMonitorPort(fake.platform, longest, answer), true);
  fake.log.Clear();
  // Cut to 249 it would ask the other port.
  EXPECT_EQ(QueryMonitorPort(fake.platform, longest + u"p", answer), false);
  EXPECT_TRUE(fake.log.calls.empty());
}

TEST(PrinterJobCount, ReadsTheQueuedJobs) {
  FakePrintPlatform fake;
  fake.spooler.AddPrinter(u"Label", u"LBUSB001", 3);
  EXPECT_EQ(GetPrinterJobCount(fake.platform, u"Label"), 3u);
  EXPECT_EQ(fake.log.Methods(), (std::vector<std::string>{"OpenPrinterW", "Printer", "ClosePrinter"}));
  EXPECT_EQ(fake.log.calls[0], "OpenPrinterW(\"Label\", 983052)");
}

TEST(PrinterJobCount, FailuresLeaveTheCountUntouched) {
  struct Case {
    const char* what;
    std::function<void(FakeSpooler&)> arrange;
    std::size_t closes;
  } cases[] = {
      {"cannot open", [](FakeSpooler& s) { s.Fail("OpenPrinterW", 5); }, 0},
      {"size query fails otherwise", [](FakeSpooler& s) { s.Fail("Printer", 5); }, 1},
      {"no memory", [](FakeSpooler& s) { s.FailAllocation("Printer"); }, 1},
      {"the fill fails", [](FakeSpooler& s) { s.FailRead("Printer", ReadStage::FillFailed, 5); }, 1},
  };
  for (const Case& c : cases) {
    FakePrintPlatform fake;
    fake.spooler.AddPrinter(u"Label", u"LBUSB001", 3);
    c.arrange(fake.spooler);
    EXPECT_EQ(GetPrinterJobCount(fake.platform, u"Label"), std::nullopt) << c.what;
    EXPECT_EQ(fake.log.Count("ClosePrinter"), c.closes) << c.what;
    EXPECT_EQ(fake.spooler.OpenHandleCount(), 0u) << c.what;
  }
}

class PendingJobsTest : public ::testing::Test {
 protected:
  PendingJobsTest() {
    fake.spooler.AddMonitor(kMonitor);
    fake.spooler.AddPort(u"LBUSB001", kMonitor);
    fake.spooler.AddPort(u"LBUSB002", kMonitor);
    fake.spooler.AddPort(u"LPT1:");
  }
  // The printers whose jobs were asked, in order.
  std::vector<std::string> Asked() {
    std::vector<std::string> asked;
    for (const std::string& call : fake.log.Named("Printer")) asked.push_back(call.substr(9, call.find('"', 9) - 9));
    return asked;
  }
  FakePrintPlatform fake;
};

TEST_F(PendingJobsTest, NoPrintersNoPurge) {
  EXPECT_FALSE(HasPendingJobsOnMonitorPorts(fake.platform));
  EXPECT_EQ(fake.log.Methods(), std::vector<std::string>{"LocalPrinters"});
}

TEST_F(PendingJobsTest, OnlyPrintersOnTheMonitorsPortsCount) {
  fake.spooler.AddPrinter(u"Parallel", u"LPT1:", 7);
  fake.spooler.AddPrinter(u"Idle", u"LBUSB001", 0);
  fake.spooler.AddPrinter(u"Busy", u"LBUSB002", 3);
  fake.spooler.AddPrinter(u"Later", u"LBUSB001", 5);
  EXPECT_TRUE(HasPendingJobsOnMonitorPorts(fake.platform));
  EXPECT_EQ(Asked(), (std::vector<std::string>{"Idle", "Busy"}));
  EXPECT_EQ(fake.spooler.OpenHandleCount(), 0u);
}

TEST_F(PendingJobsTest, UnreadableOrEmptyQueuesAreSkipped) {
  fake.spooler.AddPrinter(u"Locked", u"LBUSB001", 4);
  fake.spooler.AddPrinter(u"Idle", u"LBUSB002", 0);
  fake.spooler.AddPrinter(u"Parallel", u"LPT1:", 7);
  fake.spooler.Fail("OpenPrinterW", 5, 2);  // 1: the port handle; 2: the printer "Locked"
  EXPECT_FALSE(HasPendingJobsOnMonitorPorts(fake.platform));
}

TEST_F(PendingJobsTest, EnumerationFailuresMeanNoPurge) {
  fake.spooler.AddPrinter(u"Busy", u"LBUSB001", 3);
  for (auto arrange : std::vector<std::function<void(FakeSpooler&)>>{
           [](FakeSpooler& s) { s.Fail("LocalPrinters", 5); }, [](FakeSpooler& s) { s.FailAllocation("LocalPrinters"); },
           [](FakeSpooler& s) { s.FailRead("LocalPrinters", ReadStage::FillFailed, 5); }}) {
    FakeSpooler& spooler = fake.spooler;
    spooler.failures = FailureSwitch();
    spooler.readStages.clear();
    arrange(spooler);
    EXPECT_FALSE(HasPendingJobsOnMonitorPorts(fake.platform));
  }
  EXPECT_TRUE(Asked().empty());
}

}  // namespace
