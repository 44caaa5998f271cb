#include "app/install_records.h"

#include "config/detection_marker.h"
#include "diag/diagnostics.h"

std::function<void(const InstalledFacts&)> MarkInstalledPrinter(Registry& registry, Clock& clock,
                                                                const InstallContext& context,
                                                                std::u16string version) {
  return [&registry, &clock, &context, version = std::move(version)](const InstalledFacts& facts) {
    DetectionMarker marker;
    marker.printerName = facts.printerName;
    marker.version = version;
    marker.driverName = facts.driverName;
    marker.portName = facts.portName;
    marker.configPath = context.configPath;
    marker.installedAt = clock.Now();
    if (const Status written = WriteDetectionMarker(registry, marker); !written) {
      DebugTrace(u"Detection Marker Not Written: HKLM\\%s Error %u", MarkerKey(facts.printerName), written.code);
    }
  };
}

void UnmarkRemovedPrinter(Registry& registry, const std::u16string& printerName) {
  if (const Status removed = RemoveDetectionMarker(registry, printerName); !removed) {
    DebugTrace(u"Detection Marker Not Removed: HKLM\\%s Error %u", MarkerKey(printerName), removed.code);
  }
}
