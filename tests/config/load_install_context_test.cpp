#include <gtest/gtest.h>

#include "config/fake_module_path.h"
#include "config/fake_profile_reader.h"
#include "config/fake_system_info.h"
#include "config/load_install_context.h"
#include "diag/fake_diagnostics.h"

namespace {

const std::u16string kConfig = u"C:\\Setup\\config.ini";

struct Loader {
  FakeModulePath module;
  FakeProfileReader profile;
  FakeSystemInfo system;
  InstallContext context;
  Loader() { profile.path = kConfig; }
  void Load() { LoadInstallContext(context, module, profile, system); }
};

// The example file that uses every key.
void AddExample(FakeProfileReader& profile) {
  profile.Add(u"ARGS", u"Caption=Label Printer Setup");
  profile.Add(u"ARGS", u"PrnName=Label Printer");
  profile.Add(u"ARGS", u"Prefix=LBL");
  profile.Add(u"ARGS", u"DefaultLanguage=ENG");
  profile.Add(u"ARGS", u"DefaultPorttype=USB");
  profile.Add(u"ARGS", u"PortMonitor=Label USB Monitor");
  profile.Add(u"ARGS", u"PortNamePrefix=LBUSB");
  profile.Add(u"ARGS", u"IPAddress=10.1.2.3");
  profile.Add(u"ARGS", u"IfExists=Keep");
  profile.Add(u"SKIP", u"Language=1");
  profile.Add(u"SKIP", u"Port=0");
  profile.Add(u"SKIP", u"AutoInstall=0");
  profile.Add(u"USB", u"FilterVid=1A2B");
  profile.Add(u"USB", u"FilterPid=5E6F");
  profile.Add(u"USB", u"FilterUsbPort=");
  profile.Add(u"DATA", u"PaperName=Label 60x40");
  profile.Add(u"DATA", u"Darkness=8");
}

}  // namespace

TEST(LoadInstallContext, ReadsEveryKeyOfTheExample) {
  Loader l;
  AddExample(l.profile);
  l.Load();
  const InstallContext& c = l.context;
  EXPECT_EQ(u"C:\\Setup", c.installDir);
  EXPECT_EQ(kConfig, c.configPath);
  EXPECT_EQ(u"Label Printer Setup", c.caption);
  EXPECT_EQ(u"Label Printer", c.printerBaseName);
  EXPECT_EQ(u"LBL", c.driverPrefix);
  EXPECT_EQ(u"ENG", c.defaultLanguage);
  EXPECT_EQ(u"USB", c.defaultPortType);
  EXPECT_EQ(u"Label USB Monitor", c.portMonitorName);
  EXPECT_EQ(u"LBUSB", c.portNamePrefix);
  EXPECT_EQ(u"10.1.2.3", c.printerAddress);
  EXPECT_EQ(u"Keep", c.ifExists);
  EXPECT_EQ(1u, c.skipLanguage);
  EXPECT_EQ(0u, c.skipPort);
  EXPECT_EQ(0u, c.autoInstall);
  EXPECT_EQ(u"1A2B", c.filterVid);
  EXPECT_EQ(u"5E6F", c.filterPid);
  EXPECT_EQ(u"", c.filterUsbPort);
  EXPECT_EQ(u"SETUP64", c.setupDirName);
  EXPECT_EQ(u"MONITOR64", c.monitorDirName);
  EXPECT_EQ(u"CHN", c.languageCode);
  EXPECT_EQ(1, c.languageIndex);  // only SelectLanguage changes it
  EXPECT_EQ(ParsePrinterData(std::u16string(u"PaperName=Label 60x40\0Darkness=8\0\0", 34)), c.printerData);
}

TEST(LoadInstallContext, CallsInReadingOrderWithEmptyDefaultsAnd260Units) {
  Loader l;
  l.Load();
  using C = FakeProfileReader::Call;
  const std::vector<C> expected = {
      {u"String", u"ARGS", u"Caption", 260, kConfig},     {u"String", u"ARGS", u"PrnName", 260, kConfig},
      {u"String", u"ARGS", u"Prefix", 260, kConfig},      {u"String", u"ARGS", u"DefaultLanguage", 260, kConfig},
      {u"String", u"ARGS", u"DefaultPorttype", 260, kConfig}, {u"String", u"ARGS", u"PortMonitor", 260, kConfig},
      {u"String", u"ARGS", u"PortNamePrefix", 260, kConfig},  {u"String", u"ARGS", u"IPAddress", 260, kConfig},
      {u"String", u"ARGS", u"IfExists", 260, kConfig},    {u"String", u"ARGS", u"NoTargetMatched", 260, kConfig},
      {u"String", u"ARGS", u"SpoolerWait", 260, kConfig},
      {u"Int", u"SKIP", u"Language", 0, kConfig},
      {u"Int", u"SKIP", u"Port", 0, kConfig},             {u"Int", u"SKIP", u"AutoInstall", 0, kConfig},
      {u"String", u"USB", u"FilterVid", 260, kConfig},    {u"String", u"USB", u"FilterPid", 260, kConfig},
      {u"String", u"USB", u"FilterUsbPort", 260, kConfig}, {u"Section", u"DATA", u"", 32768, kConfig},
      {u"Section", u"DEVMODE", u"", 2080, kConfig},
  };
  EXPECT_EQ(expected, l.profile.calls);
  EXPECT_EQ((std::vector<std::u16string>{u"GetModuleFileNameW", u"PathRemoveFileSpecW"}), l.module.calls);
}

TEST(LoadInstallContext, MissingFileOrSectionGivesDefaults) {
  for (bool fileExists : {false, true}) {
    SCOPED_TRACE(fileExists ? "file without sections" : "no file");
    Loader l;
    if (!fileExists) l.profile.path = u"C:\\Elsewhere\\config.ini";
    l.Load();
    const InstallContext& c = l.context;
    for (const std::u16string* text : {&c.caption, &c.printerBaseName, &c.driverPrefix, &c.defaultLanguage,
                                       &c.defaultPortType, &c.portMonitorName, &c.portNamePrefix, &c.printerAddress, &c.ifExists, &c.filterVid,
                                       &c.filterPid, &c.filterUsbPort}) {
      EXPECT_EQ(u"", *text);
    }
    EXPECT_TRUE(c.printerData.empty());
    EXPECT_EQ(0u, c.skipLanguage + c.skipPort + c.autoInstall);
    EXPECT_EQ(u"CHN", c.languageCode);
    EXPECT_EQ(u"C:\\Setup", c.installDir);
  }
}

TEST(LoadInstallContext, SkipFlagsCountAnyNonZero) {
  struct Case {
    const char16_t* line;  // nullptr: the key is missing
    std::uint32_t expected;
  };
  const Case cases[] = {{u"Language=2", 2}, {u"Language=1", 1}, {u"Language=0", 0},
                        {u"Language=", 0},  {nullptr, 0},       {u"language=3", 3}};
  for (const Case& k : cases) {
    Loader l;
    l.profile.AddSection(u"SKIP");
    if (k.line) l.profile.Add(u"SKIP", k.line);
    l.Load();
    EXPECT_EQ(k.expected, l.context.skipLanguage) << (k.line ? "with a line" : "missing");
  }
}

TEST(LoadInstallContext, LongValuesAreCutTo259Units) {
  Loader l;
  l.profile.Add(u"ARGS", u"Caption=" + std::u16string(300, u'c'));
  l.profile.Add(u"USB", u"FilterUsbPort=" + std::u16string(259, u'u'));
  l.Load();
  EXPECT_EQ(std::u16string(259, u'c'), l.context.caption);
  EXPECT_EQ(std::u16string(259, u'u'), l.context.filterUsbPort);
}

TEST(LoadInstallContext, DirectoryNamesFollowTheOsWidth) {
  struct Case {
    std::uint16_t architecture;
    const char16_t* setup;
    const char16_t* monitor;
  };
  const Case cases[] = {{9, u"SETUP64", u"MONITOR64"}, {6, u"SETUP64", u"MONITOR64"},
                        {0, u"SETUP", u"MONITOR32"},   {12, u"SETUP", u"MONITOR32"}};
  for (const Case& k : cases) {
    Loader l;
    l.system.nativeArchitecture = k.architecture;
    l.Load();
    EXPECT_EQ(k.setup, l.context.setupDirName) << k.architecture;
    EXPECT_EQ(k.monitor, l.context.monitorDirName) << k.architecture;
  }
}

TEST(LoadInstallContext, DataEntriesKeepFileOrderAndForm) {
  Loader l;
  l.profile.Add(u"DATA", u"x=y=z");
  l.profile.Add(u"DATA", u"NoEquals");
  l.profile.Add(u"DATA", u"Empty=");
  l.Load();
  EXPECT_EQ((std::vector<PrinterDataEntry>{{u"x", u"y=z"}, {u"Empty", u""}}), l.context.printerData);
}

TEST(LoadInstallContext, DataSectionThatDoesNotFitIsTracedAndItsCutEntryDropped) {
  ScopedFakeDiagnostics diag;
  Loader l;
  // 3000 entries of 13 units each ("K00000=value" and its NUL) make 39000 units, more than 32768.
  for (int i = 0; i < 3000; ++i) {
    std::string digits = std::to_string(i);
    std::u16string name = u"K" + std::u16string(5 - digits.size(), u'0');
    for (char d : digits) name.push_back(static_cast<char16_t>(d));
    l.profile.Add(u"DATA", name + u"=value");
  }
  l.Load();
  const std::vector<PrinterDataEntry>& data = l.context.printerData;
  // 32766 units hold 2520 whole entries (32760 units); the 2521st was cut and is not used.
  ASSERT_EQ(2520u, data.size());
  EXPECT_EQ((PrinterDataEntry{u"K02519", u"value"}), data.back());
  EXPECT_TRUE(l.context.printerDataCut);
  ASSERT_EQ(1u, diag.output.wide.size());
  EXPECT_EQ(u"Tollinder - DATA section larger than 32768 units, the entries past it are not used",
            diag.output.wide[0]);
}

TEST(LoadInstallContext, DataSectionIsCutExactlyWhenItsEntriesPassTheLimit) {
  // One entry "K=" and its value, with its NUL: the section takes value + 3 units.
  struct Case {
    std::size_t units;  // the entries with their terminators
    bool cut;
  } cases[] = {{100, false}, {kLongestPrinterDataSection, false}, {kLongestPrinterDataSection + 1, true},
               {kPrinterDataCapacity, true}, {kPrinterDataCapacity * 2, true}};
  for (const Case& c : cases) {
    Loader l;
    l.profile.Add(u"DATA", u"K=" + std::u16string(c.units - 3, u'v'));
    l.Load();
    EXPECT_EQ(c.cut, l.context.printerDataCut) << c.units;
  }
}

TEST(LoadInstallContext, DataSectionThatFitsIsNotTraced) {
  ScopedFakeDiagnostics diag;
  Loader l;
  l.profile.Add(u"DATA", u"Big=" + std::u16string(30000, u'v'));
  l.Load();
  ASSERT_EQ(1u, l.context.printerData.size());
  EXPECT_EQ(30000u, l.context.printerData[0].value.size());
  EXPECT_FALSE(l.context.printerDataCut);
  EXPECT_TRUE(diag.output.wide.empty());
}

TEST(LoadInstallContext, UnknownOrCutConfigPathReadsNothing) {
  struct Case {
    const char* what;
    std::u16string exePath;
    bool fail;
    std::u16string installDir;
  };
  const std::u16string dir250 = u"C:\\" + std::u16string(247, u'd');
  const std::u16string dir258 = u"C:\\" + std::u16string(255, u'e');
  const Case cases[] = {
      // 250 units leave no room for "\config.ini" in 259.
      {"config path cut", dir250 + u"\\a.exe", false, dir250},
      // The executable's own path was cut: its directory part may be wrong too.
      {"exe path cut", dir258 + u"\\setup.exe", false, dir258},
      {"exe path unknown", u"C:\\Setup\\setup.exe", true, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScopedFakeDiagnostics diag;
    Loader l;
    l.module.exePath = c.exePath;
    l.module.failGetModuleFileName = c.fail;
    l.Load();
    EXPECT_EQ(c.installDir, l.context.installDir);
    EXPECT_TRUE(l.profile.calls.empty());
    EXPECT_EQ(u"SETUP64", l.context.setupDirName);
    EXPECT_EQ(u"CHN", l.context.languageCode);
    ASSERT_EQ(1u, diag.output.wide.size());
    EXPECT_EQ(u"Tollinder - Config path unknown or longer than 259 units, config.ini not read",
              diag.output.wide[0]);
  }
}

TEST(LoadInstallContext, LongestPathThatFitsIsRead) {
  Loader l;
  const std::u16string dir = u"C:\\" + std::u16string(245, u'd');  // 248 + "\config.ini" = 259
  l.module.exePath = dir + u"\\a.exe";
  l.profile.path = dir + u"\\config.ini";
  l.profile.Add(u"ARGS", u"Caption=found");
  l.Load();
  EXPECT_EQ(u"found", l.context.caption);
}

TEST(WholeSectionEntries, KeepsOnlyEntriesEndedBeforeTheCount) {
  const std::u16string buffer(u"a=1\0b=2\0\0\0", 10);
  EXPECT_EQ(std::u16string(u"a=1\0b=2\0\0", 9), WholeSectionEntries(buffer, 8));
  EXPECT_EQ(std::u16string(u"a=1\0\0", 5), WholeSectionEntries(buffer, 6));  // "b=" was cut
  EXPECT_EQ(u"", WholeSectionEntries(buffer, 0));
  EXPECT_EQ(u"", WholeSectionEntries(std::u16string(4, u'\0'), 2));
  EXPECT_EQ(u"", WholeSectionEntries(u"", 5));  // a count past the buffer reads no further
}

TEST(GetOsBitness, NativeArchitectureWhenOfferedElseTheEmulatedOne) {
  struct Case {
    bool kernel, native;
    std::uint16_t nativeArch, emulatedArch;
    int expected;
    std::vector<std::u16string> calls;
  };
  const std::vector<std::u16string> viaNative = {u"GetModuleHandleW kernel32", u"GetProcAddress GetNativeSystemInfo",
                                                 u"GetNativeSystemInfo"};
  const std::vector<std::u16string> viaSystem = {u"GetModuleHandleW kernel32", u"GetProcAddress GetNativeSystemInfo",
                                                 u"GetSystemInfo"};
  const Case cases[] = {
      {true, true, 9, 0, 64, viaNative},   // a 32-bit process on x64 Windows
      {true, true, 6, 0, 64, viaNative},   // Itanium
      {true, true, 0, 0, 32, viaNative},   // x86
      {true, true, 12, 0, 32, viaNative},  // ARM64 is neither 9 nor 6
      {true, true, 5, 9, 32, viaNative},   // the native answer wins
      {true, false, 0, 9, 64, viaSystem},  // no GetNativeSystemInfo: GetSystemInfo judged alike
      {true, false, 9, 0, 32, viaSystem},
      {false, true, 9, 0, 32, {u"GetModuleHandleW kernel32", u"GetSystemInfo"}},
  };
  for (const Case& k : cases) {
    FakeSystemInfo system;
    system.hasKernel32 = k.kernel;
    system.hasNativeSystemInfo = k.native;
    system.nativeArchitecture = k.nativeArch;
    system.emulatedArchitecture = k.emulatedArch;
    EXPECT_EQ(k.expected, GetOsBitness(system)) << k.nativeArch << "/" << k.emulatedArch;
    EXPECT_EQ(k.calls, system.calls);
  }
}

TEST(GetOsBitness, AsksAgainOnEveryCall) {
  FakeSystemInfo system;
  EXPECT_EQ(64, GetOsBitness(system));
  system.nativeArchitecture = 0;
  EXPECT_EQ(32, GetOsBitness(system));
  EXPECT_EQ(6u, system.calls.size());
}
