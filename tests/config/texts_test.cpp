#include <gtest/gtest.h>

#include "config/texts.h"

namespace {

struct Pair {
  const char16_t* key;
  const char16_t* chinese;  // written as code points so that the source's own literals are checked
  const char16_t* english;
};

// Both tables, entry by entry in table order.
const Pair kExpected[] = {
      {u"Welcome", u"\u6B22\u8FCE",
       u"Welcome"},
      {u"Port", u"\u7AEF\u53E3",
       u"Port"},
      {u"Ok", u"\u5B8C\u6210",
       u"OK"},
      {u"Cancel", u"\u53D6\u6D88",
       u"CANCEL"},
      {u"Prev", u"\u4E0A\u4E00\u6B65",
       u"Prev"},
      {u"Next", u"\u4E0B\u4E00\u6B65",
       u"Next"},
      {u"Chinese", u"\u4E2D\u6587",
       u"Chinese"},
      {u"English", u"\u82F1\u8BED",
       u"English"},
      {u"EthDesc", u"  \u6709\u7EBF\u7F51\u7EDC - \u4F7F\u7528\u7F51\u7EBF\u5C06\u6253\u5370\u673A\u8FDE\u63A5\u5230\u60A8\u7684\u7F51\u7EDC",
       u"  Cable network - use cable connect the printer to your network"},
      {u"UsbDesc", u"  USB - \u4F7F\u7528USB\u6570\u636E\u7EBF\u5C06\u6253\u5370\u673A\u8FDE\u63A5\u5230\u60A8\u7684\u8BA1\u7B97\u673A",
       u"  USB - use USB cable to connect the printer to your computer"},
      {u"ComDesc", u"  \u4E32\u53E3 - \u4F7F\u7528\u4E32\u53E3\u6570\u636E\u7EBF\u5C06\u6253\u5370\u673A\u8FDE\u63A5\u5230\u60A8\u7684\u8BA1\u7B97\u673A",
       u"  A serial port - use a serial port cable, connect the printer to your computer"},
      {u"LptDesc", u"  \u5E76\u53E3 - \u4F7F\u7528\u5E76\u53E3\u6570\u636E\u7EBF\u5C06\u6253\u5370\u673A\u8FDE\u63A5\u5230\u60A8\u7684\u8BA1\u7B97\u673A",
       u"  Parallel port - use parallel cable to connect the printer to your computer"},
      {u"ComPort", u"\u4E32\u53E3\uFF1A",
       u"Com Port:"},
      {u"InputIP", u"\u8BF7\u8F93\u5165IP\u5730\u5740\uFF1A",
       u"Please Input IP Address:"},
      {u"LptPort", u"\u5E76\u53E3\uFF1A",
       u"Lpt Port:"},
      {u"UsbPort", u"USB\u53E3\uFF1A",
       u"Usb Port:"},
      {u"UsbEditInfo", u"\u5982\u679C\u60A8\u4E0D\u77E5\u9053\u8BE5\u5982\u4F55\u9009\u62E9USB\u7AEF\u53E3\uFF0C\u8BF7\u70B9\u51FB\u641C\u7D22USB",
       u"If you don't know how to choose a USB port, please click on the search"},
      {u"Hint", u"\u63D0\u793A",
       u"Hint"},
      {u"HintUnknownPL2303", u"\u53D1\u73B0\u60A8\u6709\u6253\u5370\u673A\u8BBE\u5907\u672A\u5B89\u88C5PL2303\u9A71\u52A8\uFF0C\u8BF7\u5148\u5B89\u88C5\u9A71\u52A8\u3002",
       u"Found that you have a printer device did not install PL2303 driver, please install the driver first"},
      {u"SearchUSB", u"\u641C\u7D22USB",
       u"SEARCH USB"},
      {u"HintNotFindUSBPrinter", u"\u6CA1\u6709\u53D1\u73B0USB\u6253\u5370\u673A\uFF0C\u8BF7\u60A8\u786E\u8BA4USB\u8FDE\u63A5\u6B63\u786E\uFF0C\u4E14\u6253\u5370\u673A\u5DF2\u5F00\u673A\u3002",
       u"Did not find the USB printer. Please confirm the USB connection is correct, and the printer has been switched on."},
};

std::u16string Text(const char16_t* text) { return text ? std::u16string(text) : u"(none)"; }

}  // namespace

TEST(TextTable, EveryKeyInBothLanguagesInTableOrder) {
  ASSERT_EQ(21u, sizeof(kExpected) / sizeof(kExpected[0]));
  for (std::size_t i = 0; i < 21; ++i) {
    const Pair& p = kExpected[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(p.chinese, Text(LookupTextIn(0, p.key)));
    EXPECT_EQ(p.english, Text(LookupTextIn(1, p.key)));
    for (std::int32_t table : {0, 1}) {
      const TextEntry& entry = (*TextTableAt(table))[i];
      EXPECT_EQ(p.key, Text(entry.key));
      EXPECT_EQ(table == 0 ? p.chinese : p.english, Text(entry.text));
    }
  }
}

TEST(TextTable, ThousandEntriesWithTheRestEmpty) {
  for (std::int32_t table : {0, 1}) {
    ASSERT_NE(nullptr, TextTableAt(table));
    EXPECT_EQ(1000u, TextTableAt(table)->size());
    for (std::size_t i = kUsedTextEntries; i < 1000; ++i) {
      EXPECT_EQ(nullptr, (*TextTableAt(table))[i].key) << i;
      EXPECT_EQ(nullptr, (*TextTableAt(table))[i].text) << i;
    }
  }
  EXPECT_EQ(nullptr, TextTableAt(2));
  EXPECT_EQ(nullptr, TextTableAt(-1));
}

// The texts that came after the 21: in both languages, right after them, with the same
// placeholders in the same order, since both are filled from the same arguments.
TEST(TextTable, RefusalTextsFollowInBothLanguages) {
  struct Later {
    const char16_t* key;
    const char16_t* english;
    const char* placeholders;
  };
  const Later later[] = {
      {u"CfgEmpty", u"config.ini: %s is empty.", "s"},
      {u"CfgTooLong", u"config.ini: %s is too long (at most %u characters).", "su"},
      {u"CfgBadName", u"config.ini: %s may hold only letters, digits, _ and -.", "s"},
      {u"CfgBadPrnName", u"config.ini: %s must not contain a comma (,) or a backslash (\\).", "s"},
      {u"CfgBadAddress", u"config.ini: %s is not a valid IPv4 address (four numbers from 0 to 255, such as 192.168.1.200).", "s"},
      {u"CfgSectionTooLong", u"config.ini: the [%s] section is too long (at most %u characters).", "su"},
      {u"CfgNameTooLong", u"config.ini: a name in [%s] is too long (at most %u characters).", "su"},
      {u"BadAddress", u"%s is not a valid IPv4 address (four numbers from 0 to 255, such as 192.168.1.200).", "s"},
      {u"HintIncompleteIP", u"Please enter the printer's complete IP address: four numbers from 0 to 255.", ""},
      {u"Arm64NotSupported", u"This installer does not support Windows on ARM: its driver packages and port monitor are for x86 and x64 processors only.", ""},
      {u"AlreadyInstalled", u"%s is already installed.", "s"},
      {u"UninstallAsk", u"Remove these from this computer?", ""},
      {u"NothingToRemove", u"Nothing to remove: no printer of this configuration is installed.", ""},
      {u"Removed", u"Removed from this computer.", ""},
      {u"ListPrinter", u"Printer: ", ""},
      {u"ListPort", u"Port: ", ""},
      {u"ListDriver", u"Driver: ", ""},
      {u"SpoolerDisabled", u"The Print Spooler service is disabled. Enable it and run the setup again. Nothing was changed.", ""},
      {u"SpoolerNotStarted", u"The Print Spooler service did not start within %u seconds. Nothing was changed.", "u"},
      {u"ProtectedPrintOn", u"Windows protected print mode is on. It allows only printers that need no driver of their own, so this printer cannot be installed. Nothing was changed.", ""},
      {u"NotElevated", u"PrinterSetup must be run as an administrator. Nothing was changed.", ""},
  };
  ASSERT_EQ(kUsedTextEntries, 21u + sizeof(later) / sizeof(later[0]));
  auto placeholders = [](std::u16string_view text) {
    std::string found;
    for (std::size_t at = text.find(u'%'); at != std::u16string_view::npos; at = text.find(u'%', at + 2)) {
      if (at + 1 < text.size()) found.push_back(static_cast<char>(text[at + 1]));
    }
    return found;
  };
  for (std::size_t i = 0; i < sizeof(later) / sizeof(later[0]); ++i) {
    const Later& l = later[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(l.english, Text(LookupTextIn(1, l.key)));
    const std::u16string chinese = Text(LookupTextIn(0, l.key));
    EXPECT_NE(chinese, l.english);
    EXPECT_EQ(l.placeholders, placeholders(chinese));
    EXPECT_EQ(l.placeholders, placeholders(l.english));
    for (std::int32_t table : {0, 1}) EXPECT_EQ(l.key, Text((*TextTableAt(table))[21 + i].key));
  }
}

TEST(LookupTextIn, OnlyExactWholeKeysMatch) {
  for (std::int32_t table : {0, 1}) {
    EXPECT_EQ(nullptr, LookupTextIn(table, u"prev"));
    EXPECT_EQ(nullptr, LookupTextIn(table, u"PREV"));
    EXPECT_EQ(nullptr, LookupTextIn(table, u"Prev "));
    EXPECT_EQ(nullptr, LookupTextIn(table, u"Pre"));
    EXPECT_EQ(nullptr, LookupTextIn(table, u""));  // empty entries match nothing
    EXPECT_EQ(nullptr, LookupTextIn(table, u"Missing"));
  }
  EXPECT_EQ(nullptr, LookupTextIn(2, u"Prev"));
  EXPECT_EQ(u"\u6B22\u8FCE", Text(LookupTextIn(0, u"Welcome")));
  // The full-width colon, not ':'.
  EXPECT_EQ(u'\uFF1A', std::u16string(LookupTextIn(0, u"ComPort")).back());
}

TEST(SelectLanguage, SwitchesCodeAndTable) {
  InstallContext context;
  ASSERT_EQ(1, context.languageIndex);
  EXPECT_EQ(u"Prev", Text(LookupText(context, u"Prev")));  // English before any choice

  SelectLanguage(context, u"CHN");
  EXPECT_EQ(u"CHN", context.languageCode);
  EXPECT_EQ(0, context.languageIndex);
  EXPECT_EQ(u"\u4E0A\u4E00\u6B65", Text(LookupText(context, u"Prev")));
  EXPECT_EQ(kExpected[20].chinese, Text(LookupText(context, u"HintNotFindUSBPrinter")));

  SelectLanguage(context, u"ENG");
  EXPECT_EQ(u"ENG", context.languageCode);
  EXPECT_EQ(1, context.languageIndex);
  EXPECT_EQ(u"Prev", Text(LookupText(context, u"Prev")));
  EXPECT_EQ(kExpected[20].english, Text(LookupText(context, u"HintNotFindUSBPrinter")));

  SelectLanguage(context, u"CHN");
  EXPECT_EQ(0, context.languageIndex);
  EXPECT_EQ(u"\u4E0B\u4E00\u6B65", Text(LookupText(context, u"Next")));
}

TEST(SelectLanguage, AnyOtherCodeIsEnglishAndKeptAsGiven) {
  for (const char16_t* code : {u"chn", u"CHN ", u"FRA", u""}) {
    InstallContext context;
    SelectLanguage(context, u"CHN");
    SelectLanguage(context, code);
    EXPECT_EQ(code, context.languageCode);
    EXPECT_EQ(1, context.languageIndex);
  }
}

