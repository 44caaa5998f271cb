#include "app/install_records.h"

#include <algorithm>

#include "config/detection_marker.h"
#include "diag/diagnostics.h"
#include "spooler/name_compare.h"

namespace {

bool Holds(const std::vector<std::u16string>& names, const std::u16string& name) {
  return std::any_of(names.begin(), names.end(), [&](const std::u16string& n) { return SameNameIgnoringCase(n, name); });
}

// PendingPorts with the candidates added, less the ports the plan took or found gone.
void SettlePendingPorts(Registry& registry, const std::vector<std::u16string>& candidates, const UninstallPlan& plan,
                        const std::vector<UninstallStep>& steps) {
  const Read<std::vector<std::u16string>> pending = ReadPendingPorts(registry);
  if (!pending) {
    DebugTrace(u"Pending Ports Not Read: HKLM\\%s Error %u", kMarkerRootKey, pending.code);
    return;
  }
  std::vector<std::u16string> settled = plan.portsGone;
  for (const UninstallStep& step : steps) {
    if (step.kind == UninstallKind::Port && step.removed) settled.push_back(step.object);
  }
  std::vector<std::u16string> kept;
  std::vector<std::u16string> all = pending.value;
  all.insert(all.end(), candidates.begin(), candidates.end());
  for (const std::u16string& port : all) {
    if (Holds(kept, port) || Holds(settled, port)) continue;
    kept.push_back(port);
    if (!Holds(pending.value, port)) DebugTrace(u"Port %s Kept For A Later Uninstall", port);
  }
  if (kept == pending.value) return;
  if (const Status written = WritePendingPorts(registry, kept); !written) {
    DebugTrace(u"Pending Ports Not Written: HKLM\\%s Error %u", kMarkerRootKey, written.code);
  }
}

// The ports a printer moved away from: taken when nothing uses them, pending when not.
void TakeLeftPorts(Registry& registry, const InstallContext& context, PrintPlatform& platform,
                   const std::vector<std::u16string>& left) {
  const UninstallPlan plan = PlanPortRemoval(context, platform, left);
  const std::vector<UninstallStep> steps =
      plan.ports.empty() ? std::vector<UninstallStep>{} : RunUninstall(context, platform, plan);
  SettlePendingPorts(registry, left, plan, steps);
}

}  // namespace

std::function<void(const InstalledFacts&)> MarkInstalledPrinter(Registry& registry, Clock& clock,
                                                                PrintPlatform& platform,
                                                                const InstallContext& context,
                                                                std::u16string version) {
  return [&registry, &clock, &platform, &context, version = std::move(version)](const InstalledFacts& facts) {
    const Read<std::vector<std::u16string>> before = ReadMarkedPorts(registry, facts.printerName);
    if (!before) {
      DebugTrace(u"Detection Marker Not Read: HKLM\\%s Error %u", MarkerKey(facts.printerName), before.code);
    }
    DetectionMarker marker;
    marker.printerName = facts.printerName;
    marker.version = version;
    marker.driverName = facts.driverName;
    marker.portName = facts.portName;
    marker.configPath = context.configPath;
    marker.installedAt = clock.Now();
    marker.madePorts = InstallMadePorts(context, platform, {facts.portName});
    if (const Status written = WriteDetectionMarker(registry, marker); !written) {
      DebugTrace(u"Detection Marker Not Written: HKLM\\%s Error %u", MarkerKey(facts.printerName), written.code);
    }
    std::vector<std::u16string> left;
    for (const std::u16string& port : before.value) {
      if (!SameNameIgnoringCase(port, facts.portName)) left.push_back(port);
    }
    if (!left.empty()) TakeLeftPorts(registry, context, platform, left);
  };
}

std::vector<std::u16string> RecordedPorts(Registry& registry) {
  const Read<std::vector<std::u16string>> pending = ReadPendingPorts(registry);
  if (!pending) DebugTrace(u"Pending Ports Not Read: HKLM\\%s Error %u", kMarkerRootKey, pending.code);
  return pending.value;
}

void SettleRecords(Registry& registry, const UninstallPlan& plan, const std::vector<UninstallStep>& steps) {
  // A port the plan meant to take and could not is tried again by the next uninstall.
  std::vector<std::u16string> candidates = plan.ports;
  for (const UninstallStep& step : steps) {
    if (step.kind != UninstallKind::Printer || !step.removed) continue;
    const Read<std::vector<std::u16string>> made = ReadMarkedPorts(registry, step.object);
    if (!made) DebugTrace(u"Detection Marker Not Read: HKLM\\%s Error %u", MarkerKey(step.object), made.code);
    candidates.insert(candidates.end(), made.value.begin(), made.value.end());
    if (const Status removed = RemoveDetectionMarker(registry, step.object); !removed) {
      DebugTrace(u"Detection Marker Not Removed: HKLM\\%s Error %u", MarkerKey(step.object), removed.code);
    }
  }
  SettlePendingPorts(registry, candidates, plan, steps);
}
