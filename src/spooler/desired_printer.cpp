#include "spooler/desired_printer.h"

#include <algorithm>

#include "diag/format.h"
#include "spooler/name_compare.h"

namespace {

constexpr std::uint32_t kPrinterAccessUse = 0x00000008;  // PRINTER_ACCESS_USE: reading is all
constexpr std::uint32_t kErrorFileNotFound = 2;          // a data value that is not there

std::u16string CodeText(const char16_t* what, std::uint32_t code) {
  return FormatWide(kPathCapacity, u"%s (error %u)", what, code);
}

// The printer-data text as SetData stored it: UTF-16LE, any terminator left off.
std::u16string TextOf(const std::vector<std::uint8_t>& bytes) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  }
  while (!text.empty() && text.back() == u'\0') text.pop_back();
  return text;
}

bool ContainsName(const std::vector<std::u16string>& names, const std::u16string& name) {
  return std::any_of(names.begin(), names.end(), [&](const std::u16string& n) { return SameNameIgnoringCase(n, name); });
}

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && SameNameIgnoringCase(text.substr(0, prefix.size()), prefix);
}

const PortInfo* ListedPort(const std::vector<PortInfo>& ports, const std::u16string& name) {
  for (const PortInfo& port : ports) {
    if (SameNameIgnoringCase(port.portName, name)) return &port;
  }
  return nullptr;
}

Check Ok(std::u16string item) { return {Verdict::Ok, std::move(item), {}, {}}; }
Check Missing(std::u16string item) { return {Verdict::Missing, std::move(item), {}, {}}; }
Check Differs(std::u16string item, std::u16string wanted, std::u16string found) {
  return {Verdict::Differs, std::move(item), std::move(wanted), std::move(found)};
}

Check DriverCheck(const DesiredPrinter& desired, const InstalledPrinter& installed) {
  const std::u16string& wanted = desired.package.driverName;
  const std::u16string item = u"driver " + wanted;
  if (installed.printer && !SameNameIgnoringCase(installed.printer->driverName, wanted)) {
    return Differs(item, wanted, installed.printer->driverName);
  }
  if (!installed.drivers) {
    return Differs(item, wanted + u" (" + desired.environment + u")", CodeText(u"drivers not listed", installed.drivers.code));
  }
  if (!ContainsName(installed.drivers.value, wanted)) {
    if (!installed.printer) return Missing(item);
    return Differs(item, wanted + u" (" + desired.environment + u")", u"not registered for " + desired.environment);
  }
  return Ok(item);
}

Check FileCheck(const InstalledFile& file) {
  const std::u16string item = u"file " + file.file.name;
  if (!file.package || !file.installed) return Missing(item);
  const std::vector<std::uint8_t>& want = file.package.value;
  const std::vector<std::uint8_t>& have = file.installed.value;
  if (want == have) return Ok(item);
  const auto mismatch = std::mismatch(want.begin(), want.end(), have.begin(), have.end());
  const std::size_t at = static_cast<std::size_t>(mismatch.first - want.begin());
  return Differs(item, FormatWide(kPathCapacity, u"the package's %u bytes", static_cast<std::uint32_t>(want.size())),
                 FormatWide(kPathCapacity, u"%u bytes, different from byte %u", static_cast<std::uint32_t>(have.size()),
                            static_cast<std::uint32_t>(at)));
}

// The port a printer is on must be the one the configuration makes, alone (a pool is not it).
Check PortCheck(const DesiredPrinter& desired, const InstalledPrinter& installed) {
  const DesiredPort& port = desired.port;
  const std::u16string item = u"port " + port.name;
  const PrinterInfo2* printer = installed.printer ? &*installed.printer : nullptr;
  if (!installed.ports) return Differs(item, port.name, CodeText(u"ports not listed", installed.ports.code));
  if (port.kind == PortKind::MonitorPort) {
    const std::u16string wanted = port.name + u"* (" + port.monitor + u")";
    if (!printer) return Missing(item);
    const PortInfo* listed = ListedPort(installed.ports.value, printer->portName);
    if (!StartsWithIgnoringCase(printer->portName, port.name) || !listed ||
        !SameNameIgnoringCase(listed->monitorName, port.monitor)) {
      return Differs(item, wanted, printer->portName);
    }
    return Ok(item);
  }
  const PortInfo* listed = ListedPort(installed.ports.value, port.name);
  if (port.kind == PortKind::Network && (!listed || !SameNameIgnoringCase(listed->monitorName, port.monitor))) {
    if (!listed) return Missing(item);
    return Differs(item, port.name + u" (" + port.monitor + u")", listed->portName + u" (" + listed->monitorName + u")");
  }
  if (!listed) return Missing(item);
  if (!printer) return Ok(item);  // the port is there; the printer's own line says it is not
  if (!SameNameIgnoringCase(printer->portName, port.name)) return Differs(item, port.name, printer->portName);
  return Ok(item);
}

Check DataCheck(const PrinterDataEntry& entry, const InstalledPrinter& installed, const InstalledData* read) {
  const std::u16string item = u"data " + entry.key;
  if (!installed.printer) return Missing(item);
  if (!installed.opened) return Differs(item, entry.value, CodeText(u"printer not opened", installed.opened.code));
  if (!read) return Missing(item);
  const Read<PrinterDataValue>& value = read->value;
  if (value.EmptyListing()) return entry.value.empty() ? Ok(item) : Differs(item, entry.value, u"");
  if (!value) {
    if (value.code == kErrorFileNotFound) return Missing(item);
    return Differs(item, entry.value, CodeText(u"not read", value.code));
  }
  if (value.value.type != kRegSz) {
    return Differs(item, entry.value, FormatWide(kPathCapacity, u"a value of type %u", value.value.type));
  }
  const std::u16string text = TextOf(value.value.bytes);
  if (text != entry.value) return Differs(item, entry.value, text);
  return Ok(item);
}

}  // namespace

DesiredPort NetworkPort(const std::u16string& address) { return {PortKind::Network, address, kTcpIpMonitorName}; }

DesiredPort MonitorPortOf(const InstallContext& context) {
  return {PortKind::MonitorPort, context.portNamePrefix, context.portMonitorName};
}

DesiredPort SpoolerPort(const std::u16string& name) { return {PortKind::SpoolerPort, name, {}}; }

DesiredPrinter MakeDesiredPrinter(const InstallContext& context, int osBitness, DesiredPort port) {
  DesiredPrinter desired;
  desired.printerName = context.printerBaseName;
  desired.package =
      BuildDriverFileNames(context.driverPrefix, context.languageCode, context.installDir, context.setupDirName);
  desired.environment = DriverEnvironment(osBitness);
  const DriverFileNames& names = desired.package;
  desired.files = {{names.gpdFile, false}, {names.uiDll, true}, {names.iniFile, true}, {names.uniDll, true},
                   {names.rcDll, false}};
  for (const char16_t* name : kUnidrvFiles) desired.files.push_back({name, false});
  desired.port = std::move(port);
  desired.data = context.printerData;
  return desired;
}

InstalledPrinter ReadInstalledPrinter(const DesiredPrinter& desired, PrintPlatform& platform) {
  InstalledPrinter installed;
  installed.printers = LocalPrinters(platform);
  if (!installed.printers) return installed;
  for (const PrinterInfo2& printer : installed.printers.value) {
    if (SameNameIgnoringCase(printer.printerName, desired.printerName)) installed.printer = printer;
  }
  installed.drivers = AsListing(platform.spooler.Drivers(desired.environment));
  installed.driverDirectory = platform.spooler.DriverDirectory(desired.environment);
  // Registering the driver puts its files into the directory of its version.
  const std::u16string versionDirectory = JoinPath(installed.driverDirectory.value, u"3");
  for (const PackageFile& file : desired.files) {
    InstalledFile read{file, platform.files.ReadBytes(JoinPath(desired.package.sourceDir, file.name)), {}};
    // An optional file the package does not have is not part of the driver.
    if (file.optional && !read.package) continue;
    read.installed = installed.driverDirectory
                         ? platform.files.ReadBytes(JoinPath(versionDirectory, file.name))
                         : Read<std::vector<std::uint8_t>>::Failed(installed.driverDirectory.stage,
                                                                   installed.driverDirectory.code);
    installed.files.push_back(std::move(read));
  }
  installed.ports = AsListing(platform.spooler.Ports(2));
  if (!installed.printer || desired.data.empty()) return installed;
  const Opened opened = platform.spooler.Open(installed.printer->printerName, kPrinterAccessUse);
  if (!opened) {
    installed.opened = Status::Failed(opened.code);
    return installed;
  }
  ScopedPrinterHandle printer(platform.spooler, opened.handle);
  for (const PrinterDataEntry& entry : desired.data) {
    installed.data.push_back({entry.key, platform.spooler.DataValue(printer.get(), entry.key)});
  }
  return installed;
}

std::vector<Check> Compare(const DesiredPrinter& desired, const InstalledPrinter& installed) {
  std::vector<Check> checks;
  const std::u16string printerItem = u"printer " + desired.printerName;
  checks.push_back(installed.printer ? Ok(printerItem) : Missing(printerItem));
  checks.push_back(DriverCheck(desired, installed));
  for (const InstalledFile& file : installed.files) checks.push_back(FileCheck(file));
  checks.push_back(PortCheck(desired, installed));
  for (std::size_t i = 0; i < desired.data.size(); ++i) {
    const InstalledData* read = i < installed.data.size() ? &installed.data[i] : nullptr;
    checks.push_back(DataCheck(desired.data[i], installed, read));
  }
  return checks;
}

bool Compliant(const std::vector<Check>& checks) {
  return std::all_of(checks.begin(), checks.end(), [](const Check& check) { return check.verdict == Verdict::Ok; });
}

std::u16string Difference(const Check& check) {
  if (check.verdict == Verdict::Differs) {
    return check.item + u": wanted \"" + check.wanted + u"\", found \"" + check.found + u"\"";
  }
  return check.item;
}

std::u16string CheckLine(const Check& check) {
  switch (check.verdict) {
    case Verdict::Ok: return u"verify: ok " + check.item;
    case Verdict::Missing: return u"verify: missing " + check.item;
    case Verdict::Differs: break;
  }
  return u"verify: differs " + Difference(check);
}
