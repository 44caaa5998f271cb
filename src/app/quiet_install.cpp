#include "app/quiet_install.h"

#include "app/choice_list.h"
#include "app/config_checks.h"
#include "app/port_combo.h"
#include "diag/diagnostics.h"

namespace {

WizardPage PageForButton(int typeButton) {
  switch (typeButton) {
    case IDC_TYPE_NETWORK: return WizardPage::Network;
    case IDC_TYPE_SERIAL: return WizardPage::Serial;
    case IDC_TYPE_PARALLEL: return WizardPage::Parallel;
    default: return WizardPage::Usb;
  }
}

const char16_t* TraceName(WizardPage page) {
  switch (page) {
    case WizardPage::Network: return u"network";
    case WizardPage::Usb: return u"USB";
    case WizardPage::Serial: return u"serial";
    case WizardPage::Parallel: return u"parallel";
    case WizardPage::Language:
    case WizardPage::ConnectionType: break;
  }
  return u"?";
}

}  // namespace

WizardPage PageForPortType(std::u16string_view defaultPortType) {
  return PageForButton(ChooseStartConnectionType(defaultPortType));
}

QuietChoice ChooseQuietRoad(const InstallContext& context, PrintPlatform& print, UsbPlatform& usb) {
  QuietChoice choice;
  choice.page = PageForPortType(context.defaultPortType);
  switch (choice.page) {
    case WizardPage::Network: choice.text = context.printerAddress; break;
    case WizardPage::Usb: {
      ChoiceList list;
      if (context.portMonitorName.empty()) {
        FillUsbPortsFromSpooler(usb, list);
      } else {
        FillUsbDevicesForMonitor(usb, context, list);
      }
      choice.text = list.Text();
      break;
    }
    case WizardPage::Serial:
    case WizardPage::Parallel: {
      // The serial page's list sorts itself; the parallel one keeps the spooler's order.
      ChoiceList list(choice.page == WizardPage::Serial);
      FillPortCombo(print.spooler, list, choice.page == WizardPage::Serial ? u"COM" : u"LPT");
      choice.text = list.Text();
      break;
    }
    case WizardPage::Language:
    case WizardPage::ConnectionType: break;
  }
  return choice;
}

int RunQuietInstall(InstallContext& context, PrintPlatform& print, UsbPlatform& usb,
                    std::function<void(const InstalledFacts&)> onInstalled) {
  const QuietChoice choice = ChooseQuietRoad(context, print, usb);
  DebugTrace(u"Quiet install, %s road: %s", TraceName(choice.page), choice.text);
  // Nobody can complete an address here: without one, the configuration is what is missing.
  if (choice.page == WizardPage::Network && choice.text.empty()) {
    const ConfigRefusal missing{u"IPAddress", ConfigFault::Empty, 0};
    ShowError(0, RefusalCode(missing), RefusalText(context, missing));
    return kExitInstallFailed;
  }
  RoadOptions options;
  options.configureSerialPort = false;
  options.onInstalled = std::move(onInstalled);
  const RoadEnd end = RunInstallRoad(choice.page, choice.text, 0, context, print, options);
  if (end == RoadEnd::Rejected) return kExitPackageRejected;
  return end == RoadEnd::Installed ? kExitInstalled : kExitInstallFailed;
}
