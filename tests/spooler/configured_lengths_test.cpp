#include "spooler/configured_lengths.h"

#include <gtest/gtest.h>

#include "fake_print_services.h"

namespace {

InstallContext Fitting() {
  InstallContext context;
  context.installDir = u"C:\\Setup";
  context.setupDirName = u"SETUP64";
  context.monitorDirName = u"MONITOR64";
  context.languageCode = u"ENG";
  context.driverPrefix = u"LBL";
  context.portMonitorName = u"Label USB Monitor";
  context.portNamePrefix = u"LBUSB";
  return context;
}

TEST(ConfiguredLengths, OneBoxNamingTheFirstValueThatDoesNotFit) {
  struct Case {
    const char* what;
    std::function<void(InstallContext&)> arrange;
    std::optional<std::u16string> text;
  } cases[] = {
      {"all fit", [](InstallContext&) {}, std::nullopt},
      {"Prefix", [](InstallContext& c) { c.driverPrefix = std::u16string(29, u'P'); }, u"Prefix Too Long"},
      {"PortNamePrefix", [](InstallContext& c) { c.portNamePrefix = std::u16string(257, u'p'); },
       u"PortNamePrefix Too Long"},
      {"PortNamePrefix without a monitor", [](InstallContext& c) {
         c.portNamePrefix = std::u16string(257, u'p');
         c.portMonitorName.clear();
       }, std::nullopt},
      {"folder for the tools", [](InstallContext& c) { c.installDir = std::u16string(233, u'd'); },
       u"Install Folder Too Long: " + std::u16string(233, u'd')},
      {"folder for the package", [](InstallContext& c) { c.installDir = std::u16string(234, u'd'); },
       u"Install Folder Too Long: " + std::u16string(234, u'd')},
  };
  for (const Case& c : cases) {
    ScopedFakeDiagnostics diagnostics;
    InstallContext context = Fitting();
    c.arrange(context);
    EXPECT_EQ(CheckConfiguredLengths(context, 0x99), c.text ? 0 : 1) << c.what;
    if (!c.text) {
      EXPECT_TRUE(diagnostics.dialogs.boxes.empty()) << c.what;
      continue;
    }
    ASSERT_EQ(diagnostics.dialogs.boxes.size(), 1u) << c.what;
    EXPECT_EQ(diagnostics.dialogs.boxes[0].owner, 0x99u);
    EXPECT_EQ(diagnostics.dialogs.boxes[0].text, ErrorText(206, *c.text)) << c.what;
  }
}

}  // namespace
