#include "app/install_road.h"

#include "app/config_checks.h"
#include "config/texts.h"
#include "diag/diagnostics.h"
#include "diag/format.h"
#include "spooler/port_records.h"

namespace {

RoadEnd Install(InstallContext& context, PrintPlatform& platform, WindowHandle owner) {
  // Update: the printer already there is brought to this configuration and keeps its name.
  if (ParseIfExists(context.ifExists) == IfExistsMode::Update) {
    if (std::optional<std::u16string> existing = FindExistingPrinter(platform, context.printerBaseName)) {
      return UpdatePrinter(context, platform, owner, *existing) ? RoadEnd::Installed : RoadEnd::Failed;
    }
  }
  return InstallPrinter(context, platform, owner) ? RoadEnd::Installed : RoadEnd::Failed;
}

bool SameAscii(std::u16string_view a, std::u16string_view lowerB) {
  if (a.size() != lowerB.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char16_t c = a[i] >= u'A' && a[i] <= u'Z' ? static_cast<char16_t>(a[i] - u'A' + u'a') : a[i];
    if (c != lowerB[i]) return false;
  }
  return true;
}

// A text from the current language's table, or empty when it has none.
std::u16string Text(const InstallContext& context, const char16_t* key) {
  const char16_t* text = LookupText(context, key);
  return text ? text : u"";
}

RoadEnd NetworkRoad(const std::u16string& address, WindowHandle owner, InstallContext& context,
                    PrintPlatform& platform) {
  // A blank or partly filled address control reads as empty: let the user complete it.
  if (address.empty()) {
    ShowError(owner, 0, Text(context, u"HintIncompleteIP"));
    return RoadEnd::Stay;
  }
  if (!CheckConfiguredLengths(context, owner)) return RoadEnd::Failed;
  // An existing port counts as created, and a failed one has shown its own box: go on either way.
  AddStandardTcpIpPort(platform, address, address, kStandardRawPort, owner);
  context.portName = address;
  return Install(context, platform, owner);
}

RoadEnd MonitorUsbRoad(const std::u16string& deviceText, WindowHandle owner, InstallContext& context,
                       PrintPlatform& platform) {
  CustomPortRecord record = BuildCustomPortRecord(custom_port::kUsbConnection, deviceText);
  if (deviceText.empty()) {
    ShowError(owner, 0, Text(context, u"HintNotFindUSBPrinter"));
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
  if (!AddMonitorPort(platform, context.portMonitorName, context.portNamePrefix, record, context.portName, owner)) {
    ShowError(owner, platform.lastError.GetLastError(), u"Add KCPort Failed");
    return RoadEnd::Failed;
  }
  return Install(context, platform, owner);
}

}  // namespace

RoadEnd RunInstallRoad(WizardPage page, const std::u16string& text, WindowHandle owner,
                       InstallContext& context, PrintPlatform& platform, RoadOptions options) {
  if (page == WizardPage::Language || page == WizardPage::ConnectionType) return RoadEnd::Stay;
  if (std::optional<ConfigRefusal> refusal = FindConfigRefusal(context, page)) {
    ShowError(owner, RefusalCode(*refusal), RefusalText(context, *refusal));
    return RoadEnd::Failed;
  }
  // Keep: a re-run finds its printer and changes nothing at all.
  if (ParseIfExists(context.ifExists) == IfExistsMode::Keep) {
    if (std::optional<std::u16string> existing = FindExistingPrinter(platform, context.printerBaseName)) {
      const char16_t* format = LookupText(context, u"AlreadyInstalled");
      ShowMessage(owner, FormatWide(kFieldCapacity + 64, format ? format : u"%s", *existing), std::u16string(u"OK"));
      return RoadEnd::Installed;
    }
  }
  const std::u16string chosen = CutToCapacity(text, kFieldCapacity);
  if (page == WizardPage::Network) return NetworkRoad(chosen, owner, context, platform);
  if (page == WizardPage::Usb && !context.portMonitorName.empty()) {
    return MonitorUsbRoad(chosen, owner, context, platform);
  }
  // The spooler's own port, taken as chosen (even when empty).
  if (!CheckConfiguredLengths(context, owner)) return RoadEnd::Failed;
  if (page == WizardPage::Serial && options.configureSerialPort) {
    // Confirmed, cancelled or failed: the road goes on in every case.
    platform.spooler.ConfigurePortW(owner, chosen);
  }
  context.portName = chosen;
  return Install(context, platform, owner);
}

IfExistsMode ParseIfExists(std::u16string_view value) {
  if (SameAscii(value, u"keep")) return IfExistsMode::Keep;
  if (SameAscii(value, u"update")) return IfExistsMode::Update;
  return IfExistsMode::New;
}

int ExitCodeFor(bool roadRan, RoadEnd end) {
  if (!roadRan || end == RoadEnd::Stay) return kExitClosedWithoutInstall;
  return end == RoadEnd::Installed ? kExitInstalled : kExitInstallFailed;
}
