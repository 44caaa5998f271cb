// The registry seam and the detection marker through advapi32, in the view of the prefix's width:
// what is written is read back by plain registry calls where a 64-bit tool looks, and never in
// the 32-bit view of a 64-bit system.
#include <windows.h>

#include <string>
#include <vector>

#include "config/detection_marker.h"
#include "config/win32/install_context_win.h"
#include "config/win32/registry_win.h"
#include "diag/win32/wide.h"
#include "support/wine_check.h"

namespace {

std::u16string Unique(const char16_t* base) {
  const std::string digits = std::to_string(GetCurrentProcessId());
  return base + std::u16string(digits.begin(), digits.end());
}

// A key of HKLM in one view, or null.
HKEY OpenIn(const std::u16string& key, REGSAM view) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(key), 0, KEY_QUERY_VALUE | view, &opened) != ERROR_SUCCESS) return nullptr;
  return opened;
}

bool ExistsIn(const std::u16string& key, REGSAM view) {
  HKEY opened = OpenIn(key, view);
  if (opened) RegCloseKey(opened);
  return opened != nullptr;
}

// The view a 64-bit tool reads: the system's own.
REGSAM NativeView() { return GetOsBitness() == 64 ? KEY_WOW64_64KEY : 0; }

// A REG_SZ value as plain calls read it in the native view; "(none)" when it is not there.
std::u16string PlainText(const std::u16string& key, const std::u16string& name) {
  HKEY opened = OpenIn(key, NativeView());
  if (!opened) return u"(none)";
  wchar_t text[512] = {};
  DWORD size = sizeof(text) - sizeof(wchar_t);
  DWORD type = REG_NONE;
  const LSTATUS status = RegQueryValueExW(opened, W(name), nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(opened);
  if (status != ERROR_SUCCESS || type != REG_SZ) return u"(none)";
  return U16(text);
}

}  // namespace

CASE(RegistryWine_ValuesKeysAndTheirCodes) {
  Win32Registry registry(GetOsBitness());
  const std::u16string key = Unique(u"SOFTWARE\\PrinterSetupWineTest") + u"\\Inner\\Leaf";
  const std::u16string top = key.substr(0, key.find(u"\\Inner"));
  REQUIRE(registry.SetString(key, u"Text", u"label"));
  CHECK(registry.SetStrings(key, u"List", {u"10.0.0.5", u"", u"LBUSB001"}));
  CHECK(registry.SetStrings(key, u"Empty", {}));
  Read<std::vector<std::u16string>> list = registry.Strings(key, u"LIST");
  CHECK(list.ok());
  CHECK_EQ(list.value, (std::vector<std::u16string>{u"10.0.0.5", u"LBUSB001"}));
  Read<std::vector<std::u16string>> empty = registry.Strings(key, u"Empty");
  CHECK(empty.ok());
  CHECK(empty.value.empty());
  CHECK_EQ(registry.Strings(key, u"Text").value, std::vector<std::u16string>{u"label"});
  CHECK_EQ(registry.Strings(key, u"Missing").code, kRegistryNotFound);
  CHECK_EQ(registry.Strings(key + u"\\Nowhere", u"Text").code, kRegistryNotFound);
  DWORD number = 7;
  HKEY raw = nullptr;
  REQUIRE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(key), 0, KEY_SET_VALUE | NativeView(), &raw) == ERROR_SUCCESS);
  RegSetValueExW(raw, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
  RegCloseKey(raw);
  CHECK_EQ(registry.Strings(key, u"Number").code, kRegistryInvalidData);
  CHECK_EQ(PlainText(key, u"Text"), u"label");

  Read<RegistryKeyCounts> counts = registry.Counts(key);
  CHECK(counts.ok());
  CHECK_EQ(counts.value.values, 4u);
  CHECK_EQ(counts.value.subkeys, 0u);
  CHECK_EQ(registry.Counts(top).value.subkeys, 1u);
  // A key with subkeys stays, as the fake registry has it.
  CHECK_EQ(registry.DeleteKey(top).code, kRegistryAccessDenied);
  CHECK(registry.DeleteValue(key, u"Number"));
  CHECK_EQ(registry.DeleteValue(key, u"Number").code, kRegistryNotFound);
  CHECK(registry.DeleteKey(key));
  CHECK_EQ(registry.DeleteKey(key).code, kRegistryNotFound);
  CHECK_EQ(registry.Counts(key).code, kRegistryNotFound);
  CHECK(registry.DeleteKey(top + u"\\Inner"));
  CHECK(registry.DeleteKey(top));
  CHECK(!ExistsIn(top, NativeView()));
}

CASE(RegistryWine_TheMarkerIsWhereA64BitToolLooks) {
  Win32Registry registry(GetOsBitness());
  const bool hadRoot = ExistsIn(kMarkerRootKey, NativeView());
  DetectionMarker marker;
  marker.printerName = Unique(u"Wine Marker Printer ");
  marker.version = u"1.2.3";
  marker.driverName = u"LBLENG";
  marker.portName = u"10.0.0.5";
  marker.configPath = u"C:\\setup\\config.ini";
  marker.installedAt = {2026, 12, 8, 21, 42, 9, 0};
  marker.madePorts = {u"10.0.0.5"};
  REQUIRE(WriteDetectionMarker(registry, marker));
  const std::u16string key = MarkerKey(marker.printerName);
  CHECK_EQ(PlainText(key, u"Version"), u"1.2.3");
  CHECK_EQ(PlainText(key, u"Driver"), u"LBLENG");
  CHECK_EQ(PlainText(key, u"Port"), u"10.0.0.5");
  CHECK_EQ(PlainText(key, u"Config"), u"C:\\setup\\config.ini");
  CHECK_EQ(PlainText(key, u"InstalledAt"), u"2026-12-08T21:42:09");
  CHECK_EQ(ReadMarkedPorts(registry, marker.printerName).value, std::vector<std::u16string>{u"10.0.0.5"});
  // A 32-bit process on a 64-bit system writes past WOW6432Node.
  if (GetOsBitness() == 64) CHECK(!ExistsIn(key, KEY_WOW64_32KEY));
  CHECK(RemoveDetectionMarker(registry, marker.printerName));
  CHECK(!ExistsIn(key, NativeView()));
  if (!hadRoot) CHECK(!ExistsIn(kMarkerRootKey, NativeView()));
}
