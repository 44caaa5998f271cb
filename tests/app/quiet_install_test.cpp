// A run without a window: the road config.ini names, on what its page would have offered first.
#include <gtest/gtest.h>

#include "app/quiet_install.h"
#include "app/road_context.h"
#include "app/start_up.h"
#include "config/texts.h"
#include "spooler/fake_print_services.h"
#include "usb/fake_device_tree.h"

namespace {

constexpr std::uint16_t kEnglishUi = 0x0409;

class QuietInstallTest : public ::testing::Test {
 protected:
  QuietInstallTest() : context(RoadTestContext()) {
    context.defaultLanguage = u"ENG";
    AddDriverPackage(fake.files, context);
    fake.spooler.AddTcpIpMonitor();
  }

  // The language as the run's start selects it, then the quiet install.
  int Run(std::uint16_t ui = kEnglishUi) {
    SelectStartLanguage(context, ui);
    return RunQuietInstall(context, fake.platform, usb);
  }
  QuietChoice Choose() { return ChooseQuietRoad(context, fake.platform, usb); }

  std::vector<std::u16string> BoxTexts() const {
    std::vector<std::u16string> texts;
    for (const RecordedBox& box : fake.Boxes()) texts.push_back(box.text);
    return texts;
  }

  InstallContext context;
  FakePrintPlatform fake;
  FakeDeviceTree tree;
  UsbPlatform usb{tree, tree, fake.spooler};
};

TEST_F(QuietInstallTest, EachConnectionTypeTakesWhatItsPageWouldOfferFirst) {
  struct Case {
    const char16_t* portType;
    const char16_t* monitor;
    std::vector<std::u16string> ports;  // in the spooler's order
    WizardPage page;
    std::u16string text;
  };
  const Case cases[] = {
      {u"ETH", u"", {}, WizardPage::Network, u"10.9.8.7"},
      {u"COM", u"", {u"COM3:", u"LPT1:", u"com2:", u"COM10:"}, WizardPage::Serial, u"COM10:"},  // sorted list
      {u"LPT", u"", {u"LPT2:", u"COM1:", u"LPT1:"}, WizardPage::Parallel, u"LPT2:"},        // spooler's order
      {u"USB", u"", {u"USB002", u"USB001"}, WizardPage::Usb, u"USB002"},
      {u"", u"", {}, WizardPage::Usb, u"USB001"},  // no USB port: the page's default text
      {u"", u"Label USB Monitor", {u"USB001"}, WizardPage::Usb, u""},  // no device attached
  };
  for (const Case& c : cases) {
    FakePrintPlatform local;
    for (const std::u16string& port : c.ports) local.spooler.AddPort(port);
    UsbPlatform localUsb{tree, tree, local.spooler};
    InstallContext ctx = context;
    ctx.defaultPortType = c.portType;
    ctx.portMonitorName = c.monitor;
    ctx.printerAddress = u"10.9.8.7";
    const QuietChoice choice = ChooseQuietRoad(ctx, local.platform, localUsb);
    EXPECT_EQ(c.page, choice.page);
    EXPECT_EQ(c.text, choice.text);
  }
}

TEST_F(QuietInstallTest, TheFirstAttachedDeviceForTheMonitor) {
  tree.devices = {UsbPrinter(1, {"\\\\?\\usb#vid_1a2b&pid_4d5e#7&1&0&1#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}"}),
                  UsbPrinter(2, {"\\\\?\\usb#vid_1a2b&pid_0001#7&1&0&2#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}"})};
  context.portMonitorName = u"Label USB Monitor";
  EXPECT_EQ(u"VID:0x1A2B,PID:0x4D5E", Choose().text);
}

TEST_F(QuietInstallTest, NetworkInstallsOnTheConfiguredAddress) {
  context.defaultPortType = u"ETH";
  context.printerAddress = u"10.9.8.7";
  EXPECT_EQ(0, Run());
  ASSERT_NE(nullptr, fake.spooler.FindPrinter(u"Label Printer"));
  EXPECT_EQ(u"10.9.8.7", fake.spooler.FindPrinter(u"Label Printer")->info.portName);
  EXPECT_EQ(std::vector<std::u16string>{u"Add Printer Successful - Label Printer"}, BoxTexts());
}

TEST_F(QuietInstallTest, NetworkWithoutAnAddressChangesNothing) {
  context.defaultPortType = u"ETH";
  EXPECT_EQ(1603, Run());
  EXPECT_TRUE(fake.log.calls.empty());
  EXPECT_EQ(std::vector<std::u16string>{u"config.ini: IPAddress is empty. - ERROR CODE: 123\r\n"}, BoxTexts());
}

TEST_F(QuietInstallTest, SerialOpensNoPortDialog) {
  context.defaultPortType = u"COM";
  fake.spooler.AddPort(u"COM1:");
  EXPECT_EQ(0, Run());
  EXPECT_TRUE(fake.log.Named("ConfigurePortW").empty());
  ASSERT_NE(nullptr, fake.spooler.FindPrinter(u"Label Printer"));
  EXPECT_EQ(u"COM1:", fake.spooler.FindPrinter(u"Label Printer")->info.portName);
}

TEST_F(QuietInstallTest, NoDeviceForTheMonitorFailsWithTheHintInTheChosenLanguage) {
  context.defaultPortType = u"USB";
  context.defaultLanguage = u"";
  context.portMonitorName = u"Label USB Monitor";
  context.portNamePrefix = u"LBUSB";
  EXPECT_EQ(1603, Run(0x0804));  // a Chinese interface chooses Chinese, as the wizard would
  EXPECT_EQ(u"CHN", context.languageCode);
  EXPECT_EQ(std::vector<std::u16string>{std::u16string(LookupTextIn(kChineseTableIndex, u"HintNotFindUSBPrinter")) +
                                        u" - ERROR CODE: 0\r\n"},
            BoxTexts());
  EXPECT_TRUE(fake.log.Named("ShellExecuteExW").empty());
}

}  // namespace
