#pragma once
// The print spooler (winspool.drv) as values: the records this program reads and writes, and
// the calls it makes on them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "diag/dialogs.h"
#include "diag/read.h"
#include "diag/scoped_handle.h"

// An open printer, monitor or port handle; 0 is "none".
using PrinterHandle = std::uintptr_t;

constexpr std::uint32_t kPrinterAttributeLocal = 0x00000040;    // PRINTER_ATTRIBUTE_LOCAL
constexpr std::uint32_t kServerAccessAdminister = 0x00000001;   // SERVER_ACCESS_ADMINISTER
constexpr std::uint32_t kPrinterAllAccess = 0x000F000C;         // PRINTER_ALL_ACCESS
constexpr std::uint32_t kRegSz = 1;                             // REG_SZ
constexpr std::uint32_t kApdCopyAllFiles = 0x00000004;          // APD_COPY_ALL_FILES
constexpr std::uint32_t kDpdDeleteUnusedFiles = 0x00000001;     // DPD_DELETE_UNUSED_FILES
constexpr std::uint32_t kDpdDeleteSpecificVersion = 0x00000002; // DPD_DELETE_SPECIFIC_VERSION

// PRINTER_INFO_2W. Decoded records hold "" for null strings, and the device mode and security
// descriptor as bytes (none for null). When a record is passed in, serverName, shareName,
// comment, location, sepFile and parameters go as null when empty; the other strings always go
// as strings, "" included. AddPrinterW gets no device mode and no security descriptor (the
// spooler makes the defaults); SetPrinterW see ChangePrinter.
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
  // The DEVMODEW as read: dmSize + dmDriverExtra bytes.
  std::vector<std::uint8_t> devMode;
  // Self-relative, GetSecurityDescriptorLength bytes.
  std::vector<std::uint8_t> securityDescriptor;
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

// One printer-data value as GetPrinterDataW gives it: its registry type and bytes.
struct PrinterDataValue {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> bytes;
};

// An open handle, or 0 and the code the open left.
struct Opened {
  PrinterHandle handle = 0;
  std::uint32_t code = 0;
  explicit operator bool() const { return handle != 0; }
};

// XcvData's two answers: the call's own, and the monitor's status in it.
struct XcvAnswer {
  Status call;
  std::uint32_t status = 0;
  std::vector<std::uint8_t> output;
  // The call went through and the monitor said yes.
  bool Accepted() const { return call.ok && status == 0; }
};

// The local print spooler. Every call answers with its result: a failure carries the code the
// spooler gave. Local machine only: this program never names a server.
class Spooler {
 public:
  virtual ~Spooler() = default;

  // PRINTER_DEFAULTSW with no data type, no device mode and this access.
  virtual Opened Open(const std::u16string& printerName, std::uint32_t desiredAccess) = 0;
  virtual bool ClosePrinter(PrinterHandle handle) = 0;

  // input: empty passes null and 0. output: a buffer of outputSize bytes (0: none).
  virtual XcvAnswer Xcv(PrinterHandle handle, const std::u16string& command,
                            const std::vector<std::uint8_t>& input, std::uint32_t outputSize) = 0;

  // --- Reads: a listing whose size query succeeds holds nothing (Read::EmptyListing) ---

  // The spooler's ports: level 1 (names only) or 2 (with monitor, description and type).
  virtual Read<std::vector<PortInfo>> Ports(std::uint32_t level) = 0;
  // The local printers at level 2.
  virtual Read<std::vector<PrinterInfo2>> LocalPrinters() = 0;
  // One open printer at level 2.
  virtual Read<PrinterInfo2> Printer(PrinterHandle handle) = 0;
  // The driver directory of an environment, read into a 260-unit buffer.
  virtual Read<std::u16string> DriverDirectory(const std::u16string& environment) = 0;
  // The names of the drivers installed for an environment.
  virtual Read<std::vector<std::u16string>> Drivers(const std::u16string& environment) = 0;
  // One of an open printer's data values (GetPrinterDataW); a value of no bytes is an empty
  // listing.
  virtual Read<PrinterDataValue> DataValue(PrinterHandle handle, const std::u16string& valueName) = 0;

  // --- Changes ---

  // Level 3.
  virtual Status RegisterDriver(const DriverInfo3& info) = 0;
  // Level 3; fileCopyFlags as APD_*.
  virtual Status RegisterDriverEx(const DriverInfo3& info, std::uint32_t fileCopyFlags) = 0;
  // Level 2; the new printer's handle.
  virtual Opened CreatePrinter(const PrinterInfo2& info) = 0;
  virtual Status SetData(PrinterHandle handle, const std::u16string& valueName, std::uint32_t type,
                                const std::vector<std::uint8_t>& data) = 0;
  // The port's configuration dialog, owned by owner.
  virtual bool PortDialog(WindowHandle owner, const std::u16string& portName) = 0;
  // Level 2, the strings as CreatePrinter passes them. The device mode goes as given (null when
  // empty): no promise is published for a null one, so a caller hands back what it read. The
  // security descriptor always goes as null, the documented way to leave it as it is; sending it
  // back would also ask to set its owner, which an administrator may not be allowed to do.
  virtual Status ChangePrinter(PrinterHandle handle, const PrinterInfo2& info) = 0;
  // --- Printing defaults: a DEVMODE is its bytes, public and private part ---

  // DocumentPropertiesW: the driver's current DEVMODE (DM_OUT_BUFFER), or with input the driver's
  // merge of its public fields named in dmFields (DM_IN_BUFFER | DM_OUT_BUFFER). A driver that
  // answers below 0 fails with its answer as the code.
  virtual Read<std::vector<std::uint8_t>> DriverDevMode(PrinterHandle handle, const std::u16string& printerName,
                                                        const std::vector<std::uint8_t>& input) = 0;
  // GetPrinterW and SetPrinterW level 8: the queue's global DEVMODE, the defaults of every user.
  virtual Read<std::vector<std::uint8_t>> GlobalDevMode(PrinterHandle handle) = 0;
  virtual Status SetGlobalDevMode(PrinterHandle handle, const std::vector<std::uint8_t>& devMode) = 0;

  // SetPrinter level 0, PRINTER_CONTROL_PURGE.
  virtual Status PurgeJobs(PrinterHandle handle) = 0;
  virtual Status DeletePrinter(PrinterHandle handle) = 0;
  // deleteFlags as DPD_*; versionFlag counts with DPD_DELETE_SPECIFIC_VERSION only.
  virtual Status DeleteDriverEx(const std::u16string& environment, const std::u16string& driverName,
                                       std::uint32_t deleteFlags, std::uint32_t versionFlag) = 0;
  virtual Status DeleteDriver(const std::u16string& environment, const std::u16string& driverName) = 0;
};

// An open printer, monitor or port handle, closed with ClosePrinter when its owner's scope ends.
using ScopedPrinterHandle = ScopedHandle<Spooler, PrinterHandle, &Spooler::ClosePrinter>;
