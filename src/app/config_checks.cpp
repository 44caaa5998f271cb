#include "app/config_checks.h"

#include "config/ipv4_text.h"
#include "config/texts.h"
#include "diag/format.h"
#include "spooler/driver_files.h"
#include "spooler/monitor_names.h"
#include "spooler/port_records.h"

namespace {

constexpr std::uint32_t kErrorInvalidParameter = 87;
constexpr std::uint32_t kErrorFilenameExcedRange = 206;
constexpr std::uint32_t kErrorInvalidName = 123;
constexpr std::uint32_t kErrorInvalidPrinterName = 1801;

// A value that filled its whole buffer when read may have lost its end.
constexpr std::size_t kLongestWholeValue = kPathCapacity - 2;

bool MayBeCut(const std::u16string& value) { return value.size() > kLongestWholeValue; }

// The longest prefix whose driver file names and dependent-file list still fit their buffers.
std::uint32_t LongestDriverPrefix() {
  std::uint32_t longest = 0;
  while (longest < kPathCapacity && DriverNamesFit(std::u16string(longest + 1, u'A'), u"ENG")) ++longest;
  return longest;
}

ConfigRefusal Refuse(const char16_t* key, ConfigFault fault, std::uint32_t limit = 0) {
  ConfigRefusal refusal;
  refusal.key = key;
  refusal.fault = fault;
  refusal.limit = limit;
  return refusal;
}

std::optional<ConfigRefusal> CheckPrinterName(const std::u16string& name) {
  const auto limit = static_cast<std::uint32_t>(kMaxPrinterBaseName);
  if (name.empty()) return Refuse(u"PrnName", ConfigFault::Empty);
  // ',' ends a printer name in the spooler's calls and '\' nests a registry key under it.
  if (name.find_first_of(u",\\") != std::u16string::npos) return Refuse(u"PrnName", ConfigFault::BadPrinterName);
  if (name.size() > kMaxPrinterBaseName) return Refuse(u"PrnName", ConfigFault::TooLong, limit);
  return std::nullopt;
}

// Prefix and PortNamePrefix name files, drivers and ports: plain names only, never paths.
std::optional<ConfigRefusal> CheckPlainName(const char16_t* key, const std::u16string& value, std::uint32_t limit) {
  if (MayBeCut(value)) return Refuse(key, ConfigFault::TooLong, limit);
  if (value.empty()) return Refuse(key, ConfigFault::Empty);
  if (!IsPlainName(value)) return Refuse(key, ConfigFault::BadName);
  if (value.size() > limit) return Refuse(key, ConfigFault::TooLong, limit);
  return std::nullopt;
}

std::optional<ConfigRefusal> CheckWhole(const char16_t* key, const std::u16string& value) {
  if (MayBeCut(value)) return Refuse(key, ConfigFault::TooLong, static_cast<std::uint32_t>(kLongestWholeValue));
  return std::nullopt;
}

// Every DATA value must reach the printer: none lost past the reader's buffer, none whose name
// would be cut.
std::optional<ConfigRefusal> CheckPrinterData(const InstallContext& context) {
  if (context.printerDataCut) {
    return Refuse(u"DATA", ConfigFault::SectionTooLong, static_cast<std::uint32_t>(kLongestPrinterDataSection));
  }
  for (const PrinterDataEntry& entry : context.printerData) {
    if (entry.key.size() > kMaxPrinterDataName) {
      return Refuse(u"DATA", ConfigFault::NameTooLong, static_cast<std::uint32_t>(kMaxPrinterDataName));
    }
  }
  return std::nullopt;
}

}  // namespace

bool IsPlainName(std::u16string_view text) {
  for (char16_t c : text) {
    const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
                       c == u'_' || c == u'-';
    if (!plain) return false;
  }
  return true;
}

std::optional<ConfigRefusal> FindConfigRefusal(const InstallContext& context, WizardPage page) {
  if (auto refusal = CheckPrinterName(context.printerBaseName)) return refusal;
  if (auto refusal = CheckPlainName(u"Prefix", context.driverPrefix, LongestDriverPrefix())) return refusal;
  if (!context.printerAddress.empty() && !ParsePrinterAddress(context.printerAddress)) {
    return Refuse(u"IPAddress", ConfigFault::BadAddress);
  }
  if (auto refusal = CheckPrinterData(context)) return refusal;
  if (page != WizardPage::Usb) return std::nullopt;
  if (auto refusal = CheckWhole(u"PortMonitor", context.portMonitorName)) return refusal;
  if (!context.portMonitorName.empty()) {
    const auto limit = static_cast<std::uint32_t>(kMaxPortNamePrefix);
    if (auto refusal = CheckPlainName(u"PortNamePrefix", context.portNamePrefix, limit)) return refusal;
  }
  if (auto refusal = CheckWhole(u"FilterVid", context.filterVid)) return refusal;
  if (auto refusal = CheckWhole(u"FilterPid", context.filterPid)) return refusal;
  return CheckWhole(u"FilterUsbPort", context.filterUsbPort);
}

std::u16string RefusalText(const InstallContext& context, const ConfigRefusal& refusal) {
  const char16_t* key = u"CfgEmpty";
  switch (refusal.fault) {
    case ConfigFault::Empty: key = u"CfgEmpty"; break;
    case ConfigFault::TooLong: key = u"CfgTooLong"; break;
    case ConfigFault::BadName: key = u"CfgBadName"; break;
    case ConfigFault::BadPrinterName: key = u"CfgBadPrnName"; break;
    case ConfigFault::BadAddress: key = u"CfgBadAddress"; break;
    case ConfigFault::SectionTooLong: key = u"CfgSectionTooLong"; break;
    case ConfigFault::NameTooLong: key = u"CfgNameTooLong"; break;
  }
  const char16_t* format = LookupText(context, key);
  return FormatWide(kPathCapacity, format ? format : u"%s", refusal.key, refusal.limit);
}

std::uint32_t RefusalCode(const ConfigRefusal& refusal) {
  switch (refusal.fault) {
    case ConfigFault::TooLong:
    case ConfigFault::SectionTooLong:
    case ConfigFault::NameTooLong: return kErrorFilenameExcedRange;
    case ConfigFault::BadPrinterName: return kErrorInvalidPrinterName;
    case ConfigFault::BadAddress: return kErrorInvalidParameter;
    case ConfigFault::Empty:
    case ConfigFault::BadName: break;
  }
  return kErrorInvalidName;
}

Outcome CheckTypedAddress(const InstallContext& context, WizardPage page, std::u16string_view typed) {
  // Empty is an incomplete control: the road asks for the rest.
  if (page != WizardPage::Network || typed.empty() || ParsePrinterAddress(typed)) return {};
  const char16_t* format = LookupText(context, u"BadAddress");
  return Outcome::Failed(FormatWide(kPathCapacity, format ? format : u"%s", typed), kErrorInvalidParameter);
}

Outcome CheckConfiguredLengths(const InstallContext& context) {
  if (!DriverNamesFit(context.driverPrefix, context.languageCode)) {
    return Outcome::Failed(u"Prefix Too Long", kErrorFilenameExcedRange);
  }
  if (!DriverPathsFit(context.installDir, context.setupDirName, context.languageCode, context.driverPrefix)) {
    return Outcome::Failed(InstallFolderTooLong(context.installDir), kErrorFilenameExcedRange);
  }
  if (context.portMonitorName.empty()) return {};
  if (context.portNamePrefix.size() > kMaxPortNamePrefix) {
    return Outcome::Failed(u"PortNamePrefix Too Long", kErrorFilenameExcedRange);
  }
  if (!MonitorSetupLaunch(context) || !DeletePrintJobsLaunch(context)) {
    return Outcome::Failed(InstallFolderTooLong(context.installDir), kErrorFilenameExcedRange);
  }
  return {};
}
