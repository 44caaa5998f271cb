#pragma once
// The print spooler (winspool.drv), one method per winspool call this program makes.
// Every method leaves the thread's last-error value as the real call would (the fake sets it).
// Local machine only: this program never names a server, so those arguments are left out.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "diag/dialogs.h"
#include "diag/scoped_handle.h"

// An open printer, monitor or port handle; 0 is "none".
using PrinterHandle = std::uintptr_t;

constexpr std::uint32_t kPrinterEnumLocal = 0x00000002;         // PRINTER_ENUM_LOCAL
constexpr std::uint32_t kPrinterAttributeLocal = 0x00000040;    // PRINTER_ATTRIBUTE_LOCAL
constexpr std::uint32_t kServerAccessAdminister = 0x00000001;   // SERVER_ACCESS_ADMINISTER
constexpr std::uint32_t kPrinterAllAccess = 0x000F000C;         // PRINTER_ALL_ACCESS
constexpr std::uint32_t kRegSz = 1;                             // REG_SZ
constexpr std::uint32_t kApdCopyAllFiles = 0x00000004;          // APD_COPY_ALL_FILES
constexpr std::uint32_t kApdCopyNewFiles = 0x00000008;          // APD_COPY_NEW_FILES
constexpr std::uint32_t kPrinterControlPurge = 3;               // PRINTER_CONTROL_PURGE
constexpr std::uint32_t kDpdDeleteUnusedFiles = 0x00000001;     // DPD_DELETE_UNUSED_FILES
constexpr std::uint32_t kDpdDeleteSpecificVersion = 0x00000002; // DPD_DELETE_SPECIFIC_VERSION

// The outcome of a call that fills a caller's buffer. A requested size of 0 is the size query
// (no buffer, size 0 passed to the spooler); any other size makes the layer allocate that many
// bytes and pass them. NoMemory: the allocation failed and the spooler was not called.
enum class SpoolResult { Failed, Succeeded, NoMemory };

// PRINTER_INFO_2W. Decoded records hold "" for null strings. When a record is passed in
// (AddPrinterW), serverName, shareName, comment, location, sepFile and parameters go as null
// when empty; the other strings always go as strings, "" included. No device mode, no
// security descriptor.
struct PrinterInfo2 {
  std::u16string serverName;
  std::u16string printerName;
  std::u16string shareName;
  std::u16string portName;
  std::u16string driverName;
  std::u16string comment;
  std::u16string location;
  std::u16string sepFile;
  std::u16string printProcessor;
  std::u16string datatype;
  std::u16string parameters;
  std::uint32_t attributes = 0;
  std::uint32_t priority = 0;
  std::uint32_t defaultPriority = 0;
  std::uint32_t startTime = 0;
  std::uint32_t untilTime = 0;
  std::uint32_t status = 0;
  std::uint32_t cJobs = 0;
  std::uint32_t averagePPM = 0;
};

// PORT_INFO_1W (portName only) or PORT_INFO_2W (all members), by the level asked.
struct PortInfo {
  std::u16string portName;
  std::u16string monitorName;
  std::u16string description;
  std::uint32_t portType = 0;
};

// DRIVER_INFO_3W (DRIVER_INFO_1W and _2W are its first members). dependentFiles is a
// multi-string with its NULs and its closing empty string, passed as it stands. monitorName and
// defaultDataType: no value is null.
struct DriverInfo3 {
  std::uint32_t cVersion = 0;
  std::u16string name;
  std::u16string environment;
  std::u16string driverPath;
  std::u16string dataFile;
  std::u16string configFile;
  std::u16string helpFile;
  std::u16string dependentFiles;
  std::optional<std::u16string> monitorName;
  std::optional<std::u16string> defaultDataType;
};

class Spooler {
 public:
  virtual ~Spooler() = default;

  // PRINTER_DEFAULTSW with no data type, no device mode and this access. True with the handle.
  virtual bool OpenPrinterW(const std::u16string& printerName, PrinterHandle& handle,
                            std::uint32_t desiredAccess) = 0;
  virtual bool ClosePrinter(PrinterHandle handle) = 0;

  // input: empty passes null and 0. output: its size is the output buffer's size (cbOutputData);
  // empty passes null and 0. status receives the monitor's own answer.
  virtual bool XcvDataW(PrinterHandle handle, const std::u16string& dataName,
                        const std::vector<std::uint8_t>& input, std::vector<std::uint8_t>& output,
                        std::uint32_t& outputNeeded, std::uint32_t& status) = 0;

  // Level 1 or 2; records cleared, then filled on success. needed and returned as the call
  // leaves them.
  virtual SpoolResult EnumPortsW(std::uint32_t level, std::uint32_t bufferSize,
                                 std::vector<PortInfo>& records, std::uint32_t& needed,
                                 std::uint32_t& returned) = 0;

  // Level 2; name: no value is null.
  virtual SpoolResult EnumPrintersW(std::uint32_t flags, const std::optional<std::u16string>& name,
                                    std::uint32_t level, std::uint32_t bufferSize,
                                    std::vector<PrinterInfo2>& records, std::uint32_t& needed,
                                    std::uint32_t& returned) = 0;

  // Level 2; record filled on success.
  virtual SpoolResult GetPrinterW(PrinterHandle handle, std::uint32_t level, std::uint32_t bufferSize,
                                  PrinterInfo2& record, std::uint32_t& needed) = 0;

  // environment: no value is null (the caller's own environment). bufferSize in bytes: the layer
  // passes a zeroed buffer of that size; directory receives its NUL-terminated text.
  virtual bool GetPrinterDriverDirectoryW(const std::optional<std::u16string>& environment,
                                          std::uint32_t level, std::uint32_t bufferSize,
                                          std::u16string& directory, std::uint32_t& needed) = 0;

  virtual bool AddPrinterDriverW(std::uint32_t level, const DriverInfo3& info) = 0;

  // Level 2; the new printer's handle, or 0.
  virtual PrinterHandle AddPrinterW(std::uint32_t level, const PrinterInfo2& info) = 0;

  // Returns the spooler's error code (ERROR_SUCCESS is 0), as the real call does.
  virtual std::uint32_t SetPrinterDataW(PrinterHandle handle, const std::u16string& valueName,
                                        std::uint32_t type, const std::vector<std::uint8_t>& data) = 0;

  // The port's configuration dialog, owned by owner.
  virtual bool ConfigurePortW(WindowHandle owner, const std::u16string& portName) = 0;

  // Level 3; fileCopyFlags as APD_*.
  virtual bool AddPrinterDriverExW(std::uint32_t level, const DriverInfo3& info, std::uint32_t fileCopyFlags) = 0;

  // Level 2 with info (passed as AddPrinterW passes it; no device mode and no security
  // descriptor, which leaves both as they are) and command 0; or level 0, info null and a
  // PRINTER_CONTROL_* command.
  virtual bool SetPrinterW(PrinterHandle handle, std::uint32_t level, const PrinterInfo2* info,
                           std::uint32_t command) = 0;

  virtual bool DeletePrinter(PrinterHandle handle) = 0;

  // Level 1, 2 or 3; environment: no value is null (the caller's own). Records cleared, then
  // filled on success; level 1 fills the name only, level 2 up to configFile.
  virtual SpoolResult EnumPrinterDriversW(const std::optional<std::u16string>& environment, std::uint32_t level,
                                          std::uint32_t bufferSize, std::vector<DriverInfo3>& records,
                                          std::uint32_t& needed, std::uint32_t& returned) = 0;

  // environment: no value is null. deleteFlags as DPD_*; versionFlag counts with
  // DPD_DELETE_SPECIFIC_VERSION only.
  virtual bool DeletePrinterDriverExW(const std::optional<std::u16string>& environment,
                                      const std::u16string& driverName, std::uint32_t deleteFlags,
                                      std::uint32_t versionFlag) = 0;
  virtual bool DeletePrinterDriverW(const std::optional<std::u16string>& environment,
                                    const std::u16string& driverName) = 0;
};

// An open printer, monitor or port handle, closed with ClosePrinter when its owner's scope ends.
using ScopedPrinterHandle = ScopedHandle<Spooler, PrinterHandle, &Spooler::ClosePrinter>;
