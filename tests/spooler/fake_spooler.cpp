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

std::uint32_t PortBytes(const PortInfo& port, std::uint32_t level) {
  if (level == 1) return 4 + TextBytesOf(port.portName);
  return 20 + TextBytesOf(port.portName) + TextBytesOf(port.monitorName) + TextBytesOf(port.description);
}

std::string Number(std::uint64_t value) { return std::to_string(value); }

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
  Target target{Kind::Printer, printerName, printerName};
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
  return NewHandle(Target{Kind::Printer, info.printerName, info.printerName});
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
