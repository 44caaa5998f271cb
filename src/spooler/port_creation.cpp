#include "spooler/print_system.h"

#include "diag/diagnostics.h"
#include "diag/format.h"
#include "spooler/ask_size_then_fill.h"
#include "spooler/configured_lengths.h"

namespace {

constexpr std::uint32_t kErrorInvalidParameter = 87;  // ERROR_INVALID_PARAMETER

// Closing must not replace the code the caller is about to read.
void CloseKeepingLastError(PrintPlatform& platform, ScopedPrinterHandle& handle) {
  std::uint32_t code = platform.lastError.GetLastError();
  handle.reset();
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
  PrinterHandle opened = 0;
  if (!platform.spooler.OpenPrinterW(kTcpIpMonitorHandleName, opened, kServerAccessAdminister)) return 0;
  ScopedPrinterHandle monitor(platform.spooler, opened);

  TcpIpPortData record = BuildTcpIpPortData(name, hostAddress, portNumber);
  std::vector<std::uint8_t> output;
  std::uint32_t needed = 0;
  std::uint32_t status = 0;
  if (!platform.spooler.XcvDataW(monitor.get(), kAddPortCommand, Bytes(record.data(), record.size()), output,
                                 needed, status)) {
    ShowMessage(owner, u"XcvData AddPort Failed", std::nullopt);
    return 0;
  }
  if (status == 0 || status == kErrorAlreadyExists) return 1;
  ShowMessage(owner, FormatWide(64, u"XcvData AddPort Error. Status:%d", status), std::nullopt);
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
  PrinterHandle opened = 0;
  if (!platform.spooler.OpenPrinterW(*handleName, opened, kServerAccessAdminister)) return 0;
  // Opening is the whole question: the owner closes the handle again.
  ScopedPrinterHandle monitor(platform.spooler, opened);
  return 1;
}

std::optional<std::vector<PortInfo>> EnumerateLocalPorts(PrintPlatform& platform, std::uint32_t& count) {
  std::vector<PortInfo> ports;
  std::uint32_t needed = 0;
  std::uint32_t returned = 0;
  const TwoCallEnd end = AskSizeThenFill(
      [&] {
        platform.spooler.EnumPortsW(1, 0, ports, needed, returned);
        return BufferWanted(needed);
      },
      [&](std::uint32_t size) {
        returned = 0;
        return platform.spooler.EnumPortsW(1, size, ports, needed, returned);
      });
  // No list only when there was nothing to ask for or no memory; a failed second call lists none.
  if (end != TwoCallEnd::Filled && end != TwoCallEnd::FillFailed) return std::nullopt;
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
  PrinterHandle opened = 0;
  if (!platform.spooler.OpenPrinterW(*handleName, opened, kServerAccessAdminister)) return 0;
  ScopedPrinterHandle monitor(platform.spooler, opened);

  // Each answer below is given once the monitor is closed: closing may change the last-error value.
  if (CustomPortConnectionKind(record) == 0) {
    monitor.reset();
    platform.lastError.SetLastError(0);
    return 1;
  }
  if (prefix.size() > kMaxPortNamePrefix) {
    monitor.reset();
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
  if (!platform.spooler.XcvDataW(monitor.get(), kAddPortCommand, Bytes(record.data(), record.size()), output,
                                 needed, status)) {
    CloseKeepingLastError(platform, monitor);
    return 0;
  }
  if (status != 0) {
    DebugTrace(u"XcvData AddPort Status Error: %d", status);
    monitor.reset();
    // The caller reports the last-error value: make it the monitor's answer.
    platform.lastError.SetLastError(status);
    return 0;
  }
  portNameOut = CustomPortName(record);
  monitor.reset();
  platform.lastError.SetLastError(0);
  return 1;
}
