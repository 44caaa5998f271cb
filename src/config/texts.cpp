// The texts are UTF-8 in this file; the build reads it as UTF-8 (-finput-charset) so that the
// u"" literals hold the right UTF-16 units whatever the host's locale.
#include "config/texts.h"

#include "diag/format.h"

namespace {

using Entries = TextEntry[kUsedTextEntries];

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
    {u"CfgEmpty", u"config.ini：%s 为空。"},
    {u"CfgTooLong", u"config.ini：%s 太长（最多 %u 个字符）。"},
    {u"CfgBadName", u"config.ini：%s 只能包含字母、数字、_ 和 -。"},
    {u"CfgBadPrnName", u"config.ini：%s 不能包含逗号（,）或反斜杠（\\）。"},
    {u"CfgBadAddress", u"config.ini：%s 不是有效的IPv4地址（四个0到255之间的数字，例如192.168.1.200）。"},
    {u"CfgSectionTooLong", u"config.ini：[%s] 节太长（最多 %u 个字符）。"},
    {u"CfgNameTooLong", u"config.ini：[%s] 中有名称太长（最多 %u 个字符）。"},
    {u"BadAddress", u"%s 不是有效的IPv4地址（四个0到255之间的数字，例如192.168.1.200）。"},
    {u"HintIncompleteIP", u"请输入打印机完整的IP地址：四个0到255之间的数字。"},
    {u"Arm64NotSupported", u"此安装程序不支持ARM版Windows：其驱动程序包和端口监视器仅适用于x86和x64处理器。"},
    {u"AlreadyInstalled", u"%s 已安装。"},
    {u"UninstallAsk", u"要从这台计算机上删除以下项目吗？"},
    {u"NothingToRemove", u"没有要删除的项目：此配置的打印机未安装。"},
    {u"Removed", u"已从这台计算机上删除。"},
    {u"ListPrinter", u"打印机："},
    {u"ListPort", u"端口："},
    {u"ListDriver", u"驱动程序："},
    {u"SpoolerDisabled", u"Print Spooler 服务已被禁用。请启用它，然后重新运行安装程序。未做任何更改。"},
    {u"SpoolerNotStarted", u"Print Spooler 服务未能在 %u 秒内启动。未做任何更改。"},
    {u"ProtectedPrintOn", u"Windows 受保护的打印模式已开启。它只允许不需要自带驱动程序的打印机，因此无法安装此打印机。未做任何更改。"},
    {u"NotElevated", u"必须以管理员身份运行 PrinterSetup。未做任何更改。"},
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
    {u"CfgEmpty", u"config.ini: %s is empty."},
    {u"CfgTooLong", u"config.ini: %s is too long (at most %u characters)."},
    {u"CfgBadName", u"config.ini: %s may hold only letters, digits, _ and -."},
    {u"CfgBadPrnName", u"config.ini: %s must not contain a comma (,) or a backslash (\\)."},
    {u"CfgBadAddress", u"config.ini: %s is not a valid IPv4 address (four numbers from 0 to 255, such as 192.168.1.200)."},
    {u"CfgSectionTooLong", u"config.ini: the [%s] section is too long (at most %u characters)."},
    {u"CfgNameTooLong", u"config.ini: a name in [%s] is too long (at most %u characters)."},
    {u"BadAddress", u"%s is not a valid IPv4 address (four numbers from 0 to 255, such as 192.168.1.200)."},
    {u"HintIncompleteIP", u"Please enter the printer's complete IP address: four numbers from 0 to 255."},
    {u"Arm64NotSupported", u"This installer does not support Windows on ARM: its driver packages and port monitor are for x86 and x64 processors only."},
    {u"AlreadyInstalled", u"%s is already installed."},
    {u"UninstallAsk", u"Remove these from this computer?"},
    {u"NothingToRemove", u"Nothing to remove: no printer of this configuration is installed."},
    {u"Removed", u"Removed from this computer."},
    {u"ListPrinter", u"Printer: "},
    {u"ListPort", u"Port: "},
    {u"ListDriver", u"Driver: "},
    {u"SpoolerDisabled", u"The Print Spooler service is disabled. Enable it and run the setup again. Nothing was changed."},
    {u"SpoolerNotStarted", u"The Print Spooler service did not start within %u seconds. Nothing was changed."},
    {u"ProtectedPrintOn", u"Windows protected print mode is on. It allows only printers that need no driver of their own, so this printer cannot be installed. Nothing was changed."},
    {u"NotElevated", u"PrinterSetup must be run as an administrator. Nothing was changed."},
};

constexpr std::int32_t kTableCount = 2;

// The used entries first; the rest of the 1000 stay empty. The tables are made when first asked
// for and live for the process, so their empty entries cost the exe no bytes.
const TextTable* Tables() {
  static const TextTable* const tables = [] {
    auto* made = new TextTable[kTableCount]();
    for (std::size_t i = 0; i < kUsedTextEntries; ++i) {
      made[kChineseTableIndex][i] = kChineseEntries[i];
      made[kEnglishTableIndex][i] = kEnglishEntries[i];
    }
    return made;
  }();
  return tables;
}

}  // namespace

const TextTable* TextTableAt(std::int32_t tableIndex) {
  if (tableIndex < 0 || tableIndex >= kTableCount) return nullptr;
  return &Tables()[tableIndex];
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


void SelectLanguage(InstallContext& context, std::u16string_view code) {
  context.languageCode = CutToCapacity(code, kPathCapacity);
  context.languageIndex = code == u"CHN" ? kChineseTableIndex : kEnglishTableIndex;
}

