#pragma once
// An in-memory spooler: printers with their data and job counts, ports, drivers, driver
// directories and port monitors answering XcvData. Records every call in the shared log, and
// fails any call on demand (Fail(method, error)); a read fails at its size query then, or at the
// stage FailRead names (FailAllocation: no memory).
// Like Windows, it finds printers and ports by name without regard to letter case, and adds a
// printer only on a port it lists: a test puts the port into ports first (AddPort) or expects
// ERROR_UNKNOWN_PORT. Also like Windows (where Wine lets things through): SetPrinterW and
// DeletePrinter need the access they need, a printer with jobs is only marked for deletion until
// they are purged, a port a printer uses and a driver a printer uses are not deleted; a driver
// is registered only when every file it names is in its driver directory (driverFileExists
// answers), and a printer finds its driver only in the spooler's own environment; environments
// match without regard to letter case. A printer has a device mode and a security descriptor
// from the start, as the spooler makes them.
#include <functional>
#include <map>
#include <set>

#include "fake_call_log.h"
#include "spooler/devmode.h"
#include "spooler/monitor_names.h"
#include "spooler/port_records.h"
#include "spooler/spooler.h"

constexpr std::uint32_t kErrorFileNotFound = 2;              // ERROR_FILE_NOT_FOUND
constexpr std::uint32_t kErrorAccessDenied = 5;              // ERROR_ACCESS_DENIED
constexpr std::uint32_t kErrorInvalidHandle = 6;             // ERROR_INVALID_HANDLE
constexpr std::uint32_t kErrorNotEnoughMemory = 8;           // ERROR_NOT_ENOUGH_MEMORY
constexpr std::uint32_t kErrorInvalidParameter = 87;         // ERROR_INVALID_PARAMETER
constexpr std::uint32_t kErrorInvalidLevel = 124;            // ERROR_INVALID_LEVEL
constexpr std::uint32_t kErrorBusy = 170;                    // ERROR_BUSY
constexpr std::uint32_t kErrorUnknownPort = 1796;            // ERROR_UNKNOWN_PORT
constexpr std::uint32_t kErrorUnknownPrinterDriver = 1797;   // ERROR_UNKNOWN_PRINTER_DRIVER
constexpr std::uint32_t kErrorInvalidPrinterName = 1801;     // ERROR_INVALID_PRINTER_NAME
constexpr std::uint32_t kErrorPrinterAlreadyExists = 1802;   // ERROR_PRINTER_ALREADY_EXISTS
constexpr std::uint32_t kErrorInvalidPrinterCommand = 1803;  // ERROR_INVALID_PRINTER_COMMAND
constexpr std::uint32_t kErrorInvalidEnvironment = 1805;     // ERROR_INVALID_ENVIRONMENT
constexpr std::uint32_t kErrorPrinterDriverInUse = 3001;     // ERROR_PRINTER_DRIVER_IN_USE
constexpr std::uint32_t kPrinterStatusPendingDeletion = 0x00000004; // PRINTER_STATUS_PENDING_DELETION
constexpr std::uint32_t kPrinterAccessAdminister = 0x00000004;      // PRINTER_ACCESS_ADMINISTER
constexpr std::uint32_t kDeleteAccess = 0x00010000;                 // DELETE

// DEVMODEW as bytes, at the offsets of the published declaration.
namespace devmode {
constexpr std::size_t kSize = kDevModePublicSize;  // sizeof(DEVMODEW), dmSize
constexpr std::size_t kDeviceName = 0;      // WCHAR[32]
constexpr std::size_t kSpecVersion = 64;    // WORD
constexpr std::size_t kDmSize = 68;         // WORD
constexpr std::size_t kDriverExtra = 70;    // WORD
constexpr std::size_t kFields = 72;         // DWORD
constexpr std::size_t kOrientation = 76;    // short
constexpr std::size_t kPaperLength = 80;    // short, tenths of a millimetre
constexpr std::size_t kPaperWidth = 82;     // short
constexpr std::uint32_t kFieldOrientation = kDmOrientation;
constexpr std::uint32_t kFieldPaperLength = kDmPaperLength;
constexpr std::uint32_t kFieldPaperWidth = kDmPaperWidth;
constexpr std::uint16_t kPortrait = 1;                   // DMORIENT_PORTRAIT
constexpr std::uint16_t kLandscape = 2;                  // DMORIENT_LANDSCAPE
}  // namespace devmode

// A device mode with these public fields and driverExtra bytes of private data after them.
std::vector<std::uint8_t> FakeDevMode(const std::u16string& deviceName, std::uint16_t orientation,
                                      std::uint16_t paperLength, std::uint16_t paperWidth,
                                      std::uint16_t driverExtra = 0);
// One 16-bit field of a device mode (0 past its end).
std::uint16_t DevModeWord(const std::vector<std::uint8_t>& devMode, std::size_t offset);
// A self-relative security descriptor owned by the built-in alias of that RID (S-1-5-32-rid),
// with an empty DACL.
std::vector<std::uint8_t> FakeSecurityDescriptor(std::uint32_t ownerRid);

struct FakePrinter {
  PrinterInfo2 info;
  // The queue's global DEVMODE (level 8); empty: none stored yet.
  std::vector<std::uint8_t> globalDevMode;
  // Value name -> type and bytes, as SetPrinterDataW left them.
  std::map<std::u16string, std::pair<std::uint32_t, std::vector<std::uint8_t>>> data;
  std::vector<std::u16string> dataOrder;
  // The value's text, as the UTF-16 bytes stored.
  std::optional<std::u16string> Text(const std::u16string& name) const;
};

struct FakeMonitor {
  std::u16string name;
  // "AddPort": the call's result (false: XcvDataW fails with addPortError) and the status.
  bool addPortCallSucceeds = true;
  std::uint32_t addPortError = kErrorInvalidParameter;
  std::uint32_t addPortStatus = 0;
  // Status for a port of that name already there (the Standard TCP/IP monitor's 183).
  std::uint32_t existingPortStatus = kErrorAlreadyExists;
  // With status 0, the port named at offset 0 of the record appears in EnumPortsW.
  bool createsPorts = true;
  std::u16string portDescription = u"Fake Port";
  // "GetPort" on one of its ports: the call's result and the status; answer fills the output.
  bool answersGetPort = true;
  std::uint32_t getPortStatus = 0;
  std::vector<std::uint8_t> getPortAnswer;
  // Every "AddPort" input, in order.
  std::vector<std::vector<std::uint8_t>> addPortInputs;
  // "DeletePort": the Standard TCP/IP monitor takes a DELETE_PORT_DATA_1 record (at least 236
  // bytes, version 1), every other monitor the port's name with its terminator; anything else
  // gets status 87. Then its own port goes (status 0), unless a printer uses it (the spooler's
  // ERROR_BUSY); another name gets goneStatus (the local monitor's is ERROR_FILE_NOT_FOUND).
  // deletePortStatus answers instead.
  std::optional<std::uint32_t> deletePortStatus;
  std::uint32_t goneStatus = kErrorUnknownPort;
  std::vector<std::vector<std::uint8_t>> deletePortInputs;
};

// A driver's UI DLL as DocumentPropertiesW reaches it: a default DEVMODE (A4 portrait, one copy,
// 8 bytes of its own), and a merge that takes the public fields named in dmFields, custom paper
// sizes only within its range (it keeps its own otherwise), as a UNIDRV driver does.
struct FakeDriverUi {
  std::int16_t shortestTenths = 100;   // 10.0 mm
  std::int16_t longestTenths = 3000;   // 300.0 mm
  std::vector<std::uint8_t> Default() const;
  std::vector<std::uint8_t> Merge(std::vector<std::uint8_t> current, const std::vector<std::uint8_t>& input) const;
};

struct XcvCall {
  std::u16string handleName;
  std::u16string command;
  std::vector<std::uint8_t> input;
  std::size_t outputSize = 0;
};

class FakeSpooler : public Spooler, public FakeSeam {
 public:
  explicit FakeSpooler(CallLog& log);

  // --- State, for tests to set up and inspect ---
  std::vector<FakePrinter> printers;
  std::vector<PortInfo> ports;
  std::vector<DriverInfo3> drivers;
  std::map<std::u16string, FakeMonitor> monitors;
  // Environment name -> driver directory.
  std::map<std::u16string, std::u16string> driverDirectories;
  std::vector<XcvCall> xcvCalls;
  std::vector<std::u16string> configuredPorts;
  // Driver name -> its UI; a driver without one answers DocumentPropertiesW with -1, as the
  // package's placeholder files do under Wine.
  std::map<std::u16string, FakeDriverUi> driverUis;
  // Told of each driver registered; replaceFiles: APD_COPY_ALL_FILES was asked for.
  std::function<void(const DriverInfo3&, bool replaceFiles)> onDriverRegistered;
  // Whether a file is there, by full path; unset, every file a driver names counts as there.
  std::function<bool(const std::u16string& path)> driverFileExists;
  // The environment the spooler runs in: the one AddPrinterW and SetPrinterW take drivers from.
  std::u16string environment = u"Windows NT x86";
  // The caller is no administrator: opens asking SERVER_ACCESS_ADMINISTER or
  // PRINTER_ACCESS_ADMINISTER (PRINTER_ALL_ACCESS holds it) fail with ERROR_ACCESS_DENIED.
  bool refuseAdministration = false;

  FakePrinter& AddPrinter(const std::u16string& name, const std::u16string& port = u"LPT1:",
                          std::uint32_t jobs = 0, const std::u16string& driver = u"Generic");
  PortInfo& AddPort(const std::u16string& name, const std::u16string& monitor = u"Local Port");
  FakeMonitor& AddMonitor(const std::u16string& name);
  FakeMonitor& AddTcpIpMonitor() { return AddMonitor(kTcpIpMonitorName); }
  // What the spooler gives a printer that was handed none: the driver's default device mode
  // for its name, and a descriptor owned by the Administrators alias.
  static std::vector<std::uint8_t> DefaultDevMode(const PrinterInfo2& info);
  static std::vector<std::uint8_t> DefaultSecurityDescriptor();
  // The first record of that name in any letter case, or null.
  FakePrinter* FindPrinter(const std::u16string& name);
  const PortInfo* FindPort(const std::u16string& name) const;
  std::size_t OpenHandleCount() const { return handles_.size(); }

  // The read method fails at this stage with this code (every call, or only the n-th from now).
  void FailRead(const std::string& method, ReadStage stage, std::uint32_t code, int onlyCall = 0) {
    readStages[method] = stage;
    Fail(method, code, onlyCall);
  }
  void FailAllocation(const std::string& method, int onlyCall = 0) {
    FailRead(method, ReadStage::NoMemory, kErrorNotEnoughMemory, onlyCall);
  }
  std::map<std::string, ReadStage> readStages;

  // --- Spooler ---
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
  Read<std::vector<std::uint8_t>> DriverDevMode(PrinterHandle handle, const std::u16string& printerName,
                                                const std::vector<std::uint8_t>& input) override;
  Read<std::vector<std::uint8_t>> GlobalDevMode(PrinterHandle handle) override;
  Status SetGlobalDevMode(PrinterHandle handle, const std::vector<std::uint8_t>& devMode) override;
  Status RegisterDriver(const DriverInfo3& info) override;
  Status RegisterDriverEx(const DriverInfo3& info, std::uint32_t fileCopyFlags) override;
  Opened CreatePrinter(const PrinterInfo2& info) override;
  Status SetData(PrinterHandle handle, const std::u16string& valueName, std::uint32_t type,
                        const std::vector<std::uint8_t>& data) override;
  bool PortDialog(WindowHandle owner, const std::u16string& portName) override;
  Status ChangePrinter(PrinterHandle handle, const PrinterInfo2& info) override;
  Status PurgeJobs(PrinterHandle handle) override;
  Status DeletePrinter(PrinterHandle handle) override;
  Status DeleteDriverEx(const std::u16string& environment, const std::u16string& driverName,
                               std::uint32_t deleteFlags, std::uint32_t versionFlag) override;
  Status DeleteDriver(const std::u16string& environment, const std::u16string& driverName) override;

  // A driver record as AddPrinterDriver would leave it (version 3).
  DriverInfo3& AddDriver(const std::u16string& name, const std::u16string& environment = u"Windows NT x86");
  const DriverInfo3* FindDriver(const std::u16string& name, const std::u16string& environment) const;

 private:
  enum class Kind { Printer, Monitor, Port };
  struct Target {
    Kind kind;
    std::u16string name;      // the printer, monitor or port
    std::u16string opened;    // the name it was opened with
    std::uint32_t access = 0;
  };
  // The printer an open printer handle stands for, or null.
  FakePrinter* PrinterOf(PrinterHandle handle);
  bool PrinterUsesPort(const FakePrinter& printer, const std::u16string& port) const;
  bool DriverInUse(const std::u16string& name) const;
  void ErasePrinter(const FakePrinter* printer);
  // The environment as the spooler knows it; no value for an unknown one.
  std::optional<std::u16string> KnownEnvironment(const std::u16string& environment) const;
  // AddPrinterDriver(Ex)'s answer to a driver: 0 when it is registered.
  std::uint32_t RegisterChecked(const DriverInfo3& info, bool replaceFiles);
  // A driver of that name in the spooler's own environment.
  bool DriverKnown(const std::u16string& name) const;
  // Removes the drivers of that name and environment (and version when asked); the spooler's
  // error when none or one is in use.
  Status RemoveDrivers(const std::u16string& name, const std::u16string& environment, std::optional<std::uint32_t> version);
  // Logs a read; the failure asked for, if any.
  template <class T>
  std::optional<Read<T>> FailedRead(const std::string& method, const std::string& call);
  std::uint32_t DeletePortStatus(const Target& target, const std::vector<std::uint8_t>& input);
  const Target* Find(PrinterHandle handle) const;
  std::string HandleText(PrinterHandle handle) const;
  PrinterHandle NewHandle(Target target);

  std::map<PrinterHandle, Target> handles_;
  PrinterHandle nextHandle_ = 0x100;
};
