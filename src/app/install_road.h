#pragma once
// What Next on a connection page does: create the port where one is needed, then install the
// driver and the printer on it. One road runs per process.
#include <string>

#include "config/install_context.h"
#include "diag/dialogs.h"
#include "app/navigation.h"
#include "spooler/print_system.h"

// How a road ended. Stay: the wizard keeps its page (the USB page asked for a device).
enum class RoadEnd { Stay, Installed, Failed };

constexpr int kExitInstalled = 0;
constexpr int kExitClosedWithoutInstall = 1602;  // ERROR_INSTALL_USEREXIT
constexpr int kExitInstallFailed = 1603;         // ERROR_INSTALL_FAILURE

// [ARGS] IfExists, read without regard to case: anything but Keep and Update is New.
enum class IfExistsMode { New, Keep, Update };
IfExistsMode ParseIfExists(std::u16string_view value);

// How a road may talk to the user: a run without a window opens no port dialog.
struct RoadOptions {
  bool configureSerialPort = true;
};

// page: a connection page. text: the page control's text as the user left it (cut to 259 units here).
RoadEnd RunInstallRoad(WizardPage page, const std::u16string& text, WindowHandle owner,
                       const InstallContext& context, PrintPlatform& platform, RoadOptions options = {});

// The process's exit code for a run that ended this way; no road at all means the wizard was
// closed without installing.
int ExitCodeFor(bool roadRan, RoadEnd end);
