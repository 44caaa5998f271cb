#include "spooler/uninstall.h"

#include <algorithm>

#include "diag/diagnostics.h"
#include "diag/format.h"
#include "spooler/ask_size_then_fill.h"
#include "spooler/name_compare.h"
#include "spooler/refused_call.h"

namespace {

constexpr std::uint32_t kErrorUnknownPort = 1796;           // ERROR_UNKNOWN_PORT
constexpr std::uint32_t kErrorUnknownPrinterDriver = 1797;  // ERROR_UNKNOWN_PRINTER_DRIVER
constexpr std::uint32_t kErrorInvalidPrinterName = 1801;    // ERROR_INVALID_PRINTER_NAME
constexpr std::uint32_t kErrorInvalidEnvironment = 1805;    // ERROR_INVALID_ENVIRONMENT
constexpr std::uint32_t kErrorInvalidParameter = 87;        // ERROR_INVALID_PARAMETER
constexpr std::uint32_t kDriverVersion = 3;
constexpr std::size_t kBoxTextCapacity = 512;

// base itself, or base and "(n)" with n from 2 to 254 written as ChooseUniquePrinterName writes
// it (no leading zero); letter case aside, as the spooler compares names.
bool IsInstalledName(std::u16string_view name, std::u16string_view base) {
  if (SameNameIgnoringCase(name, base)) return true;
  if (name.size() < base.size() + 3 || !SameNameIgnoringCase(name.substr(0, base.size()), base)) return false;
  const std::u16string_view suffix = name.substr(base.size());
  if (suffix.front() != u'(' || suffix.back() != u')') return false;
  const std::u16string_view digits = suffix.substr(1, suffix.size() - 2);
  if (digits.size() > 3 || digits.front() == u'0') return false;
  int number = 0;
  for (char16_t digit : digits) {
    if (digit < u'0' || digit > u'9') return false;
    number = number * 10 + (digit - u'0');
  }
  return number >= 2 && number <= kLastPrinterNumber;
}

// A printer's ports: one name, or several separated by commas (a printer pool).
std::vector<std::u16string> PortsOf(const PrinterInfo2& printer) {
  std::vector<std::u16string> ports;
  std::size_t start = 0;
  const std::u16string& text = printer.portName;
  while (start <= text.size()) {
    std::size_t end = text.find(u',', start);
    if (end == std::u16string::npos) end = text.size();
    std::size_t first = start;
    std::size_t last = end;
    while (first < last && text[first] == u' ') ++first;
    while (last > first && text[last - 1] == u' ') --last;
    if (last > first) ports.push_back(text.substr(first, last - first));
    start = end + 1;
  }
  return ports;
}

bool UsesPort(const PrinterInfo2& printer, const std::u16string& port) {
  const std::vector<std::u16string> ports = PortsOf(printer);
  return std::any_of(ports.begin(), ports.end(),
                     [&](const std::u16string& p) { return SameNameIgnoringCase(p, port); });
}

bool ContainsName(const std::vector<std::u16string>& names, const std::u16string& name) {
  return std::any_of(names.begin(), names.end(),
                     [&](const std::u16string& n) { return SameNameIgnoringCase(n, name); });
}

// The spooler's ports at level 2 (with their monitors); no value when they cannot be listed.
std::optional<std::vector<PortInfo>> ListPortsWithMonitors(PrintPlatform& platform) {
  std::vector<PortInfo> ports;
  std::uint32_t needed = 0;
  std::uint32_t returned = 0;
  const TwoCallEnd end = AskSizeThenFill(
      [&] {
        SpoolResult sized = platform.spooler.EnumPortsW(2, 0, ports, needed, returned);
        return SpoolerSizeAnswer(sized, platform.lastError, needed);
      },
      [&](std::uint32_t size) { return platform.spooler.EnumPortsW(2, size, ports, needed, returned); });
  if (end == TwoCallEnd::SizeQuerySucceeded) return std::vector<PortInfo>{};
  if (end != TwoCallEnd::Filled) return std::nullopt;
  return ports;
}

// The names of the drivers installed for environment (level 1); no value when they cannot be
// listed.
std::optional<std::vector<DriverInfo3>> ListDrivers(PrintPlatform& platform, const std::u16string& environment) {
  std::vector<DriverInfo3> drivers;
  std::uint32_t needed = 0;
  std::uint32_t returned = 0;
  const TwoCallEnd end = AskSizeThenFill(
      [&] {
        SpoolResult sized = platform.spooler.EnumPrinterDriversW(environment, 1, 0, drivers, needed, returned);
        return SpoolerSizeAnswer(sized, platform.lastError, needed);
      },
      [&](std::uint32_t size) {
        return platform.spooler.EnumPrinterDriversW(environment, 1, size, drivers, needed, returned);
      });
  if (end == TwoCallEnd::SizeQuerySucceeded) return std::vector<DriverInfo3>{};
  if (end != TwoCallEnd::Filled) return std::nullopt;
  return drivers;
}

// A printer of others using port, or null.
const PrinterInfo2* UserOfPort(const std::vector<const PrinterInfo2*>& others, const std::u16string& port) {
  for (const PrinterInfo2* printer : others) {
    if (UsesPort(*printer, port)) return printer;
  }
  return nullptr;
}

void PlanPorts(const InstallContext& context, PrintPlatform& platform, const std::vector<const PrinterInfo2*>& ours,
               const std::vector<const PrinterInfo2*>& others, UninstallPlan& plan) {
  std::optional<std::vector<PortInfo>> listed = ListPortsWithMonitors(platform);
  if (!listed) {
    plan.unlisted.emplace_back(u"EnumPorts", platform.lastError.GetLastError());
    return;
  }
  for (const PrinterInfo2* printer : ours) {
    for (const std::u16string& port : PortsOf(*printer)) {
      if (ContainsName(plan.ports, port)) continue;
      if (const PrinterInfo2* user = UserOfPort(others, port)) {
        DebugTrace(u"Port %s Kept: Printer %s Uses It", port, user->printerName);
        continue;
      }
      for (const PortInfo& record : *listed) {
        if (!SameNameIgnoringCase(record.portName, port)) continue;
        // Ports of other monitors (COM, LPT, the spooler's USB ports) were not made by an install.
        const bool installable = SameNameIgnoringCase(record.monitorName, kTcpIpMonitorName) ||
                                 (!context.portMonitorName.empty() &&
                                  SameNameIgnoringCase(record.monitorName, context.portMonitorName));
        if (installable) {
          plan.ports.push_back(record.portName);
          plan.portMonitors.push_back(record.monitorName);
        }
        break;
      }
      // Not listed: no monitor has it (any more).
    }
  }
}

void PlanDrivers(PrintPlatform& platform, const std::u16string (&names)[2],
                 const std::vector<const PrinterInfo2*>& others, UninstallPlan& plan) {
  std::vector<std::u16string> environments = {DriverEnvironment(32)};
  if (platform.osBitness == 64) environments.push_back(DriverEnvironment(64));
  for (const std::u16string& environment : environments) {
    std::optional<std::vector<DriverInfo3>> listed = ListDrivers(platform, environment);
    if (!listed) {
      const std::uint32_t code = platform.lastError.GetLastError();
      // A spooler without that environment has no driver in it.
      if (code != kErrorInvalidEnvironment) plan.unlisted.emplace_back(u"EnumPrinterDrivers", code);
      continue;
    }
    for (const std::u16string& name : names) {
      const DriverInfo3* record = nullptr;
      for (const DriverInfo3& driver : *listed) {
        if (SameNameIgnoringCase(driver.name, name)) {
          record = &driver;
          break;
        }
      }
      if (!record) continue;
      const PrinterInfo2* user = nullptr;
      for (const PrinterInfo2* printer : others) {
        if (SameNameIgnoringCase(printer->driverName, name)) {
          user = printer;
          break;
        }
      }
      if (user) {
        DebugTrace(u"Driver %s Kept: Printer %s Uses It", name, user->printerName);
        continue;
      }
      plan.drivers.emplace_back(environment, record->name);
    }
  }
}

// The end of one object's step: 0 is removed, goneCode means it was gone already (removed all
// the same); any other code failed the step: a trace line naming the call, a box naming the
// object. 1 when the object is gone.
int Finish(std::u16string_view kind, const std::u16string& object, std::uint32_t code, std::uint32_t goneCode,
           std::u16string_view call, std::u16string_view what) {
  if (code == 0 || code == goneCode) {
    DebugTrace(code == 0 ? u"Removed %s %s" : u"Already gone: %s %s", kind, object);
    return 1;
  }
  DebugTrace(u"%s Failed: %s Error %u", call, object, code);
  ShowError(0, code, FormatWide(kBoxTextCapacity, u"%s Failed: %s", what, object));
  return 0;
}

// The printer's queued jobs; 0 when they cannot be read.
std::uint32_t QueuedJobs(PrintPlatform& platform, PrinterHandle printer) {
  PrinterInfo2 info;
  std::uint32_t needed = 0;
  const TwoCallEnd end = AskSizeThenFill(
      [&] {
        SpoolResult sized = platform.spooler.GetPrinterW(printer, 2, 0, info, needed);
        return SpoolerSizeAnswer(sized, platform.lastError, needed);
      },
      [&](std::uint32_t size) { return platform.spooler.GetPrinterW(printer, 2, size, info, needed); });
  return end == TwoCallEnd::Filled ? info.cJobs : 0;
}

int RemovePrinter(PrintPlatform& platform, const std::u16string& name) {
  std::u16string_view call = u"OpenPrinter";
  PrinterHandle opened = 0;
  if (!platform.spooler.OpenPrinterW(name, opened, kPrinterAllAccess)) {
    return Finish(u"printer", name, platform.lastError.GetLastError(), kErrorInvalidPrinterName, call,
                  u"DeletePrinter");
  }
  ScopedPrinterHandle printer(platform.spooler, opened);
  // A printer with jobs only goes once they are printed, and keeps its port and driver in use
  // meanwhile: its jobs are purged first. When the purge is refused (Wine 8 has no level 0),
  // the printer still goes now if it has no job.
  std::uint32_t code = 0;
  std::uint32_t jobs = 0;
  if (!platform.spooler.SetPrinterW(printer.get(), 0, nullptr, kPrinterControlPurge)) {
    code = platform.lastError.GetLastError();
    DebugTrace(u"SetPrinter Purge Failed: %s Error %u", name, code);
    jobs = QueuedJobs(platform, printer.get());
  }
  call = u"DeletePrinter";
  if (!platform.spooler.DeletePrinter(printer.get())) {
    code = platform.lastError.GetLastError();
  } else if (jobs > 0) {
    DebugTrace(u"Printer %s Marked For Deletion: %u Jobs Left", name, jobs);
    call = u"SetPrinter Purge";
  } else {
    code = 0;
  }
  // The spooler lets the printer go once its last handle is closed.
  printer.reset();
  return Finish(u"printer", name, code, kErrorInvalidPrinterName, call, u"DeletePrinter");
}

// The Standard TCP/IP monitor takes DELETE_PORT_DATA_1; every other monitor the port's name with
// its terminator, as XcvDataPort's "DeletePort" is published.
int RemovePort(PrintPlatform& platform, const std::u16string& name, const std::u16string& monitorName) {
  std::vector<std::uint8_t> input = TextBytes(name);
  std::u16string_view call = u"XcvData DeletePort";
  std::uint32_t code = 0;
  if (SameNameIgnoringCase(monitorName, kTcpIpMonitorName)) {
    TcpIpDeletePortData record = BuildTcpIpDeletePortData(name);
    input.assign(record.begin(), record.end());
    // A cut name would be another port's.
    if (!TcpIpDeletePortNameFits(name)) code = kErrorInvalidParameter;
  }
  const std::optional<std::u16string> handleName = MonitorHandleName(monitorName);
  PrinterHandle opened = 0;
  if (code == 0 && (!handleName || !platform.spooler.OpenPrinterW(*handleName, opened, kServerAccessAdminister))) {
    code = handleName ? platform.lastError.GetLastError() : kErrorFilenameExcedRange;
    call = u"OpenPrinter";
  }
  if (opened) {
    ScopedPrinterHandle monitor(platform.spooler, opened);
    std::vector<std::uint8_t> output;
    std::uint32_t needed = 0;
    if (!platform.spooler.XcvDataW(monitor.get(), kDeletePortCommand, input, output, needed, code)) {
      code = platform.lastError.GetLastError();
    }
  }
  return Finish(u"port", name, code, kErrorUnknownPort, call, u"DeletePort");
}

int RemoveDriver(PrintPlatform& platform, const std::u16string& environment, const std::u16string& name) {
  std::u16string_view call = u"DeletePrinterDriverEx";
  std::uint32_t code = 0;
  if (!platform.spooler.DeletePrinterDriverExW(environment, name, kDpdDeleteUnusedFiles | kDpdDeleteSpecificVersion,
                                               kDriverVersion)) {
    code = platform.lastError.GetLastError();
  }
  if (SpoolerRefusedTheCall(code)) {
    DebugTrace(u"DeletePrinterDriverEx Refused With %u: DeletePrinterDriver", code);
    call = u"DeletePrinterDriver";
    code = platform.spooler.DeletePrinterDriverW(environment, name) ? 0 : platform.lastError.GetLastError();
  }
  return Finish(u"driver", name + u" (" + environment + u")", code, kErrorUnknownPrinterDriver, call,
                u"DeletePrinterDriver");
}

}  // namespace

UninstallPlan PlanUninstall(const InstallContext& context, PrintPlatform& platform) {
  UninstallPlan plan;
  std::optional<std::vector<PrinterInfo2>> printers = EnumerateLocalPrinters(platform);
  if (!printers) {
    plan.unlisted.emplace_back(u"EnumPrinters", platform.lastError.GetLastError());
    DebugTrace(u"Uninstall Plan: EnumPrinters Failed, Nothing Planned");
    return plan;
  }
  // Without a name or a prefix every printer or driver would look like this program's.
  if (context.printerBaseName.empty() || context.driverPrefix.empty()) {
    DebugTrace(u"Uninstall Plan: No PrnName Or Prefix, Nothing Planned");
    return plan;
  }
  const std::u16string names[2] = {context.driverPrefix + u"ENG", context.driverPrefix + u"CHN"};
  std::vector<const PrinterInfo2*> ours;
  std::vector<const PrinterInfo2*> others;
  for (const PrinterInfo2& printer : *printers) {
    const bool ourDriver =
        SameNameIgnoringCase(printer.driverName, names[0]) || SameNameIgnoringCase(printer.driverName, names[1]);
    if (ourDriver && IsInstalledName(printer.printerName, context.printerBaseName)) {
      plan.printers.push_back(printer.printerName);
      ours.push_back(&printer);
    } else {
      others.push_back(&printer);
    }
  }
  if (!ours.empty()) PlanPorts(context, platform, ours, others, plan);
  PlanDrivers(platform, names, others, plan);
  DebugTrace(u"Uninstall Plan: %u Printers, %u Ports, %u Drivers", static_cast<unsigned>(plan.printers.size()),
             static_cast<unsigned>(plan.ports.size()), static_cast<unsigned>(plan.drivers.size()));
  return plan;
}

int RunUninstall(const InstallContext& context, PrintPlatform& platform, const UninstallPlan& plan) {
  int result = 1;
  for (const auto& [call, code] : plan.unlisted) {
    DebugTrace(u"%s Failed With %u: Uninstall Incomplete", call, code);
    ShowError(0, code, FormatWide(kBoxTextCapacity, u"%s Failed", call));
    result = 0;
  }
  if (plan.Empty()) {
    DebugTrace(u"Uninstall: nothing to remove");
    return result;
  }
  for (const std::u16string& printer : plan.printers) {
    if (!RemovePrinter(platform, printer)) result = 0;
  }
  for (std::size_t i = 0; i < plan.ports.size(); ++i) {
    const std::u16string& monitor = i < plan.portMonitors.size() ? plan.portMonitors[i] : context.portMonitorName;
    if (!RemovePort(platform, plan.ports[i], monitor)) result = 0;
  }
  for (const auto& [environment, driver] : plan.drivers) {
    if (!RemoveDriver(platform, environment, driver)) result = 0;
  }
  return result;
}
