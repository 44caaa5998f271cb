#include "config/detection_marker.h"

#include "diag/format.h"

namespace {

constexpr std::size_t kTimeCapacity = 32;

// Empties the key when it holds nothing any more; a key that cannot be read is left.
void DeleteWhenEmpty(Registry& registry, const std::u16string& key) {
  const Read<RegistryKeyCounts> counts = registry.Counts(key);
  if (counts && counts.value.subkeys == 0 && counts.value.values == 0) registry.DeleteKey(key);
}

// A list that is not there holds nothing.
Read<std::vector<std::u16string>> NoneWhenMissing(Read<std::vector<std::u16string>> read) {
  return !read && read.code == kRegistryNotFound ? Read<std::vector<std::u16string>>::Of({}) : read;
}

}  // namespace

std::u16string MarkerKey(std::u16string_view printerName) {
  return std::u16string(kMarkerPrintersKey) + u"\\" + std::u16string(printerName);
}

std::u16string IsoLocalTime(const LocalTime& time) {
  return FormatWide(kTimeCapacity, u"%04d-%02d-%02dT%02d:%02d:%02d", time.year, time.month, time.day, time.hour,
                    time.minute, time.second);
}

std::vector<MarkerValue> MarkerValues(const DetectionMarker& marker) {
  return {
      {u"Driver", {marker.driverName}},
      {u"Port", {marker.portName}},
      {u"Config", {marker.configPath}},
      {u"InstalledAt", {IsoLocalTime(marker.installedAt)}},
      {u"Ports", marker.madePorts, true},
      {u"Version", {marker.version}},
  };
}

Status WriteDetectionMarker(Registry& registry, const DetectionMarker& marker) {
  const std::u16string key = MarkerKey(marker.printerName);
  for (const MarkerValue& value : MarkerValues(marker)) {
    const Status written = value.multi ? registry.SetStrings(key, value.name, value.texts)
                                       : registry.SetString(key, value.name, value.texts.front());
    if (!written) return written;
  }
  return {};
}

Status RemoveDetectionMarker(Registry& registry, std::u16string_view printerName) {
  Status deleted = registry.DeleteKey(MarkerKey(printerName));
  if (!deleted && deleted.code == kRegistryNotFound) deleted = {};
  DeleteWhenEmpty(registry, kMarkerPrintersKey);
  DeleteWhenEmpty(registry, kMarkerRootKey);
  return deleted;
}

Read<std::vector<std::u16string>> ReadMarkedPorts(Registry& registry, std::u16string_view printerName) {
  return NoneWhenMissing(registry.Strings(MarkerKey(printerName), u"Ports"));
}

Read<std::vector<std::u16string>> ReadPendingPorts(Registry& registry) {
  return NoneWhenMissing(registry.Strings(kMarkerRootKey, kPendingPortsValue));
}

Status WritePendingPorts(Registry& registry, const std::vector<std::u16string>& ports) {
  if (!ports.empty()) return registry.SetStrings(kMarkerRootKey, kPendingPortsValue, ports);
  Status deleted = registry.DeleteValue(kMarkerRootKey, kPendingPortsValue);
  if (!deleted && deleted.code == kRegistryNotFound) deleted = {};
  DeleteWhenEmpty(registry, kMarkerRootKey);
  return deleted;
}
