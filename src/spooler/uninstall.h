#pragma once
// Taking out what this program's installs made: the printers, the ports only they used, and
// the drivers no other printer uses. Planned first (nothing changes), then carried out.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "config/install_context.h"
#include "spooler/print_system.h"

struct UninstallPlan {
  // The local printers named PrnName or "PrnName(n)" (n from 2 to 254) on the driver
  // <Prefix>ENG or <Prefix>CHN, names compared as the spooler compares them.
  std::vector<std::u16string> printers;
  // Their ports and the recorded ports that no other printer uses and that belong to the
  // Standard TCP/IP monitor or to context.portMonitorName; portMonitors holds the monitor of
  // each, in the same order.
  std::vector<std::u16string> ports;
  std::vector<std::u16string> portMonitors;
  // The ports asked about (the printers' and the recorded ones) that the spooler's list does not
  // hold: gone already, nothing to remove and nothing to remember.
  std::vector<std::u16string> portsGone;
  // (environment, driver): <Prefix>ENG and <Prefix>CHN where the spooler lists them ("Windows NT
  // x86", and "Windows x64" on a 64-bit system) and no other printer uses them.
  std::vector<std::pair<std::u16string, std::u16string>> drivers;
  // (call, code) for each list the spooler could not give. Nothing that depends on it is planned
  // (no list of printers: nothing at all; no list of ports: no port), and RunUninstall fails.
  std::vector<std::pair<std::u16string, std::uint32_t>> unlisted;

  // No printer, port or driver to remove.
  bool Empty() const { return printers.empty() && ports.empty() && drivers.empty(); }
};

// Reads the spooler's printers, ports and drivers; changes nothing. recordedPorts: ports an
// earlier run made and could not take yet (a printer still used them, or DeletePort failed);
// each is planned as the printers' ports are, whether or not a printer of this configuration is
// left. One trace line with the counts.
UninstallPlan PlanUninstall(const InstallContext& context, PrintPlatform& platform,
                            const std::vector<std::u16string>& recordedPorts = {});

// A plan of ports alone: those of ports that no printer uses, of the monitors PlanUninstall
// takes ports of (for the ports a printer moved away from).
UninstallPlan PlanPortRemoval(const InstallContext& context, PrintPlatform& platform,
                              const std::vector<std::u16string>& ports);

// Of these ports, the ones the spooler lists under the Standard TCP/IP monitor or
// context.portMonitorName: those an install makes and an uninstall takes. All of them when the
// list cannot be read (the uninstall looks again).
std::vector<std::u16string> InstallMadePorts(const InstallContext& context, PrintPlatform& platform,
                                             const std::vector<std::u16string>& ports);

enum class UninstallKind { Printer, Port, Driver };
// "printer", "port" or "driver".
std::u16string_view UninstallKindName(UninstallKind kind);

// One object's removal: the call it ended on and that call's code (0: removed).
struct UninstallStep {
  UninstallKind kind;
  std::u16string object;  // a driver's name is followed by " (<environment>)"
  std::u16string call;
  std::uint32_t code = 0;
  bool removed = false;   // gone now, or gone already
};

// Removes the plan's printers (jobs purged first, so that a printer goes now instead of waiting
// for its jobs), then its ports (XcvData "DeletePort" through their monitor), then its drivers
// (DeletePrinterDriverEx with DPD_DELETE_UNUSED_FILES | DPD_DELETE_SPECIFIC_VERSION 3, or
// DeletePrinterDriver where the spooler turns the flags down: see SpoolerRefusedTheCall). An
// object already gone counts as removed. One trace line per object: "Removed <kind> <name>",
// "Already gone: <kind> <name>" or "<call> Failed: <name> Error <code>"; a step that fails
// does not stop the others; a printer whose jobs could not be purged is left marked for
// deletion, and fails. An empty plan: a trace line, and no step.
std::vector<UninstallStep> RunUninstall(const InstallContext& context, PrintPlatform& platform,
                                        const UninstallPlan& plan);
