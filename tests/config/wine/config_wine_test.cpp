// LoadInstallContext with the real profile reader, module path and system probe. Each case gets a
// folder of its own holding a copy of this executable and, when the case has one, a config.ini;
// the copy runs with --load-context and writes what it loaded to a file the test then reads.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "config/install_context.h"
#include "config/load_install_context.h"
#include "config/os_platform.h"
#include "config/win32/install_context_win.h"
#include "config/win32/module_path_win.h"
#include "config/win32/profile_reader_win.h"
#include "config/win32/system_info_win.h"
#include "diag/fake_diagnostics.h"
#include "diag/win32/wide.h"
#include "support/wine_check.h"

namespace {

using Record = std::map<std::string, std::u16string>;

const char* const kTraceField = "trace";

void Put(std::u16string& out, const std::u16string& text) {
  const std::uint32_t n = static_cast<std::uint32_t>(text.size());
  out.push_back(static_cast<char16_t>(n & 0xFFFF));
  out.push_back(static_cast<char16_t>(n >> 16));
  out += text;
}

bool WriteBytes(const std::wstring& path, const void* data, DWORD size) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, data, size, &written, nullptr);
  CloseHandle(file);
  return ok && written == size;
}

std::vector<char> ReadBytes(const std::wstring& path) {
  std::vector<char> bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof(chunk), &got, nullptr) && got > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  CloseHandle(file);
  return bytes;
}

// The child's side: load through the real calls and write every field, then the trace lines.
int LoadContextInto(const wchar_t* outPath) {
  ScopedFakeDiagnostics diag;
  InstallContext context;
  Win32ModulePath module;
  Win32ProfileReader profile;
  Win32SystemInfo system;
  LoadInstallContext(context, module, profile, system);
  // The DATA entries as the section held them: each "name=value" ended by NUL, then an empty one.
  std::u16string printerData;
  for (const PrinterDataEntry& entry : context.printerData) printerData += entry.key + u"=" + entry.value + u'\0';
  if (!printerData.empty()) printerData += u'\0';
  const std::pair<const char*, const std::u16string*> fields[] = {
      {"installDir", &context.installDir},       {"configPath", &context.configPath},
      {"caption", &context.caption},             {"printerBaseName", &context.printerBaseName},
      {"driverPrefix", &context.driverPrefix},   {"defaultLanguage", &context.defaultLanguage},
      {"defaultPortType", &context.defaultPortType}, {"portMonitorName", &context.portMonitorName},
      {"portNamePrefix", &context.portNamePrefix}, {"filterVid", &context.filterVid},
      {"filterPid", &context.filterPid},         {"filterUsbPort", &context.filterUsbPort},
      {"setupDirName", &context.setupDirName},   {"monitorDirName", &context.monitorDirName},
      {"languageCode", &context.languageCode},   {"printerData", &printerData},
  };
  std::u16string out;
  for (const auto& f : fields) {
    Put(out, std::u16string(f.first, f.first + strlen(f.first)));
    Put(out, *f.second);
  }
  const std::pair<const char*, std::uint32_t> numbers[] = {
      {"skipLanguage", context.skipLanguage}, {"skipPort", context.skipPort}, {"autoInstall", context.autoInstall}};
  for (const auto& n : numbers) {
    Put(out, std::u16string(n.first, n.first + strlen(n.first)));
    std::string digits = std::to_string(n.second);
    Put(out, std::u16string(digits.begin(), digits.end()));
  }
  for (const auto& line : diag.output.wide) {
    Put(out, u"trace");
    Put(out, line);
  }
  return WriteBytes(outPath, out.data(), static_cast<DWORD>(out.size() * sizeof(char16_t))) ? 0 : 3;
}

Record Parse(const std::vector<char>& bytes) {
  std::u16string units(bytes.size() / 2, u'\0');
  memcpy(&units[0], bytes.data(), units.size() * 2);
  Record record;
  std::size_t at = 0;
  auto take = [&](std::u16string& text) {
    if (at + 2 > units.size()) return false;
    std::uint32_t n = units[at] | (static_cast<std::uint32_t>(units[at + 1]) << 16);
    at += 2;
    if (at + n > units.size()) return false;
    text = units.substr(at, n);
    at += n;
    return true;
  };
  std::u16string name, value;
  while (take(name) && take(value)) {
    std::string key(name.begin(), name.end());
    if (key == kTraceField && record.count(key)) record[key] += u"\n" + value;
    else record[key] = value;
  }
  return record;
}

std::wstring SelfPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

// A folder of its own under the temporary directory, removed with what it holds.
class CaseFolder {
 public:
  CaseFolder() {
    static int counter = 0;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"cfgwine-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~CaseFolder() {
    for (const wchar_t* name : {L"\\probe.exe", L"\\config.ini", L"\\out.bin"}) DeleteFileW((path_ + name).c_str());
    RemoveDirectoryW(path_.c_str());
  }
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

// Runs a copy of this executable beside the given config.ini bytes (none: no file).
Record LoadBeside(const CaseFolder& folder, const std::vector<char>* config) {
  const std::wstring dir = folder.path();
  const std::wstring exe = dir + L"\\probe.exe";
  const std::wstring out = dir + L"\\out.bin";
  CHECK(CopyFileW(SelfPath().c_str(), exe.c_str(), FALSE));
  if (config) CHECK(WriteBytes(dir + L"\\config.ini", config->data(), static_cast<DWORD>(config->size())));
  std::wstring command = L"\"" + exe + L"\" --load-context \"" + out + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &startup,
                      &process)) {
    wcheck::Fail(__FILE__, __LINE__, "CreateProcessW failed: " + std::to_string(GetLastError()));
    return {};
  }
  WaitForSingleObject(process.hProcess, 60000);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  CHECK_EQ(static_cast<unsigned long>(code), 0ul);
  return Parse(ReadBytes(out));
}

std::vector<char> Ascii(const std::string& text) { return std::vector<char>(text.begin(), text.end()); }

// UTF-16LE with a byte-order mark, as the README recommends for non-ASCII values.
std::vector<char> Utf16WithBom(const std::u16string& text) {
  std::vector<char> bytes = {'\xFF', '\xFE'};
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

std::u16string Dir(const CaseFolder& folder) { return U16(folder.path().c_str()); }

// The width of the prefix: this build's own, or the one given after --expect-bitness (a 32-bit
// build run in a 64-bit prefix must see 64).
int g_expectedBitness = EXPECTED_OS_BITNESS;
bool k64 = EXPECTED_OS_BITNESS == 64;

}  // namespace

CASE(GetOsBitness_WidthOfThePrefix) {
  CHECK_EQ(GetOsBitness(), g_expectedBitness);
  CHECK_EQ(GetOsBitness(), g_expectedBitness);  // not cached, same answer
}

// Wine has IsWow64Process2 and runs on x86 only: the probe reaches it, it answers for the prefix's
// width, and no ARM64 system is seen.
CASE(IsArm64System_NotOnWine) {
  Win32SystemInfo system;
  ModuleHandle kernel = system.GetModuleHandleW(u"kernel32");
  CHECK(kernel != 0);
  ProcAddress function = kernel ? system.GetProcAddress(kernel, "IsWow64Process2") : 0;
  CHECK(function != 0);
  if (function) {
    std::uint16_t processMachine = 0xFFFF;
    std::uint16_t nativeMachine = 0xFFFF;
    CHECK(system.IsWow64Process2(function, processMachine, nativeMachine));
    // A process of the system's own width is not under WOW64; a 32-bit one on 64 bits is.
    const bool wow64 = sizeof(void*) == 4 && g_expectedBitness == 64;
    CHECK_EQ(processMachine, wow64 ? kImageFileMachineI386 : kImageFileMachineUnknown);
    CHECK_EQ(nativeMachine, g_expectedBitness == 64 ? kImageFileMachineAmd64 : kImageFileMachineI386);
  }
  CHECK_EQ(IsArm64System(system), false);
  CHECK_EQ(IsArm64System(), false);
}

CASE(LoadInstallContextWine_AsciiFileWithEveryKey) {
  CaseFolder folder;
  const std::vector<char> config = Ascii(
      "[ARGS]\r\nCaption=Label Printer Setup\r\nPrnName=Label Printer\r\nPrefix=LBL\r\nDefaultLanguage=ENG\r\n"
      "DefaultPorttype=USB\r\nPortMonitor=Label USB Monitor\r\nPortNamePrefix=LBUSB\r\n"
      "[SKIP]\r\nLanguage=1\r\nPort=0\r\nAutoInstall=2\r\n"
      "[usb]\r\nfiltervid=1A2B\r\nFilterPid=5E6F\r\nFilterUsbPort=\r\n"
      "[DATA]\r\nPaperName=Label 60x40\r\nDarkness=8\r\nx=y=z\r\n");
  Record r = LoadBeside(folder, &config);
  CHECK_EQ(r["installDir"], Dir(folder));
  CHECK_EQ(r["configPath"], Dir(folder) + u"\\config.ini");
  CHECK_EQ(r["caption"], u"Label Printer Setup");
  CHECK_EQ(r["printerBaseName"], u"Label Printer");
  CHECK_EQ(r["driverPrefix"], u"LBL");
  CHECK_EQ(r["defaultLanguage"], u"ENG");
  CHECK_EQ(r["defaultPortType"], u"USB");
  CHECK_EQ(r["portMonitorName"], u"Label USB Monitor");
  CHECK_EQ(r["portNamePrefix"], u"LBUSB");
  CHECK_EQ(r["skipLanguage"], u"1");
  CHECK_EQ(r["skipPort"], u"0");
  CHECK_EQ(r["autoInstall"], u"2");
  CHECK_EQ(r["filterVid"], u"1A2B");  // names match without regard to case
  CHECK_EQ(r["filterPid"], u"5E6F");
  CHECK_EQ(r["filterUsbPort"], u"");
  CHECK_EQ(r["setupDirName"], k64 ? u"SETUP64" : u"SETUP");
  CHECK_EQ(r["monitorDirName"], k64 ? u"MONITOR64" : u"MONITOR32");
  CHECK_EQ(r["languageCode"], u"CHN");
  CHECK_EQ(r["printerData"], std::u16string(u"PaperName=Label 60x40\0Darkness=8\0x=y=z\0\0", 40));
  CHECK_EQ(r.count(kTraceField), 0u);
}

CASE(LoadInstallContextWine_Utf16FileWithChineseValues) {
  CaseFolder folder;
  const std::vector<char> config = Utf16WithBom(
      u"[ARGS]\r\nCaption=标签打印机安装\r\nPrnName=标签打印机\r\nPrefix=LBL\r\nDefaultLanguage=CHN\r\n"
      u"[DATA]\r\n纸张=60x40 毫米\r\n浓度=8\r\n");
  Record r = LoadBeside(folder, &config);
  CHECK_EQ(r["caption"], u"标签打印机安装");
  CHECK_EQ(r["printerBaseName"], u"标签打印机");
  CHECK_EQ(r["driverPrefix"], u"LBL");
  CHECK_EQ(r["defaultLanguage"], u"CHN");
  CHECK_EQ(r["printerData"], std::u16string(u"纸张=60x40 毫米\0浓度=8\0\0", 18));
  CHECK_EQ(r["skipLanguage"], u"0");
}

CASE(LoadInstallContextWine_MissingFileGivesDefaults) {
  CaseFolder folder;
  Record r = LoadBeside(folder, nullptr);
  CHECK_EQ(r["installDir"], Dir(folder));
  for (const char* field : {"caption", "printerBaseName", "driverPrefix", "defaultLanguage", "defaultPortType",
                            "portMonitorName", "portNamePrefix", "filterVid", "filterPid", "filterUsbPort",
                            "printerData"}) {
    CHECK_EQ(r[field], u"");
  }
  for (const char* field : {"skipLanguage", "skipPort", "autoInstall"}) CHECK_EQ(r[field], u"0");
  CHECK_EQ(r["languageCode"], u"CHN");
  CHECK_EQ(r["setupDirName"], k64 ? u"SETUP64" : u"SETUP");
}

CASE(LoadInstallContextWine_MissingSectionsGiveDefaults) {
  CaseFolder folder;
  const std::vector<char> config = Ascii("[ARGS]\r\nPrefix=LBL\r\n[OTHER]\r\nLanguage=1\r\nFilterVid=1A2B\r\n");
  Record r = LoadBeside(folder, &config);
  CHECK_EQ(r["driverPrefix"], u"LBL");
  CHECK_EQ(r["caption"], u"");
  CHECK_EQ(r["skipLanguage"], u"0");
  CHECK_EQ(r["filterVid"], u"");
  CHECK_EQ(r["printerData"], u"");
}

CASE(LoadInstallContextWine_LongValueCutAndOversizedDataSectionTraced) {
  CaseFolder folder;
  // 3000 entries of 13 units ("K00000=value" and its NUL): 39000 units, past the 32768 buffer.
  std::string text = "[ARGS]\r\nCaption=" + std::string(300, 'c') + "\r\n[DATA]\r\n";
  for (int i = 0; i < 3000; ++i) {
    std::string digits = std::to_string(i);
    text += "K" + std::string(5 - digits.size(), '0') + digits + "=value\r\n";
  }
  const std::vector<char> config = Ascii(text);
  Record r = LoadBeside(folder, &config);
  CHECK_EQ(r["caption"], std::u16string(259, u'c'));
  const std::u16string& data = r["printerData"];
  CHECK_EQ(data.size(), 2520u * 13 + 1);  // the whole entries that fit; the cut one is not used
  if (data.size() > 2519 * 13) CHECK_EQ(data.substr(2519 * 13), std::u16string(u"K02519=value\0\0", 14));
  CHECK_EQ(r[kTraceField], u"Tollinder - DATA section larger than 32768 units, the entries past it are not used");
}

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wstring(argv[1]) == L"--load-context") return LoadContextInto(argv[2]);
  if (argc == 3 && std::wstring(argv[1]) == L"--expect-bitness") {
    g_expectedBitness = std::wcstol(argv[2], nullptr, 10);
    k64 = g_expectedBitness == 64;
  }
  return wcheck::RunAll();
}
