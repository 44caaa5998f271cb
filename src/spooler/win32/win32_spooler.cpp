#include "spooler/win32/win32_spooler.h"

#include <cstddef>
#include <cwchar>

#include "diag/win32/wide.h"
#include "diag/capacity.h"
#include "diag/win32/two_call.h"

namespace {

HANDLE ToHandle(PrinterHandle handle) { return reinterpret_cast<HANDLE>(handle); }
PrinterHandle FromHandle(HANDLE handle) { return reinterpret_cast<PrinterHandle>(handle); }

// The spooler's API takes non-const text it does not write.
LPWSTR Mutable(const std::u16string& text) { return const_cast<LPWSTR>(W(text)); }
LPWSTR MutableOrNull(const std::u16string& text) { return text.empty() ? nullptr : Mutable(text); }
LPWSTR MutableOrNull(const std::optional<std::u16string>& text) { return text ? Mutable(*text) : nullptr; }

// A call whose library or entry is missing fails as a missing entry does.
constexpr DWORD kMissing = ERROR_PROC_NOT_FOUND;

Status StatusOf(BOOL ok) { return ok ? Status{} : Status::Failed(::GetLastError()); }

// A listing of count records decoded one by one.
template <class T, class Decode>
std::vector<T> Records(DWORD count, Decode decode) {
  std::vector<T> records;
  records.reserve(count);
  for (DWORD i = 0; i < count; ++i) records.push_back(decode(i));
  return records;
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

// Whether length bytes at data lie wholly inside the buffer the call filled: what a record's own
// sizes would carry past its end is not copied.
bool InBuffer(const void* data, std::size_t length, const BYTE* buffer, DWORD size) {
  const auto start = reinterpret_cast<std::uintptr_t>(buffer);
  const auto at = reinterpret_cast<std::uintptr_t>(data);
  return at >= start && at - start <= size && length <= size - (at - start);
}
std::vector<std::uint8_t> BytesInBuffer(const void* data, std::size_t length, const BYTE* buffer, DWORD size) {
  if (!data || !InBuffer(data, length, buffer, size)) return {};
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  return std::vector<std::uint8_t>(bytes, bytes + length);
}

std::vector<std::uint8_t> DevModeBytes(const DEVMODEW* devMode, const BYTE* buffer, DWORD size) {
  if (!devMode || !InBuffer(devMode, offsetof(DEVMODEW, dmFields), buffer, size)) return {};
  return BytesInBuffer(devMode, std::size_t{devMode->dmSize} + devMode->dmDriverExtra, buffer, size);
}

std::vector<std::uint8_t> SecurityDescriptorBytes(PSECURITY_DESCRIPTOR descriptor, const BYTE* buffer, DWORD size) {
  if (!descriptor || !InBuffer(descriptor, sizeof(SECURITY_DESCRIPTOR_RELATIVE), buffer, size)) return {};
  return BytesInBuffer(descriptor, ::GetSecurityDescriptorLength(descriptor), buffer, size);
}

// PRINTER_INFO_2W decoded into the core's record ("" for null strings), from the buffer of
// size bytes that holds it and what it points to.
PrinterInfo2 DecodePrinterInfo2(const PRINTER_INFO_2W& info, const BYTE* buffer, DWORD size) {
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
  record.devMode = DevModeBytes(info.pDevMode, buffer, size);
  record.securityDescriptor = SecurityDescriptorBytes(info.pSecurityDescriptor, buffer, size);
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

// The core's record as PRINTER_INFO_2W, without device mode and security descriptor; the texts
// stay owned by info.
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

}  // namespace

Win32Spooler::Win32Spooler()
    : library_(L"winspool.drv"),
      openPrinter_(library_.Get<decltype(openPrinter_)>("OpenPrinterW")),
      closePrinter_(library_.Get<decltype(closePrinter_)>("ClosePrinter")),
      xcvData_(library_.Get<decltype(xcvData_)>("XcvDataW")),
      enumPorts_(library_.Get<decltype(enumPorts_)>("EnumPortsW")),
      enumPrinters_(library_.Get<decltype(enumPrinters_)>("EnumPrintersW")),
      getPrinter_(library_.Get<decltype(getPrinter_)>("GetPrinterW")),
      documentProperties_(library_.Get<decltype(documentProperties_)>("DocumentPropertiesW")),
      getPrinterDriverDirectory_(library_.Get<decltype(getPrinterDriverDirectory_)>("GetPrinterDriverDirectoryW")),
      addPrinterDriver_(library_.Get<decltype(addPrinterDriver_)>("AddPrinterDriverW")),
      addPrinter_(library_.Get<decltype(addPrinter_)>("AddPrinterW")),
      setPrinterData_(library_.Get<decltype(setPrinterData_)>("SetPrinterDataW")),
      getPrinterData_(library_.Get<decltype(getPrinterData_)>("GetPrinterDataW")),
      configurePort_(library_.Get<decltype(configurePort_)>("ConfigurePortW")),
      addPrinterDriverEx_(library_.Get<decltype(addPrinterDriverEx_)>("AddPrinterDriverExW")),
      setPrinter_(library_.Get<decltype(setPrinter_)>("SetPrinterW")),
      deletePrinter_(library_.Get<decltype(deletePrinter_)>("DeletePrinter")),
      enumPrinterDrivers_(library_.Get<decltype(enumPrinterDrivers_)>("EnumPrinterDriversW")),
      deletePrinterDriverEx_(library_.Get<decltype(deletePrinterDriverEx_)>("DeletePrinterDriverExW")),
      deletePrinterDriver_(library_.Get<decltype(deletePrinterDriver_)>("DeletePrinterDriverW")) {}

Opened Win32Spooler::Open(const std::u16string& printerName, std::uint32_t desiredAccess) {
  if (!openPrinter_) return {0, kMissing};
  PRINTER_DEFAULTSW defaults = {nullptr, nullptr, desiredAccess};
  HANDLE opened = nullptr;
  if (!openPrinter_(Mutable(printerName), &opened, &defaults)) return {0, ::GetLastError()};
  return {FromHandle(opened), 0};
}

bool Win32Spooler::ClosePrinter(PrinterHandle handle) {
  return closePrinter_ && closePrinter_(ToHandle(handle)) != FALSE;
}

XcvAnswer Win32Spooler::Xcv(PrinterHandle handle, const std::u16string& command,
                                const std::vector<std::uint8_t>& input, std::uint32_t outputSize) {
  XcvAnswer answer;
  if (!xcvData_) {
    answer.call = Status::Failed(kMissing);
    return answer;
  }
  answer.output.assign(outputSize, 0);
  DWORD needed = 0;
  DWORD status = 0;
  BOOL ok = xcvData_(ToHandle(handle), W(command), input.empty() ? nullptr : const_cast<BYTE*>(input.data()),
                     static_cast<DWORD>(input.size()), answer.output.empty() ? nullptr : answer.output.data(),
                     outputSize, &needed, &status);
  answer.call = StatusOf(ok);
  answer.status = status;
  return answer;
}

Read<std::vector<PortInfo>> Win32Spooler::Ports(std::uint32_t level) {
  using Result = Read<std::vector<PortInfo>>;
  if (!enumPorts_) return Result::Failed(ReadStage::SizeQueryFailed, kMissing);
  DWORD count = 0;
  return ReadWithBuffer<std::vector<PortInfo>>(
      [&](BYTE* buffer, DWORD size, DWORD* needed) { return enumPorts_(nullptr, level, buffer, size, needed, &count); },
      [&](const BYTE* buffer, DWORD) {
        return Records<PortInfo>(count, [&](DWORD i) { return DecodePortInfo(buffer, level, i); });
      });
}

Read<std::vector<PrinterInfo2>> Win32Spooler::LocalPrinters() {
  using Result = Read<std::vector<PrinterInfo2>>;
  if (!enumPrinters_) return Result::Failed(ReadStage::SizeQueryFailed, kMissing);
  DWORD count = 0;
  return ReadWithBuffer<std::vector<PrinterInfo2>>(
      [&](BYTE* buffer, DWORD size, DWORD* needed) {
        return enumPrinters_(PRINTER_ENUM_LOCAL, nullptr, 2, buffer, size, needed, &count);
      },
      [&](const BYTE* buffer, DWORD size) {
        const auto* infos = reinterpret_cast<const PRINTER_INFO_2W*>(buffer);
        return Records<PrinterInfo2>(count, [&](DWORD i) { return DecodePrinterInfo2(infos[i], buffer, size); });
      });
}

Read<PrinterInfo2> Win32Spooler::Printer(PrinterHandle handle) {
  if (!getPrinter_) return Read<PrinterInfo2>::Failed(ReadStage::SizeQueryFailed, kMissing);
  return ReadWithBuffer<PrinterInfo2>(
      [&](BYTE* buffer, DWORD size, DWORD* needed) { return getPrinter_(ToHandle(handle), 2, buffer, size, needed); },
      [&](const BYTE* buffer, DWORD size) {
        return DecodePrinterInfo2(*reinterpret_cast<const PRINTER_INFO_2W*>(buffer), buffer, size);
      });
}

Read<std::u16string> Win32Spooler::DriverDirectory(const std::u16string& environment) {
  using Result = Read<std::u16string>;
  // One call into a path buffer: the directory is a path, and a longer one would not serve.
  if (!getPrinterDriverDirectory_) return Result::Failed(ReadStage::FillFailed, kMissing);
  wchar_t directory[kPathCapacity] = {};
  DWORD needed = 0;
  if (!getPrinterDriverDirectory_(nullptr, Mutable(environment), 1, reinterpret_cast<BYTE*>(directory),
                                  sizeof directory, &needed)) {
    return Result::Failed(ReadStage::FillFailed, ::GetLastError());
  }
  directory[kPathCapacity - 1] = L'\0';
  return Result::Of(U16(directory));
}

Read<std::vector<std::u16string>> Win32Spooler::Drivers(const std::u16string& environment) {
  using Result = Read<std::vector<std::u16string>>;
  if (!enumPrinterDrivers_) return Result::Failed(ReadStage::SizeQueryFailed, kMissing);
  DWORD count = 0;
  return ReadWithBuffer<std::vector<std::u16string>>(
      [&](BYTE* buffer, DWORD size, DWORD* needed) {
        return enumPrinterDrivers_(nullptr, Mutable(environment), 1, buffer, size, needed, &count);
      },
      [&](const BYTE* buffer, DWORD) {
        const auto* infos = reinterpret_cast<const DRIVER_INFO_1W*>(buffer);
        return Records<std::u16string>(count, [&](DWORD i) { return U16(infos[i].pName); });
      });
}

Read<PrinterDataValue> Win32Spooler::DataValue(PrinterHandle handle, const std::u16string& valueName) {
  using Result = Read<PrinterDataValue>;
  if (!getPrinterData_) return Result::Failed(ReadStage::SizeQueryFailed, kMissing);
  DWORD type = 0;
  return ReadWithBuffer<PrinterDataValue>(
      [&](BYTE* buffer, DWORD size, DWORD* needed) {
        // The call answers with its code and says ERROR_MORE_DATA for a short buffer: put both
        // as the buffer protocol has them.
        const DWORD code = getPrinterData_(ToHandle(handle), Mutable(valueName), &type, buffer, size, needed);
        ::SetLastError(code == ERROR_MORE_DATA ? ERROR_INSUFFICIENT_BUFFER : code);
        return code == ERROR_SUCCESS;
      },
      [&](const BYTE* buffer, DWORD size) {
        return PrinterDataValue{type, std::vector<std::uint8_t>(buffer, buffer + size)};
      });
}

Status Win32Spooler::RegisterDriver(const DriverInfo3& info) {
  if (!addPrinterDriver_) return Status::Failed(kMissing);
  DRIVER_INFO_3W driver = EncodeDriverInfo3(info);
  return StatusOf(addPrinterDriver_(nullptr, 3, reinterpret_cast<BYTE*>(&driver)));
}

Status Win32Spooler::RegisterDriverEx(const DriverInfo3& info, std::uint32_t fileCopyFlags) {
  if (!addPrinterDriverEx_) return Status::Failed(kMissing);
  DRIVER_INFO_3W driver = EncodeDriverInfo3(info);
  return StatusOf(addPrinterDriverEx_(nullptr, 3, reinterpret_cast<BYTE*>(&driver), fileCopyFlags));
}

Opened Win32Spooler::CreatePrinter(const PrinterInfo2& info) {
  if (!addPrinter_) return {0, kMissing};
  PRINTER_INFO_2W printer = EncodePrinterInfo2(info);
  HANDLE added = addPrinter_(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
  if (!added) return {0, ::GetLastError()};
  return {FromHandle(added), 0};
}

Status Win32Spooler::SetData(PrinterHandle handle, const std::u16string& valueName, std::uint32_t type,
                                    const std::vector<std::uint8_t>& data) {
  if (!setPrinterData_) return Status::Failed(kMissing);
  // An empty value still passes a valid pointer, with its size 0.
  static BYTE empty = 0;
  BYTE* bytes = data.empty() ? &empty : const_cast<BYTE*>(data.data());
  // The call answers with its code instead of the last-error value.
  const DWORD code = setPrinterData_(ToHandle(handle), Mutable(valueName), type, bytes, static_cast<DWORD>(data.size()));
  return code == ERROR_SUCCESS ? Status{} : Status::Failed(code);
}

bool Win32Spooler::PortDialog(WindowHandle owner, const std::u16string& portName) {
  return configurePort_ && configurePort_(nullptr, ToHwnd(owner), Mutable(portName)) != FALSE;
}

Status Win32Spooler::ChangePrinter(PrinterHandle handle, const PrinterInfo2& info) {
  if (!setPrinter_) return Status::Failed(kMissing);
  PRINTER_INFO_2W printer = EncodePrinterInfo2(info);
  // A copy: the call takes a pointer it may write through. pSecurityDescriptor stays null.
  std::vector<std::uint8_t> devMode = info.devMode;
  printer.pDevMode = devMode.empty() ? nullptr : reinterpret_cast<DEVMODEW*>(devMode.data());
  return StatusOf(setPrinter_(ToHandle(handle), 2, reinterpret_cast<BYTE*>(&printer), 0));
}

Read<std::vector<std::uint8_t>> Win32Spooler::DriverDevMode(PrinterHandle handle, const std::u16string& printerName,
                                                            const std::vector<std::uint8_t>& input) {
  using Result = Read<std::vector<std::uint8_t>>;
  if (!documentProperties_) return Result::Failed(ReadStage::SizeQueryFailed, kMissing);
  // fMode 0: the size of the driver's whole DEVMODE, private part included.
  const LONG size = documentProperties_(nullptr, ToHandle(handle), Mutable(printerName), nullptr, nullptr, 0);
  if (size <= 0) return Result::Failed(ReadStage::SizeQueryFailed, static_cast<std::uint32_t>(size));
  std::vector<std::uint8_t> output(static_cast<std::size_t>(size));
  // The input is read as a whole DEVMODE: give the driver at least its own size.
  std::vector<std::uint8_t> in = input;
  if (!in.empty() && in.size() < output.size()) in.resize(output.size());
  const DWORD mode = in.empty() ? DM_OUT_BUFFER : DM_IN_BUFFER | DM_OUT_BUFFER;
  const LONG answer = documentProperties_(nullptr, ToHandle(handle), Mutable(printerName),
                                          reinterpret_cast<DEVMODEW*>(output.data()),
                                          in.empty() ? nullptr : reinterpret_cast<DEVMODEW*>(in.data()), mode);
  if (answer < 0) return Result::Failed(ReadStage::FillFailed, static_cast<std::uint32_t>(answer));
  return Result::Of(std::move(output));
}

Read<std::vector<std::uint8_t>> Win32Spooler::GlobalDevMode(PrinterHandle handle) {
  using Result = Read<std::vector<std::uint8_t>>;
  if (!getPrinter_) return Result::Failed(ReadStage::SizeQueryFailed, kMissing);
  return ReadWithBuffer<std::vector<std::uint8_t>>(
      [&](BYTE* buffer, DWORD size, DWORD* needed) { return getPrinter_(ToHandle(handle), 8, buffer, size, needed); },
      [](const BYTE* buffer, DWORD) {
        const DEVMODEW* devMode = reinterpret_cast<const PRINTER_INFO_8W*>(buffer)->pDevMode;
        if (!devMode) return std::vector<std::uint8_t>{};
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(devMode);
        return std::vector<std::uint8_t>(bytes, bytes + devMode->dmSize + devMode->dmDriverExtra);
      });
}

Status Win32Spooler::SetGlobalDevMode(PrinterHandle handle, const std::vector<std::uint8_t>& devMode) {
  if (!setPrinter_) return Status::Failed(kMissing);
  std::vector<std::uint8_t> copy = devMode;
  PRINTER_INFO_8W info = {reinterpret_cast<DEVMODEW*>(copy.data())};
  return StatusOf(setPrinter_(ToHandle(handle), 8, reinterpret_cast<BYTE*>(&info), 0));
}

Status Win32Spooler::PurgeJobs(PrinterHandle handle) {
  if (!setPrinter_) return Status::Failed(kMissing);
  return StatusOf(setPrinter_(ToHandle(handle), 0, nullptr, PRINTER_CONTROL_PURGE));
}

Status Win32Spooler::DeletePrinter(PrinterHandle handle) {
  if (!deletePrinter_) return Status::Failed(kMissing);
  return StatusOf(deletePrinter_(ToHandle(handle)));
}

Status Win32Spooler::DeleteDriverEx(const std::u16string& environment, const std::u16string& driverName,
                                           std::uint32_t deleteFlags, std::uint32_t versionFlag) {
  if (!deletePrinterDriverEx_) return Status::Failed(kMissing);
  return StatusOf(
      deletePrinterDriverEx_(nullptr, Mutable(environment), Mutable(driverName), deleteFlags, versionFlag));
}

Status Win32Spooler::DeleteDriver(const std::u16string& environment, const std::u16string& driverName) {
  if (!deletePrinterDriver_) return Status::Failed(kMissing);
  return StatusOf(deletePrinterDriver_(nullptr, Mutable(environment), Mutable(driverName)));
}
