#pragma once
// An install with no window at all, for deployment tools that run the wizard where nobody can
// see it: the connection type config.ini names, and what its page would have offered first.
#include <functional>
#include <optional>
#include <string>

#include "app/install_road.h"
#include "app/navigation.h"
#include "config/install_context.h"
#include "spooler/print_system.h"
#include "usb/usb_choices.h"

// The page DefaultPorttype names (serial and parallel too) and the text its control would hold
// once the page was filled: IPAddress on the network page, the first device or the preselected
// spooler port on the USB page, the first COM port in the serial list's order, the first LPT port.
struct QuietChoice {
  WizardPage page = WizardPage::Network;
  std::u16string text;
};
// The connection page DefaultPorttype names, as the wizard would start on it.
WizardPage PageForPortType(std::u16string_view defaultPortType);

QuietChoice ChooseQuietRoad(const InstallContext& context, PrintPlatform& print, UsbPlatform& usb);

// Runs the chosen road without a port dialog, in the language the run's start selected. Every box
// goes to the diagnostics' dialogs sink, which a quiet run makes a log. The exit code: 0
// installed, 1625 for a driver the system blocks, 1603 otherwise (a road that would have kept
// the wizard waiting for the user fails). onInstalled: handed to the road (RoadOptions).
int RunQuietInstall(InstallContext& context, PrintPlatform& print, UsbPlatform& usb,
                    std::function<void(const InstalledFacts&)> onInstalled = {});
