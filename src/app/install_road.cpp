#include "app/install_road.h"

#include "config/texts.h"
#include "diag/diagnostics.h"
#include "spooler/port_records.h"

namespace {

RoadEnd Install(InstallContext& context, PrintPlatform& platform, WindowHandle owner) {
  return InstallPrinter(context, platform, owner) ? RoadEnd::Installed : RoadEnd::Failed;
}

RoadEnd NetworkRoad(const std::u16string& address, WindowHandle owner, InstallContext& context,
                    PrintPlatform& platform) {
  if (!CheckConfiguredLengths(context, owner)) return RoadEnd::Failed;
  // An existing port counts as created, and a failed one has shown its own box: go on either way.
  AddStandardTcpIpPort(platform, address, address, kStandardRawPort);
  context.portName = address;
  return Install(context, platform, owner);
}

RoadEnd MonitorUsbRoad(const std::u16string& deviceText, WindowHandle owner, InstallContext& context,
                       PrintPlatform& platform) {
  CustomPortRecord record = BuildCustomPortRecord(custom_port::kUsbConnection, deviceText);
  if (deviceText.empty()) {
    const char16_t* hint = LookupText(context, u"HintNotFindUSBPrinter");
    ShowError(owner, 0, hint ? hint : u"");
    return RoadEnd::Stay;
  }
  if (!CheckConfiguredLengths(context, owner)) return RoadEnd::Failed;
  if (MonitorExists(platform, context.portMonitorName) && HasPendingJobsOnMonitorPorts(platform)) {
    RunDeletePrintJobs(context, platform, owner);
  }
  RunMonitorSetup(context, platform, owner);
  if (!MonitorExists(platform, context.portMonitorName)) {
    ShowError(owner, platform.lastError.GetLastError(), u"Monitor Not Exist");
    return RoadEnd::Failed;
  }
  if (!AddMonitorPort(platform, context.portMonitorName, context.portNamePrefix, record, context.portName)) {
    ShowError(owner, platform.lastError.GetLastError(), u"Add KCPort Failed");
    return RoadEnd::Failed;
  }
  return Install(context, platform, owner);
}

}  // namespace

RoadEnd RunInstallRoad(WizardPage page, const std::u16string& text, WindowHandle owner,
                       InstallContext& context, PrintPlatform& platform) {
  if (page == WizardPage::Language || page == WizardPage::ConnectionType) return RoadEnd::Stay;
  const std::u16string chosen = CutToCapacity(text, kFieldCapacity);
  if (page == WizardPage::Network) return NetworkRoad(chosen, owner, context, platform);
  if (page == WizardPage::Usb && !context.portMonitorName.empty()) {
    return MonitorUsbRoad(chosen, owner, context, platform);
  }
  // The spooler's own port, taken as chosen (even when empty).
  if (!CheckConfiguredLengths(context, owner)) return RoadEnd::Failed;
  if (page == WizardPage::Serial) {
    // Confirmed, cancelled or failed: the road goes on in every case.
    platform.spooler.ConfigurePortW(owner, chosen);
  }
  context.portName = chosen;
  return Install(context, platform, owner);
}

int ExitCodeFor(bool roadRan, RoadEnd end) {
  if (!roadRan || end == RoadEnd::Stay) return kExitClosedWithoutInstall;
  return end == RoadEnd::Installed ? kExitInstalled : kExitInstallFailed;
}
