#pragma once
// The print-system operations: driver and printer installation, port creation, monitor refresh
// and job purge. Each reaches Windows only through the seams of PrintPlatform and answers with
// what happened; its caller shows the boxes.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/install_context.h"
#include "diag/dialogs.h"
#include "diag/read.h"
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
  int osBitness;  // GetOsBitness(): 64 or 32, picks the driver's environment
};

constexpr std::uint32_t kErrorFilenameExcedRange = 206;  // ERROR_FILENAME_EXCED_RANGE
constexpr std::uint32_t kStandardRawPort = 9100;
constexpr std::uint32_t kErrorPrinterDriverWarned = 3013;   // ERROR_PRINTER_DRIVER_WARNED
constexpr std::uint32_t kErrorPrinterDriverBlocked = 3014;  // ERROR_PRINTER_DRIVER_BLOCKED

// How an install or update ended: the printer as it now stands, or the step that failed.
// driverBlocked: the system itself refused the driver (blocked or warned), not this install.
struct Installed {
  std::u16string printerName;
  Outcome failure;
  std::u16string driverName;
  std::u16string portName;
  bool driverBlocked = false;
  static Installed Failed(Outcome failure) { return {{}, std::move(failure), {}, {}}; }
  bool ok() const { return failure.ok(); }
};

// --- Driver and printer installation ---
// The configured lengths are checked before (CheckConfiguredLengths): these take them as fitting.

// Picks the printer name, copies the package, registers the driver, adds the printer on
// portName and writes the DATA values; the printer is closed again when this returns. When every
// name is taken it fails before anything is copied ("No free printer name: ...", code 1802).
Installed InstallPrinter(const InstallContext& context, PrintPlatform& platform, const std::u16string& portName);

// Stages and registers the driver as InstallPrinter does, but with AddPrinterDriverEx and
// APD_COPY_ALL_FILES so that the package's files replace those of an earlier install (the plain
// AddPrinterDriver when the spooler turns the flag down: see SpoolerRefusedTheCall); then points
// the printer existingName at this install's driver and portName (SetPrinter level 2, everything
// else of the printer kept) and writes the DATA values again.
Installed UpdatePrinter(const InstallContext& context, PrintPlatform& platform, const std::u16string& portName,
                        const std::u16string& existingName);

// The local printer whose name is name as the spooler compares names, spelled as the spooler
// holds it; no value when there is none, or when the printers cannot be listed (a trace line).
std::optional<std::u16string> FindExistingPrinter(PrintPlatform& platform, const std::u16string& name);

// The local printers at level 2 (empty when there are none), or no value with the code when
// they cannot be listed.
Read<std::vector<PrinterInfo2>> LocalPrinters(PrintPlatform& platform);

// One enumeration of the local printers, then the first free name (ChooseUniquePrinterName).
ChosenPrinterName MakeUniquePrinterName(PrintPlatform& platform, const std::u16string& baseName);

// VerInstallFileW with forced install, one trace line; ok when the flags are 0, else failed with
// the flags as its code (forced, any flag means the file was not installed).
Status InstallDriverFile(PrintPlatform& platform, const std::u16string& fileName, const std::u16string& sourceDir,
                       const std::u16string& driverDir);

// --- Port creation ---

// The Standard TCP/IP port (raw TCP): ok when created or already there; otherwise the box to
// show (a monitor that cannot be opened shows none: the outcome is ok and plain; one that is
// refused to this user shows RefusedMonitorOpen with the code).
Outcome AddStandardTcpIpPort(PrintPlatform& platform, const std::u16string& name, const std::u16string& hostAddress,
                             std::uint32_t portNumber);

// Whether ", XcvMonitor <name>" opens; the code tells why not.
Status MonitorExists(PrintPlatform& platform, const std::u16string& monitorName);

// "OpenPrinter Refused For Administration: <monitor>", the box of a monitor that the spooler
// would not open for this user (AdministrationDenied).
std::u16string RefusedMonitorOpen(const std::u16string& monitorName);

// The spooler's port names (level 1): a list that could not be filled is empty; no list at all
// when there was nothing to ask for or no memory.
std::optional<std::vector<PortInfo>> EnumerateLocalPorts(PrintPlatform& platform);

// Creates the next free numbered port through the custom monitor. The port's name, or the code:
// the spooler's, the monitor's non-zero status, or 206 for a prefix too long. A record of no
// connection kind creates nothing and gives an empty name.
struct MonitorPort {
  std::u16string portName;
  Status status;
};
MonitorPort AddMonitorPort(PrintPlatform& platform, const std::u16string& monitorName, const std::u16string& prefix,
                           CustomPortRecord& record);

// --- Monitor refresh and job purge ---

// Start the tool hidden from its own folder, with no box of the shell's own, and wait for it.
// Not ok when its path would not fit (the folder is named) or when it cannot be started
// ("Cannot Start Tool: <path>" with the shell's error); the caller shows that and goes on.
Outcome RunMonitorSetup(const InstallContext& context, PrintPlatform& platform, WindowHandle owner);
Outcome RunDeletePrintJobs(const InstallContext& context, PrintPlatform& platform, WindowHandle owner);

// True when the port's monitor answers "GetPort" with status 0 (a port of the custom monitor).
bool QueryMonitorPort(PrintPlatform& platform, const std::u16string& port, CustomPortRecord& answer);

// The printer's cJobs; no value when it cannot be read.
std::optional<std::uint32_t> GetPrinterJobCount(PrintPlatform& platform, const std::u16string& printer);

// True when some local printer on a custom-monitor port has queued jobs.
bool HasPendingJobsOnMonitorPorts(PrintPlatform& platform);
