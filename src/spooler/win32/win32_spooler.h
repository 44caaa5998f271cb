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

  Opened Open(const std::u16string& printerName, std::uint32_t desiredAccess) override;
  bool ClosePrinter(PrinterHandle handle) override;
  XcvAnswer Xcv(PrinterHandle handle, const std::u16string& command, const std::vector<std::uint8_t>& input,
                    std::uint32_t outputSize) override;
  Read<std::vector<PortInfo>> Ports(std::uint32_t level) override;
  Read<std::vector<PrinterInfo2>> LocalPrinters() override;
  Read<PrinterInfo2> Printer(PrinterHandle handle) override;
  Read<std::u16string> DriverDirectory(const std::u16string& environment) override;
  Read<std::vector<std::u16string>> Drivers(const std::u16string& environment) override;
  Read<PrinterDataValue> DataValue(PrinterHandle handle, const std::u16string& valueName) override;
  Status RegisterDriver(const DriverInfo3& info) override;
  Status RegisterDriverEx(const DriverInfo3& info, std::uint32_t fileCopyFlags) override;
  Opened CreatePrinter(const PrinterInfo2& info) override;
  Status SetData(PrinterHandle handle, const std::u16string& valueName, std::uint32_t type,
                        const std::vector<std::uint8_t>& data) override;
  bool PortDialog(WindowHandle owner, const std::u16string& portName) override;
  Status ChangePrinter(PrinterHandle handle, const PrinterInfo2& info) override;
  Read<std::vector<std::uint8_t>> DriverDevMode(PrinterHandle handle, const std::u16string& printerName,
                                                const std::vector<std::uint8_t>& input) override;
  Read<std::vector<std::uint8_t>> GlobalDevMode(PrinterHandle handle) override;
  Status SetGlobalDevMode(PrinterHandle handle, const std::vector<std::uint8_t>& devMode) override;
  Status PurgeJobs(PrinterHandle handle) override;
  Status DeletePrinter(PrinterHandle handle) override;
  Status DeleteDriverEx(const std::u16string& environment, const std::u16string& driverName,
                               std::uint32_t deleteFlags, std::uint32_t versionFlag) override;
  Status DeleteDriver(const std::u16string& environment, const std::u16string& driverName) override;

 private:
  SystemLibrary library_;
  decltype(&::OpenPrinterW) openPrinter_;
  decltype(&::ClosePrinter) closePrinter_;
  decltype(&::XcvDataW) xcvData_;
  decltype(&::EnumPortsW) enumPorts_;
  decltype(&::EnumPrintersW) enumPrinters_;
  decltype(&::GetPrinterW) getPrinter_;
  decltype(&::DocumentPropertiesW) documentProperties_;
  decltype(&::GetPrinterDriverDirectoryW) getPrinterDriverDirectory_;
  decltype(&::AddPrinterDriverW) addPrinterDriver_;
  decltype(&::AddPrinterW) addPrinter_;
  decltype(&::SetPrinterDataW) setPrinterData_;
  decltype(&::GetPrinterDataW) getPrinterData_;
  decltype(&::ConfigurePortW) configurePort_;
  decltype(&::AddPrinterDriverExW) addPrinterDriverEx_;
  decltype(&::SetPrinterW) setPrinter_;
  decltype(&::DeletePrinter) deletePrinter_;
  decltype(&::EnumPrinterDriversW) enumPrinterDrivers_;
  decltype(&::DeletePrinterDriverExW) deletePrinterDriverEx_;
  decltype(&::DeletePrinterDriverW) deletePrinterDriver_;
};
