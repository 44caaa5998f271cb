#include "spooler/win32/win32_spooler.h"

#include <cwchar>

#include "diag/win32/wide.h"
#include "spooler/win32/buffer_call.h"

namespace {

HANDLE ToHandle(PrinterHandle handle) { return reinterpret_cast<HANDLE>(handle); }
PrinterHandle FromHandle(HANDLE handle) { return reinterpret_cast<PrinterHandle>(handle); }

// The spooler's API takes non-const text it does not write.
LPWSTR Mutable(const std::u16string& text) { return const_cast<LPWSTR>(W(text)); }
LPWSTR MutableOrNull(const std::u16string& text) { return text.empty() ? nullptr : Mutable(text); }
LPWSTR MutableOrNull(const std::optional<std::u16string>& text) { return text ? Mutable(*text) : nullptr; }

bool Missing(const void* function) {
  if (function) return false;
  ::SetLastError(ERROR_PROC_NOT_FOUND);
  return true;
}

PortInfo DecodePortInfo(const BYTE* buffer, DWORD level, DWORD index) {
  PortInfo port;
  if (level == 1) {
    port.portName = U16(reinterpret_cast<const PORT_INFO_1W*>(buffer)[index].pName);
  } else {
    const PORT_INFO_2W& info = reinterpret_cast<const PORT_INFO_2W*>(buffer)[index];
    port.portName = U16(info.pPortName);
    port.monitorName = U16(info.pMonitorName);
    port.description = U16(info.pDescription);
    port.portType = info.fPortType;
  }
  return port;
}

// PRINTER_INFO_2W decoded into the core's record ("" for null strings).
PrinterInfo2 DecodePrinterInfo2(const PRINTER_INFO_2W& info) {
  PrinterInfo2 record;
  record.serverName = U16(info.pServerName);
  record.printerName = U16(info.pPrinterName);
  record.shareName = U16(info.pShareName);
  record.portName = U16(info.pPortName);
  record.driverName = U16(info.pDriverName);
  record.comment = U16(info.pComment);
  record.location = U16(info.pLocation);
  record.sepFile = U16(info.pSepFile);
  record.printProcessor = U16(info.pPrintProcessor);
  record.datatype = U16(info.pDatatype);
  record.parameters = U16(info.pParameters);
  record.attributes = info.Attributes;
  record.priority = info.Priority;
  record.defaultPriority = info.DefaultPriority;
  record.startTime = info.StartTime;
  record.untilTime = info.UntilTime;
  record.status = info.Status;
  record.cJobs = info.cJobs;
  record.averagePPM = info.AveragePPM;
  return record;
}

// The core's record as PRINTER_INFO_2W; the texts stay owned by info.
PRINTER_INFO_2W EncodePrinterInfo2(const PrinterInfo2& info) {
  PRINTER_INFO_2W printer = {};
  printer.pServerName = MutableOrNull(info.serverName);
  printer.pPrinterName = Mutable(info.printerName);
  printer.pShareName = MutableOrNull(info.shareName);
  printer.pPortName = Mutable(info.portName);
  printer.pDriverName = Mutable(info.driverName);
  printer.pComment = MutableOrNull(info.comment);
  printer.pLocation = MutableOrNull(info.location);
  printer.pSepFile = MutableOrNull(info.sepFile);
  printer.pPrintProcessor = Mutable(info.printProcessor);
  printer.pDatatype = Mutable(info.datatype);
  printer.pParameters = MutableOrNull(info.parameters);
  printer.Attributes = info.attributes;
  printer.Priority = info.priority;
  printer.DefaultPriority = info.defaultPriority;
  printer.StartTime = info.startTime;
  printer.UntilTime = info.untilTime;
  printer.Status = info.status;
  printer.cJobs = info.cJobs;
  printer.AveragePPM = info.averagePPM;
  return printer;
}

DRIVER_INFO_3W EncodeDriverInfo3(const DriverInfo3& info) {
  DRIVER_INFO_3W driver = {};
  driver.cVersion = info.cVersion;
  driver.pName = Mutable(info.name);
  driver.pEnvironment = Mutable(info.environment);
  driver.pDriverPath = Mutable(info.driverPath);
  driver.pDataFile = Mutable(info.dataFile);
  driver.pConfigFile = Mutable(info.configFile);
  driver.pHelpFile = Mutable(info.helpFile);
  driver.pDependentFiles = MutableOrNull(info.dependentFiles);
  driver.pMonitorName = MutableOrNull(info.monitorName);
  driver.pDefaultDataType = MutableOrNull(info.defaultDataType);
  return driver;
}

// The multi-string up to and with its closing empty string; "" for null.
std::u16string MultiString(const wchar_t* text) {
  if (!text) return std::u16string();
  const wchar_t* end = text;
  while (*end) end += wcslen(end) + 1;
  return std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(end - text) + 1);
}

// DRIVER_INFO_1W, _2W or _3W: each level's records are the next one's first members.
DriverInfo3 DecodeDriverInfo(const BYTE* buffer, DWORD level, DWORD index) {
  DriverInfo3 driver;
  if (level == 1) {
    driver.name = U16(reinterpret_cast<const DRIVER_INFO_1W*>(buffer)[index].pName);
    return driver;
  }
  if (level == 2) {
    const DRIVER_INFO_2W& info = reinterpret_cast<const DRIVER_INFO_2W*>(buffer)[index];
    driver.cVersion = info.cVersion;
    driver.name = U16(info.pName);
    driver.environment = U16(info.pEnvironment);
    driver.driverPath = U16(info.pDriverPath);
    driver.dataFile = U16(info.pDataFile);
    driver.configFile = U16(info.pConfigFile);
    return driver;
  }
  const DRIVER_INFO_3W& info = reinterpret_cast<const DRIVER_INFO_3W*>(buffer)[index];
  driver.cVersion = info.cVersion;
  driver.name = U16(info.pName);
  driver.environment = U16(info.pEnvironment);
  driver.driverPath = U16(info.pDriverPath);
  driver.dataFile = U16(info.pDataFile);
  driver.configFile = U16(info.pConfigFile);
  driver.helpFile = U16(info.pHelpFile);
  driver.dependentFiles = MultiString(info.pDependentFiles);
  if (info.pMonitorName) driver.monitorName = U16(info.pMonitorName);
  if (info.pDefaultDataType) driver.defaultDataType = U16(info.pDefaultDataType);
  return driver;
}

}  // namespace

Win32Spooler::Win32Spooler()
    : library_(L"winspool.drv"),
      openPrinter_(library_.Get<decltype(openPrinter_)>("OpenPrinterW")),
      closePrinter_(library_.Get<decltype(closePrinter_)>("ClosePrinter")),
      xcvData_(library_.Get<decltype(xcvData_)>("XcvDataW")),
      enumPorts_(library_.Get<decltype(enumPorts_)>("EnumPortsW")),
      enumPrinters_(library_.Get<decltype(enumPrinters_)>("EnumPrintersW")),
      getPrinter_(library_.Get<decltype(getPrinter_)>("GetPrinterW")),
      getPrinterDriverDirectory_(library_.Get<decltype(getPrinterDriverDirectory_)>("GetPrinterDriverDirectoryW")),
      addPrinterDriver_(library_.Get<decltype(addPrinterDriver_)>("AddPrinterDriverW")),
      addPrinter_(library_.Get<decltype(addPrinter_)>("AddPrinterW")),
      setPrinterData_(library_.Get<decltype(setPrinterData_)>("SetPrinterDataW")),
      configurePort_(library_.Get<decltype(configurePort_)>("ConfigurePortW")),
      addPrinterDriverEx_(library_.Get<decltype(addPrinterDriverEx_)>("AddPrinterDriverExW")),
      setPrinter_(library_.Get<decltype(setPrinter_)>("SetPrinterW")),
      deletePrinter_(library_.Get<decltype(deletePrinter_)>("DeletePrinter")),
      enumPrinterDrivers_(library_.Get<decltype(enumPrinterDrivers_)>("EnumPrinterDriversW")),
      deletePrinterDriverEx_(library_.Get<decltype(deletePrinterDriverEx_)>("DeletePrinterDriverExW")),
      deletePrinterDriver_(library_.Get<decltype(deletePrinterDriver_)>("DeletePrinterDriverW")) {}

bool Win32Spooler::OpenPrinterW(const std::u16string& printerName, PrinterHandle& handle,
                                std::uint32_t desiredAccess) {
  if (Missing(reinterpret_cast<const void*>(openPrinter_))) return false;
  PRINTER_DEFAULTSW defaults = {nullptr, nullptr, desiredAccess};
  HANDLE opened = nullptr;
  BOOL ok = openPrinter_(Mutable(printerName), &opened, &defaults);
  handle = ok ? FromHandle(opened) : 0;
  return ok != FALSE;
}

bool Win32Spooler::ClosePrinter(PrinterHandle handle) {
  if (Missing(reinterpret_cast<const void*>(closePrinter_))) return false;
  return closePrinter_(ToHandle(handle)) != FALSE;
}

bool Win32Spooler::XcvDataW(PrinterHandle handle, const std::u16string& dataName,
                            const std::vector<std::uint8_t>& input, std::vector<std::uint8_t>& output,
                            std::uint32_t& outputNeeded, std::uint32_t& status) {
  if (Missing(reinterpret_cast<const void*>(xcvData_))) return false;
  DWORD needed = 0;
  DWORD answer = 0;
  BOOL ok = xcvData_(ToHandle(handle), W(dataName), input.empty() ? nullptr : const_cast<BYTE*>(input.data()),
                     static_cast<DWORD>(input.size()), output.empty() ? nullptr : output.data(),
                     static_cast<DWORD>(output.size()), &needed, &answer);
  outputNeeded = needed;
  status = answer;
  return ok != FALSE;
}

SpoolResult Win32Spooler::EnumPortsW(std::uint32_t level, std::uint32_t bufferSize, std::vector<PortInfo>& records,
                                     std::uint32_t& needed, std::uint32_t& returned) {
  records.clear();
  needed = 0;
  returned = 0;
  if (Missing(reinterpret_cast<const void*>(enumPorts_))) return SpoolResult::Failed;
  DWORD cbNeeded = 0;
  DWORD count = 0;
  SpoolResult result = CallWithBuffer(
      bufferSize, [&](BYTE* buffer, DWORD size) { return enumPorts_(nullptr, level, buffer, size, &cbNeeded, &count); },
      [&](const BYTE* buffer) {
        for (DWORD i = 0; i < count; ++i) records.push_back(DecodePortInfo(buffer, level, i));
      });
  needed = cbNeeded;
  returned = result == SpoolResult::Succeeded ? count : 0;
  return result;
}

SpoolResult Win32Spooler::EnumPrintersW(std::uint32_t flags, const std::optional<std::u16string>& name,
                                        std::uint32_t level, std::uint32_t bufferSize,
                                        std::vector<PrinterInfo2>& records, std::uint32_t& needed,
                                        std::uint32_t& returned) {
  records.clear();
  needed = 0;
  returned = 0;
  if (Missing(reinterpret_cast<const void*>(enumPrinters_))) return SpoolResult::Failed;
  DWORD cbNeeded = 0;
  DWORD count = 0;
  SpoolResult result = CallWithBuffer(
      bufferSize,
      [&](BYTE* buffer, DWORD size) {
        return enumPrinters_(flags, MutableOrNull(name), level, buffer, size, &cbNeeded, &count);
      },
      [&](const BYTE* buffer) {
        // Only level 2 is decoded: it is the only level this program asks for.
        if (level != 2) return;
        const auto* infos = reinterpret_cast<const PRINTER_INFO_2W*>(buffer);
        for (DWORD i = 0; i < count; ++i) records.push_back(DecodePrinterInfo2(infos[i]));
      });
  needed = cbNeeded;
  returned = result == SpoolResult::Succeeded ? count : 0;
  return result;
}

SpoolResult Win32Spooler::GetPrinterW(PrinterHandle handle, std::uint32_t level, std::uint32_t bufferSize,
                                      PrinterInfo2& record, std::uint32_t& needed) {
  needed = 0;
  if (Missing(reinterpret_cast<const void*>(getPrinter_))) return SpoolResult::Failed;
  DWORD cbNeeded = 0;
  SpoolResult result = CallWithBuffer(
      bufferSize, [&](BYTE* buffer, DWORD size) { return getPrinter_(ToHandle(handle), level, buffer, size, &cbNeeded); },
      [&](const BYTE* buffer) {
        if (level == 2) record = DecodePrinterInfo2(*reinterpret_cast<const PRINTER_INFO_2W*>(buffer));
      });
  needed = cbNeeded;
  return result;
}

bool Win32Spooler::GetPrinterDriverDirectoryW(const std::optional<std::u16string>& environment, std::uint32_t level,
                                              std::uint32_t bufferSize, std::u16string& directory,
                                              std::uint32_t& needed) {
  directory.clear();
  needed = 0;
  if (Missing(reinterpret_cast<const void*>(getPrinterDriverDirectory_))) return false;
  DWORD cbNeeded = 0;
  SpoolResult result = CallWithBuffer(
      bufferSize,
      [&](BYTE* buffer, DWORD size) {
        return getPrinterDriverDirectory_(nullptr, MutableOrNull(environment), level, buffer, size, &cbNeeded);
      },
      [&](const BYTE* buffer) {
        // Bounded by the buffer: the text is read up to its NUL or the buffer's end.
        const auto* text = reinterpret_cast<const char16_t*>(buffer);
        std::size_t units = bufferSize / sizeof(char16_t);
        std::size_t length = 0;
        while (length < units && text[length] != u'\0') ++length;
        directory.assign(text, length);
      });
  needed = cbNeeded;
  return result == SpoolResult::Succeeded;
}

bool Win32Spooler::AddPrinterDriverW(std::uint32_t level, const DriverInfo3& info) {
  if (Missing(reinterpret_cast<const void*>(addPrinterDriver_))) return false;
  DRIVER_INFO_3W driver = EncodeDriverInfo3(info);
  return addPrinterDriver_(nullptr, level, reinterpret_cast<BYTE*>(&driver)) != FALSE;
}

PrinterHandle Win32Spooler::AddPrinterW(std::uint32_t level, const PrinterInfo2& info) {
  if (Missing(reinterpret_cast<const void*>(addPrinter_))) return 0;
  PRINTER_INFO_2W printer = EncodePrinterInfo2(info);
  return FromHandle(addPrinter_(nullptr, level, reinterpret_cast<BYTE*>(&printer)));
}

std::uint32_t Win32Spooler::SetPrinterDataW(PrinterHandle handle, const std::u16string& valueName,
                                            std::uint32_t type, const std::vector<std::uint8_t>& data) {
  if (Missing(reinterpret_cast<const void*>(setPrinterData_))) return ERROR_PROC_NOT_FOUND;
  // An empty value still passes a valid pointer, with its size 0.
  static BYTE empty = 0;
  BYTE* bytes = data.empty() ? &empty : const_cast<BYTE*>(data.data());
  return setPrinterData_(ToHandle(handle), Mutable(valueName), type, bytes, static_cast<DWORD>(data.size()));
}

bool Win32Spooler::ConfigurePortW(WindowHandle owner, const std::u16string& portName) {
  if (Missing(reinterpret_cast<const void*>(configurePort_))) return false;
  return configurePort_(nullptr, ToHwnd(owner), Mutable(portName)) != FALSE;
}

bool Win32Spooler::AddPrinterDriverExW(std::uint32_t level, const DriverInfo3& info, std::uint32_t fileCopyFlags) {
  if (Missing(reinterpret_cast<const void*>(addPrinterDriverEx_))) return false;
  DRIVER_INFO_3W driver = EncodeDriverInfo3(info);
  return addPrinterDriverEx_(nullptr, level, reinterpret_cast<BYTE*>(&driver), fileCopyFlags) != FALSE;
}

bool Win32Spooler::SetPrinterW(PrinterHandle handle, std::uint32_t level, const PrinterInfo2* info,
                               std::uint32_t command) {
  if (Missing(reinterpret_cast<const void*>(setPrinter_))) return false;
  if (!info) return setPrinter_(ToHandle(handle), level, nullptr, command) != FALSE;
  PRINTER_INFO_2W printer = EncodePrinterInfo2(*info);
  return setPrinter_(ToHandle(handle), level, reinterpret_cast<BYTE*>(&printer), command) != FALSE;
}

bool Win32Spooler::DeletePrinter(PrinterHandle handle) {
  if (Missing(reinterpret_cast<const void*>(deletePrinter_))) return false;
  return deletePrinter_(ToHandle(handle)) != FALSE;
}

SpoolResult Win32Spooler::EnumPrinterDriversW(const std::optional<std::u16string>& environment, std::uint32_t level,
                                              std::uint32_t bufferSize, std::vector<DriverInfo3>& records,
                                              std::uint32_t& needed, std::uint32_t& returned) {
  records.clear();
  needed = 0;
  returned = 0;
  if (Missing(reinterpret_cast<const void*>(enumPrinterDrivers_))) return SpoolResult::Failed;
  DWORD cbNeeded = 0;
  DWORD count = 0;
  SpoolResult result = CallWithBuffer(
      bufferSize,
      [&](BYTE* buffer, DWORD size) {
        return enumPrinterDrivers_(nullptr, MutableOrNull(environment), level, buffer, size, &cbNeeded, &count);
      },
      [&](const BYTE* buffer) {
        // Levels 1 to 3 are decoded: the only ones this program asks for.
        if (level < 1 || level > 3) return;
        for (DWORD i = 0; i < count; ++i) records.push_back(DecodeDriverInfo(buffer, level, i));
      });
  needed = cbNeeded;
  returned = result == SpoolResult::Succeeded ? count : 0;
  return result;
}

bool Win32Spooler::DeletePrinterDriverExW(const std::optional<std::u16string>& environment,
                                          const std::u16string& driverName, std::uint32_t deleteFlags,
                                          std::uint32_t versionFlag) {
  if (Missing(reinterpret_cast<const void*>(deletePrinterDriverEx_))) return false;
  return deletePrinterDriverEx_(nullptr, MutableOrNull(environment), Mutable(driverName), deleteFlags,
                                versionFlag) != FALSE;
}

bool Win32Spooler::DeletePrinterDriverW(const std::optional<std::u16string>& environment,
                                        const std::u16string& driverName) {
  if (Missing(reinterpret_cast<const void*>(deletePrinterDriver_))) return false;
  return deletePrinterDriver_(nullptr, MutableOrNull(environment), Mutable(driverName)) != FALSE;
}
