#pragma once
// A spooler that only lists ports (EnumPortsW level 2), for the USB choices. It sizes its answer
// as the real call does: a buffer too small fails with ERROR_INSUFFICIENT_BUFFER and the size.
#include <optional>
#include <string>
#include <vector>

#include "diag/fake_diagnostics.h"
#include "spooler/spooler.h"

struct EnumPortsCall {
  std::uint32_t level;
  std::uint32_t bufferSize;
};

class FakePortSpooler : public Spooler {
 public:
  explicit FakePortSpooler(FakeLastError& lastError) : lastError_(lastError) {}

  std::vector<std::u16string> ports;
  // Makes the size query fail with this code instead.
  std::optional<std::uint32_t> sizeQueryError;
  // The second call's outcome when set (NoMemory: the buffer could not be allocated).
  std::optional<SpoolResult> fillResult;
  std::vector<EnumPortsCall> enumPortsCalls;

  std::uint32_t NeededBytes() const {
    std::uint32_t bytes = 0;
    for (const std::u16string& port : ports) bytes += 32 + static_cast<std::uint32_t>((port.size() + 1) * 2);
    return bytes;
  }

  SpoolResult EnumPortsW(std::uint32_t level, std::uint32_t bufferSize, std::vector<PortInfo>& records,
                         std::uint32_t& needed, std::uint32_t& returned) override {
    enumPortsCalls.push_back({level, bufferSize});
    records.clear();
    if (level != 2) {
      lastError_.value = 124;  // ERROR_INVALID_LEVEL
      return SpoolResult::Failed;
    }
    if (bufferSize == 0 && sizeQueryError) {
      lastError_.value = *sizeQueryError;
      return SpoolResult::Failed;
    }
    if (bufferSize != 0 && fillResult && *fillResult != SpoolResult::Succeeded) {
      if (*fillResult == SpoolResult::Failed) lastError_.value = 1722;  // RPC_S_SERVER_UNAVAILABLE
      return *fillResult;
    }
    needed = NeededBytes();
    if (bufferSize < needed) {
      lastError_.value = 122;
      return SpoolResult::Failed;
    }
    for (const std::u16string& port : ports) records.push_back({port, u"Local Port", u"Local Port", 1});
    returned = static_cast<std::uint32_t>(records.size());
    return SpoolResult::Succeeded;
  }

  // Nothing else is asked of it here.
  bool OpenPrinterW(const std::u16string&, PrinterHandle&, std::uint32_t) override { return Unused(); }
  bool ClosePrinter(PrinterHandle) override { return Unused(); }
  bool XcvDataW(PrinterHandle, const std::u16string&, const std::vector<std::uint8_t>&, std::vector<std::uint8_t>&,
                std::uint32_t&, std::uint32_t&) override {
    return Unused();
  }
  SpoolResult EnumPrintersW(std::uint32_t, const std::optional<std::u16string>&, std::uint32_t, std::uint32_t,
                            std::vector<PrinterInfo2>&, std::uint32_t&, std::uint32_t&) override {
    Unused();
    return SpoolResult::Failed;
  }
  SpoolResult GetPrinterW(PrinterHandle, std::uint32_t, std::uint32_t, PrinterInfo2&, std::uint32_t&) override {
    Unused();
    return SpoolResult::Failed;
  }
  bool GetPrinterDriverDirectoryW(const std::optional<std::u16string>&, std::uint32_t, std::uint32_t,
                                  std::u16string&, std::uint32_t&) override {
    return Unused();
  }
  bool AddPrinterDriverW(std::uint32_t, const DriverInfo3&) override { return Unused(); }
  PrinterHandle AddPrinterW(std::uint32_t, const PrinterInfo2&) override {
    Unused();
    return 0;
  }
  std::uint32_t SetPrinterDataW(PrinterHandle, const std::u16string&, std::uint32_t,
                                const std::vector<std::uint8_t>&) override {
    Unused();
    return 1;
  }
  bool ConfigurePortW(WindowHandle, const std::u16string&) override { return Unused(); }
  bool AddPrinterDriverExW(std::uint32_t, const DriverInfo3&, std::uint32_t) override { return Unused(); }
  bool SetPrinterW(PrinterHandle, std::uint32_t, const PrinterInfo2*, std::uint32_t) override { return Unused(); }
  bool DeletePrinter(PrinterHandle) override { return Unused(); }
  SpoolResult EnumPrinterDriversW(const std::optional<std::u16string>&, std::uint32_t, std::uint32_t,
                                  std::vector<DriverInfo3>&, std::uint32_t&, std::uint32_t&) override {
    Unused();
    return SpoolResult::Failed;
  }
  bool DeletePrinterDriverExW(const std::optional<std::u16string>&, const std::u16string&, std::uint32_t,
                              std::uint32_t) override {
    return Unused();
  }
  bool DeletePrinterDriverW(const std::optional<std::u16string>&, const std::u16string&) override { return Unused(); }

  int otherCalls = 0;

 private:
  bool Unused() {
    ++otherCalls;
    lastError_.value = 50;  // ERROR_NOT_SUPPORTED
    return false;
  }
  FakeLastError& lastError_;
};
