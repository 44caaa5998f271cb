#pragma once
// Spooler over winspool.drv, loaded from the system directory (never linked: the product's
// import table lists KnownDLLs only). A missing library or entry fails the call with 127.
#include <windows.h>
#include <winspool.h>

#include "diag/win32/system_library.h"
#include "spooler/spooler.h"

class Win32Spooler : public Spooler {
 public:
  Win32Spooler();

  bool OpenPrinterW(const std::u16string& printerName, PrinterHandle& handle, std::uint32_t desiredAccess) override;
  bool ClosePrinter(PrinterHandle handle) override;
  bool XcvDataW(PrinterHandle handle, const std::u16string& dataName, const std::vector<std::uint8_t>& input,
                std::vector<std::uint8_t>& output, std::uint32_t& outputNeeded, std::uint32_t& status) override;
  SpoolResult EnumPortsW(std::uint32_t level, std::uint32_t bufferSize, std::vector<PortInfo>& records,
                         std::uint32_t& needed, std::uint32_t& returned) override;
  SpoolResult EnumPrintersW(std::uint32_t flags, const std::optional<std::u16string>& name, std::uint32_t level,
                            std::uint32_t bufferSize, std::vector<PrinterInfo2>& records, std::uint32_t& needed,
                            std::uint32_t& returned) override;
  SpoolResult GetPrinterW(PrinterHandle handle, std::uint32_t level, std::uint32_t bufferSize, PrinterInfo2& record,
                          std::uint32_t& needed) override;
  bool GetPrinterDriverDirectoryW(const std::optional<std::u16string>& environment, std::uint32_t level,
                                  std::uint32_t bufferSize, std::u16string& directory,
                                  std::uint32_t& needed) override;
  bool AddPrinterDriverW(std::uint32_t level, const DriverInfo3& info) override;
  PrinterHandle AddPrinterW(std::uint32_t level, const PrinterInfo2& info) override;
  std::uint32_t SetPrinterDataW(PrinterHandle handle, const std::u16string& valueName, std::uint32_t type,
                                const std::vector<std::uint8_t>& data) override;
  bool ConfigurePortW(WindowHandle owner, const std::u16string& portName) override;
  bool AddPrinterDriverExW(std::uint32_t level, const DriverInfo3& info, std::uint32_t fileCopyFlags) override;
  bool SetPrinterW(PrinterHandle handle, std::uint32_t level, const PrinterInfo2* info,
                   std::uint32_t command) override;
  bool DeletePrinter(PrinterHandle handle) override;
  SpoolResult EnumPrinterDriversW(const std::optional<std::u16string>& environment, std::uint32_t level,
                                  std::uint32_t bufferSize, std::vector<DriverInfo3>& records, std::uint32_t& needed,
                                  std::uint32_t& returned) override;
  bool DeletePrinterDriverExW(const std::optional<std::u16string>& environment, const std::u16string& driverName,
                              std::uint32_t deleteFlags, std::uint32_t versionFlag) override;
  bool DeletePrinterDriverW(const std::optional<std::u16string>& environment,
                            const std::u16string& driverName) override;

 private:
  SystemLibrary library_;
  decltype(&::OpenPrinterW) openPrinter_;
  decltype(&::ClosePrinter) closePrinter_;
  decltype(&::XcvDataW) xcvData_;
  decltype(&::EnumPortsW) enumPorts_;
  decltype(&::EnumPrintersW) enumPrinters_;
  decltype(&::GetPrinterW) getPrinter_;
  decltype(&::GetPrinterDriverDirectoryW) getPrinterDriverDirectory_;
  decltype(&::AddPrinterDriverW) addPrinterDriver_;
  decltype(&::AddPrinterW) addPrinter_;
  decltype(&::SetPrinterDataW) setPrinterData_;
  decltype(&::ConfigurePortW) configurePort_;
  decltype(&::AddPrinterDriverExW) addPrinterDriverEx_;
  decltype(&::SetPrinterW) setPrinter_;
  decltype(&::DeletePrinter) deletePrinter_;
  decltype(&::EnumPrinterDriversW) enumPrinterDrivers_;
  decltype(&::DeletePrinterDriverExW) deletePrinterDriverEx_;
  decltype(&::DeletePrinterDriverW) deletePrinterDriver_;
};
