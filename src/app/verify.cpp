#include "app/verify.h"

#include "app/config_checks.h"
#include "app/install_road.h"
#include "app/quiet_install.h"
#include "diag/diagnostics.h"
#include "spooler/desired_printer.h"
#include "spooler/printing_defaults.h"

namespace {

Verification Unchecked(std::u16string line) {
  Verification verification;
  verification.exitCode = kExitInstallFailed;
  verification.lines.push_back(std::move(line));
  return verification;
}

}  // namespace

Verification Verify(const InstallContext& context, PrintPlatform& print, UsbPlatform& usb) {
  const QuietChoice choice = ChooseQuietRoad(context, print, usb);
  if (std::optional<ConfigRefusal> refusal = FindConfigRefusal(context, choice.page)) {
    ShowError(0, RefusalCode(*refusal), RefusalText(context, *refusal));
    return Unchecked(u"verify: the configuration is refused");
  }
  const Outcome lengths = CheckConfiguredLengths(context);
  if (!lengths.ok()) {
    ShowOutcome(0, lengths);
    return Unchecked(u"verify: the configuration is refused");
  }
  if (choice.page == WizardPage::Network && choice.text.empty()) {
    const ConfigRefusal missing{u"IPAddress", ConfigFault::Empty, 0};
    ShowError(0, RefusalCode(missing), RefusalText(context, missing));
    return Unchecked(u"verify: the configuration is refused");
  }

  if (const Outcome defaults = LoadPrintingDefaults(context, print, ConfiguredDriver(context)).refusal; !defaults.ok()) {
    ShowOutcome(0, defaults);
    return Unchecked(u"verify: the configuration is refused");
  }
  const DesiredPrinter desired = Desired(context, print, DesiredPortFor(choice.page, choice.text, context));
  const InstalledPrinter installed = ReadInstalledPrinter(desired, print);
  if (!installed.printers) {
    return Unchecked(FormatWide(kTraceCapacity, u"verify: the printers cannot be listed (error %u)", installed.printers.code));
  }
  Verification verification;
  const std::vector<Check> checks = Compare(desired, installed);
  for (const Check& check : checks) {
    verification.lines.push_back(CheckLine(check));
    if (check.verdict != Verdict::Ok && verification.outputLine.empty()) {
      verification.outputLine = u"not compliant: " + Difference(check);
    }
  }
  if (Compliant(checks)) {
    verification.outputLine = u"compliant: " + desired.printerName;
  } else {
    verification.exitCode = kExitNotCompliant;
  }
  return verification;
}
