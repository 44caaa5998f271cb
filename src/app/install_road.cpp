#include "app/install_road.h"

#include "app/config_checks.h"
#include "config/texts.h"
#include "diag/diagnostics.h"
#include "diag/format.h"
#include "spooler/desired_printer.h"
#include "spooler/driver_package.h"
#include "spooler/name_compare.h"
#include "spooler/port_records.h"
#include "spooler/printing_defaults.h"
#include "spooler/refused_call.h"

namespace {

constexpr std::size_t kSuccessTextCapacity = 512;
constexpr std::uint32_t kErrorUnknownPort = 1796;  // ERROR_UNKNOWN_PORT
constexpr char16_t kDriverBlockedText[] = u"Windows blocks this driver on this system";

// The install's one box: success naming the printer, or the failed step; a driver the system
// blocks says so in words under the code.
RoadEnd Report(const Installed& installed, WindowHandle owner, const RoadOptions& options) {
  if (installed.driverBlocked) {
    DebugTrace(u"%s", kDriverBlockedText);
    ShowMessage(owner, ErrorText(installed.failure.code, installed.failure.call) + kDriverBlockedText,
                std::u16string(u"ERROR"));
    return RoadEnd::Rejected;
  }
  if (!installed.ok()) {
    ShowOutcome(owner, installed.failure);
    return RoadEnd::Failed;
  }
  if (options.onInstalled) options.onInstalled({installed.printerName, installed.driverName, installed.portName});
  ShowMessage(owner, FormatWide(kSuccessTextCapacity, u"Add Printer Successful - %s", installed.printerName),
              std::u16string(u"OK"));
  return RoadEnd::Installed;
}

// After a repair: the printer as configured, or its remaining differences in the box.
RoadEnd ReportRepair(const Installed& installed, const DesiredPrinter& desired, PrintPlatform& platform,
                     WindowHandle owner, const RoadOptions& options) {
  if (!installed.ok()) return Report(installed, owner, options);
  const std::vector<Check> checks = Compare(desired, ReadInstalledPrinter(desired, platform));
  if (Compliant(checks)) return Report(installed, owner, options);
  std::u16string differences;
  for (const Check& check : checks) {
    if (check.verdict == Verdict::Ok) continue;
    DebugTrace(u"Repair Incomplete: %s", Difference(check));
    differences += u"\r\n" + Difference(check);
  }
  ShowError(owner, 0, FormatWide(kErrorTextCapacity, u"%s still differs from the configuration:%s",
                                 installed.printerName, differences));
  return RoadEnd::Failed;
}

}  // namespace

std::u16string ConfiguredDriver(const InstallContext& context) {
  return BuildDriverFileNames(context.driverPrefix, context.languageCode, context.installDir, context.setupDirName)
      .driverName;
}

DesiredPrinter Desired(const InstallContext& context, PrintPlatform& platform, DesiredPort port) {
  DesiredPrinter desired = MakeDesiredPrinter(context, platform.osBitness, std::move(port));
  desired.defaults = LoadPrintingDefaults(context, platform, ConfiguredDriver(context)).defaults.Wanted();
  return desired;
}

namespace {

// The printer as installed or updated, with its printing defaults set; the failure otherwise.
Installed WithDefaults(Installed installed, const InstallContext& context, PrintPlatform& platform) {
  if (!installed.ok()) return installed;
  const LoadedDefaults loaded = LoadPrintingDefaults(context, platform, ConfiguredDriver(context));
  Outcome applied = loaded.refusal.ok() ? ApplyPrintingDefaults(loaded.defaults, platform, installed.printerName)
                                        : loaded.refusal;
  if (!applied.ok()) return Installed::Failed(std::move(applied));
  return installed;
}

RoadEnd Install(const InstallContext& context, PrintPlatform& platform, WindowHandle owner,
                const std::u16string& portName, const RoadOptions& options, const DesiredPort& port) {
  // Update and Repair: the printer already there is brought to this configuration and keeps its name.
  const IfExistsMode mode = ParseIfExists(context.ifExists);
  if (mode == IfExistsMode::Update || mode == IfExistsMode::Repair) {
    if (std::optional<std::u16string> existing = FindExistingPrinter(platform, context.printerBaseName)) {
      const Installed updated = WithDefaults(UpdatePrinter(context, platform, portName, *existing), context, platform);
      if (mode == IfExistsMode::Update) return Report(updated, owner, options);
      return ReportRepair(updated, Desired(context, platform, port), platform, owner, options);
    }
  }
  return Report(WithDefaults(InstallPrinter(context, platform, portName), context, platform), owner, options);
}

// The configured lengths' box when one would be cut.
bool LengthsFit(const InstallContext& context, WindowHandle owner) {
  const Outcome lengths = CheckConfiguredLengths(context);
  ShowOutcome(owner, lengths);
  return lengths.ok();
}

// The package's box when a file its driver names is missing or unreadable: before any change.
bool PackageComplete(const InstallContext& context, PrintPlatform& platform, WindowHandle owner) {
  const Outcome package = CheckDriverPackage(context, platform);
  ShowOutcome(owner, package);
  return package.ok();
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

// Whether the port step left the port in the spooler's list; the box naming it and the reason
// when not (nothing after it may change the spooler then). A list that cannot be read tells
// nothing: the road goes on, and a missing port fails at AddPrinter.
bool PortMade(PrintPlatform& platform, const std::u16string& port, WindowHandle owner) {
  const Read<std::vector<PortInfo>> ports = AsListing(platform.spooler.Ports(1));
  if (!ports) return true;
  for (const PortInfo& listed : ports.value) {
    if (SameNameIgnoringCase(listed.portName, port)) return true;
  }
  if (const Status monitor = MonitorExists(platform, kTcpIpMonitorName); !monitor) {
    ShowError(owner, monitor.code, FormatWide(kErrorTextCapacity, u"Port Not Created: %s (Monitor Not Exist: %s)", port,
                                              kTcpIpMonitorName));
  } else {
    ShowError(owner, kErrorUnknownPort, FormatWide(kErrorTextCapacity, u"Port Not Created: %s", port));
  }
  return false;
}

RoadEnd NetworkRoad(const std::u16string& address, WindowHandle owner, const InstallContext& context,
                    PrintPlatform& platform, const RoadOptions& options) {
  // A blank or partly filled address control reads as empty: let the user complete it.
  if (address.empty()) {
    ShowError(owner, 0, Text(context, u"HintIncompleteIP"));
    return RoadEnd::Stay;
  }
  if (!LengthsFit(context, owner) || !PackageComplete(context, platform, owner)) return RoadEnd::Failed;
  // An existing port counts as created; a refused one shows its own box.
  const Outcome port = AddStandardTcpIpPort(platform, address, address, kStandardRawPort);
  ShowOutcome(owner, port);
  if (!port.ok() && AdministrationDenied(port.code)) return RoadEnd::Failed;
  // The monitor's yes (made now, or there already) is the port; anything else is looked up.
  const bool accepted = port.ok() && MonitorExists(platform, kTcpIpMonitorName);
  if (!accepted && !PortMade(platform, address, owner)) return RoadEnd::Failed;
  return Install(context, platform, owner, address, options, NetworkPort(address));
}

RoadEnd MonitorUsbRoad(const std::u16string& deviceText, WindowHandle owner, const InstallContext& context,
                       PrintPlatform& platform, const RoadOptions& options) {
  CustomPortRecord record = BuildCustomPortRecord(custom_port::kUsbConnection, deviceText);
  if (deviceText.empty()) {
    ShowError(owner, 0, Text(context, u"HintNotFindUSBPrinter"));
    return RoadEnd::Stay;
  }
  if (!LengthsFit(context, owner) || !PackageComplete(context, platform, owner)) return RoadEnd::Failed;
  // A monitor this user may not administer: before its tools run, since nothing after could work.
  const Status opened = MonitorExists(platform, context.portMonitorName);
  if (!opened && AdministrationDenied(opened.code)) {
    ShowError(owner, opened.code, RefusedMonitorOpen(context.portMonitorName));
    return RoadEnd::Failed;
  }
  if (opened && HasPendingJobsOnMonitorPorts(platform)) {
    ShowOutcome(owner, RunDeletePrintJobs(context, platform, owner));
  }
  ShowOutcome(owner, RunMonitorSetup(context, platform, owner));
  if (const Status monitor = MonitorExists(platform, context.portMonitorName); !monitor) {
    ShowError(owner, monitor.code,
              AdministrationDenied(monitor.code) ? RefusedMonitorOpen(context.portMonitorName) : u"Monitor Not Exist");
    return RoadEnd::Failed;
  }
  const MonitorPort port = AddMonitorPort(platform, context.portMonitorName, context.portNamePrefix, record);
  if (!port.status) {
    ShowError(owner, port.status.code, u"Add KCPort Failed");
    return RoadEnd::Failed;
  }
  return Install(context, platform, owner, port.portName, options, MonitorPortOf(context));
}

// The existing printer's name when it is exactly as configured; nothing is changed either way.
std::optional<std::u16string> CompliantPrinter(const InstallContext& context, PrintPlatform& platform,
                                               DesiredPort port) {
  const DesiredPrinter desired = Desired(context, platform, std::move(port));
  const InstalledPrinter installed = ReadInstalledPrinter(desired, platform);
  if (!installed.printer) return std::nullopt;
  const std::vector<Check> checks = Compare(desired, installed);
  for (const Check& check : checks) {
    if (check.verdict != Verdict::Ok) DebugTrace(u"Repair: %s", Difference(check));
  }
  if (!Compliant(checks)) return std::nullopt;
  return installed.printer->printerName;
}

}  // namespace

DesiredPort DesiredPortFor(WizardPage page, const std::u16string& text, const InstallContext& context) {
  if (page == WizardPage::Network) return NetworkPort(text);
  if (page == WizardPage::Usb && !context.portMonitorName.empty()) return MonitorPortOf(context);
  return SpoolerPort(text);
}

RoadEnd RunInstallRoad(WizardPage page, const std::u16string& text, WindowHandle owner,
                       const InstallContext& context, PrintPlatform& platform, RoadOptions options) {
  if (page == WizardPage::Language || page == WizardPage::ConnectionType) return RoadEnd::Stay;
  if (std::optional<ConfigRefusal> refusal = FindConfigRefusal(context, page)) {
    ShowError(owner, RefusalCode(*refusal), RefusalText(context, *refusal));
    return RoadEnd::Failed;
  }
  // Printing defaults that cannot be used are refused before anything changes.
  if (const Outcome defaults = LoadPrintingDefaults(context, platform, ConfiguredDriver(context)).refusal; !defaults.ok()) {
    ShowOutcome(owner, defaults);
    return RoadEnd::Failed;
  }
  const IfExistsMode mode = ParseIfExists(context.ifExists);
  const std::u16string chosen = CutToCapacity(text, kPathCapacity);
  // Keep: a re-run finds its printer and changes nothing at all. Repair: only when it is
  // already as configured.
  std::optional<std::u16string> kept;
  if (mode == IfExistsMode::Keep) kept = FindExistingPrinter(platform, context.printerBaseName);
  if (mode == IfExistsMode::Repair) kept = CompliantPrinter(context, platform, DesiredPortFor(page, chosen, context));
  if (kept) {
    const char16_t* format = LookupText(context, u"AlreadyInstalled");
    ShowMessage(owner, FormatWide(kPathCapacity + 64, format ? format : u"%s", *kept), std::u16string(u"OK"));
    return RoadEnd::Installed;
  }
  if (page == WizardPage::Network) return NetworkRoad(chosen, owner, context, platform, options);
  if (page == WizardPage::Usb && !context.portMonitorName.empty()) {
    return MonitorUsbRoad(chosen, owner, context, platform, options);
  }
  // The spooler's own port, taken as chosen (even when empty).
  if (!LengthsFit(context, owner) || !PackageComplete(context, platform, owner)) return RoadEnd::Failed;
  if (page == WizardPage::Serial && options.configureSerialPort) {
    // Confirmed, cancelled or failed: the road goes on in every case.
    platform.spooler.PortDialog(owner, chosen);
  }
  return Install(context, platform, owner, chosen, options, SpoolerPort(chosen));
}

IfExistsMode ParseIfExists(std::u16string_view value) {
  if (SameAscii(value, u"keep")) return IfExistsMode::Keep;
  if (SameAscii(value, u"update")) return IfExistsMode::Update;
  if (SameAscii(value, u"repair")) return IfExistsMode::Repair;
  return IfExistsMode::New;
}

int ExitCodeFor(bool roadRan, RoadEnd end) {
  if (!roadRan || end == RoadEnd::Stay) return kExitClosedWithoutInstall;
  if (end == RoadEnd::Rejected) return kExitPackageRejected;
  return end == RoadEnd::Installed ? kExitInstalled : kExitInstallFailed;
}
