#include "fake_spooler.h"


#include <algorithm>

#include "spooler/name_compare.h"

namespace {

constexpr char16_t kXcvMonitor[] = u", XcvMonitor ";
constexpr char16_t kXcvPort[] = u", XcvPort ";

bool StartsWith(const std::u16string& text, const std::u16string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

std::string Number(std::uint64_t value) { return std::to_string(value); }

void Put16(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
  bytes[offset] = static_cast<std::uint8_t>(value);
  bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}
void Put32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
  Put16(bytes, offset, value & 0xFFFF);
  Put16(bytes, offset + 2, value >> 16);
}

// The spooler's checks of a device mode handed in (MS-RPRN, DEVMODE_CONTAINER): the sizes it
// names are the bytes it has.
bool DevModeSizesHold(const std::vector<std::uint8_t>& devMode) {
  if (devMode.size() < devmode::kFields + 4) return false;
  return std::size_t{DevModeWord(devMode, devmode::kDmSize)} + DevModeWord(devMode, devmode::kDriverExtra) ==
         devMode.size();
}

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

std::vector<std::uint8_t> FakeDevMode(const std::u16string& deviceName, std::uint16_t orientation,
                                      std::uint16_t paperLength, std::uint16_t paperWidth, std::uint16_t driverExtra) {
  std::vector<std::uint8_t> bytes(devmode::kSize + driverExtra, 0);
  for (std::size_t i = 0; i < deviceName.size() && i < 31; ++i) Put16(bytes, devmode::kDeviceName + 2 * i, deviceName[i]);
  Put16(bytes, devmode::kSpecVersion, 0x0401);
  Put16(bytes, devmode::kDmSize, devmode::kSize);
  Put16(bytes, devmode::kDriverExtra, driverExtra);
  Put32(bytes, devmode::kFields, devmode::kFieldOrientation | devmode::kFieldPaperLength | devmode::kFieldPaperWidth);
  Put16(bytes, devmode::kOrientation, orientation);
  Put16(bytes, devmode::kPaperLength, paperLength);
  Put16(bytes, devmode::kPaperWidth, paperWidth);
  // The driver's private part: a pattern that tells whose it is.
  for (std::size_t i = 0; i < driverExtra; ++i) bytes[devmode::kSize + i] = static_cast<std::uint8_t>(0xA0 + i);
  return bytes;
}

std::uint16_t DevModeWord(const std::vector<std::uint8_t>& devMode, std::size_t offset) {
  if (offset + 2 > devMode.size()) return 0;
  return static_cast<std::uint16_t>(devMode[offset] | (devMode[offset + 1] << 8));
}

std::vector<std::uint8_t> FakeSecurityDescriptor(std::uint32_t ownerRid) {
  // SECURITY_DESCRIPTOR_RELATIVE (20 bytes), the owner SID (16), an ACL header with no entry (8).
  std::vector<std::uint8_t> bytes(44, 0);
  bytes[0] = 1;                     // Revision
  Put16(bytes, 2, 0x8000 | 0x0004); // SE_SELF_RELATIVE | SE_DACL_PRESENT
  Put32(bytes, 4, 20);              // OffsetOwner
  Put32(bytes, 16, 36);             // OffsetDacl
  bytes[20] = 1;                    // SID revision
  bytes[21] = 2;                    // two sub-authorities
  bytes[27] = 5;                    // SECURITY_NT_AUTHORITY
  Put32(bytes, 28, 32);             // SECURITY_BUILTIN_DOMAIN_RID
  Put32(bytes, 32, ownerRid);
  bytes[36] = 2;                    // ACL_REVISION
  Put16(bytes, 38, 8);              // AclSize
  return bytes;
}

std::vector<std::uint8_t> FakeSpooler::DefaultDevMode(const PrinterInfo2& info) {
  // Letter, portrait.
  return FakeDevMode(info.printerName, devmode::kPortrait, 2794, 2159, 8);
}

std::vector<std::uint8_t> FakeSpooler::DefaultSecurityDescriptor() { return FakeSecurityDescriptor(544); }

std::optional<std::u16string> FakePrinter::Text(const std::u16string& name) const {
  auto value = data.find(name);
  if (value == data.end()) return std::nullopt;
  const std::vector<std::uint8_t>& bytes = value->second.second;
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  return text;
}

FakeSpooler::FakeSpooler(CallLog& log) : FakeSeam(log) {
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
  printer.info.devMode = DefaultDevMode(printer.info);
  printer.info.securityDescriptor = DefaultSecurityDescriptor();
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
  // Windows' local monitor (Wine's localmon tests): a port that is not there is "file not found".
  if (SameNameIgnoringCase(name, u"Local Port")) monitor.goneStatus = kErrorFileNotFound;
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

template <class T>
std::optional<Read<T>> FakeSpooler::FailedRead(const std::string& method, const std::string& call) {
  const std::optional<std::uint32_t> code = Failing(method, call);
  if (!code) return std::nullopt;
  auto stage = readStages.find(method);
  return Read<T>::Failed(stage == readStages.end() ? ReadStage::SizeQueryFailed : stage->second, *code);
}

Opened FakeSpooler::Open(const std::u16string& printerName, std::uint32_t desiredAccess) {
  if (auto code = Failing("OpenPrinterW", "OpenPrinterW(" + Quoted(printerName) + ", " + Number(desiredAccess) + ")")) {
    return {0, *code};
  }
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
  if (!known) return {0, kErrorInvalidPrinterName};
  if (refuseAdministration && (desiredAccess & (kServerAccessAdminister | kPrinterAccessAdminister))) {
    return {0, kErrorAccessDenied};
  }
  return {NewHandle(target), 0};
}

bool FakeSpooler::ClosePrinter(PrinterHandle handle) {
  if (Enter("ClosePrinter", "ClosePrinter(" + HandleText(handle) + ")")) return false;
  return handles_.erase(handle) != 0;
}

XcvAnswer FakeSpooler::Xcv(PrinterHandle handle, const std::u16string& command,
                               const std::vector<std::uint8_t>& input, std::uint32_t outputSize) {
  XcvAnswer answer;
  answer.output.assign(outputSize, 0);
  if (auto code = Failing("XcvDataW", "XcvDataW(" + HandleText(handle) + ", " + Quoted(command) + ", " +
                                          Number(input.size()) + ", " + Number(outputSize) + ")")) {
    answer.call = Status::Failed(*code);
    return answer;
  }
  const Target* target = Find(handle);
  if (!target || target->kind == Kind::Printer) {
    answer.call = Status::Failed(kErrorInvalidHandle);
    return answer;
  }
  xcvCalls.push_back(XcvCall{target->opened, command, input, outputSize});
  answer.status = kErrorInvalidParameter;
  if (target->kind == Kind::Monitor && command == u"AddPort") {
    FakeMonitor& monitor = monitors[target->name];
    monitor.addPortInputs.push_back(input);
    if (!monitor.addPortCallSucceeds) {
      answer.status = 0;
      answer.call = Status::Failed(monitor.addPortError);
      return answer;
    }
    std::u16string name = GetText(input.data(), 0, std::min<std::size_t>(input.size() / 2, custom_port::kTextChars));
    if (FindPort(name)) {
      answer.status = monitor.existingPortStatus;
    } else {
      answer.status = monitor.addPortStatus;
      if (answer.status == 0 && monitor.createsPorts) {
        ports.push_back(PortInfo{name, monitor.name, monitor.portDescription, 0});
      }
    }
  } else if (target->kind == Kind::Monitor && command == u"DeletePort") {
    monitors[target->name].deletePortInputs.push_back(input);
    answer.status = DeletePortStatus(*target, input);
  } else if (target->kind == Kind::Port && command == u"GetPort") {
    const PortInfo* port = FindPort(target->name);
    auto monitor = port ? monitors.find(port->monitorName) : monitors.end();
    // A monitor without the command answers, but not with success.
    if (monitor == monitors.end()) return answer;
    if (!monitor->second.answersGetPort) {
      answer.status = 0;
      answer.call = Status::Failed(kErrorInvalidParameter);
      return answer;
    }
    answer.status = monitor->second.getPortStatus;
    const std::vector<std::uint8_t>& reply = monitor->second.getPortAnswer;
    std::copy_n(reply.begin(), std::min(reply.size(), answer.output.size()), answer.output.begin());
  }
  return answer;
}

Read<std::vector<PortInfo>> FakeSpooler::Ports(std::uint32_t level) {
  using Result = Read<std::vector<PortInfo>>;
  if (auto failed = FailedRead<std::vector<PortInfo>>("Ports", "Ports(" + Number(level) + ")")) return *failed;
  if (level != 1 && level != 2) return Result::Failed(ReadStage::SizeQueryFailed, kErrorInvalidLevel);
  // As the spooler: nothing to list answers the size query itself.
  if (ports.empty()) return Result::Failed(ReadStage::SizeQuerySucceeded, 0);
  std::vector<PortInfo> records;
  for (const PortInfo& port : ports) records.push_back(level == 1 ? PortInfo{port.portName, u"", u"", 0} : port);
  return Result::Of(std::move(records));
}

Read<std::vector<PrinterInfo2>> FakeSpooler::LocalPrinters() {
  using Result = Read<std::vector<PrinterInfo2>>;
  if (auto failed = FailedRead<std::vector<PrinterInfo2>>("LocalPrinters", "LocalPrinters()")) return *failed;
  if (printers.empty()) return Result::Failed(ReadStage::SizeQuerySucceeded, 0);
  std::vector<PrinterInfo2> records;
  for (const FakePrinter& printer : printers) records.push_back(printer.info);
  return Result::Of(std::move(records));
}

Read<PrinterInfo2> FakeSpooler::Printer(PrinterHandle handle) {
  if (auto failed = FailedRead<PrinterInfo2>("Printer", "Printer(" + HandleText(handle) + ")")) return *failed;
  FakePrinter* printer = PrinterOf(handle);
  if (!printer) return Read<PrinterInfo2>::Failed(ReadStage::SizeQueryFailed, kErrorInvalidHandle);
  return Read<PrinterInfo2>::Of(printer->info);
}

Read<std::u16string> FakeSpooler::DriverDirectory(const std::u16string& environment) {
  using Result = Read<std::u16string>;
  if (auto code = Failing("DriverDirectory", "DriverDirectory(" + Quoted(environment) + ")")) {
    return Result::Failed(ReadStage::FillFailed, *code);
  }
  const std::optional<std::u16string> resolved = KnownEnvironment(environment);
  if (!resolved) return Result::Failed(ReadStage::FillFailed, kErrorInvalidEnvironment);
  return Result::Of(driverDirectories.at(*resolved));
}

Read<std::vector<std::u16string>> FakeSpooler::Drivers(const std::u16string& environment) {
  using Result = Read<std::vector<std::u16string>>;
  if (auto failed = FailedRead<std::vector<std::u16string>>("Drivers", "Drivers(" + Quoted(environment) + ")")) {
    return *failed;
  }
  const std::optional<std::u16string> resolved = KnownEnvironment(environment);
  if (!resolved) return Result::Failed(ReadStage::SizeQueryFailed, kErrorInvalidEnvironment);
  std::vector<std::u16string> names;
  for (const DriverInfo3& driver : drivers) {
    if (SameNameIgnoringCase(driver.environment, *resolved)) names.push_back(driver.name);
  }
  if (names.empty()) return Result::Failed(ReadStage::SizeQuerySucceeded, 0);
  return Result::Of(std::move(names));
}

namespace {

// The file names a driver record holds: its four files, then each dependent file.
std::vector<std::u16string> NamedFiles(const DriverInfo3& info) {
  std::vector<std::u16string> names = {info.driverPath, info.dataFile, info.configFile, info.helpFile};
  for (std::size_t start = 0; start < info.dependentFiles.size();) {
    const std::size_t end = std::min(info.dependentFiles.find(u'\0', start), info.dependentFiles.size());
    if (end == start) break;  // the closing empty string
    names.push_back(info.dependentFiles.substr(start, end - start));
    start = end + 1;
  }
  names.erase(std::remove(names.begin(), names.end(), std::u16string()), names.end());
  return names;
}

}  // namespace

std::uint32_t FakeSpooler::RegisterChecked(const DriverInfo3& info, bool replaceFiles) {
  const std::optional<std::u16string> resolved = KnownEnvironment(info.environment);
  if (!resolved) return kErrorInvalidEnvironment;
  // As Windows: every file named must be in the driver directory (or already in its version
  // directory from an earlier registration); Wine registers the driver all the same.
  if (driverFileExists) {
    const std::u16string& directory = driverDirectories.at(*resolved);
    for (const std::u16string& name : NamedFiles(info)) {
      const std::u16string staged = directory + u"\\" + name;
      const std::u16string installed = directory + u"\\3\\" + name;
      if (!driverFileExists(staged) && !driverFileExists(installed)) return kErrorFileNotFound;
    }
  }
  DriverInfo3 record = info;
  record.environment = *resolved;
  // One record per name and environment: a newer registration replaces it.
  drivers.erase(std::remove_if(drivers.begin(), drivers.end(),
                               [&](const DriverInfo3& driver) {
                                 return SameNameIgnoringCase(driver.name, record.name) &&
                                        driver.environment == record.environment;
                               }),
                drivers.end());
  drivers.push_back(record);
  if (onDriverRegistered) onDriverRegistered(record, replaceFiles);
  return 0;
}

bool FakeSpooler::DriverKnown(const std::u16string& name) const {
  return std::any_of(drivers.begin(), drivers.end(), [&](const DriverInfo3& driver) {
    return SameNameIgnoringCase(driver.name, name) && SameNameIgnoringCase(driver.environment, environment);
  });
}

Status FakeSpooler::RegisterDriver(const DriverInfo3& info) {
  if (auto code = Failing("AddPrinterDriverW", "AddPrinterDriverW(3, " + Quoted(info.name) + ", " +
                                                   Quoted(info.environment) + ")")) {
    return Status::Failed(*code);
  }
  if (const std::uint32_t code = RegisterChecked(info, false)) return Status::Failed(code);
  return {};
}

Status FakeSpooler::RegisterDriverEx(const DriverInfo3& info, std::uint32_t fileCopyFlags) {
  if (auto code = Failing("AddPrinterDriverExW", "AddPrinterDriverExW(3, " + Quoted(info.name) + ", " +
                                                     Quoted(info.environment) + ", " + Number(fileCopyFlags) + ")")) {
    return Status::Failed(*code);
  }
  if (const std::uint32_t code = RegisterChecked(info, (fileCopyFlags & kApdCopyAllFiles) != 0)) {
    return Status::Failed(code);
  }
  return {};
}

Opened FakeSpooler::CreatePrinter(const PrinterInfo2& info) {
  if (auto code = Failing("AddPrinterW", "AddPrinterW(2, " + Quoted(info.printerName) + ", " + Quoted(info.portName) +
                                             ", " + Quoted(info.driverName) + ")")) {
    return {0, *code};
  }
  if (FindPrinter(info.printerName)) return {0, kErrorPrinterAlreadyExists};
  if (!DriverKnown(info.driverName)) return {0, kErrorUnknownPrinterDriver};
  if (!FindPort(info.portName)) return {0, kErrorUnknownPort};
  if (!info.devMode.empty() && !DevModeSizesHold(info.devMode)) return {0, kErrorInvalidParameter};
  FakePrinter printer;
  printer.info = info;
  if (printer.info.devMode.empty()) printer.info.devMode = DefaultDevMode(info);
  if (printer.info.securityDescriptor.empty()) printer.info.securityDescriptor = DefaultSecurityDescriptor();
  printers.push_back(printer);
  return {NewHandle(Target{Kind::Printer, info.printerName, info.printerName, kPrinterAllAccess}), 0};
}

Read<PrinterDataValue> FakeSpooler::DataValue(PrinterHandle handle, const std::u16string& valueName) {
  using Result = Read<PrinterDataValue>;
  if (auto failed = FailedRead<PrinterDataValue>("DataValue", "DataValue(" + HandleText(handle) + ", " + Quoted(valueName) + ")")) {
    return *failed;
  }
  FakePrinter* printer = PrinterOf(handle);
  if (!printer) return Result::Failed(ReadStage::SizeQueryFailed, kErrorInvalidHandle);
  auto value = printer->data.find(valueName);
  if (value == printer->data.end()) return Result::Failed(ReadStage::SizeQueryFailed, kErrorFileNotFound);
  // As GetPrinterDataW: a value of no bytes answers the size query itself.
  if (value->second.second.empty()) return Result::Failed(ReadStage::SizeQuerySucceeded, 0);
  return Result::Of(PrinterDataValue{value->second.first, value->second.second});
}

namespace {
std::int16_t Member(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::int16_t>(b[at] | (b[at + 1] << 8));
}
void SetMember(std::vector<std::uint8_t>& b, std::size_t at, std::int16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(v) >> 8);
}
std::uint32_t FieldsOf(const std::vector<std::uint8_t>& b) {
  return static_cast<std::uint32_t>(b[72] | b[73] << 8 | b[74] << 16 | b[75] << 24);
}
}  // namespace

std::vector<std::uint8_t> FakeDriverUi::Default() const {
  std::vector<std::uint8_t> devMode(kDevModePublicSize + 8, 0);
  SetMember(devMode, 68, static_cast<std::int16_t>(kDevModePublicSize));
  SetMember(devMode, 70, 8);
  devMode[72] = static_cast<std::uint8_t>(kDmOrientation | kDmPaperSize | kDmPaperLength | kDmPaperWidth);
  devMode[73] = static_cast<std::uint8_t>((kDmCopies | kDmPrintQuality) >> 8);
  SetMember(devMode, 76, 1);
  SetMember(devMode, 78, 9);  // DMPAPER_A4
  SetMember(devMode, 80, 2970);
  SetMember(devMode, 82, 2100);
  SetMember(devMode, 86, 1);
  SetMember(devMode, 90, 203);
  devMode[kDevModePublicSize] = 0x5A;  // its own part
  return devMode;
}

std::vector<std::uint8_t> FakeDriverUi::Merge(std::vector<std::uint8_t> current, const std::vector<std::uint8_t>& input) const {
  if (input.size() < 92) return current;
  const std::uint32_t fields = FieldsOf(input);
  const auto take = [&](std::uint32_t bit, std::size_t at) {
    if (fields & bit) SetMember(current, at, Member(input, at));
  };
  take(kDmOrientation, 76);
  take(kDmCopies, 86);
  take(kDmPrintQuality, 90);
  const bool custom = (fields & kDmPaperSize) && Member(input, 78) == 0;
  if (custom && (fields & kDmPaperWidth) && (fields & kDmPaperLength)) {
    const auto within = [&](std::int16_t v) { return v >= shortestTenths && v <= longestTenths; };
    if (within(Member(input, 82)) && within(Member(input, 80))) {
      SetMember(current, 78, 0);
      SetMember(current, 82, Member(input, 82));
      SetMember(current, 80, Member(input, 80));
    }
  } else {
    take(kDmPaperSize, 78);
  }
  return current;
}

Read<std::vector<std::uint8_t>> FakeSpooler::DriverDevMode(PrinterHandle handle, const std::u16string& printerName,
                                                           const std::vector<std::uint8_t>& input) {
  using Result = Read<std::vector<std::uint8_t>>;
  if (auto failed = FailedRead<std::vector<std::uint8_t>>(
          "DocumentPropertiesW", "DocumentPropertiesW(" + HandleText(handle) + ", " + Quoted(printerName) + ", " +
                                     (input.empty() ? "DM_OUT_BUFFER" : "DM_IN_BUFFER | DM_OUT_BUFFER") + ")")) {
    return *failed;
  }
  FakePrinter* printer = PrinterOf(handle);
  if (!printer) return Result::Failed(ReadStage::SizeQueryFailed, static_cast<std::uint32_t>(-1));
  auto ui = driverUis.find(printer->info.driverName);
  if (ui == driverUis.end()) return Result::Failed(ReadStage::SizeQueryFailed, static_cast<std::uint32_t>(-1));
  std::vector<std::uint8_t> current = printer->globalDevMode.empty() ? ui->second.Default() : printer->globalDevMode;
  return Result::Of(input.empty() ? current : ui->second.Merge(current, input));
}

Read<std::vector<std::uint8_t>> FakeSpooler::GlobalDevMode(PrinterHandle handle) {
  if (auto failed = FailedRead<std::vector<std::uint8_t>>("GetPrinterW8", "GetPrinterW(" + HandleText(handle) + ", 8)")) {
    return *failed;
  }
  FakePrinter* printer = PrinterOf(handle);
  if (!printer) return Read<std::vector<std::uint8_t>>::Failed(ReadStage::SizeQueryFailed, kErrorInvalidHandle);
  return Read<std::vector<std::uint8_t>>::Of(printer->globalDevMode);
}

Status FakeSpooler::SetGlobalDevMode(PrinterHandle handle, const std::vector<std::uint8_t>& devMode) {
  if (auto code = Failing("SetPrinterW", "SetPrinterW(" + HandleText(handle) + ", 8, " + Number(devMode.size()) + ")")) {
    return Status::Failed(*code);
  }
  FakePrinter* printer = PrinterOf(handle);
  if (!printer) return Status::Failed(kErrorInvalidHandle);
  if (!(Find(handle)->access & kPrinterAccessAdminister)) return Status::Failed(kErrorAccessDenied);
  printer->globalDevMode = devMode;
  return {};
}

Status FakeSpooler::SetData(PrinterHandle handle, const std::u16string& valueName, std::uint32_t type,
                                   const std::vector<std::uint8_t>& data) {
  if (auto code = Failing("SetPrinterDataW", "SetPrinterDataW(" + HandleText(handle) + ", " + Quoted(valueName) +
                                                 ", " + Number(type) + ", " + Number(data.size()) + ")")) {
    return Status::Failed(*code);
  }
  FakePrinter* printer = PrinterOf(handle);
  if (!printer) return Status::Failed(kErrorInvalidHandle);
  if (!printer->data.count(valueName)) printer->dataOrder.push_back(valueName);
  printer->data[valueName] = {type, data};
  return {};
}

bool FakeSpooler::PortDialog(WindowHandle owner, const std::u16string& portName) {
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

std::optional<std::u16string> FakeSpooler::KnownEnvironment(const std::u16string& environment) const {
  for (const auto& known : driverDirectories) {
    if (SameNameIgnoringCase(known.first, environment)) return known.first;
  }
  return std::nullopt;
}

Status FakeSpooler::RemoveDrivers(const std::u16string& name, const std::u16string& environment,
                                  std::optional<std::uint32_t> version) {
  auto matches = [&](const DriverInfo3& driver) {
    return SameNameIgnoringCase(driver.name, name) && SameNameIgnoringCase(driver.environment, environment) &&
           (!version || driver.cVersion == *version);
  };
  if (std::none_of(drivers.begin(), drivers.end(), matches)) return Status::Failed(kErrorUnknownPrinterDriver);
  if (DriverInUse(name)) return Status::Failed(kErrorPrinterDriverInUse);
  drivers.erase(std::remove_if(drivers.begin(), drivers.end(), matches), drivers.end());
  return {};
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
  if (name.empty() || port == ports.end()) return monitor.goneStatus;
  for (const FakePrinter& printer : printers) {
    if (PrinterUsesPort(printer, port->portName)) return kErrorBusy;
  }
  ports.erase(port);
  return 0;
}

Status FakeSpooler::PurgeJobs(PrinterHandle handle) {
  if (auto code = Failing("SetPrinterW", "SetPrinterW(" + HandleText(handle) + ", 0, null, 3)")) {
    return Status::Failed(*code);
  }
  FakePrinter* printer = PrinterOf(handle);
  if (!printer) return Status::Failed(kErrorInvalidHandle);
  if (!(Find(handle)->access & kPrinterAccessAdminister)) return Status::Failed(kErrorAccessDenied);
  printer->info.cJobs = 0;
  // A printer marked for deletion goes with its last job.
  if (printer->info.status & kPrinterStatusPendingDeletion) ErasePrinter(printer);
  return {};
}

Status FakeSpooler::ChangePrinter(PrinterHandle handle, const PrinterInfo2& info) {
  if (auto code = Failing("SetPrinterW", "SetPrinterW(" + HandleText(handle) + ", 2, " + Quoted(info.printerName) +
                                             ", " + Quoted(info.portName) + ", " + Quoted(info.driverName) + ", 0)")) {
    return Status::Failed(*code);
  }
  FakePrinter* printer = PrinterOf(handle);
  if (!printer) return Status::Failed(kErrorInvalidHandle);
  if (!(Find(handle)->access & kPrinterAccessAdminister)) return Status::Failed(kErrorAccessDenied);
  FakePrinter* sameName = FindPrinter(info.printerName);
  if (sameName && sameName != printer) return Status::Failed(kErrorPrinterAlreadyExists);
  if (!DriverKnown(info.driverName)) return Status::Failed(kErrorUnknownPrinterDriver);
  const std::vector<std::u16string> named = PortList(info.portName);
  if (named.empty() || std::any_of(named.begin(), named.end(), [&](const std::u16string& port) { return !FindPort(port); })) {
    return Status::Failed(kErrorUnknownPort);
  }
  if (!info.devMode.empty() && !DevModeSizesHold(info.devMode)) return Status::Failed(kErrorInvalidParameter);
  // The server, the status and the counts are the spooler's own: a record passed in does not set them.
  PrinterInfo2& kept = printer->info;
  kept.printerName = info.printerName;
  kept.shareName = info.shareName;
  kept.portName = info.portName;
  kept.driverName = info.driverName;
  kept.comment = info.comment;
  kept.location = info.location;
  kept.sepFile = info.sepFile;
  kept.printProcessor = info.printProcessor;
  kept.datatype = info.datatype;
  kept.parameters = info.parameters;
  kept.attributes = info.attributes;
  kept.priority = info.priority;
  kept.defaultPriority = info.defaultPriority;
  kept.startTime = info.startTime;
  kept.untilTime = info.untilTime;
  // The call passes no security descriptor, and a null one leaves the printer's as it is
  // (SetPrinter's remarks on Microsoft Learn). For a null device mode nothing is published, so
  // here the printer falls back to its driver's defaults: a caller that keeps the printer's
  // defaults hands back the one it read.
  kept.devMode = info.devMode.empty() ? DefaultDevMode(kept) : info.devMode;
  return {};
}

Status FakeSpooler::DeletePrinter(PrinterHandle handle) {
  if (auto code = Failing("DeletePrinter", "DeletePrinter(" + HandleText(handle) + ")")) return Status::Failed(*code);
  FakePrinter* printer = PrinterOf(handle);
  if (!printer) return Status::Failed(kErrorInvalidHandle);
  if (!(Find(handle)->access & kDeleteAccess)) return Status::Failed(kErrorAccessDenied);
  // With jobs it stays, marked, until they are printed or purged.
  if (printer->info.cJobs > 0) {
    printer->info.status |= kPrinterStatusPendingDeletion;
    return {};
  }
  ErasePrinter(printer);
  return {};
}

Status FakeSpooler::DeleteDriverEx(const std::u16string& environment, const std::u16string& driverName,
                                          std::uint32_t deleteFlags, std::uint32_t versionFlag) {
  if (auto code = Failing("DeletePrinterDriverExW", "DeletePrinterDriverExW(" + Quoted(environment) + ", " +
                                                        Quoted(driverName) + ", " + Number(deleteFlags) + ", " +
                                                        Number(versionFlag) + ")")) {
    return Status::Failed(*code);
  }
  const std::optional<std::u16string> resolved = KnownEnvironment(environment);
  if (!resolved) return Status::Failed(kErrorInvalidEnvironment);
  // DPD_DELETE_UNUSED_FILES, DPD_DELETE_SPECIFIC_VERSION and DPD_DELETE_ALL_FILES only.
  if (deleteFlags & ~std::uint32_t{0x7}) return Status::Failed(kErrorInvalidParameter);
  std::optional<std::uint32_t> version;
  if (deleteFlags & kDpdDeleteSpecificVersion) version = versionFlag;
  return RemoveDrivers(driverName, *resolved, version);
}

Status FakeSpooler::DeleteDriver(const std::u16string& environment, const std::u16string& driverName) {
  if (auto code = Failing("DeletePrinterDriverW",
                          "DeletePrinterDriverW(" + Quoted(environment) + ", " + Quoted(driverName) + ")")) {
    return Status::Failed(*code);
  }
  const std::optional<std::u16string> resolved = KnownEnvironment(environment);
  if (!resolved) return Status::Failed(kErrorInvalidEnvironment);
  return RemoveDrivers(driverName, *resolved, std::nullopt);
}
