#include "fake_spooler.h"

#include <algorithm>

#include "spooler/name_compare.h"

namespace {

constexpr char16_t kXcvMonitor[] = u", XcvMonitor ";
constexpr char16_t kXcvPort[] = u", XcvPort ";

bool StartsWith(const std::u16string& text, const std::u16string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

std::uint32_t TextBytesOf(const std::u16string& text) { return static_cast<std::uint32_t>(2 * (text.size() + 1)); }

// Sizes as the 32-bit records and their strings would take them.
std::uint32_t PrinterBytes(const PrinterInfo2& p) {
  return 84 + TextBytesOf(p.serverName) + TextBytesOf(p.printerName) + TextBytesOf(p.shareName) +
         TextBytesOf(p.portName) + TextBytesOf(p.driverName) + TextBytesOf(p.comment) + TextBytesOf(p.location) +
         TextBytesOf(p.sepFile) + TextBytesOf(p.printProcessor) + TextBytesOf(p.datatype) +
         TextBytesOf(p.parameters);
}

std::uint32_t DriverBytes(const DriverInfo3& d, std::uint32_t level) {
  if (level == 1) return 4 + TextBytesOf(d.name);
  std::uint32_t bytes = TextBytesOf(d.name) + TextBytesOf(d.environment) + TextBytesOf(d.driverPath) +
                        TextBytesOf(d.dataFile) + TextBytesOf(d.configFile);
  if (level == 2) return 24 + bytes;
  bytes += TextBytesOf(d.helpFile) + static_cast<std::uint32_t>(2 * d.dependentFiles.size());
  if (d.monitorName) bytes += TextBytesOf(*d.monitorName);
  if (d.defaultDataType) bytes += TextBytesOf(*d.defaultDataType);
  return 40 + bytes;
}

std::uint32_t PortBytes(const PortInfo& port, std::uint32_t level) {
  if (level == 1) return 4 + TextBytesOf(port.portName);
  return 20 + TextBytesOf(port.portName) + TextBytesOf(port.monitorName) + TextBytesOf(port.description);
}

std::string Number(std::uint64_t value) { return std::to_string(value); }

// A printer's port names: a pool lists them separated by commas.
std::vector<std::u16string> PortList(const std::u16string& ports) {
  std::vector<std::u16string> names;
  std::size_t start = 0;
  while (start <= ports.size()) {
    std::size_t end = ports.find(u',', start);
    if (end == std::u16string::npos) end = ports.size();
    if (end > start) names.push_back(ports.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

}  // namespace

std::optional<std::u16string> FakePrinter::Text(const std::u16string& name) const {
  auto value = data.find(name);
  if (value == data.end()) return std::nullopt;
  const std::vector<std::uint8_t>& bytes = value->second.second;
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  return text;
}

FakeSpooler::FakeSpooler(CallLog& log, LastError& lastError) : FakeSeam(log, lastError) {
  driverDirectories[u"Windows NT x86"] = u"C:\\windows\\system32\\spool\\drivers\\w32x86";
  driverDirectories[u"Windows x64"] = u"C:\\windows\\system32\\spool\\drivers\\x64";
}

FakePrinter& FakeSpooler::AddPrinter(const std::u16string& name, const std::u16string& port, std::uint32_t jobs,
                                     const std::u16string& driver) {
  FakePrinter printer;
  printer.info.printerName = name;
  printer.info.portName = port;
  printer.info.driverName = driver;
  printer.info.cJobs = jobs;
  printers.push_back(printer);
  return printers.back();
}

PortInfo& FakeSpooler::AddPort(const std::u16string& name, const std::u16string& monitor) {
  ports.push_back(PortInfo{name, monitor, u"Fake Port", 0});
  return ports.back();
}

FakeMonitor& FakeSpooler::AddMonitor(const std::u16string& name) {
  FakeMonitor& monitor = monitors[name];
  monitor.name = name;
  return monitor;
}

FakePrinter* FakeSpooler::FindPrinter(const std::u16string& name) {
  for (FakePrinter& printer : printers) {
    if (SameNameIgnoringCase(printer.info.printerName, name)) return &printer;
  }
  return nullptr;
}

const PortInfo* FakeSpooler::FindPort(const std::u16string& name) const {
  for (const PortInfo& port : ports) {
    if (SameNameIgnoringCase(port.portName, name)) return &port;
  }
  return nullptr;
}

const FakeSpooler::Target* FakeSpooler::Find(PrinterHandle handle) const {
  auto target = handles_.find(handle);
  return target == handles_.end() ? nullptr : &target->second;
}

std::string FakeSpooler::HandleText(PrinterHandle handle) const {
  const Target* target = Find(handle);
  return target ? Quoted(target->opened) : "<" + Number(handle) + ">";
}

PrinterHandle FakeSpooler::NewHandle(Target target) {
  PrinterHandle handle = nextHandle_++;
  handles_[handle] = std::move(target);
  return handle;
}

SpoolResult FakeSpooler::Fill(const std::string& method, std::uint32_t bytes, std::uint32_t bufferSize,
                              std::uint32_t& needed) {
  auto extra = neededOverride.find(method);
  needed = bytes + (extra == neededOverride.end() ? 0 : extra->second);
  if (bufferSize == 0) {
    if (needed == 0) return SpoolResult::Succeeded;
    SetError(kErrorInsufficientBuffer);
    return SpoolResult::Failed;
  }
  if (allocationFailures.Check(method)) {
    SetError(kErrorNotEnoughMemory);
    return SpoolResult::NoMemory;
  }
  if (bufferSize < needed) {
    SetError(kErrorInsufficientBuffer);
    return SpoolResult::Failed;
  }
  return SpoolResult::Succeeded;
}

bool FakeSpooler::OpenPrinterW(const std::u16string& printerName, PrinterHandle& handle,
                               std::uint32_t desiredAccess) {
  handle = 0;
  if (Enter("OpenPrinterW", "OpenPrinterW(" + Quoted(printerName) + ", " + Number(desiredAccess) + ")")) return false;
  Target target{Kind::Printer, printerName, printerName, desiredAccess};
  bool known = false;
  if (StartsWith(printerName, kXcvMonitor)) {
    target.kind = Kind::Monitor;
    target.name = printerName.substr(std::u16string(kXcvMonitor).size());
    known = monitors.count(target.name) != 0;
  } else if (StartsWith(printerName, kXcvPort)) {
    target.kind = Kind::Port;
    target.name = printerName.substr(std::u16string(kXcvPort).size());
    known = FindPort(target.name) != nullptr;
  } else {
    known = FindPrinter(printerName) != nullptr;
  }
  if (!known) {
    SetError(kErrorInvalidPrinterName);
    return false;
  }
  handle = NewHandle(target);
  return true;
}

bool FakeSpooler::ClosePrinter(PrinterHandle handle) {
  if (Enter("ClosePrinter", "ClosePrinter(" + HandleText(handle) + ")")) return false;
  if (!handles_.erase(handle)) {
    SetError(kErrorInvalidHandle);
    return false;
  }
  return true;
}

bool FakeSpooler::XcvDataW(PrinterHandle handle, const std::u16string& dataName,
                           const std::vector<std::uint8_t>& input, std::vector<std::uint8_t>& output,
                           std::uint32_t& outputNeeded, std::uint32_t& status) {
  outputNeeded = 0;
  if (Enter("XcvDataW", "XcvDataW(" + HandleText(handle) + ", " + Quoted(dataName) + ", " + Number(input.size()) +
                            ", " + Number(output.size()) + ")")) {
    return false;
  }
  const Target* target = Find(handle);
  if (!target || target->kind == Kind::Printer) {
    SetError(kErrorInvalidHandle);
    return false;
  }
  xcvCalls.push_back(XcvCall{target->opened, dataName, input, output.size()});
  if (target->kind == Kind::Monitor && dataName == u"AddPort") {
    FakeMonitor& monitor = monitors[target->name];
    monitor.addPortInputs.push_back(input);
    if (!monitor.addPortCallSucceeds) {
      SetError(monitor.addPortError);
      return false;
    }
    std::u16string name = GetText(input.data(), 0, std::min<std::size_t>(input.size() / 2, custom_port::kTextChars));
    if (FindPort(name)) {
      status = monitor.existingPortStatus;
    } else {
      status = monitor.addPortStatus;
      if (status == 0 && monitor.createsPorts) ports.push_back(PortInfo{name, monitor.name, monitor.portDescription, 0});
    }
    return true;
  }
  if (target->kind == Kind::Monitor && dataName == u"DeletePort") {
    monitors[target->name].deletePortInputs.push_back(input);
    status = DeletePortStatus(*target, input);
    return true;
  }
  if (target->kind == Kind::Port && dataName == u"GetPort") {
    const PortInfo* port = FindPort(target->name);
    auto monitor = port ? monitors.find(port->monitorName) : monitors.end();
    if (monitor == monitors.end()) {
      // A monitor without the command answers, but not with success.
      status = kErrorInvalidParameter;
      return true;
    }
    if (!monitor->second.answersGetPort) {
      SetError(kErrorInvalidParameter);
      return false;
    }
    status = monitor->second.getPortStatus;
    const std::vector<std::uint8_t>& answer = monitor->second.getPortAnswer;
    std::copy_n(answer.begin(), std::min(answer.size(), output.size()), output.begin());
    return true;
  }
  status = kErrorInvalidParameter;
  return true;
}

SpoolResult FakeSpooler::EnumPortsW(std::uint32_t level, std::uint32_t bufferSize, std::vector<PortInfo>& records,
                                    std::uint32_t& needed, std::uint32_t& returned) {
  records.clear();
  needed = 0;
  returned = 0;
  if (Enter("EnumPortsW", "EnumPortsW(" + Number(level) + ", " + Number(bufferSize) + ")")) return SpoolResult::Failed;
  std::uint32_t bytes = 0;
  for (const PortInfo& port : ports) bytes += PortBytes(port, level);
  SpoolResult result = Fill("EnumPortsW", bytes, bufferSize, needed);
  if (result != SpoolResult::Succeeded) return result;
  for (const PortInfo& port : ports) {
    records.push_back(level == 1 ? PortInfo{port.portName, u"", u"", 0} : port);
  }
  returned = static_cast<std::uint32_t>(records.size());
  return result;
}

SpoolResult FakeSpooler::EnumPrintersW(std::uint32_t flags, const std::optional<std::u16string>& name,
                                       std::uint32_t level, std::uint32_t bufferSize,
                                       std::vector<PrinterInfo2>& records, std::uint32_t& needed,
                                       std::uint32_t& returned) {
  records.clear();
  needed = 0;
  returned = 0;
  if (Enter("EnumPrintersW", "EnumPrintersW(" + Number(flags) + ", " + Quoted(name) + ", " + Number(level) + ", " +
                                 Number(bufferSize) + ")")) {
    return SpoolResult::Failed;
  }
  std::uint32_t bytes = 0;
  for (const FakePrinter& printer : printers) bytes += PrinterBytes(printer.info);
  SpoolResult result = Fill("EnumPrintersW", bytes, bufferSize, needed);
  if (result != SpoolResult::Succeeded) return result;
  for (const FakePrinter& printer : printers) records.push_back(printer.info);
  returned = static_cast<std::uint32_t>(records.size());
  return result;
}

SpoolResult FakeSpooler::GetPrinterW(PrinterHandle handle, std::uint32_t level, std::uint32_t bufferSize,
                                     PrinterInfo2& record, std::uint32_t& needed) {
  needed = 0;
  if (Enter("GetPrinterW", "GetPrinterW(" + HandleText(handle) + ", " + Number(level) + ", " + Number(bufferSize) + ")")) {
    return SpoolResult::Failed;
  }
  const Target* target = Find(handle);
  FakePrinter* printer = target && target->kind == Kind::Printer ? FindPrinter(target->name) : nullptr;
  if (!printer) {
    SetError(kErrorInvalidHandle);
    return SpoolResult::Failed;
  }
  SpoolResult result = Fill("GetPrinterW", PrinterBytes(printer->info), bufferSize, needed);
  if (result == SpoolResult::Succeeded) record = printer->info;
  return result;
}

bool FakeSpooler::GetPrinterDriverDirectoryW(const std::optional<std::u16string>& environment, std::uint32_t level,
                                             std::uint32_t bufferSize, std::u16string& directory,
                                             std::uint32_t& needed) {
  directory.clear();
  needed = 0;
  if (Enter("GetPrinterDriverDirectoryW", "GetPrinterDriverDirectoryW(" + Quoted(environment) + ", " + Number(level) +
                                              ", " + Number(bufferSize) + ")")) {
    return false;
  }
  auto found = driverDirectories.find(environment ? *environment : callerEnvironment);
  if (found == driverDirectories.end()) {
    SetError(kErrorInvalidEnvironment);
    return false;
  }
  needed = TextBytesOf(found->second);
  if (bufferSize < needed) {
    SetError(kErrorInsufficientBuffer);
    return false;
  }
  directory = found->second;
  return true;
}

bool FakeSpooler::AddPrinterDriverW(std::uint32_t level, const DriverInfo3& info) {
  if (Enter("AddPrinterDriverW", "AddPrinterDriverW(" + Number(level) + ", " + Quoted(info.name) + ", " +
                                     Quoted(info.environment) + ")")) {
    return false;
  }
  auto same = std::find_if(drivers.begin(), drivers.end(), [&](const DriverInfo3& driver) {
    return driver.name == info.name && driver.environment == info.environment;
  });
  if (same != drivers.end()) drivers.erase(same);
  drivers.push_back(info);
  return true;
}

PrinterHandle FakeSpooler::AddPrinterW(std::uint32_t level, const PrinterInfo2& info) {
  if (Enter("AddPrinterW", "AddPrinterW(" + Number(level) + ", " + Quoted(info.printerName) + ", " +
                               Quoted(info.portName) + ", " + Quoted(info.driverName) + ")")) {
    return 0;
  }
  if (FindPrinter(info.printerName)) {
    SetError(kErrorPrinterAlreadyExists);
    return 0;
  }
  bool driverKnown = std::any_of(drivers.begin(), drivers.end(),
                                 [&](const DriverInfo3& driver) { return driver.name == info.driverName; });
  if (!driverKnown) {
    SetError(kErrorUnknownPrinterDriver);
    return 0;
  }
  if (!FindPort(info.portName)) {
    SetError(kErrorUnknownPort);
    return 0;
  }
  FakePrinter printer;
  printer.info = info;
  printers.push_back(printer);
  return NewHandle(Target{Kind::Printer, info.printerName, info.printerName, kPrinterAllAccess});
}

std::uint32_t FakeSpooler::SetPrinterDataW(PrinterHandle handle, const std::u16string& valueName, std::uint32_t type,
                                           const std::vector<std::uint8_t>& data) {
  if (Enter("SetPrinterDataW", "SetPrinterDataW(" + HandleText(handle) + ", " + Quoted(valueName) + ", " +
                                   Number(type) + ", " + Number(data.size()) + ")")) {
    return lastError_.GetLastError();
  }
  const Target* target = Find(handle);
  FakePrinter* printer = target && target->kind == Kind::Printer ? FindPrinter(target->name) : nullptr;
  if (!printer) return kErrorInvalidHandle;
  if (!printer->data.count(valueName)) printer->dataOrder.push_back(valueName);
  printer->data[valueName] = {type, data};
  return 0;
}

bool FakeSpooler::ConfigurePortW(WindowHandle owner, const std::u16string& portName) {
  if (Enter("ConfigurePortW", "ConfigurePortW(" + Number(owner) + ", " + Quoted(portName) + ")")) return false;
  configuredPorts.push_back(portName);
  return true;
}

DriverInfo3& FakeSpooler::AddDriver(const std::u16string& name, const std::u16string& environment) {
  DriverInfo3 driver;
  driver.cVersion = 3;
  driver.name = name;
  driver.environment = environment;
  driver.driverPath = u"UNIDRV.DLL";
  driver.dataFile = name + u".GPD";
  driver.configFile = u"UNIDRVUI.DLL";
  drivers.push_back(driver);
  return drivers.back();
}

const DriverInfo3* FakeSpooler::FindDriver(const std::u16string& name, const std::u16string& environment) const {
  for (const DriverInfo3& driver : drivers) {
    if (SameNameIgnoringCase(driver.name, name) && SameNameIgnoringCase(driver.environment, environment)) return &driver;
  }
  return nullptr;
}

FakePrinter* FakeSpooler::PrinterOf(PrinterHandle handle) {
  const Target* target = Find(handle);
  return target && target->kind == Kind::Printer ? FindPrinter(target->name) : nullptr;
}

bool FakeSpooler::PrinterUsesPort(const FakePrinter& printer, const std::u16string& port) const {
  const std::vector<std::u16string> named = PortList(printer.info.portName);
  return std::any_of(named.begin(), named.end(), [&](const std::u16string& p) { return SameNameIgnoringCase(p, port); });
}

bool FakeSpooler::DriverInUse(const std::u16string& name) const {
  // Stricter than Windows, which would let the other environment's copy go: a printer has no
  // environment here.
  return std::any_of(printers.begin(), printers.end(),
                     [&](const FakePrinter& printer) { return SameNameIgnoringCase(printer.info.driverName, name); });
}

void FakeSpooler::ErasePrinter(const FakePrinter* printer) {
  printers.erase(std::remove_if(printers.begin(), printers.end(),
                                [printer](const FakePrinter& p) { return &p == printer; }),
                 printers.end());
}

bool FakeSpooler::KnownEnvironment(const std::optional<std::u16string>& environment, std::u16string& resolved) {
  resolved = environment ? *environment : callerEnvironment;
  for (const auto& known : driverDirectories) {
    if (SameNameIgnoringCase(known.first, resolved)) return true;
  }
  SetError(kErrorInvalidEnvironment);
  return false;
}

bool FakeSpooler::RemoveDrivers(const std::u16string& name, const std::u16string& environment,
                                std::optional<std::uint32_t> version) {
  auto matches = [&](const DriverInfo3& driver) {
    return SameNameIgnoringCase(driver.name, name) && SameNameIgnoringCase(driver.environment, environment) &&
           (!version || driver.cVersion == *version);
  };
  if (std::none_of(drivers.begin(), drivers.end(), matches)) {
    SetError(kErrorUnknownPrinterDriver);
    return false;
  }
  if (DriverInUse(name)) {
    SetError(kErrorPrinterDriverInUse);
    return false;
  }
  drivers.erase(std::remove_if(drivers.begin(), drivers.end(), matches), drivers.end());
  return true;
}

std::uint32_t FakeSpooler::DeletePortStatus(const Target& target, const std::vector<std::uint8_t>& input) {
  const FakeMonitor& monitor = monitors[target.name];
  if (monitor.deletePortStatus) return *monitor.deletePortStatus;
  if (!(target.access & kServerAccessAdminister)) return kErrorAccessDenied;
  std::u16string name;
  if (monitor.name == kTcpIpMonitorName) {
    using namespace delete_port_data_1;
    if (input.size() < kSize || GetU32(input.data(), kVersion) != 1) return kErrorInvalidParameter;
    name = GetText(input.data(), kPortName, kPortNameChars);
  } else {
    const std::size_t size = input.size();
    if (size < 2 || size % 2 != 0 || input[size - 1] != 0 || input[size - 2] != 0) return kErrorInvalidParameter;
    name = GetText(input.data(), 0, size / 2);
  }
  auto port = std::find_if(ports.begin(), ports.end(), [&](const PortInfo& p) {
    return SameNameIgnoringCase(p.portName, name) && SameNameIgnoringCase(p.monitorName, monitor.name);
  });
  if (name.empty() || port == ports.end()) return kErrorUnknownPort;
  for (const FakePrinter& printer : printers) {
    if (PrinterUsesPort(printer, port->portName)) return kErrorBusy;
  }
  ports.erase(port);
  return 0;
}

bool FakeSpooler::AddPrinterDriverExW(std::uint32_t level, const DriverInfo3& info, std::uint32_t fileCopyFlags) {
  if (Enter("AddPrinterDriverExW", "AddPrinterDriverExW(" + Number(level) + ", " + Quoted(info.name) + ", " +
                                       Quoted(info.environment) + ", " + Number(fileCopyFlags) + ")")) {
    return false;
  }
  auto same = std::find_if(drivers.begin(), drivers.end(), [&](const DriverInfo3& driver) {
    return driver.name == info.name && driver.environment == info.environment;
  });
  if (same != drivers.end()) drivers.erase(same);
  drivers.push_back(info);
  return true;
}

bool FakeSpooler::SetPrinterW(PrinterHandle handle, std::uint32_t level, const PrinterInfo2* info,
                              std::uint32_t command) {
  std::string record = info ? Quoted(info->printerName) + ", " + Quoted(info->portName) + ", " +
                                  Quoted(info->driverName)
                            : std::string("null");
  if (Enter("SetPrinterW", "SetPrinterW(" + HandleText(handle) + ", " + Number(level) + ", " + record + ", " +
                               Number(command) + ")")) {
    return false;
  }
  FakePrinter* printer = PrinterOf(handle);
  if (!printer) {
    SetError(kErrorInvalidHandle);
    return false;
  }
  if (!(Find(handle)->access & kPrinterAccessAdminister)) {
    SetError(kErrorAccessDenied);
    return false;
  }
  if (level == 0) {
    // Only PRINTER_CONTROL_SET_STATUS takes a record, and it is not played here.
    if (info) {
      SetError(kErrorInvalidParameter);
      return false;
    }
    // Only the purge is played here.
    if (command != kPrinterControlPurge) {
      SetError(kErrorInvalidPrinterCommand);
      return false;
    }
    printer->info.cJobs = 0;
    // A printer marked for deletion goes with its last job.
    if (printer->info.status & kPrinterStatusPendingDeletion) ErasePrinter(printer);
    return true;
  }
  if (command != 0 || !info) {
    SetError(kErrorInvalidParameter);
    return false;
  }
  if (level != 2) {
    SetError(kErrorInvalidLevel);
    return false;
  }
  FakePrinter* sameName = FindPrinter(info->printerName);
  if (sameName && sameName != printer) {
    SetError(kErrorPrinterAlreadyExists);
    return false;
  }
  bool driverKnown = std::any_of(drivers.begin(), drivers.end(), [&](const DriverInfo3& driver) {
    return SameNameIgnoringCase(driver.name, info->driverName);
  });
  if (!driverKnown) {
    SetError(kErrorUnknownPrinterDriver);
    return false;
  }
  const std::vector<std::u16string> named = PortList(info->portName);
  if (named.empty() || std::any_of(named.begin(), named.end(), [&](const std::u16string& port) { return !FindPort(port); })) {
    SetError(kErrorUnknownPort);
    return false;
  }
  // The server, the status and the counts are the spooler's own: a record passed in does not set them.
  PrinterInfo2& kept = printer->info;
  kept.printerName = info->printerName;
  kept.shareName = info->shareName;
  kept.portName = info->portName;
  kept.driverName = info->driverName;
  kept.comment = info->comment;
  kept.location = info->location;
  kept.sepFile = info->sepFile;
  kept.printProcessor = info->printProcessor;
  kept.datatype = info->datatype;
  kept.parameters = info->parameters;
  kept.attributes = info->attributes;
  kept.priority = info->priority;
  kept.defaultPriority = info->defaultPriority;
  kept.startTime = info->startTime;
  kept.untilTime = info->untilTime;
  return true;
}

bool FakeSpooler::DeletePrinter(PrinterHandle handle) {
  if (Enter("DeletePrinter", "DeletePrinter(" + HandleText(handle) + ")")) return false;
  FakePrinter* printer = PrinterOf(handle);
  if (!printer) {
    SetError(kErrorInvalidHandle);
    return false;
  }
  if (!(Find(handle)->access & kDeleteAccess)) {
    SetError(kErrorAccessDenied);
    return false;
  }
  // With jobs it stays, marked, until they are printed or purged.
  if (printer->info.cJobs > 0) {
    printer->info.status |= kPrinterStatusPendingDeletion;
    return true;
  }
  ErasePrinter(printer);
  return true;
}

SpoolResult FakeSpooler::EnumPrinterDriversW(const std::optional<std::u16string>& environment, std::uint32_t level,
                                             std::uint32_t bufferSize, std::vector<DriverInfo3>& records,
                                             std::uint32_t& needed, std::uint32_t& returned) {
  records.clear();
  needed = 0;
  returned = 0;
  if (Enter("EnumPrinterDriversW", "EnumPrinterDriversW(" + Quoted(environment) + ", " + Number(level) + ", " +
                                       Number(bufferSize) + ")")) {
    return SpoolResult::Failed;
  }
  std::u16string resolved;
  if (!KnownEnvironment(environment, resolved)) return SpoolResult::Failed;
  if (level < 1 || level > 3) {
    SetError(kErrorInvalidLevel);
    return SpoolResult::Failed;
  }
  std::vector<const DriverInfo3*> listed;
  for (const DriverInfo3& driver : drivers) {
    if (SameNameIgnoringCase(driver.environment, resolved)) listed.push_back(&driver);
  }
  std::uint32_t bytes = 0;
  for (const DriverInfo3* driver : listed) bytes += DriverBytes(*driver, level);
  SpoolResult result = Fill("EnumPrinterDriversW", bytes, bufferSize, needed);
  if (result != SpoolResult::Succeeded) return result;
  for (const DriverInfo3* driver : listed) {
    DriverInfo3 record;
    record.name = driver->name;
    if (level >= 2) {
      record.cVersion = driver->cVersion;
      record.environment = driver->environment;
      record.driverPath = driver->driverPath;
      record.dataFile = driver->dataFile;
      record.configFile = driver->configFile;
    }
    if (level == 3) record = *driver;
    records.push_back(record);
  }
  returned = static_cast<std::uint32_t>(records.size());
  return result;
}

bool FakeSpooler::DeletePrinterDriverExW(const std::optional<std::u16string>& environment,
                                         const std::u16string& driverName, std::uint32_t deleteFlags,
                                         std::uint32_t versionFlag) {
  if (Enter("DeletePrinterDriverExW", "DeletePrinterDriverExW(" + Quoted(environment) + ", " + Quoted(driverName) +
                                          ", " + Number(deleteFlags) + ", " + Number(versionFlag) + ")")) {
    return false;
  }
  std::u16string resolved;
  if (!KnownEnvironment(environment, resolved)) return false;
  // DPD_DELETE_UNUSED_FILES, DPD_DELETE_SPECIFIC_VERSION and DPD_DELETE_ALL_FILES only.
  if (deleteFlags & ~std::uint32_t{0x7}) {
    SetError(kErrorInvalidParameter);
    return false;
  }
  std::optional<std::uint32_t> version;
  if (deleteFlags & kDpdDeleteSpecificVersion) version = versionFlag;
  return RemoveDrivers(driverName, resolved, version);
}

bool FakeSpooler::DeletePrinterDriverW(const std::optional<std::u16string>& environment,
                                       const std::u16string& driverName) {
  if (Enter("DeletePrinterDriverW",
            "DeletePrinterDriverW(" + Quoted(environment) + ", " + Quoted(driverName) + ")")) {
    return false;
  }
  std::u16string resolved;
  if (!KnownEnvironment(environment, resolved)) return false;
  return RemoveDrivers(driverName, resolved, std::nullopt);
}
