#include "wine_support.h"

#include <shlobj.h>
#include <winspool.h>

#include <atomic>
#include <cstdio>
#include <cstring>

#include "diag/win32/wide.h"
#include "fixture_names.h"
#include "fixture_paths.h"
#include "monitor_install.h"

namespace wine_test {
namespace {

std::wstring Wide(const std::u16string& text) { return std::wstring(W(text)); }
std::u16string Narrow16(const std::wstring& text) { return U16(text.c_str()); }

std::wstring UsbPortsKey() { return std::wstring(FIXTURE_MONITORS_KEY) + L"\\" + FIXTURE_USB_MONITOR + L"\\Ports"; }

std::optional<std::vector<std::uint8_t>> RegistryBinary(const std::wstring& path, const wchar_t* value) {
  DWORD size = 0;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), value, RRF_RT_REG_BINARY, nullptr, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(size);
  if (size && RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), value, RRF_RT_REG_BINARY, nullptr, bytes.data(), &size) !=
                  ERROR_SUCCESS) {
    return std::nullopt;
  }
  bytes.resize(size);
  return bytes;
}

// The box closer: a thread for the whole run, started before the first test.
// MinGW's win32 threads have no std::mutex. Set up by StartBoxCloser, before the thread.
CRITICAL_SECTION strayLock;
struct Lock {
  Lock() { EnterCriticalSection(&strayLock); }
  ~Lock() { LeaveCriticalSection(&strayLock); }
};
std::vector<std::u16string> strayBoxes;
std::atomic<bool> stopCloser{false};

BOOL CALLBACK CloseIfDialog(HWND window, LPARAM) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t className[16] = {};
  if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
  if (!GetClassNameW(window, className, 16) || lstrcmpW(className, L"#32770") != 0) return TRUE;
  wchar_t title[256] = {};
  GetWindowTextW(window, title, 256);
  {
    Lock lock;
    strayBoxes.push_back(U16(title));
  }
  PostMessageW(window, WM_COMMAND, IDOK, 0);
  return TRUE;
}

DWORD WINAPI CloserThread(void*) {
  while (!stopCloser) {
    EnumWindows(CloseIfDialog, 0);
    Sleep(100);
  }
  return 0;
}

HANDLE closerThread = nullptr;

}  // namespace

Scenario CurrentScenario() {
  if (sizeof(void*) == 8) return Scenario::Native64;
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  return wow64 ? Scenario::Wow64 : Scenario::Native32;
}

const char* ScenarioName(Scenario scenario) {
  switch (scenario) {
    case Scenario::Native32: return "32-bit process in a 32-bit prefix";
    case Scenario::Native64: return "64-bit process in a 64-bit prefix";
    case Scenario::Wow64: return "32-bit process in a 64-bit prefix";
  }
  return "";
}

std::u16string DemoDir() { return U16(FIXTURE_DEMO_DIR); }
std::u16string ToolsDir() { return U16(FIXTURE_TOOLS_DIR); }

InstallContext DemoContext(int osBitness, const std::u16string& languageCode, const std::u16string& printerBaseName) {
  InstallContext context;
  context.installDir = DemoDir();
  context.configPath = context.installDir + u"\\config.ini";
  context.printerBaseName = printerBaseName;
  context.driverPrefix = u"LBL";
  context.portMonitorName = kUsbMonitor;
  context.setupDirName = osBitness == 64 ? u"SETUP64" : u"SETUP";
  context.monitorDirName = osBitness == 64 ? u"MONITOR64" : u"MONITOR32";
  context.languageCode = languageCode;
  context.languageIndex = languageCode == u"CHN" ? 0 : 1;
  return context;
}

void StartBoxCloser() {
  InitializeCriticalSection(&strayLock);
  closerThread = CreateThread(nullptr, 0, CloserThread, nullptr, 0, nullptr);
}

void StopBoxCloser() {
  stopCloser = true;
  if (closerThread) {
    WaitForSingleObject(closerThread, 5000);
    CloseHandle(closerThread);
    closerThread = nullptr;
  }
}

bool EnsureMonitors() {
  // The TCP/IP stand-in comes from the tools folder; the USB monitor from the folder of this
  // process's width, as MonitorSetup.exe of that width would install it.
  fixture::MonitorInstallResult tcpip =
      fixture::InstallMonitor(FIXTURE_TCPIP_MONITOR, FIXTURE_TCPIP_DLL, Wide(ToolsDir()));
  if (tcpip.copyError || tcpip.monitorError) {
    std::printf("cannot install the TCP/IP stand-in: copy %lu, AddMonitor %lu\n", tcpip.copyError, tcpip.monitorError);
    return false;
  }
  std::u16string usbFolder = DemoDir() + (sizeof(void*) == 8 ? u"\\MONITOR64" : u"\\MONITOR32");
  fixture::MonitorInstallResult usb = fixture::InstallMonitor(FIXTURE_USB_MONITOR, FIXTURE_USB_DLL, Wide(usbFolder));
  if (usb.copyError || usb.monitorError) {
    std::printf("cannot install the USB monitor: copy %lu, AddMonitor %lu\n", usb.copyError, usb.monitorError);
    return false;
  }
  return true;
}

bool UsbMonitorRegistered() {
  HANDLE handle = nullptr;
  PRINTER_DEFAULTSW defaults = {nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
  if (!OpenPrinterW(const_cast<wchar_t*>(L", XcvMonitor " FIXTURE_USB_MONITOR), &handle, &defaults)) return false;
  ClosePrinter(handle);
  return true;
}

void DeletePrinters(const std::u16string& baseName) {
  for (const fixture::PrinterEntry& printer : fixture::ListPrinters()) {
    std::u16string name = Narrow16(printer.name);
    if (!SameTextIgnoringCase(name, baseName) && !StartsWithIgnoringCase(name, baseName + u"(")) continue;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE handle = nullptr;
    if (OpenPrinterW(const_cast<wchar_t*>(printer.name.c_str()), &handle, &defaults)) {
      DeletePrinter(handle);
      ClosePrinter(handle);
    }
  }
}

void DeleteTcpIpPort(const std::u16string& name) {
  std::wstring path = std::wstring(FIXTURE_MONITORS_KEY) + L"\\" + FIXTURE_TCPIP_MONITOR + L"\\Ports\\" + Wide(name);
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, path.c_str());
}

void DeleteUsbPortsWithPrefix(const std::u16string& prefix) {
  HKEY ports = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, UsbPortsKey().c_str(), 0, KEY_READ | KEY_WRITE, &ports) != ERROR_SUCCESS) return;
  std::vector<std::wstring> doomed;
  for (DWORD index = 0;; ++index) {
    wchar_t name[MAX_PATH];
    DWORD length = MAX_PATH;
    if (RegEnumKeyExW(ports, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (StartsWithIgnoringCase(Narrow16(std::wstring(name, length)), prefix)) doomed.emplace_back(name, length);
  }
  for (const std::wstring& name : doomed) RegDeleteTreeW(ports, name.c_str());
  RegCloseKey(ports);
}

void ClearLastAddPort(const char16_t* monitor) {
  std::wstring path = std::wstring(FIXTURE_MONITORS_KEY) + L"\\" + W(monitor);
  RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, path.c_str(), FIXTURE_LAST_ADDPORT_VALUE);
}

std::optional<std::vector<std::uint8_t>> PortRecord(const char16_t* monitor, const std::u16string& port) {
  std::wstring path = std::wstring(FIXTURE_MONITORS_KEY) + L"\\" + W(monitor) + L"\\Ports\\" + Wide(port);
  return RegistryBinary(path, FIXTURE_PORT_RECORD_VALUE);
}

std::optional<std::vector<std::uint8_t>> LastAddPort(const char16_t* monitor) {
  return RegistryBinary(std::wstring(FIXTURE_MONITORS_KEY) + L"\\" + W(monitor), FIXTURE_LAST_ADDPORT_VALUE);
}

std::optional<std::vector<std::uint8_t>> LastDeletePort(const char16_t* monitor) {
  return RegistryBinary(std::wstring(FIXTURE_MONITORS_KEY) + L"\\" + W(monitor), FIXTURE_LAST_DELETEPORT_VALUE);
}

std::u16string StagePackageCopy(const std::u16string& prefix, const std::u16string& setupDirName,
                                const std::u16string& language) {
  wchar_t temp[MAX_PATH] = {};
  if (!GetTempPathW(MAX_PATH, temp)) return std::u16string();
  const std::u16string root = U16(temp) + u"PrinterSetupWine\\" + prefix;
  RemoveFolder(root);
  const std::u16string source = DemoDir() + u"\\" + setupDirName + u"\\" + language;
  const std::u16string target = root + u"\\" + setupDirName + u"\\" + language;
  if (SHCreateDirectoryExW(nullptr, W(target), nullptr) != ERROR_SUCCESS) return std::u16string();
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(W(source + u"\\*"), &found);
  if (search == INVALID_HANDLE_VALUE) return std::u16string();
  bool copied = true;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::u16string name = U16(found.cFileName);
    if (StartsWithIgnoringCase(name, u"LBL")) name = prefix + name.substr(3);
    copied = copied && CopyFileW(W(source + u"\\" + U16(found.cFileName)), W(target + u"\\" + name), FALSE);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return copied ? root : std::u16string();
}

void RemoveFolder(const std::u16string& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(W(folder + u"\\*"), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::u16string name = U16(found.cFileName);
      if (name == u"." || name == u"..") continue;
      const std::u16string path = folder + u"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFolder(path);
      } else {
        SetFileAttributesW(W(path), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(W(path));
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(W(folder));
}

bool WriteFileBytes(const std::u16string& path, const std::vector<std::uint8_t>& bytes) {
  HANDLE file = CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

void DeleteDriverEverywhere(const std::u16string& name) {
  for (const wchar_t* environment : {L"Windows NT x86", L"Windows x64"}) {
    DeletePrinterDriverW(nullptr, const_cast<wchar_t*>(environment), const_cast<wchar_t*>(W(name)));
  }
}

std::optional<fixture::PortEntry> FindPort(const std::u16string& name) {
  for (const fixture::PortEntry& port : fixture::ListPorts()) {
    if (port.name == Wide(name)) return port;
  }
  return std::nullopt;
}

std::optional<fixture::PrinterEntry> FindPrinter(const std::u16string& name) {
  for (const fixture::PrinterEntry& printer : fixture::ListPrinters()) {
    if (printer.name == Wide(name)) return printer;
  }
  return std::nullopt;
}

std::optional<fixture::DriverEntry> FindDriver(const wchar_t* environment, const std::u16string& name) {
  for (const fixture::DriverEntry& driver : fixture::ListDrivers(environment)) {
    if (driver.name == Wide(name)) return driver;
  }
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> FileBytes(const std::u16string& path) {
  HANDLE file = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::vector<std::uint8_t> bytes(GetFileSize(file, nullptr));
  DWORD read = 0;
  BOOL ok = bytes.empty() || ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  if (!ok) return std::nullopt;
  bytes.resize(read);
  return bytes;
}

std::u16string BaseName(const std::wstring& path) {
  size_t slash = path.find_last_of(L'\\');
  return Narrow16(slash == std::wstring::npos ? path : path.substr(slash + 1));
}

std::u16string DriverDirectory(const wchar_t* environment) {
  wchar_t directory[MAX_PATH] = {};
  DWORD needed = 0;
  if (!GetPrinterDriverDirectoryW(nullptr, const_cast<wchar_t*>(environment), 1, reinterpret_cast<BYTE*>(directory),
                                  sizeof(directory), &needed)) {
    return std::u16string();
  }
  return U16(directory);
}

std::u16string SystemDirectory() {
  wchar_t directory[MAX_PATH] = {};
  GetSystemDirectoryW(directory, MAX_PATH);
  return U16(directory);
}

bool SameTextIgnoringCase(const std::u16string& a, const std::u16string& b) {
  return CompareStringOrdinal(W(a), -1, W(b), -1, TRUE) == CSTR_EQUAL;
}

bool StartsWithIgnoringCase(const std::u16string& text, const std::u16string& prefix) {
  return text.size() >= prefix.size() && SameTextIgnoringCase(text.substr(0, prefix.size()), prefix);
}

std::vector<std::pair<std::u16string, std::u16string>> ReadMark(const std::u16string& path) {
  std::vector<std::pair<std::u16string, std::u16string>> entries;
  std::optional<std::vector<std::uint8_t>> bytes = FileBytes(path);
  if (!bytes) return entries;
  std::string utf8(bytes->begin(), bytes->end());
  int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring text(units, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &text[0], units);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(start, end - start);
    while (!line.empty() && (line.back() == L'\r' || line.back() == L' ')) line.pop_back();
    size_t equals = line.find(L'=');
    if (equals != std::wstring::npos) {
      entries.emplace_back(Narrow16(line.substr(0, equals)), Narrow16(line.substr(equals + 1)));
    } else if (!line.empty()) {
      entries.emplace_back(Narrow16(line), u"");
    }
    start = end + 1;
  }
  return entries;
}

std::u16string MarkValue(const std::vector<std::pair<std::u16string, std::u16string>>& mark, const std::u16string& key) {
  for (const auto& entry : mark) {
    if (entry.first == key) return entry.second;
  }
  return u"<missing " + key + u">";
}

std::vector<std::u16string> TakeStrayBoxes() {
  Lock lock;
  std::vector<std::u16string> boxes;
  boxes.swap(strayBoxes);
  return boxes;
}

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

void PutText(std::vector<std::uint8_t>& bytes, std::size_t offset, const std::u16string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    bytes.at(offset + 2 * i) = static_cast<std::uint8_t>(text[i] & 0xFF);
    bytes.at(offset + 2 * i + 1) = static_cast<std::uint8_t>(text[i] >> 8);
  }
}

}  // namespace wine_test

namespace wine_test {

bool CheckBytes(const std::optional<std::vector<std::uint8_t>>& actual, const std::vector<std::uint8_t>& expected,
                const char* file, int line, const char* what) {
  if (!actual) {
    wcheck::Fail(file, line, std::string(what) + ": no bytes");
    return false;
  }
  if (actual->size() != expected.size()) {
    wcheck::Fail(file, line, std::string(what) + ": " + std::to_string(actual->size()) + " bytes, expected " +
                                 std::to_string(expected.size()));
    return false;
  }
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if ((*actual)[i] != expected[i]) {
      wcheck::Fail(file, line, std::string(what) + ": byte " + std::to_string(i) + " is " +
                                   std::to_string((*actual)[i]) + ", expected " + std::to_string(expected[i]));
      return false;
    }
  }
  return true;
}

}  // namespace wine_test
