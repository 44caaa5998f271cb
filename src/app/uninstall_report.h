#pragma once
// The uninstall as the user sees it: the plan carried out, and a box for each thing that failed.
#include "config/install_context.h"
#include "config/registry.h"
#include "spooler/uninstall.h"

// Runs the plan. An ERROR box (owner 0) for each list the plan could not read, "<call> Failed",
// then one for each step that failed, "DeletePrinter|DeletePort|DeletePrinterDriver Failed:
// <name>". Then the records in registry are settled (SettleRecords). True when every list was
// read and everything planned is gone.
bool CarryOutUninstall(const InstallContext& context, PrintPlatform& platform, const UninstallPlan& plan,
                       Registry& registry);
