#pragma once
// /verify: is this PC's printer as the configuration says? Reads only; nothing is changed.
#include <string>
#include <vector>

#include "config/install_context.h"
#include "spooler/print_system.h"
#include "usb/usb_choices.h"

constexpr int kExitNotCompliant = 1;

// exitCode: 0 compliant, 1 not compliant, 1603 when the check could not be made (a refused
// configuration is shown as its box, which a verification logs). lines: one per check, for the
// log. outputLine: the one line for a caller that reads the standard output.
struct Verification {
  int exitCode = 0;
  std::vector<std::u16string> lines;
  std::u16string outputLine;
};

// The port is the one a quiet run would choose, the driver's language the run's.
Verification Verify(const InstallContext& context, PrintPlatform& print, UsbPlatform& usb);
