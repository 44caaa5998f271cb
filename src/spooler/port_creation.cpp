#include "spooler/print_system.h"

#include "diag/diagnostics.h"
#include "diag/format.h"
#include "spooler/refused_call.h"

namespace {

constexpr std::uint32_t kErrorInvalidParameter = 87;  // ERROR_INVALID_PARAMETER

std::vector<std::uint8_t> Bytes(const std::uint8_t* data, std::size_t size) {
  return std::vector<std::uint8_t>(data, data + size);
}

// The monitor's handle, opened for administration; the code when it does not open.
struct OpenedMonitor {
  std::optional<ScopedPrinterHandle> handle;
  Status status;
};
OpenedMonitor OpenMonitor(PrintPlatform& platform, const std::u16string& monitorName) {
  std::optional<std::u16string> handleName = MonitorHandleName(monitorName);
  if (!handleName) return {std::nullopt, Status::Failed(kErrorFilenameExcedRange)};
  const Opened opened = platform.spooler.Open(*handleName, kServerAccessAdminister);
  if (!opened) return {std::nullopt, Status::Failed(opened.code)};
  return {ScopedPrinterHandle(platform.spooler, opened.handle), {}};
}

}  // namespace

Outcome AddStandardTcpIpPort(PrintPlatform& platform, const std::u16string& name, const std::u16string& hostAddress,
                             std::uint32_t portNumber) {
  // The record's fields are fixed: a cut name or address would make a different port.
  if (!TcpIpPortTextsFit(name, hostAddress)) {
    return Outcome::Failed(name.size() < port_data_1::kPortNameChars ? u"Host Address Too Long" : u"Port Name Too Long",
                           kErrorInvalidParameter);
  }
  const Opened opened = platform.spooler.Open(kTcpIpMonitorHandleName, kServerAccessAdminister);
  if (!opened && AdministrationDenied(opened.code)) return Outcome::Failed(RefusedMonitorOpen(kTcpIpMonitorName), opened.code);
  if (!opened) return {};
  ScopedPrinterHandle monitor(platform.spooler, opened.handle);

  TcpIpPortData record = BuildTcpIpPortData(name, hostAddress, portNumber);
  const XcvAnswer answer = platform.spooler.Xcv(monitor.get(), kAddPortCommand, Bytes(record.data(), record.size()), 0);
  if (!answer.call) return Outcome::Plain(u"XcvData AddPort Failed");
  if (answer.status == 0 || answer.status == kErrorAlreadyExists) return {};
  return Outcome::Plain(FormatWide(64, u"XcvData AddPort Error. Status:%d", answer.status));
}

std::u16string RefusedMonitorOpen(const std::u16string& monitorName) {
  return u"OpenPrinter Refused For Administration: " + monitorName;
}

Status MonitorExists(PrintPlatform& platform, const std::u16string& monitorName) {
  DebugTrace(u"MonitorExist");
  // Opening is the whole question: the owner closes the handle again.
  return OpenMonitor(platform, monitorName).status;
}

std::optional<std::vector<PortInfo>> EnumerateLocalPorts(PrintPlatform& platform) {
  Read<std::vector<PortInfo>> ports = platform.spooler.Ports(1);
  // No list only when there was nothing to ask for or no memory; a failed fill lists none.
  if (ports.stage == ReadStage::FillFailed) return std::vector<PortInfo>{};
  if (!ports) return std::nullopt;
  return std::move(ports.value);
}

MonitorPort AddMonitorPort(PrintPlatform& platform, const std::u16string& monitorName, const std::u16string& prefix,
                           CustomPortRecord& record) {
  DebugTrace(u"AddKCPort");
  OpenedMonitor monitor = OpenMonitor(platform, monitorName);
  if (!monitor.handle) return {{}, monitor.status};
  if (CustomPortConnectionKind(record) == 0) return {};
  if (prefix.size() > kMaxPortNamePrefix) return {{}, Status::Failed(kErrorFilenameExcedRange)};

  std::u16string portName;
  {
    const std::optional<std::vector<PortInfo>> ports = EnumerateLocalPorts(platform);
    portName = ChooseMonitorPortName(prefix, ports ? &*ports : nullptr);
  }
  SetCustomPortName(record, portName);
  const XcvAnswer answer =
      platform.spooler.Xcv(monitor.handle->get(), kAddPortCommand, Bytes(record.data(), record.size()), 0);
  if (!answer.call) return {{}, answer.call};
  if (answer.status != 0) {
    DebugTrace(u"XcvData AddPort Status Error: %d", answer.status);
    // The monitor's own answer is the reason.
    return {{}, Status::Failed(answer.status)};
  }
  return {CustomPortName(record), {}};
}
