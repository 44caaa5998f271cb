#pragma once
// The print-system operations: driver and printer installation, port creation, monitor refresh
// and job purge. Each reaches Windows only through the seams of PrintPlatform. Results are 1 for
// success or yes and 0 otherwise.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/install_context.h"
#include "diag/dialogs.h"
#include "diag/last_error.h"
#include "spooler/driver_files.h"
#include "spooler/file_system.h"
#include "spooler/monitor_names.h"
#include "spooler/port_records.h"
#include "spooler/printer_names.h"
#include "spooler/shell.h"
#include "spooler/spooler.h"
#include "spooler/version_installer.h"

struct PrintPlatform {
  Spooler& spooler;
  VersionInstaller& versions;
  FileSystem& files;
  Shell& shell;
  LastError& lastError;
  int osBitness;  // GetOsBitness(): 64 or 32, picks the driver's environment
};

constexpr std::uint32_t kErrorFilenameExcedRange = 206;  // ERROR_FILENAME_EXCED_RANGE
constexpr std::uint32_t kStandardRawPort = 9100;

// --- Driver and printer installation ---

// Picks the printer name, copies the package, registers the driver, adds the printer on
// context.portName, writes the DATA values and shows exactly one box, owned by mainWindow.
// 1 when the printer was added (the success box), 0 after an error box.
int InstallPrinter(InstallContext& context, PrintPlatform& platform, WindowHandle mainWindow);

// Stages and registers the driver as InstallPrinter does, but with AddPrinterDriverExW and
// APD_COPY_ALL_FILES so that the package's files replace those of an earlier install (the plain
// AddPrinterDriverW when the spooler turns the flag down: see SpoolerRefusedTheCall); then points
// the printer existingName at this install's driver and context.portName (SetPrinterW level 2,
// everything else of the printer kept) and writes the DATA values again. Exactly one box, owned by
// mainWindow: the success box naming existingName (1), or an error box naming the failed call (0).
int UpdatePrinter(InstallContext& context, PrintPlatform& platform, WindowHandle mainWindow,
                  const std::u16string& existingName);

// The local printer whose name is name as the spooler compares names, spelled as the spooler
// holds it; no value when there is none, or when the printers cannot be listed (a trace line).
std::optional<std::u16string> FindExistingPrinter(PrintPlatform& platform, const std::u16string& name);

// The local printers at level 2 (empty when the size query succeeds: there are none), or no
// value when they cannot be listed: the size query fails other than with
// ERROR_INSUFFICIENT_BUFFER or names no size, there is no memory, or the second call fails.
std::optional<std::vector<PrinterInfo2>> EnumerateLocalPrinters(PrintPlatform& platform);

// One enumeration of the local printers, then the first free name. Returns 1 with outName set;
// 0 when the chosen name would not fit its 260-unit buffer (outName then empty).
int MakeUniquePrinterName(PrintPlatform& platform, const std::u16string& baseName, std::u16string& outName);

// VerInstallFileW with forced install, one trace line; 1 when the flags are 0.
int InstallDriverFile(PrintPlatform& platform, const std::u16string& fileName, const std::u16string& sourceDir,
                      const std::u16string& driverDir);

// --- Port creation ---

// The Standard TCP/IP port (raw TCP); 1 when created or already there. Shows its own boxes,
// owned by owner.
int AddStandardTcpIpPort(PrintPlatform& platform, const std::u16string& name, const std::u16string& hostAddress,
                         std::uint32_t portNumber, WindowHandle owner = 0);

// 1 when ", XcvMonitor <name>" opens; on 0 the last-error value is OpenPrinterW's.
int MonitorExists(PrintPlatform& platform, const std::u16string& monitorName);

// The spooler's ports at level 1, or no value (nothing to list, or no memory). count is left
// untouched without a list.
std::optional<std::vector<PortInfo>> EnumerateLocalPorts(PrintPlatform& platform, std::uint32_t& count);

// Creates the next free numbered port through the custom monitor. On 1 with a port created,
// the record's port name and portNameOut hold it. On 0 the last-error value tells why: the
// spooler's code, the monitor's non-zero status, or 206 for a prefix too long.
int AddMonitorPort(PrintPlatform& platform, const std::u16string& monitorName, const std::u16string& prefix,
                   CustomPortRecord& record, std::u16string& portNameOut, WindowHandle owner = 0);

// --- Monitor refresh and job purge ---

// Start the tool hidden from its own folder and wait for it; nothing when it cannot start.
void RunMonitorSetup(const InstallContext& context, PrintPlatform& platform, WindowHandle owner);
void RunDeletePrintJobs(const InstallContext& context, PrintPlatform& platform, WindowHandle owner);

// 1 when the port's monitor answers "GetPort" with status 0 (a port of the custom monitor).
int QueryMonitorPort(PrintPlatform& platform, const std::u16string& port, CustomPortRecord& answer);

// 1 with jobCount set to the printer's cJobs; 0 with jobCount untouched.
int GetPrinterJobCount(PrintPlatform& platform, const std::u16string& printer, std::uint32_t& jobCount);

// 1 when some local printer on a custom-monitor port has queued jobs.
int HasPendingJobsOnMonitorPorts(PrintPlatform& platform);

// --- Configured lengths ---

// Refuses values that would be cut in a name or path buffer: Prefix (PrnName is judged once the
// name is chosen), PortNamePrefix when a port monitor is configured, and the install folder.
// Shows one error box (code 206) naming the config.ini key or the folder; 1 when all fit.
// InstallPrinter and AddMonitorPort test their own part; the road may ask for all at once.
int CheckConfiguredLengths(const InstallContext& context, WindowHandle owner);
