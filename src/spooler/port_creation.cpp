#include "spooler/print_system.h"

#include "diag/diagnostics.h"
#include "diag/format.h"
#include "spooler/configured_lengths.h"

namespace {

constexpr std::uint32_t kErrorInvalidParameter = 87;  // ERROR_INVALID_PARAMETER

// Closing must not replace the code the caller is about to read.
void CloseKeepingLastError(PrintPlatform& platform, PrinterHandle handle) {
  std::uint32_t code = platform.lastError.GetLastError();
  platform.spooler.ClosePrinter(handle);
  platform.lastError.SetLastError(code);
}

std::vector<std::uint8_t> Bytes(const std::uint8_t* data, std::size_t size) {
  return std::vector<std::uint8_t>(data, data + size);
}

}  // namespace

int AddStandardTcpIpPort(PrintPlatform& platform, const std::u16string& name, const std::u16string& hostAddress,
                         std::uint32_t portNumber, WindowHandle owner) {
  // The record's fields are fixed: a cut name or address would make a different port.
  if (!TcpIpPortTextsFit(name, hostAddress)) {
    ShowError(owner, kErrorInvalidParameter,
              name.size() < port_data_1::kPortNameChars ? u"Host Address Too Long" : u"Port Name Too Long");
    return 0;
  }
  PrinterHandle monitor = 0;
  if (!platform.spooler.OpenPrinterW(kTcpIpMonitorHandleName, monitor, kServerAccessAdminister)) return 0;

  TcpIpPortData record = BuildTcpIpPortData(name, hostAddress, portNumber);
  std::vector<std::uint8_t> output;
  std::uint32_t needed = 0;
  std::uint32_t status = 0;
  if (!platform.spooler.XcvDataW(monitor, kAddPortCommand, Bytes(record.data(), record.size()), output, needed,
                                 status)) {
    ShowMessage(owner, u"XcvData AddPort Failed", std::nullopt);
    platform.spooler.ClosePrinter(monitor);
    return 0;
  }
  if (status == 0 || status == kErrorAlreadyExists) {
    platform.spooler.ClosePrinter(monitor);
    return 1;
  }
  ShowMessage(owner, FormatWide(64, u"XcvData AddPort Error. Status:%d", status), std::nullopt);
  platform.spooler.ClosePrinter(monitor);
  return 0;
}

int MonitorExists(PrintPlatform& platform, const std::u16string& monitorName) {
  DebugTrace(u"MonitorExist");
  platform.lastError.SetLastError(0);
  std::optional<std::u16string> handleName = MonitorHandleName(monitorName);
  if (!handleName) {
    platform.lastError.SetLastError(kErrorFilenameExcedRange);
    return 0;
  }
  PrinterHandle monitor = 0;
  if (!platform.spooler.OpenPrinterW(*handleName, monitor, kServerAccessAdminister)) return 0;
  platform.spooler.ClosePrinter(monitor);
  return 1;
}

std::optional<std::vector<PortInfo>> EnumerateLocalPorts(PrintPlatform& platform, std::uint32_t& count) {
  std::vector<PortInfo> ports;
  std::uint32_t needed = 0;
  std::uint32_t returned = 0;
  platform.spooler.EnumPortsW(1, 0, ports, needed, returned);
  if (needed == 0) return std::nullopt;
  std::uint32_t size = needed;
  returned = 0;
  if (platform.spooler.EnumPortsW(1, size, ports, needed, returned) == SpoolResult::NoMemory) return std::nullopt;
  count = returned;
  return ports;
}

int AddMonitorPort(PrintPlatform& platform, const std::u16string& monitorName, const std::u16string& prefix,
                   CustomPortRecord& record, std::u16string& portNameOut, WindowHandle owner) {
  DebugTrace(u"AddKCPort");
  platform.lastError.SetLastError(0);
  std::optional<std::u16string> handleName = MonitorHandleName(monitorName);
  if (!handleName) {
    platform.lastError.SetLastError(kErrorFilenameExcedRange);
    return 0;
  }
  PrinterHandle monitor = 0;
  if (!platform.spooler.OpenPrinterW(*handleName, monitor, kServerAccessAdminister)) return 0;

  if (CustomPortConnectionKind(record) == 0) {
    platform.spooler.ClosePrinter(monitor);
    platform.lastError.SetLastError(0);
    return 1;
  }
  if (prefix.size() > kMaxPortNamePrefix) {
    platform.spooler.ClosePrinter(monitor);
    ShowError(owner, kErrorFilenameExcedRange, kPortNamePrefixTooLong);
    platform.lastError.SetLastError(kErrorFilenameExcedRange);
    return 0;
  }

  std::uint32_t count = 0;
  std::optional<std::vector<PortInfo>> ports = EnumerateLocalPorts(platform, count);
  std::u16string portName = ChooseMonitorPortName(prefix, ports ? &*ports : nullptr);
  ports.reset();

  platform.lastError.SetLastError(0);
  SetCustomPortName(record, portName);
  std::vector<std::uint8_t> output;
  std::uint32_t needed = 0;
  std::uint32_t status = 0;
  if (!platform.spooler.XcvDataW(monitor, kAddPortCommand, Bytes(record.data(), record.size()), output, needed,
                                 status)) {
    CloseKeepingLastError(platform, monitor);
    return 0;
  }
  if (status != 0) {
    DebugTrace(u"XcvData AddPort Status Error: %d", status);
    platform.spooler.ClosePrinter(monitor);
    // The caller reports the last-error value: make it the monitor's answer.
    platform.lastError.SetLastError(status);
    return 0;
  }
  portNameOut = CustomPortName(record);
  platform.spooler.ClosePrinter(monitor);
  platform.lastError.SetLastError(0);
  return 1;
}
