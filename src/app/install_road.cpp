#include "app/install_road.h"

#include "app/config_checks.h"
#include "config/texts.h"
#include "diag/diagnostics.h"
#include "diag/format.h"
#include "spooler/port_records.h"

namespace {

constexpr std::size_t kSuccessTextCapacity = 512;

// The install's one box: success naming the printer, or the failed step.
RoadEnd Report(const Installed& installed, WindowHandle owner, const RoadOptions& options) {
  if (!installed.ok()) {
    ShowOutcome(owner, installed.failure);
    return RoadEnd::Failed;
  }
  if (options.onInstalled) options.onInstalled({installed.printerName, installed.driverName, installed.portName});
  ShowMessage(owner, FormatWide(kSuccessTextCapacity, u"Add Printer Successful - %s", installed.printerName),
              std::u16string(u"OK"));
  return RoadEnd::Installed;
}

RoadEnd Install(const InstallContext& context, PrintPlatform& platform, WindowHandle owner,
                const std::u16string& portName, const RoadOptions& options) {
  // Update: the printer already there is brought to this configuration and keeps its name.
  if (ParseIfExists(context.ifExists) == IfExistsMode::Update) {
    if (std::optional<std::u16string> existing = FindExistingPrinter(platform, context.printerBaseName)) {
      return Report(UpdatePrinter(context, platform, portName, *existing), owner, options);
    }
  }
  return Report(InstallPrinter(context, platform, portName), owner, options);
}

// The configured lengths' box when one would be cut.
bool LengthsFit(const InstallContext& context, WindowHandle owner) {
  const Outcome lengths = CheckConfiguredLengths(context);
  ShowOutcome(owner, lengths);
  return lengths.ok();
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

RoadEnd NetworkRoad(const std::u16string& address, WindowHandle owner, const InstallContext& context,
                    PrintPlatform& platform, const RoadOptions& options) {
  // A blank or partly filled address control reads as empty: let the user complete it.
  if (address.empty()) {
    ShowError(owner, 0, Text(context, u"HintIncompleteIP"));
    return RoadEnd::Stay;
  }
  if (!LengthsFit(context, owner)) return RoadEnd::Failed;
  // An existing port counts as created, and a failed one shows its own box: go on either way.
  ShowOutcome(owner, AddStandardTcpIpPort(platform, address, address, kStandardRawPort));
  return Install(context, platform, owner, address, options);
}

RoadEnd MonitorUsbRoad(const std::u16string& deviceText, WindowHandle owner, const InstallContext& context,
                       PrintPlatform& platform, const RoadOptions& options) {
  CustomPortRecord record = BuildCustomPortRecord(custom_port::kUsbConnection, deviceText);
  if (deviceText.empty()) {
    ShowError(owner, 0, Text(context, u"HintNotFindUSBPrinter"));
    return RoadEnd::Stay;
  }
  if (!LengthsFit(context, owner)) return RoadEnd::Failed;
  if (MonitorExists(platform, context.portMonitorName) && HasPendingJobsOnMonitorPorts(platform)) {
    ShowOutcome(owner, RunDeletePrintJobs(context, platform, owner));
  }
  ShowOutcome(owner, RunMonitorSetup(context, platform, owner));
  if (const Status monitor = MonitorExists(platform, context.portMonitorName); !monitor) {
    ShowError(owner, monitor.code, u"Monitor Not Exist");
    return RoadEnd::Failed;
  }
  const MonitorPort port = AddMonitorPort(platform, context.portMonitorName, context.portNamePrefix, record);
  if (!port.status) {
    ShowError(owner, port.status.code, u"Add KCPort Failed");
    return RoadEnd::Failed;
  }
  return Install(context, platform, owner, port.portName, options);
}

}  // namespace

RoadEnd RunInstallRoad(WizardPage page, const std::u16string& text, WindowHandle owner,
                       const InstallContext& context, PrintPlatform& platform, RoadOptions options) {
  if (page == WizardPage::Language || page == WizardPage::ConnectionType) return RoadEnd::Stay;
  if (std::optional<ConfigRefusal> refusal = FindConfigRefusal(context, page)) {
    ShowError(owner, RefusalCode(*refusal), RefusalText(context, *refusal));
    return RoadEnd::Failed;
  }
  // Keep: a re-run finds its printer and changes nothing at all.
  if (ParseIfExists(context.ifExists) == IfExistsMode::Keep) {
    if (std::optional<std::u16string> existing = FindExistingPrinter(platform, context.printerBaseName)) {
      const char16_t* format = LookupText(context, u"AlreadyInstalled");
      ShowMessage(owner, FormatWide(kPathCapacity + 64, format ? format : u"%s", *existing), std::u16string(u"OK"));
      return RoadEnd::Installed;
    }
  }
  const std::u16string chosen = CutToCapacity(text, kPathCapacity);
  if (page == WizardPage::Network) return NetworkRoad(chosen, owner, context, platform, options);
  if (page == WizardPage::Usb && !context.portMonitorName.empty()) {
    return MonitorUsbRoad(chosen, owner, context, platform, options);
  }
  // The spooler's own port, taken as chosen (even when empty).
  if (!LengthsFit(context, owner)) return RoadEnd::Failed;
  if (page == WizardPage::Serial && options.configureSerialPort) {
    // Confirmed, cancelled or failed: the road goes on in every case.
    platform.spooler.PortDialog(owner, chosen);
  }
  return Install(context, platform, owner, chosen, options);
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
