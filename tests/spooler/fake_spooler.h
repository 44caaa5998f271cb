#pragma once
// An in-memory spooler: printers with their data and job counts, ports, drivers, driver
// directories and port monitors answering XcvData. Records every call in the shared log, and
// fails any call on demand (Fail(method, error)) or any allocation (FailAllocation(method)).
// Like Windows, it finds printers and ports by name without regard to letter case, and adds a
// printer only on a port it lists: a test puts the port into ports first (AddPort) or expects
// ERROR_UNKNOWN_PORT. Also like Windows (where Wine lets things through): SetPrinterW and
// DeletePrinter need the access they need, a printer with jobs is only marked for deletion until
// they are purged, a port a printer uses and a driver a printer uses are not deleted.
#include <functional>
#include <map>
#include <set>

#include "fake_call_log.h"
#include "spooler/monitor_names.h"
#include "spooler/port_records.h"
#include "spooler/spooler.h"

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

struct FakePrinter {
  PrinterInfo2 info;
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
  // ERROR_BUSY); another name gets ERROR_UNKNOWN_PORT. deletePortStatus answers instead.
  std::optional<std::uint32_t> deletePortStatus;
  std::vector<std::vector<std::uint8_t>> deletePortInputs;
};

struct XcvCall {
  std::u16string handleName;
  std::u16string command;
  std::vector<std::uint8_t> input;
  std::size_t outputSize = 0;
};

class FakeSpooler : public Spooler, public FakeSeam {
 public:
  FakeSpooler(CallLog& log, LastError& lastError);

  // --- State, for tests to set up and inspect ---
  std::vector<FakePrinter> printers;
  std::vector<PortInfo> ports;
  std::vector<DriverInfo3> drivers;
  std::map<std::u16string, FakeMonitor> monitors;
  // Environment name -> driver directory; the caller's own environment for a null one.
  std::map<std::u16string, std::u16string> driverDirectories;
  std::u16string callerEnvironment = u"Windows NT x86";
  std::vector<XcvCall> xcvCalls;
  std::vector<std::u16string> configuredPorts;

  FakePrinter& AddPrinter(const std::u16string& name, const std::u16string& port = u"LPT1:",
                          std::uint32_t jobs = 0, const std::u16string& driver = u"Generic");
  PortInfo& AddPort(const std::u16string& name, const std::u16string& monitor = u"Local Port");
  FakeMonitor& AddMonitor(const std::u16string& name);
  FakeMonitor& AddTcpIpMonitor() { return AddMonitor(kTcpIpMonitorName); }
  // The first record of that name in any letter case, or null.
  FakePrinter* FindPrinter(const std::u16string& name);
  const PortInfo* FindPort(const std::u16string& name) const;
  std::size_t OpenHandleCount() const { return handles_.size(); }

  // The buffer-filling calls of this method return NoMemory (last error 8); 0 = every call.
  void FailAllocation(const std::string& method, int onlyCall = 0) { allocationFailures.Fail(method, 8, onlyCall); }
  FailureSwitch allocationFailures;
  // Bytes the size query reports beyond the records' own (0: the records' size only).
  std::map<std::string, std::uint32_t> neededOverride;

  // --- Spooler ---
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

  // A driver record as AddPrinterDriverW would leave it (version 3).
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
  // The environment a call names (its own for null); false with ERROR_INVALID_ENVIRONMENT.
  bool KnownEnvironment(const std::optional<std::u16string>& environment, std::u16string& resolved);
  // Removes the drivers of that name and environment (and version when asked); false with the
  // spooler's error when none or one is in use.
  bool RemoveDrivers(const std::u16string& name, const std::u16string& environment, std::optional<std::uint32_t> version);
  std::uint32_t DeletePortStatus(const Target& target, const std::vector<std::uint8_t>& input);
  const Target* Find(PrinterHandle handle) const;
  std::string HandleText(PrinterHandle handle) const;
  PrinterHandle NewHandle(Target target);
  // The ask-size-then-fill protocol over a record count and its byte size.
  SpoolResult Fill(const std::string& method, std::uint32_t bytes, std::uint32_t bufferSize, std::uint32_t& needed);

  std::map<PrinterHandle, Target> handles_;
  PrinterHandle nextHandle_ = 0x100;
};
