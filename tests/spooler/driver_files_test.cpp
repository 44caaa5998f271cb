#include "spooler/driver_files.h"

#include <gtest/gtest.h>

namespace {

std::u16string Multi(std::u16string text) {
  for (char16_t& unit : text) {
    if (unit == u'?') unit = u'\0';
  }
  return text;
}

TEST(DriverFileNames, PrefixThenInfixThenLanguage) {
  DriverFileNames names = BuildDriverFileNames(u"LBL", u"ENG", u"C:\\Setup", u"SETUP64");
  EXPECT_EQ(names.driverName, u"LBLENG");
  EXPECT_EQ(names.gpdFile, u"LBLENG.GPD");
  EXPECT_EQ(names.iniFile, u"LBLENG.INI");
  EXPECT_EQ(names.uiDll, u"LBLUIENG.DLL");
  EXPECT_EQ(names.uniDll, u"LBLUNIENG.DLL");
  EXPECT_EQ(names.rcDll, u"LBLRCENG.DLL");
  EXPECT_EQ(names.sourceDir, u"C:\\Setup\\SETUP64\\ENG");
}

TEST(DependentFiles, OptionalNamesFollowInUiIniUniOrder) {
  DriverFileNames names = BuildDriverFileNames(u"LBL", u"ENG", u"C:\\Setup", u"SETUP");
  const std::u16string head = u"UNIDRV.DLL?UNIDRVUI.DLL?UNIDRV.HLP?UNIRES.DLL?STDNAMES.GPD?TTFSUB.GPD?LBLENG.GPD?LBLRCENG.DLL?";
  struct Case {
    bool ui, ini, uni;
    std::u16string tail;
  } cases[] = {
      {true, true, true, u"LBLUIENG.DLL?LBLENG.INI?LBLUNIENG.DLL??"},
      {false, false, false, u"?"},
      {true, false, true, u"LBLUIENG.DLL?LBLUNIENG.DLL??"},
      {false, true, false, u"LBLENG.INI??"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DependentFilesText(names, c.ui, c.ini, c.uni), head + c.tail);
    EXPECT_EQ(BuildDependentFiles(names, c.ui, c.ini, c.uni), Multi(head + c.tail));
  }
}

TEST(DependentFiles, NoOptionalFileGivesEightNames) {
  DriverFileNames names = BuildDriverFileNames(u"LBL", u"ENG", u"C:\\Setup", u"SETUP");
  std::u16string list = BuildDependentFiles(names, false, false, false);
  int count = 0;
  for (std::size_t start = 0; start < list.size() && list[start] != u'\0'; start = list.find(u'\0', start) + 1) ++count;
  EXPECT_EQ(count, 8);
  EXPECT_EQ(list.substr(list.size() - 2), std::u16string(2, u'\0'));
}

TEST(DriverLengths, LongestPrefixWhoseDependentTextFits) {
  // Five package names of the prefix and 118 units besides: 5 x 28 + 118 = 258 fits 259.
  EXPECT_TRUE(DriverNamesFit(std::u16string(28, u'P'), u"ENG"));
  EXPECT_FALSE(DriverNamesFit(std::u16string(29, u'P'), u"ENG"));
  DriverFileNames names = BuildDriverFileNames(std::u16string(28, u'P'), u"ENG", u"C:", u"SETUP");
  EXPECT_LE(DependentFilesText(names, true, true, true).size(), 259u);
}

TEST(DriverLengths, InstallFolderLeavesRoomForEveryPackagePath) {
  // installDir\SETUP64\ENG\ plus "LBLUNIENG.DLL" (13): the folder may take 259 - 13 - 13 units.
  std::u16string folder(233, u'd');
  EXPECT_TRUE(DriverPathsFit(folder, u"SETUP64", u"ENG", u"LBL"));
  EXPECT_FALSE(DriverPathsFit(folder + u"d", u"SETUP64", u"ENG", u"LBL"));
  // srclient.dll and the UNIDRV names (12 units) decide for a short prefix.
  EXPECT_TRUE(DriverPathsFit(std::u16string(234, u'd'), u"SETUP64", u"ENG", u""));
  EXPECT_FALSE(DriverPathsFit(std::u16string(235, u'd'), u"SETUP64", u"ENG", u""));
}

TEST(DriverEnvironment, ByTheSystemWidth) {
  EXPECT_EQ(DriverEnvironment(64), u"Windows x64");
  EXPECT_EQ(DriverEnvironment(32), u"Windows NT x86");
}

TEST(PrinterDataEntry, SplitAtTheFirstEqualsSign) {
  struct Case {
    std::u16string entry;
    bool hasData;
    std::u16string key, value;
  } cases[] = {
      {u"x=y=z", true, u"x", u"y=z"},
      {u"k=", true, u"k", u""},
      {u"=v", true, u"", u"v"},
      {u"novalue", false, u"", u""},
      {u" a = b ", true, u" a ", u" b "},
  };
  for (const Case& c : cases) {
    std::optional<PrinterDataEntry> entry = SplitPrinterDataEntry(c.entry);
    ASSERT_EQ(entry.has_value(), c.hasData) << std::string(c.entry.begin(), c.entry.end());
    if (!entry) continue;
    EXPECT_EQ(entry->key, c.key);
    EXPECT_EQ(std::u16string(entry->value), c.value);
  }
}

}  // namespace
