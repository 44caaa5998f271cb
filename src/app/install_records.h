#pragma once
// What a run keeps in the registry about what it installed: the detection marker of each printer
// a road left as configured, with the ports this program made for it, and the ports that
// outlived their printer (PendingPorts), until an uninstall can take them.
#include <functional>
#include <string>
#include <vector>

#include "app/install_road.h"
#include "config/install_context.h"
#include "config/registry.h"
#include "diag/install_log.h"
#include "spooler/print_system.h"
#include "spooler/uninstall.h"

// The road's onInstalled for this run: the printer's marker with this version, its driver and
// port, the configuration file, the local time and the port when an install's monitor holds it.
// The ports an earlier marker of the printer named and the printer no longer uses are then taken
// when nothing else uses them, and remembered as pending when not. A marker that cannot be
// written is one trace line naming its key and the code; how the road ended stays as it is. The
// arguments outlive the function.
std::function<void(const InstalledFacts&)> MarkInstalledPrinter(Registry& registry, Clock& clock,
                                                                PrintPlatform& platform,
                                                                const InstallContext& context,
                                                                std::u16string version);

// The pending ports, for PlanUninstall; none (and a trace line) when they cannot be read.
std::vector<std::u16string> RecordedPorts(Registry& registry);

// The records after the uninstall's steps: the marker of each printer removed goes, and the
// pending ports become what they were, the ports those markers named and the ports the plan
// could not take, less the ports removed and those the plan found gone. Trace lines for what
// cannot be written; nothing here fails the uninstall.
void SettleRecords(Registry& registry, const UninstallPlan& plan, const std::vector<UninstallStep>& steps);
