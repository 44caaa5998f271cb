// The USB discovery over the real SetupAPI, spooler and combo box under Wine, where no USB printer
// is attached and the local ports are LPT/COM/FILE until a test adds some.
#include <windows.h>
#include <setupapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "diag/win32/wide.h"
#include "spooler/win32/print_platform_win.h"
#include "support/wine_check.h"
#include "usb/usb_choices.h"
#include "usb/usb_vid_pid_enumerator_win.h"
#include "usb/win32/combo_box_win.h"
#include "usb/win32/setupapi_devices.h"
#include "usb/win32/setupapi_reads.h"
#include "usb/win32/usb_platform_win.h"

namespace {

GUID UsbPrintGuid() {
  GUID guid;
  static_assert(sizeof guid == sizeof kUsbPrintInterfaceClass, "GUID layout");
  std::memcpy(&guid, &kUsbPrintInterfaceClass, sizeof guid);
  return guid;
}

std::vector<std::u16string> WideItems(const std::vector<char16_t>& buffer) {
  std::vector<std::u16string> items;
  for (std::size_t at = 0; at < buffer.size() && buffer[at] != 0;) {
    items.emplace_back(&buffer[at]);
    at += items.back().size() + 1;
  }
  return items;
}

CASE(RealSetupApi_NoUsbPrinterYieldsNothing) {
  Win32DeviceInterfaceSource devices;
  NZUsbVidPidEnumerator_win enumerator(devices);
  std::vector<char16_t> wide(1000, u'Z');
  std::int32_t total = -1;
  CHECK_EQ(enumerator.EnumerateW(wide.data(), 2000, &total), 0);
  CHECK_EQ(total, 0);
  CHECK_EQ(wide, std::vector<char16_t>(1000, u'Z'));
  std::vector<char> narrow(100, 'Z');
  total = -1;
  CHECK_EQ(enumerator.EnumerateA(narrow.data(), 100, &total), 0);
  CHECK_EQ(total, 0);
  CHECK_EQ(narrow, std::vector<char>(100, 'Z'));

  char suffix[kUsbSuffixCapacity] = {};
  std::strcpy(suffix, "KEEP");
  Win32ConfigManager configManager;
  FindUsbPrintDeviceSuffix(devices, configManager, suffix);
  CHECK_EQ(std::string(suffix), std::string("KEEP"));
}

CASE(RealSetupApi_TheDeviceSetAcceptsTheBuildsRecordSizes) {
  Win32DeviceInterfaceSource devices;
  ScopedDeviceInfoSet set(devices, OpenUsbPrinterDeviceSet(devices));
  REQUIRE(set);
  DeviceInfoData device = EmptyDeviceInfoData(devices);
  CHECK(!devices.SetupDiEnumDeviceInfo(set.get(), 0, device));
  CHECK_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
  if (sizeof(void*) == 8) {
    // The 32-bit layout's 28 is refused by the 64-bit SetupAPI.
    device.cbSize = 28;
    CHECK(!devices.SetupDiEnumDeviceInfo(set.get(), 0, device));
    CHECK_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_USER_BUFFER));
  }
}

// Hands the enumerator a set of devices made on the spot instead of the present ones, so that
// every other call runs on real SetupAPI records. Devices made this way are never registered,
// and destroying the set removes them.
class MadeDeviceSource : public Win32DeviceInterfaceSource {
 public:
  explicit MadeDeviceSource(std::vector<std::string> instanceIds) : instanceIds_(std::move(instanceIds)) {}

  DeviceInfoSet SetupDiGetClassDevsA(const DeviceClassGuid&, const char*, WindowHandle, std::uint32_t) override {
    GUID guid = UsbPrintGuid();
    HDEVINFO set = SetupDiCreateDeviceInfoList(&guid, nullptr);
    if (set == INVALID_HANDLE_VALUE) return kInvalidDeviceInfoSet;
    for (const std::string& id : instanceIds_) {
      SP_DEVINFO_DATA device{};
      device.cbSize = sizeof device;
      SP_DEVICE_INTERFACE_DATA deviceInterface{};
      deviceInterface.cbSize = sizeof deviceInterface;
      if (!SetupDiCreateDeviceInfoA(set, id.c_str(), &guid, nullptr, nullptr, 0, &device) ||
          !SetupDiCreateDeviceInterfaceA(set, &device, &guid, nullptr, 0, &deviceInterface))
        wcheck::Fail(__FILE__, __LINE__, "could not make " + id);
    }
    return reinterpret_cast<DeviceInfoSet>(set);
  }

 private:
  std::vector<std::string> instanceIds_;
};

// Making an interface creates its class key; a key this suite made and left empty is removed again.
class ClassKeyCleanup {
 public:
  ClassKeyCleanup() : existed_(Exists()) {}
  ~ClassKeyCleanup() {
    if (!existed_) RegDeleteKeyW(HKEY_LOCAL_MACHINE, kKey);  // fails, as it should, if it has subkeys
  }

 private:
  static constexpr const wchar_t* kKey =
      L"System\\CurrentControlSet\\Control\\DeviceClasses\\{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}";
  static bool Exists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
  bool existed_;
};

CASE(RealSetupApi_ReadsDevicePathsThroughRealRecords) {
  ClassKeyCleanup cleanup;
  MadeDeviceSource devices({"USB\\VID_1A2B&PID_4D5E\\5&2F1E&0&1", "USB\\VID_1A2B&PID_4D5E&MI_01\\7&2F41D9E&0&0001",
                            "ROOT\\LEGACY_BOGUS\\0000"});
  NZUsbVidPidEnumerator_win enumerator(devices);
  std::vector<char16_t> wide(1000, 0);
  std::int32_t total = 0;
  CHECK_EQ(enumerator.EnumerateW(wide.data(), 2000, &total), 2);
  CHECK_EQ(WideItems(wide), (std::vector<std::u16string>{u"VID:0x1A2B,PID:0x4D5E", u"VID:0x1A2B,PID:0x4D5E,MI:01"}));
  CHECK_EQ(total, 46 + 58);

  const VidPidPair pair{0x1A2B, 0x4D5F};
  enumerator.filterCount = 1;
  enumerator.filterPairs = &pair;
  std::fill(wide.begin(), wide.end(), u'Z');
  CHECK_EQ(enumerator.EnumerateW(wide.data(), 2000, &total), 0);
  CHECK_EQ(wide[0], u'Z');
}

CASE(RealConfigManager_ReadsAMadeDevicesIdentifier) {
  ClassKeyCleanup cleanup;
  const std::string id = "USB\\VID_1A2B&PID_4D5E\\5&2F1E&0&1";
  MadeDeviceSource devices({id});
  Win32ConfigManager configManager;
  ScopedDeviceInfoSet set(devices, OpenUsbPrinterDeviceSet(devices));
  REQUIRE(set);
  DeviceInfoData device = EmptyDeviceInfoData(devices);
  REQUIRE(devices.SetupDiEnumDeviceInfo(set.get(), 0, device));
  const Read<std::string> read = configManager.DeviceId(device.devInst);
  CHECK(read.ok());
  CHECK_EQ(read.value, id);
  CHECK_EQ(static_cast<int>(configManager.DeviceId(0x7FFFFFF0).stage), static_cast<int>(ReadStage::SizeQueryFailed));
  const Read<std::string> relations = configManager.BusRelations(id);
  CHECK(relations.ok());
  CHECK_EQ(relations.value.size(), kBusRelationsCapacity);
}

// The ask-size-then-fill protocol as the reads run it, each platform call answered by a script.
struct Answer {
  BOOL ok;
  DWORD error;     // the last-error value a failure leaves
  DWORD required;  // the size it reports
};

struct DetailRow {
  const char* name;
  std::vector<Answer> answers;
  ReadStage stage;
  DWORD code;
  std::vector<DWORD> sizes;  // the size given to each call
};

CASE(Protocol_TheDevicePathIsReadByStage) {
  const std::string path = "\\\\?\\usb#vid_1a2b&pid_4d5e#5&2f1e&0&1#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
  const DWORD size = static_cast<DWORD>(4 + path.size() + 1);
  const DetailRow rows[] = {
      {"size, then fill", {{FALSE, 122, size}, {TRUE, 0, size}}, ReadStage::Done, 0, {0, size}},
      {"the size grew", {{FALSE, 122, size - 8}, {FALSE, 122, size}, {TRUE, 0, size}}, ReadStage::Done, 0,
       {0, size - 8, size}},
      {"size query succeeds", {{TRUE, 0, 0}}, ReadStage::SizeQuerySucceeded, 0, {0}},
      {"size query fails otherwise", {{FALSE, 6, size}}, ReadStage::SizeQueryFailed, 6, {0}},
      {"no size", {{FALSE, 122, 0}}, ReadStage::SizeQueryFailed, 122, {0}},
      {"no room for a path", {{FALSE, 122, 4}}, ReadStage::SizeQueryFailed, 122, {0}},
      {"larger than any record", {{FALSE, 122, 0x10001}}, ReadStage::SizeQueryFailed, 122, {0}},
      {"fill fails", {{FALSE, 122, size}, {FALSE, 0x6F8, 0}}, ReadStage::FillFailed, 0x6F8, {0, size}},
      {"still too small", {{FALSE, 122, size}, {FALSE, 122, size}}, ReadStage::FillFailed, 122, {0, size}},
      {"grew past any record", {{FALSE, 122, size}, {FALSE, 122, 0x20000}}, ReadStage::FillFailed, 122, {0, size}},
  };
  for (const DetailRow& row : rows) {
    wcheck::current = row.name;
    std::vector<DWORD> sizes;
    const Read<std::string> read = ReadDevicePath([&](PSP_DEVICE_INTERFACE_DETAIL_DATA_A record, DWORD given,
                                                      DWORD* required) -> BOOL {
      const Answer& answer = row.answers.at(sizes.size());
      sizes.push_back(given);
      // Every record goes out with the build's cbSize (5 for 32-bit, 8 for 64-bit).
      if (record) CHECK_EQ(record->cbSize, static_cast<DWORD>(sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)));
      *required = answer.required;
      if (!answer.ok) {
        SetLastError(answer.error);
        return FALSE;
      }
      if (record) std::memcpy(record->DevicePath, path.c_str(), path.size() + 1);
      return TRUE;
    });
    CHECK_EQ(static_cast<int>(read.stage), static_cast<int>(row.stage));
    CHECK_EQ(read.code, static_cast<std::uint32_t>(row.code));
    CHECK_EQ(read.value, row.stage == ReadStage::Done ? path : std::string());
    CHECK_EQ(sizes, row.sizes);
  }
}

struct IdRow {
  const char* name;
  std::vector<std::pair<CONFIGRET, ULONG>> lengths;  // each length query's answer
  std::vector<CONFIGRET> fills;                      // each identifier call's answer
  ReadStage stage;
  std::uint32_t code;
  std::vector<ULONG> sizes;  // the buffer length given to each identifier call
};

CASE(Protocol_TheDeviceIdentifierIsReadByStage) {
  const std::string id = "USB\\VID_1A2B&PID_4D5E\\5&2F1E&0&1";
  const auto length = static_cast<ULONG>(id.size());
  const IdRow rows[] = {
      {"length, then identifier", {{CR_SUCCESS, length}}, {CR_SUCCESS}, ReadStage::Done, 0, {length + 1}},
      {"the identifier grew", {{CR_SUCCESS, length - 5}, {CR_SUCCESS, length}}, {CR_BUFFER_SMALL, CR_SUCCESS},
       ReadStage::Done, 0, {length - 4, length + 1}},
      {"length fails", {{CR_NO_SUCH_DEVNODE, 0}}, {}, ReadStage::SizeQueryFailed, CR_NO_SUCH_DEVNODE, {}},
      {"no room for the terminator", {{CR_SUCCESS, MAXDWORD}}, {}, ReadStage::SizeQueryFailed, CR_BUFFER_SMALL, {}},
      {"identifier fails", {{CR_SUCCESS, length}}, {CR_INVALID_DEVNODE}, ReadStage::FillFailed, CR_INVALID_DEVNODE,
       {length + 1}},
      {"still too small", {{CR_SUCCESS, length}, {CR_SUCCESS, length}}, {CR_BUFFER_SMALL}, ReadStage::FillFailed,
       CR_BUFFER_SMALL, {length + 1}},
  };
  for (const IdRow& row : rows) {
    wcheck::current = row.name;
    std::size_t asked = 0;
    std::vector<ULONG> sizes;
    const Read<std::string> read = ReadDeviceId(
        [&](ULONG* units) {
          const auto& answer = row.lengths.at(asked++);
          *units = answer.second;
          return answer.first;
        },
        [&](char* buffer, ULONG given) {
          const CONFIGRET answer = row.fills.at(sizes.size());
          sizes.push_back(given);
          if (answer == CR_SUCCESS) std::memcpy(buffer, id.c_str(), id.size() + 1);
          return answer;
        });
    CHECK_EQ(static_cast<int>(read.stage), static_cast<int>(row.stage));
    CHECK_EQ(read.code, row.code);
    CHECK_EQ(read.value, row.stage == ReadStage::Done ? id : std::string());
    CHECK_EQ(sizes, row.sizes);
  }
}

CASE(Protocol_TheBusRelationsAreOneCallOf2000Bytes) {
  for (CONFIGRET answer : {CR_SUCCESS, CR_BUFFER_SMALL}) {
    std::vector<ULONG> sizes;
    const Read<std::string> read = ReadBusRelations([&](char* buffer, ULONG given) {
      sizes.push_back(given);
      std::memcpy(buffer, "A&1\0B\0", 7);
      return answer;
    });
    CHECK_EQ(sizes, std::vector<ULONG>{2000});
    if (answer == CR_SUCCESS) {
      CHECK(read.ok());
      CHECK_EQ(read.value.size(), std::size_t{2000});
      CHECK_EQ(read.value.substr(0, 7), std::string("A&1\0B\0", 7));
    } else {
      CHECK_EQ(static_cast<int>(read.stage), static_cast<int>(ReadStage::FillFailed));
      CHECK_EQ(read.code, static_cast<std::uint32_t>(CR_BUFFER_SMALL));
    }
  }
}

// A hidden top-level window with an unsorted drop-down combo box, like the USB page's.
class HiddenCombo {
 public:
  HiddenCombo() {
    parent_ = CreateWindowExW(0, L"STATIC", L"usb", WS_OVERLAPPED, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    combo_ = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWN | WS_VSCROLL, 0, 0, 200, 150, parent_,
                             reinterpret_cast<HMENU>(1013), nullptr, nullptr);
  }
  ~HiddenCombo() { DestroyWindow(parent_); }
  HWND get() const { return combo_; }

  std::vector<std::u16string> Items() const {
    std::vector<std::u16string> items;
    const LRESULT count = SendMessageW(combo_, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      wchar_t text[260] = {};
      SendMessageW(combo_, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      items.push_back(U16(text));
    }
    return items;
  }
  std::u16string EditText() const {
    wchar_t text[260] = {};
    GetWindowTextW(combo_, text, 260);
    return U16(text);
  }
  LRESULT Selected() const { return SendMessageW(combo_, CB_GETCURSEL, 0, 0); }

 private:
  HWND parent_;
  HWND combo_;
};

CASE(RealComboBox_EditTextAndListAreSeparate) {
  HiddenCombo window;
  REQUIRE(window.get() != nullptr);
  Win32ComboBox combo(window.get());
  CHECK_EQ(combo.AddString(u"USB002"), 0);
  CHECK_EQ(combo.AddString(u"USB001"), 1);  // unsorted: appended
  CHECK_EQ(combo.GetCount(), 2);
  CHECK_EQ(combo.SetCurSel(0), 0);
  CHECK_EQ(window.EditText(), u"USB002");
  CHECK(combo.SetWindowTextA("USB005"));
  CHECK_EQ(window.EditText(), u"USB005");
  CHECK(combo.SetWindowTextW(u"USB001"));
  CHECK_EQ(window.EditText(), u"USB001");
  CHECK_EQ(window.Items(), (std::vector<std::u16string>{u"USB002", u"USB001"}));
}

std::vector<std::u16string> SpoolerUsbPorts(Spooler& spooler) {
  const Read<std::vector<PortInfo>> ports = spooler.Ports(2);
  std::vector<std::u16string> names;
  for (const PortInfo& port : ports.value) {
    if (port.portName.find(u"USB") != std::u16string::npos) names.push_back(port.portName);
  }
  return names;
}

// Ports of the Local Port monitor, made for one test and removed at its end.
class LocalPorts {
 public:
  LocalPorts(Spooler& spooler, std::vector<std::u16string> names) : spooler_(spooler), names_(std::move(names)) {
    for (const std::u16string& name : names_) Command(u"DeletePort", name);  // leftovers of a broken run
    for (const std::u16string& name : names_) CHECK(Command(u"AddPort", name));
  }
  ~LocalPorts() {
    for (const std::u16string& name : names_) CHECK(Command(u"DeletePort", name));
  }

 private:
  bool Command(const std::u16string& command, const std::u16string& name) {
    const Opened opened = spooler_.Open(u",XcvMonitor Local Port", kServerAccessAdminister);
    if (!opened) return false;
    ScopedPrinterHandle handle(spooler_, opened.handle);
    std::vector<std::uint8_t> input((name.size() + 1) * sizeof(char16_t), 0);
    std::memcpy(input.data(), name.c_str(), name.size() * sizeof(char16_t));
    return spooler_.Xcv(handle.get(), command, input, 0).Accepted();
  }
  Spooler& spooler_;
  std::vector<std::u16string> names_;
};

CASE(RealSpooler_WithoutUsbPortsTheTextIsUsb001) {
  Win32PrintSystem printSystem(sizeof(void*) * 8);
  // Wine's local ports are COM, LPT and FILE only.
  REQUIRE(SpoolerUsbPorts(printSystem.GetSpooler()).empty());
  Win32UsbPlatform usb(printSystem.GetSpooler());
  HiddenCombo window;
  Win32ComboBox combo(window.get());
  FillUsbPortsFromSpooler(usb.Platform(), combo);
  CHECK(window.Items().empty());
  CHECK_EQ(window.EditText(), u"USB001");
  CHECK_EQ(window.Selected(), CB_ERR);
}

CASE(RealSpooler_ListsUsbPortsInTheSpoolersOrder) {
  Win32PrintSystem printSystem(sizeof(void*) * 8);
  Spooler& spooler = printSystem.GetSpooler();
  LocalPorts ports(spooler, {u"USB042", u"TOLUSB7:", u"usb043"});
  const std::vector<std::u16string> expected = SpoolerUsbPorts(spooler);
  REQUIRE(expected.size() == 2u);  // usb043 is not "USB"
  Win32UsbPlatform usb(spooler);
  HiddenCombo window;
  Win32ComboBox combo(window.get());
  FillUsbPortsFromSpooler(usb.Platform(), combo);
  CHECK_EQ(window.Items(), expected);
  CHECK_EQ(window.Selected(), 0);
  CHECK_EQ(window.EditText(), expected[0]);
}

CASE(RealSetupApi_NoDeviceTextsForTheMonitor) {
  Win32PrintSystem printSystem(sizeof(void*) * 8);
  Win32UsbPlatform usb(printSystem.GetSpooler());
  HiddenCombo window;
  Win32ComboBox combo(window.get());
  InstallContext context;
  context.portMonitorName = u"Tollinder Port";
  FillUsbDevicesForMonitor(usb.Platform(), context, combo);
  CHECK(window.Items().empty());
  CHECK_EQ(window.Selected(), CB_ERR);
  CHECK_EQ(window.EditText(), u"");
}

}  // namespace

int wmain() { return wcheck::RunAll(); }
