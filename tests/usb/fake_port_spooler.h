#pragma once
// A spooler that only lists ports (level 2), for the USB choices; it can fail the listing at
// any stage.
#include <optional>
#include <string>
#include <vector>

#include "spooler/spooler.h"

class FakePortSpooler : public Spooler {
 public:
  std::vector<std::u16string> ports;
  // The listing fails this way instead.
  std::optional<ReadStage> failure;
  std::vector<std::uint32_t> portLevels;
  int otherCalls = 0;

  Read<std::vector<PortInfo>> Ports(std::uint32_t level) override {
    portLevels.push_back(level);
    using Result = Read<std::vector<PortInfo>>;
    if (level != 2) return Result::Failed(ReadStage::SizeQueryFailed, 124);  // ERROR_INVALID_LEVEL
    if (failure) return Result::Failed(*failure, 1722);                      // RPC_S_SERVER_UNAVAILABLE
    std::vector<PortInfo> records;
    for (const std::u16string& port : ports) records.push_back({port, u"Local Port", u"Local Port", 1});
    return Result::Of(std::move(records));
  }

  // Nothing else is asked of it here.
  Opened Open(const std::u16string&, std::uint32_t) override { return {0, Unused().code}; }
  bool ClosePrinter(PrinterHandle) override { return Unused().ok; }
  XcvAnswer Xcv(PrinterHandle, const std::u16string&, const std::vector<std::uint8_t>&, std::uint32_t) override {
    return {Unused(), 0, {}};
  }
  Read<std::vector<PrinterInfo2>> LocalPrinters() override { return UnusedRead<std::vector<PrinterInfo2>>(); }
  Read<PrinterInfo2> Printer(PrinterHandle) override { return UnusedRead<PrinterInfo2>(); }
  Read<std::u16string> DriverDirectory(const std::u16string&) override { return UnusedRead<std::u16string>(); }
  Read<std::vector<std::u16string>> Drivers(const std::u16string&) override {
    return UnusedRead<std::vector<std::u16string>>();
  }
  Read<PrinterDataValue> DataValue(PrinterHandle, const std::u16string&) override {
    return UnusedRead<PrinterDataValue>();
  }
  Read<std::vector<std::uint8_t>> DriverDevMode(PrinterHandle, const std::u16string&,
                                                const std::vector<std::uint8_t>&) override {
    return UnusedRead<std::vector<std::uint8_t>>();
  }
  Read<std::vector<std::uint8_t>> GlobalDevMode(PrinterHandle) override { return UnusedRead<std::vector<std::uint8_t>>(); }
  Status SetGlobalDevMode(PrinterHandle, const std::vector<std::uint8_t>&) override { return Unused(); }
  Status RegisterDriver(const DriverInfo3&) override { return Unused(); }
  Status RegisterDriverEx(const DriverInfo3&, std::uint32_t) override { return Unused(); }
  Opened CreatePrinter(const PrinterInfo2&) override { return {0, Unused().code}; }
  Status SetData(PrinterHandle, const std::u16string&, std::uint32_t, const std::vector<std::uint8_t>&) override {
    return Unused();
  }
  bool PortDialog(WindowHandle, const std::u16string&) override { return Unused().ok; }
  Status ChangePrinter(PrinterHandle, const PrinterInfo2&) override { return Unused(); }
  Status PurgeJobs(PrinterHandle) override { return Unused(); }
  Status DeletePrinter(PrinterHandle) override { return Unused(); }
  Status DeleteDriverEx(const std::u16string&, const std::u16string&, std::uint32_t, std::uint32_t) override {
    return Unused();
  }
  Status DeleteDriver(const std::u16string&, const std::u16string&) override { return Unused(); }

 private:
  Status Unused() {
    ++otherCalls;
    return Status::Failed(50);  // ERROR_NOT_SUPPORTED
  }
  template <class T>
  Read<T> UnusedRead() {
    return Read<T>::Failed(ReadStage::SizeQueryFailed, Unused().code);
  }
};
