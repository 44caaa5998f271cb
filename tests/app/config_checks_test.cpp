#include <gtest/gtest.h>

#include "app/config_checks.h"
#include "config/texts.h"

namespace {

InstallContext Valid() {
  InstallContext c;
  c.printerBaseName = u"Label Printer";
  c.driverPrefix = u"LBL";
  c.portMonitorName = u"Label USB Monitor";
  c.portNamePrefix = u"LBUSB";
  SelectLanguage(c, u"ENG");
  return c;
}

std::u16string Repeat(std::size_t n, char16_t c = u'A') { return std::u16string(n, c); }

}  // namespace

TEST(FindConfigRefusal, RefusesWhatWouldCorruptTheSpoolerOrBeHalfGuessed) {
  using F = ConfigFault;
  struct Case {
    const char* what;
    std::function<void(InstallContext&)> change;
    WizardPage page;
    std::optional<ConfigRefusal> expected;
  };
  const auto refusal = [](const char16_t* key, F fault, std::uint32_t limit = 0) {
    return std::optional<ConfigRefusal>(ConfigRefusal{key, fault, limit});
  };
  const Case cases[] = {
      {"valid", [](InstallContext&) {}, WizardPage::Usb, std::nullopt},
      {"empty name", [](InstallContext& c) { c.printerBaseName.clear(); }, WizardPage::Network,
       refusal(u"PrnName", F::Empty)},
      {"comma in name", [](InstallContext& c) { c.printerBaseName = u"Acc,Label"; }, WizardPage::Serial,
       refusal(u"PrnName", F::BadPrinterName)},
      {"backslash in name", [](InstallContext& c) { c.printerBaseName = u"Label\\X"; }, WizardPage::Parallel,
       refusal(u"PrnName", F::BadPrinterName)},
      {"name of 215 with room for (254)", [](InstallContext& c) { c.printerBaseName = Repeat(215); },
       WizardPage::Network, std::nullopt},
      {"name of 216", [](InstallContext& c) { c.printerBaseName = Repeat(216); }, WizardPage::Network,
       refusal(u"PrnName", F::TooLong, 215)},
      {"name that filled its buffer", [](InstallContext& c) { c.printerBaseName = Repeat(259); }, WizardPage::Usb,
       refusal(u"PrnName", F::TooLong, 215)},
      {"path in prefix", [](InstallContext& c) { c.driverPrefix = u"..\\..\\TRAV"; }, WizardPage::Network,
       refusal(u"Prefix", F::BadName)},
      {"dots in prefix", [](InstallContext& c) { c.driverPrefix = u".."; }, WizardPage::Network,
       refusal(u"Prefix", F::BadName)},
      {"colon in prefix", [](InstallContext& c) { c.driverPrefix = u"C:X"; }, WizardPage::Network,
       refusal(u"Prefix", F::BadName)},
      {"slash in prefix", [](InstallContext& c) { c.driverPrefix = u"A/B"; }, WizardPage::Network,
       refusal(u"Prefix", F::BadName)},
      {"blank in prefix", [](InstallContext& c) { c.driverPrefix = u"L BL"; }, WizardPage::Network,
       refusal(u"Prefix", F::BadName)},
      {"non-ASCII letter in prefix", [](InstallContext& c) { c.driverPrefix = u"L\u00c9L"; }, WizardPage::Network,
       refusal(u"Prefix", F::BadName)},
      {"plain prefix", [](InstallContext& c) { c.driverPrefix = u"Lb_l-2"; }, WizardPage::Network, std::nullopt},
      {"empty prefix", [](InstallContext& c) { c.driverPrefix.clear(); }, WizardPage::Network,
       refusal(u"Prefix", F::Empty)},
      {"prefix too long for its file names", [](InstallContext& c) { c.driverPrefix = Repeat(29); },
       WizardPage::Network, refusal(u"Prefix", F::TooLong, 28)},
      {"prefix that filled its buffer", [](InstallContext& c) { c.driverPrefix = Repeat(259); }, WizardPage::Network,
       refusal(u"Prefix", F::TooLong, 28)},
      {"bad address", [](InstallContext& c) { c.printerAddress = u"10.0.0.256"; }, WizardPage::Usb,
       refusal(u"IPAddress", F::BadAddress)},
      {"good address", [](InstallContext& c) { c.printerAddress = u"10.0.0.255"; }, WizardPage::Network,
       std::nullopt},
      {"leading zeros", [](InstallContext& c) { c.printerAddress = u"010.001.001.001"; }, WizardPage::Network,
       refusal(u"IPAddress", F::BadAddress)},
      {"no host", [](InstallContext& c) { c.printerAddress = u"0.0.0.0"; }, WizardPage::Network,
       refusal(u"IPAddress", F::BadAddress)},
      {"broadcast", [](InstallContext& c) { c.printerAddress = u"255.255.255.255"; }, WizardPage::Serial,
       refusal(u"IPAddress", F::BadAddress)},
      {"first multicast", [](InstallContext& c) { c.printerAddress = u"224.0.0.0"; }, WizardPage::Network,
       refusal(u"IPAddress", F::BadAddress)},
      {"last multicast", [](InstallContext& c) { c.printerAddress = u"239.255.255.255"; }, WizardPage::Usb,
       refusal(u"IPAddress", F::BadAddress)},
      {"below multicast", [](InstallContext& c) { c.printerAddress = u"223.255.255.255"; }, WizardPage::Network,
       std::nullopt},
      {"loopback", [](InstallContext& c) { c.printerAddress = u"127.0.0.1"; }, WizardPage::Network, std::nullopt},
      {"port prefix with a separator", [](InstallContext& c) { c.portNamePrefix = u"LB\\USB"; }, WizardPage::Usb,
       refusal(u"PortNamePrefix", F::BadName)},
      {"empty port prefix", [](InstallContext& c) { c.portNamePrefix.clear(); }, WizardPage::Usb,
       refusal(u"PortNamePrefix", F::Empty)},
      {"port prefix that filled its buffer", [](InstallContext& c) { c.portNamePrefix = Repeat(259); },
       WizardPage::Usb, refusal(u"PortNamePrefix", F::TooLong, 256)},
      {"port prefix of 256", [](InstallContext& c) { c.portNamePrefix = Repeat(256); }, WizardPage::Usb,
       std::nullopt},
      {"port prefix not needed without a monitor",
       [](InstallContext& c) {
         c.portMonitorName.clear();
         c.portNamePrefix = u"..";
       },
       WizardPage::Usb, std::nullopt},
      {"port prefix not needed off the USB page", [](InstallContext& c) { c.portNamePrefix = u".."; },
       WizardPage::Network, std::nullopt},
      {"monitor name that filled its buffer", [](InstallContext& c) { c.portMonitorName = Repeat(259); },
       WizardPage::Usb, refusal(u"PortMonitor", F::TooLong, 258)},
      {"filter that filled its buffer", [](InstallContext& c) { c.filterUsbPort = Repeat(259); }, WizardPage::Usb,
       refusal(u"FilterUsbPort", F::TooLong, 258)},
      {"filter of 258", [](InstallContext& c) { c.filterUsbPort = Repeat(258); }, WizardPage::Usb, std::nullopt},
      {"DATA section cut by the reader", [](InstallContext& c) { c.printerDataCut = true; }, WizardPage::Network,
       refusal(u"DATA", F::SectionTooLong, 32765)},
      {"DATA section cut, USB page", [](InstallContext& c) { c.printerDataCut = true; }, WizardPage::Usb,
       refusal(u"DATA", F::SectionTooLong, 32765)},
      {"DATA name of 259", [](InstallContext& c) { c.printerData = {{u"a", u"1"}, {Repeat(259), u"2"}}; },
       WizardPage::Network, std::nullopt},
      {"DATA name of 260", [](InstallContext& c) { c.printerData = {{u"a", u"1"}, {Repeat(260), u"2"}}; },
       WizardPage::Serial, refusal(u"DATA", F::NameTooLong, 259)},
      {"DATA value of any length", [](InstallContext& c) { c.printerData = {{u"a", Repeat(30000)}}; },
       WizardPage::Parallel, std::nullopt},
      {"name first, then DATA",
       [](InstallContext& c) {
         c.printerBaseName.clear();
         c.printerDataCut = true;
       },
       WizardPage::Network, refusal(u"PrnName", F::Empty)},
  };
  for (const Case& c : cases) {
    InstallContext context = Valid();
    c.change(context);
    EXPECT_EQ(c.expected, FindConfigRefusal(context, c.page)) << c.what;
  }
}

TEST(RefusalText, NamesTheKeyInTheCurrentLanguageWithItsCode) {
  InstallContext context = Valid();
  const ConfigRefusal tooLong{u"PrnName", ConfigFault::TooLong, 215};
  EXPECT_EQ(u"config.ini: PrnName is too long (at most 215 characters).", RefusalText(context, tooLong));
  EXPECT_EQ(206u, RefusalCode(tooLong));
  SelectLanguage(context, u"CHN");
  EXPECT_EQ(u"config.ini\uFF1APrnName \u592A\u957F\uFF08\u6700\u591A 215 \u4E2A\u5B57\u7B26\uFF09\u3002",
            RefusalText(context, tooLong));
  const ConfigRefusal prefix{u"Prefix", ConfigFault::BadName, 0};
  SelectLanguage(context, u"ENG");
  EXPECT_EQ(u"config.ini: Prefix may hold only letters, digits, _ and -.", RefusalText(context, prefix));
  EXPECT_EQ(123u, RefusalCode(prefix));
  EXPECT_EQ(1801u, RefusalCode({u"PrnName", ConfigFault::BadPrinterName, 0}));
  EXPECT_EQ(87u, RefusalCode({u"IPAddress", ConfigFault::BadAddress, 0}));
}

TEST(RefusalText, DataRefusalsNameTheSectionAndTheLimit) {
  InstallContext context = Valid();
  const ConfigRefusal section{u"DATA", ConfigFault::SectionTooLong, 32765};
  const ConfigRefusal name{u"DATA", ConfigFault::NameTooLong, 259};
  EXPECT_EQ(u"config.ini: the [DATA] section is too long (at most 32765 characters).", RefusalText(context, section));
  EXPECT_EQ(u"config.ini: a name in [DATA] is too long (at most 259 characters).", RefusalText(context, name));
  EXPECT_EQ(206u, RefusalCode(section));
  EXPECT_EQ(206u, RefusalCode(name));
  SelectLanguage(context, u"CHN");
  EXPECT_EQ(u"config.ini\uFF1A[DATA] \u8282\u592A\u957F\uFF08\u6700\u591A 32765 \u4E2A\u5B57\u7B26\uFF09\u3002",
            RefusalText(context, section));
}

TEST(CheckConfiguredLengths, NamesTheFirstValueThatWouldBeCut) {
  struct Case {
    const char* what;
    std::function<void(InstallContext&)> arrange;
    std::u16string text;  // empty: all fit
  } cases[] = {
      {"all fit", [](InstallContext&) {}, u""},
      {"Prefix", [](InstallContext& c) { c.driverPrefix = Repeat(29, u'P'); }, u"Prefix Too Long"},
      {"PortNamePrefix", [](InstallContext& c) { c.portNamePrefix = Repeat(257, u'p'); }, u"PortNamePrefix Too Long"},
      {"PortNamePrefix without a monitor",
       [](InstallContext& c) {
         c.portNamePrefix = Repeat(257, u'p');
         c.portMonitorName.clear();
       },
       u""},
      {"folder for the tools", [](InstallContext& c) { c.installDir = Repeat(233, u'd'); },
       u"Install Folder Too Long: " + Repeat(233, u'd')},
      {"folder for the package", [](InstallContext& c) { c.installDir = Repeat(234, u'd'); },
       u"Install Folder Too Long: " + Repeat(234, u'd')},
  };
  for (const Case& c : cases) {
    InstallContext context = Valid();
    context.installDir = u"C:\\Setup";
    context.setupDirName = u"SETUP64";
    context.monitorDirName = u"MONITOR64";
    c.arrange(context);
    const Outcome outcome = CheckConfiguredLengths(context);
    EXPECT_EQ(outcome.call, c.text) << c.what;
    EXPECT_EQ(outcome.code, c.text.empty() ? 0u : 206u) << c.what;
  }
}

TEST(CheckTypedAddress, RefusesOnTheNetworkPageWhatConfigIniWouldRefuse) {
  struct Case {
    WizardPage page;
    const char16_t* typed;
    std::u16string call;  // empty: ok
  } cases[] = {
      {WizardPage::Network, u"10.1.2.3", u""},
      {WizardPage::Network, u"127.0.0.1", u""},
      {WizardPage::Network, u"", u""},  // incomplete: the road asks for the rest
      {WizardPage::Network, u"0.0.0.0",
       u"0.0.0.0 is not a valid IPv4 address (four numbers from 0 to 255, such as 192.168.1.200)."},
      {WizardPage::Network, u"255.255.255.255",
       u"255.255.255.255 is not a valid IPv4 address (four numbers from 0 to 255, such as 192.168.1.200)."},
      {WizardPage::Network, u"224.0.0.1",
       u"224.0.0.1 is not a valid IPv4 address (four numbers from 0 to 255, such as 192.168.1.200)."},
      {WizardPage::Serial, u"COM1", u""},
      {WizardPage::Usb, u"0.0.0.0", u""},
  };
  const InstallContext context = Valid();
  for (const Case& c : cases) {
    const Outcome outcome = CheckTypedAddress(context, c.page, c.typed);
    EXPECT_EQ(c.call, outcome.call) << outcome.call.size();
    EXPECT_EQ(c.call.empty() ? 0u : 87u, outcome.code);
  }
  InstallContext chinese = Valid();
  SelectLanguage(chinese, u"CHN");
  EXPECT_EQ(u"0.0.0.0 \u4E0D\u662F\u6709\u6548\u7684IPv4\u5730\u5740\uFF08\u56DB\u4E2A0\u5230255\u4E4B\u95F4\u7684"
            u"\u6570\u5B57\uFF0C\u4F8B\u5982192.168.1.200\uFF09\u3002",
            CheckTypedAddress(chinese, WizardPage::Network, u"0.0.0.0").call);
}
