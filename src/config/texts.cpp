// The texts are UTF-8 in this file; the build reads it as UTF-8 (-finput-charset) so that the
// u"" literals hold the right UTF-16 units whatever the host's locale.
#include "config/texts.h"

#include "diag/format.h"

namespace {

constexpr std::size_t kUsedEntries = 21;
using Entries = TextEntry[kUsedEntries];

constexpr Entries kChineseEntries = {
    {u"Welcome", u"欢迎"},
    {u"Port", u"端口"},
    {u"Ok", u"完成"},
    {u"Cancel", u"取消"},
    {u"Prev", u"上一步"},
    {u"Next", u"下一步"},
    {u"Chinese", u"中文"},
    {u"English", u"英语"},
    {u"EthDesc", u"  有线网络 - 使用网线将打印机连接到您的网络"},
    {u"UsbDesc", u"  USB - 使用USB数据线将打印机连接到您的计算机"},
    {u"ComDesc", u"  串口 - 使用串口数据线将打印机连接到您的计算机"},
    {u"LptDesc", u"  并口 - 使用并口数据线将打印机连接到您的计算机"},
    {u"ComPort", u"串口："},
    {u"InputIP", u"请输入IP地址："},
    {u"LptPort", u"并口："},
    {u"UsbPort", u"USB口："},
    {u"UsbEditInfo", u"如果您不知道该如何选择USB端口，请点击搜索USB"},
    {u"Hint", u"提示"},
    {u"HintUnknownPL2303", u"发现您有打印机设备未安装PL2303驱动，请先安装驱动。"},
    {u"SearchUSB", u"搜索USB"},
    {u"HintNotFindUSBPrinter", u"没有发现USB打印机，请您确认USB连接正确，且打印机已开机。"},
};

constexpr Entries kEnglishEntries = {
    {u"Welcome", u"Welcome"},
    {u"Port", u"Port"},
    {u"Ok", u"OK"},
    {u"Cancel", u"CANCEL"},
    {u"Prev", u"Prev"},
    {u"Next", u"Next"},
    {u"Chinese", u"Chinese"},
    {u"English", u"English"},
    {u"EthDesc", u"  Cable network - use cable connect the printer to your network"},
    {u"UsbDesc", u"  USB - use USB cable to connect the printer to your computer"},
    {u"ComDesc", u"  A serial port - use a serial port cable, connect the printer to your computer"},
    {u"LptDesc", u"  Parallel port - use parallel cable to connect the printer to your computer"},
    {u"ComPort", u"Com Port:"},
    {u"InputIP", u"Please Input IP Address:"},
    {u"LptPort", u"Lpt Port:"},
    {u"UsbPort", u"Usb Port:"},
    {u"UsbEditInfo", u"If you don't know how to choose a USB port, please click on the search"},
    {u"Hint", u"Hint"},
    {u"HintUnknownPL2303", u"Found that you have a printer device did not install PL2303 driver, please install the driver first"},
    {u"SearchUSB", u"SEARCH USB"},
    {u"HintNotFindUSBPrinter", u"Did not find the USB printer. Please confirm the USB connection is correct, and the printer has been switched on."},
};

// The used entries first; the rest of the 1000 stay empty.
constexpr TextTable MakeTable(const Entries& entries) {
  TextTable table{};
  for (std::size_t i = 0; i < kUsedEntries; ++i) table[i] = entries[i];
  return table;
}

constexpr TextTable kChineseTable = MakeTable(kChineseEntries);
constexpr TextTable kEnglishTable = MakeTable(kEnglishEntries);

const TextTable* const kTables[] = {&kChineseTable, &kEnglishTable};

}  // namespace

const TextTable* TextTableAt(std::int32_t tableIndex) {
  if (tableIndex < 0 || tableIndex >= static_cast<std::int32_t>(sizeof(kTables) / sizeof(kTables[0]))) {
    return nullptr;
  }
  return kTables[tableIndex];
}

const char16_t* LookupTextIn(std::int32_t tableIndex, std::u16string_view key) {
  const TextTable* table = TextTableAt(tableIndex);
  if (!table) return nullptr;
  for (const TextEntry& entry : *table) {
    if (entry.key && key == entry.key) return entry.text;
  }
  return nullptr;
}

const char16_t* LookupText(const InstallContext& context, std::u16string_view key) {
  return LookupTextIn(context.languageIndex, key);
}

const char16_t* LookupText(std::u16string_view key) { return LookupText(Context(), key); }

void SelectLanguage(InstallContext& context, std::u16string_view code) {
  context.languageCode = CutToCapacity(code, kFieldCapacity);
  context.languageIndex = code == u"CHN" ? kChineseTableIndex : kEnglishTableIndex;
}

void SelectLanguage(std::u16string_view code) { SelectLanguage(Context(), code); }
