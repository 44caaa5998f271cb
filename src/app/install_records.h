#pragma once
// What a run keeps in the registry about the printers it installed: the detection marker of a
// printer a road left as configured, and its removal with the printer.
#include <functional>
#include <string>

#include "app/install_road.h"
#include "config/install_context.h"
#include "config/registry.h"
#include "diag/install_log.h"

// The road's onInstalled for this run: the printer's marker with this version, its driver and
// port, the configuration file and the local time. A marker that cannot be written is one trace
// line naming its key and the code; how the road ended stays as it is. The arguments outlive it.
std::function<void(const InstalledFacts&)> MarkInstalledPrinter(Registry& registry, Clock& clock,
                                                                const InstallContext& context,
                                                                std::u16string version);

// The marker of a printer the uninstall removed; one trace line when it cannot go.
void UnmarkRemovedPrinter(Registry& registry, const std::u16string& printerName);
