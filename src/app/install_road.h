#pragma once
// What Next on a connection page does: create the port where one is needed, then install the
// driver and the printer on it. One road runs per process.
#include <functional>
#include <string>

#include "config/install_context.h"
#include "diag/dialogs.h"
#include "app/navigation.h"
#include "spooler/desired_printer.h"
#include "spooler/print_system.h"

// How a road ended. Stay: the wizard keeps its page (the USB page asked for a device).
// Rejected: failed because the system blocks the driver (ERROR_PRINTER_DRIVER_BLOCKED or _WARNED).
enum class RoadEnd { Stay, Installed, Failed, Rejected };

constexpr int kExitInstalled = 0;
constexpr int kExitClosedWithoutInstall = 1602;  // ERROR_INSTALL_USEREXIT
constexpr int kExitInstallFailed = 1603;         // ERROR_INSTALL_FAILURE
constexpr int kExitPackageRejected = 1625;       // ERROR_INSTALL_PACKAGE_REJECTED

// [ARGS] IfExists, read without regard to case: anything but Keep, Update and Repair is New.
enum class IfExistsMode { New, Keep, Update, Repair };
IfExistsMode ParseIfExists(std::u16string_view value);

// What a road that installed, updated or repaired the printer left in the spooler.
struct InstalledFacts {
  std::u16string printerName;
  std::u16string driverName;
  std::u16string portName;
};

// How a road may talk to the user: a run without a window opens no port dialog. onInstalled is
// told once the printer is as configured after a road that changed it (not when the printer was
// kept or already compliant).
struct RoadOptions {
  bool configureSerialPort = true;
  std::function<void(const InstalledFacts&)> onInstalled;
};

// page: a connection page. text: the page control's text as the user left it (cut to 259 units here).
RoadEnd RunInstallRoad(WizardPage page, const std::u16string& text, WindowHandle owner,
                       const InstallContext& context, PrintPlatform& platform, RoadOptions options = {});

// The port the road on this page makes from its text, as a comparison wants it.
DesiredPort DesiredPortFor(WizardPage page, const std::u16string& text, const InstallContext& context);

// The driver the configuration names (<Prefix><LANG>).
std::u16string ConfiguredDriver(const InstallContext& context);

// The printer this configuration wants on that port, its printing defaults included.
DesiredPrinter Desired(const InstallContext& context, PrintPlatform& platform, DesiredPort port);

// The process's exit code for a run that ended this way; no road at all means the wizard was
// closed without installing.
int ExitCodeFor(bool roadRan, RoadEnd end);
