#include "spooler/uninstall.h"

#include <algorithm>

#include "diag/diagnostics.h"
#include "diag/format.h"
#include "spooler/name_compare.h"
#include "spooler/refused_call.h"

namespace {

constexpr std::uint32_t kErrorFileNotFound = 2;             // ERROR_FILE_NOT_FOUND
constexpr std::uint32_t kErrorUnknownPort = 1796;           // ERROR_UNKNOWN_PORT
constexpr std::uint32_t kErrorUnknownPrinterDriver = 1797;  // ERROR_UNKNOWN_PRINTER_DRIVER
constexpr std::uint32_t kErrorInvalidPrinterName = 1801;    // ERROR_INVALID_PRINTER_NAME
constexpr std::uint32_t kErrorInvalidEnvironment = 1805;    // ERROR_INVALID_ENVIRONMENT
constexpr std::uint32_t kErrorInvalidParameter = 87;        // ERROR_INVALID_PARAMETER
constexpr std::uint32_t kDriverVersion = 3;

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

// A printer of others using port, or null.
const PrinterInfo2* UserOfPort(const std::vector<const PrinterInfo2*>& others, const std::u16string& port) {
  for (const PrinterInfo2* printer : others) {
    if (UsesPort(*printer, port)) return printer;
  }
  return nullptr;
}

// Ports of other monitors (COM, LPT, the spooler's USB ports) were not made by an install.
bool InstallsMonitor(const InstallContext& context, const std::u16string& monitorName) {
  return SameNameIgnoringCase(monitorName, kTcpIpMonitorName) ||
         (!context.portMonitorName.empty() && SameNameIgnoringCase(monitorName, context.portMonitorName));
}

const PortInfo* Listed(const std::vector<PortInfo>& listed, const std::u16string& port) {
  for (const PortInfo& record : listed) {
    if (SameNameIgnoringCase(record.portName, port)) return &record;
  }
  return nullptr;
}

// Each port asked about once, in order: planned when no printer of others uses it and an
// install's monitor lists it; noted as gone when no monitor lists it (any more).
void PlanPorts(const InstallContext& context, PrintPlatform& platform, const std::vector<std::u16string>& ports,
               const std::vector<const PrinterInfo2*>& others, UninstallPlan& plan) {
  const Read<std::vector<PortInfo>> listed = AsListing(platform.spooler.Ports(2));
  if (!listed) {
    plan.unlisted.emplace_back(u"EnumPorts", listed.code);
    return;
  }
  std::vector<std::u16string> asked;
  for (const std::u16string& port : ports) {
    if (ContainsName(asked, port)) continue;
    asked.push_back(port);
    if (const PrinterInfo2* user = UserOfPort(others, port)) {
      DebugTrace(u"Port %s Kept: Printer %s Uses It", port, user->printerName);
      continue;
    }
    const PortInfo* record = Listed(listed.value, port);
    if (!record) {
      plan.portsGone.push_back(port);
    } else if (InstallsMonitor(context, record->monitorName)) {
      plan.ports.push_back(record->portName);
      plan.portMonitors.push_back(record->monitorName);
    }
  }
}

void PlanDrivers(PrintPlatform& platform, const std::u16string (&names)[2],
                 const std::vector<const PrinterInfo2*>& others, UninstallPlan& plan) {
  std::vector<std::u16string> environments = {DriverEnvironment(32)};
  if (platform.osBitness == 64) environments.push_back(DriverEnvironment(64));
  for (const std::u16string& environment : environments) {
    const Read<std::vector<std::u16string>> listed = AsListing(platform.spooler.Drivers(environment));
    if (!listed) {
      // A spooler without that environment has no driver in it.
      if (listed.code != kErrorInvalidEnvironment) plan.unlisted.emplace_back(u"EnumPrinterDrivers", listed.code);
      continue;
    }
    for (const std::u16string& name : names) {
      const std::u16string* record = nullptr;
      for (const std::u16string& driver : listed.value) {
        if (SameNameIgnoringCase(driver, name)) {
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
      plan.drivers.emplace_back(environment, *record);
    }
  }
}

// The end of one object's step: 0 is removed, goneCode means it was gone already (removed all
// the same); any other code failed the step, with a trace line naming the call.
UninstallStep Finish(UninstallStep step, std::uint32_t goneCode) {
  const std::u16string_view kind = UninstallKindName(step.kind);
  if (step.code == 0 || step.code == goneCode) {
    DebugTrace(step.code == 0 ? u"Removed %s %s" : u"Already gone: %s %s", kind, step.object);
    step.removed = true;
    return step;
  }
  DebugTrace(u"%s Failed: %s Error %u", step.call, step.object, step.code);
  return step;
}

UninstallStep RemovePrinter(PrintPlatform& platform, const std::u16string& name) {
  UninstallStep step{UninstallKind::Printer, name, u"OpenPrinter"};
  const Opened opened = platform.spooler.Open(name, kPrinterAllAccess);
  if (!opened) {
    step.code = opened.code;
    return Finish(step, kErrorInvalidPrinterName);
  }
  ScopedPrinterHandle printer(platform.spooler, opened.handle);
  // A printer with jobs only goes once they are printed, and keeps its port and driver in use
  // meanwhile: its jobs are purged first. When the purge is refused (Wine 8 has no level 0),
  // the printer still goes now if it has no job.
  std::uint32_t jobs = 0;
  if (const Status purged = platform.spooler.PurgeJobs(printer.get()); !purged) {
    step.code = purged.code;
    DebugTrace(u"SetPrinter Purge Failed: %s Error %u", name, purged.code);
    const Read<PrinterInfo2> info = platform.spooler.Printer(printer.get());
    jobs = info ? info.value.cJobs : 0;
  }
  step.call = u"DeletePrinter";
  if (const Status deleted = platform.spooler.DeletePrinter(printer.get()); !deleted) {
    step.code = deleted.code;
  } else if (jobs > 0) {
    DebugTrace(u"Printer %s Marked For Deletion: %u Jobs Left", name, jobs);
    step.call = u"SetPrinter Purge";
  } else {
    step.code = 0;
  }
  // The spooler lets the printer go once its last handle is closed.
  printer.reset();
  return Finish(step, kErrorInvalidPrinterName);
}

// The Standard TCP/IP monitor takes DELETE_PORT_DATA_1; every other monitor the port's name with
// its terminator, as XcvDataPort's "DeletePort" is published.
UninstallStep RemovePort(PrintPlatform& platform, const std::u16string& name, const std::u16string& monitorName) {
  UninstallStep step{UninstallKind::Port, name, u"XcvData DeletePort"};
  std::vector<std::uint8_t> input = TextBytes(name);
  if (SameNameIgnoringCase(monitorName, kTcpIpMonitorName)) {
    TcpIpDeletePortData record = BuildTcpIpDeletePortData(name);
    input.assign(record.begin(), record.end());
    // A cut name would be another port's.
    if (!TcpIpDeletePortNameFits(name)) {
      step.code = kErrorInvalidParameter;
      return Finish(step, kErrorUnknownPort);
    }
  }
  const std::optional<std::u16string> handleName = MonitorHandleName(monitorName);
  const Opened opened =
      handleName ? platform.spooler.Open(*handleName, kServerAccessAdminister) : Opened{0, kErrorFilenameExcedRange};
  if (!opened) {
    step.call = u"OpenPrinter";
    step.code = opened.code;
    return Finish(step, kErrorUnknownPort);
  }
  ScopedPrinterHandle monitor(platform.spooler, opened.handle);
  const XcvAnswer answer = platform.spooler.Xcv(monitor.get(), kDeletePortCommand, input, 0);
  step.code = answer.call ? answer.status : answer.call.code;
  monitor.reset();
  // Windows' local monitor answers a port already gone with ERROR_FILE_NOT_FOUND.
  return Finish(step, answer.call && step.code == kErrorFileNotFound ? kErrorFileNotFound : kErrorUnknownPort);
}

UninstallStep RemoveDriver(PrintPlatform& platform, const std::u16string& environment, const std::u16string& name) {
  UninstallStep step{UninstallKind::Driver, name + u" (" + environment + u")", u"DeletePrinterDriverEx"};
  step.code = platform.spooler
                  .DeleteDriverEx(environment, name, kDpdDeleteUnusedFiles | kDpdDeleteSpecificVersion,
                                         kDriverVersion)
                  .code;
  if (SpoolerRefusedTheCall(step.code)) {
    DebugTrace(u"DeletePrinterDriverEx Refused With %u: DeletePrinterDriver", step.code);
    step.call = u"DeletePrinterDriver";
    step.code = platform.spooler.DeleteDriver(environment, name).code;
  }
  return Finish(step, kErrorUnknownPrinterDriver);
}

}  // namespace

UninstallPlan PlanUninstall(const InstallContext& context, PrintPlatform& platform,
                            const std::vector<std::u16string>& recordedPorts) {
  UninstallPlan plan;
  const Read<std::vector<PrinterInfo2>> printers = LocalPrinters(platform);
  if (!printers) {
    plan.unlisted.emplace_back(u"EnumPrinters", printers.code);
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
  for (const PrinterInfo2& printer : printers.value) {
    const bool ourDriver =
        SameNameIgnoringCase(printer.driverName, names[0]) || SameNameIgnoringCase(printer.driverName, names[1]);
    if (ourDriver && IsInstalledName(printer.printerName, context.printerBaseName)) {
      plan.printers.push_back(printer.printerName);
      ours.push_back(&printer);
    } else {
      others.push_back(&printer);
    }
  }
  std::vector<std::u16string> ports;
  for (const PrinterInfo2* printer : ours) {
    for (const std::u16string& port : PortsOf(*printer)) ports.push_back(port);
  }
  ports.insert(ports.end(), recordedPorts.begin(), recordedPorts.end());
  if (!ports.empty()) PlanPorts(context, platform, ports, others, plan);
  PlanDrivers(platform, names, others, plan);
  DebugTrace(u"Uninstall Plan: %u Printers, %u Ports, %u Drivers", static_cast<unsigned>(plan.printers.size()),
             static_cast<unsigned>(plan.ports.size()), static_cast<unsigned>(plan.drivers.size()));
  return plan;
}

UninstallPlan PlanPortRemoval(const InstallContext& context, PrintPlatform& platform,
                              const std::vector<std::u16string>& ports) {
  UninstallPlan plan;
  if (ports.empty()) return plan;
  const Read<std::vector<PrinterInfo2>> printers = LocalPrinters(platform);
  if (!printers) {
    plan.unlisted.emplace_back(u"EnumPrinters", printers.code);
    return plan;
  }
  std::vector<const PrinterInfo2*> users;
  for (const PrinterInfo2& printer : printers.value) users.push_back(&printer);
  PlanPorts(context, platform, ports, users, plan);
  return plan;
}

std::vector<std::u16string> InstallMadePorts(const InstallContext& context, PrintPlatform& platform,
                                             const std::vector<std::u16string>& ports) {
  if (ports.empty()) return ports;
  const Read<std::vector<PortInfo>> listed = AsListing(platform.spooler.Ports(2));
  if (!listed) return ports;
  std::vector<std::u16string> made;
  for (const std::u16string& port : ports) {
    const PortInfo* record = Listed(listed.value, port);
    if (record && InstallsMonitor(context, record->monitorName)) made.push_back(record->portName);
  }
  return made;
}

std::u16string_view UninstallKindName(UninstallKind kind) {
  switch (kind) {
    case UninstallKind::Printer: return u"printer";
    case UninstallKind::Port: return u"port";
    case UninstallKind::Driver: break;
  }
  return u"driver";
}

std::vector<UninstallStep> RunUninstall(const InstallContext& context, PrintPlatform& platform,
                                        const UninstallPlan& plan) {
  std::vector<UninstallStep> steps;
  if (plan.Empty()) {
    DebugTrace(u"Uninstall: nothing to remove");
    return steps;
  }
  for (const std::u16string& printer : plan.printers) steps.push_back(RemovePrinter(platform, printer));
  for (std::size_t i = 0; i < plan.ports.size(); ++i) {
    const std::u16string& monitor = i < plan.portMonitors.size() ? plan.portMonitors[i] : context.portMonitorName;
    steps.push_back(RemovePort(platform, plan.ports[i], monitor));
  }
  for (const auto& [environment, driver] : plan.drivers) steps.push_back(RemoveDriver(platform, environment, driver));
  return steps;
}
