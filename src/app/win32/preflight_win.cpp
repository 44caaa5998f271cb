#include "app/win32/preflight_win.h"

#include <windows.h>

#include "diag/format.h"
#include "diag/win32/kernel_owners.h"
#include "diag/win32/system_library.h"
#include "diag/win32/two_call.h"
#include "diag/win32/wide.h"

namespace {

constexpr wchar_t kPrinterPolicies[] = L"SOFTWARE\\Policies\\Microsoft\\Windows NT\\Printers";

// A service-manager handle, closed with CloseServiceHandle.
class ServiceHandle {
 public:
  explicit ServiceHandle(SC_HANDLE handle) : handle_(handle) {}
  ~ServiceHandle() {
    if (handle_) CloseServiceHandle(handle_);
  }
  ServiceHandle(const ServiceHandle&) = delete;
  ServiceHandle& operator=(const ServiceHandle&) = delete;
  SC_HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  SC_HANDLE handle_;
};

class RegistryKey {
 public:
  RegistryKey(const wchar_t* path) {
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | KEY_WOW64_64KEY, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~RegistryKey() {
    if (key_) RegCloseKey(key_);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// "<key>\<name>=<value>" for each DWORD or string value of a policy key.
void PolicyValues(const wchar_t* subKey, std::vector<std::u16string>& values) {
  std::wstring path = kPrinterPolicies;
  if (*subKey) path += std::wstring(L"\\") + subKey;
  RegistryKey key(path.c_str());
  if (!key.get()) return;
  for (DWORD index = 0;; ++index) {
    wchar_t name[256] = {};
    DWORD nameLength = 256;
    DWORD type = 0;
    BYTE data[520] = {};
    DWORD size = sizeof data - sizeof(wchar_t);
    const LONG code = RegEnumValueW(key.get(), index, name, &nameLength, nullptr, &type, data, &size);
    if (code == ERROR_NO_MORE_ITEMS) break;
    if (code != ERROR_SUCCESS) continue;
    std::u16string value;
    if (type == REG_DWORD && size == sizeof(DWORD)) {
      value = FormatWide(16, u"%u", *reinterpret_cast<const DWORD*>(data));
    } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
      value = U16(reinterpret_cast<const wchar_t*>(data));
    } else {
      continue;
    }
    values.push_back((*subKey ? U16(subKey) + u"\\" : u"") + U16(name) + u"=" + value);
  }
}

bool PolicyTurnsProtectedPrintOn() {
  RegistryKey key((std::wstring(kPrinterPolicies) + L"\\WPP").c_str());
  DWORD value = 0, size = sizeof value, type = 0;
  return key.get() &&
         RegQueryValueExW(key.get(), L"WindowsProtectedPrintGroupPolicyState", nullptr, &type,
                          reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
         type == REG_DWORD && value == 1;
}

// IWindowsProtectedPrintInfoStatics: IInspectable, then get_IsProtectedPrintEnabled.
struct ProtectedPrintStatics {
  struct VTable {
    HRESULT(STDMETHODCALLTYPE* QueryInterface)(void*, const GUID&, void**);
    ULONG(STDMETHODCALLTYPE* AddRef)(void*);
    ULONG(STDMETHODCALLTYPE* Release)(void*);
    void* GetIids;
    void* GetRuntimeClassName;
    void* GetTrustLevel;
    HRESULT(STDMETHODCALLTYPE* get_IsProtectedPrintEnabled)(void*, unsigned char*);
  };
  const VTable* vtable;
};
constexpr GUID kProtectedPrintStaticsId = {0xa7d212f3, 0x4168, 0x5485, {0x98, 0xab, 0xd8, 0x9d, 0x04, 0x60, 0x3b, 0x40}};

// On, off, or the reason the class could not tell.
std::u16string AskWinRt(bool& on) {
  on = false;
  SystemLibrary combase(L"combase.dll");
  using RoInitializeFn = HRESULT(WINAPI*)(int);
  using RoUninitializeFn = void(WINAPI*)();
  using CreateStringFn = HRESULT(WINAPI*)(const wchar_t*, UINT32, void**);
  using DeleteStringFn = HRESULT(WINAPI*)(void*);
  using GetFactoryFn = HRESULT(WINAPI*)(void*, const GUID&, void**);
  const auto initialize = combase.Get<RoInitializeFn>("RoInitialize");
  const auto uninitialize = combase.Get<RoUninitializeFn>("RoUninitialize");
  const auto createString = combase.Get<CreateStringFn>("WindowsCreateString");
  const auto deleteString = combase.Get<DeleteStringFn>("WindowsDeleteString");
  const auto getFactory = combase.Get<GetFactoryFn>("RoGetActivationFactory");
  if (!initialize || !uninitialize || !createString || !deleteString || !getFactory) return u"no WinRT";
  const HRESULT initialized = initialize(1);  // RO_INIT_MULTITHREADED
  static const wchar_t kClass[] = L"Windows.Graphics.Printing.ProtectedPrint.WindowsProtectedPrintInfo";
  void* name = nullptr;
  std::u16string how = u"WinRT";
  if (SUCCEEDED(createString(kClass, static_cast<UINT32>(wcslen(kClass)), &name))) {
    void* factory = nullptr;
    const HRESULT got = getFactory(name, kProtectedPrintStaticsId, &factory);
    if (SUCCEEDED(got) && factory) {
      auto* statics = static_cast<ProtectedPrintStatics*>(factory);
      unsigned char enabled = 0;  // a WinRT boolean is one byte
      if (SUCCEEDED(statics->vtable->get_IsProtectedPrintEnabled(statics, &enabled))) on = enabled != 0;
      statics->vtable->Release(statics);
    } else {
      // Not registered: a Windows before 24H2, where the mode does not exist.
      how = FormatWide(64, u"WinRT class not available, 0x%08X", static_cast<std::uint32_t>(got));
    }
    deleteString(name);
  }
  if (SUCCEEDED(initialized)) uninitialize();
  return how;
}

// The first build with protected print mode: Windows 11 24H2.
constexpr DWORD kProtectedPrintBuild = 26100;

OSVERSIONINFOW WindowsVersionInfo() {
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto get = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (!get || get(&info) != 0) info = {};
  return info;
}

}  // namespace

ServiceState Win32SpoolerService::Query() {
  ServiceState state;
  ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return {Status::Failed(GetLastError()), ServiceStart::Other, ServiceRun::Running, 0};
  ServiceHandle service(OpenServiceW(manager.get(), L"Spooler", SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS));
  if (!service) return {Status::Failed(GetLastError()), ServiceStart::Other, ServiceRun::Running, 0};
  const Read<DWORD> startType = ReadWithBuffer<DWORD>(
      [&](BYTE* buffer, DWORD size, DWORD* needed) {
        return QueryServiceConfigW(service.get(), reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer), size, needed);
      },
      [](const BYTE* buffer, DWORD) { return reinterpret_cast<const QUERY_SERVICE_CONFIGW*>(buffer)->dwStartType; });
  if (startType && startType.value == SERVICE_DISABLED) state.start = ServiceStart::Disabled;
  SERVICE_STATUS_PROCESS status = {};
  DWORD needed = 0;
  if (!QueryServiceStatusEx(service.get(), SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status,
                            &needed)) {
    return {Status::Failed(GetLastError()), state.start, ServiceRun::Running, 0};
  }
  state.run = status.dwCurrentState == SERVICE_RUNNING   ? ServiceRun::Running
              : status.dwCurrentState == SERVICE_STOPPED ? ServiceRun::Stopped
                                                         : ServiceRun::Pending;
  state.waitHintMs = status.dwWaitHint;
  return state;
}

Status Win32SpoolerService::Start() {
  ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return Status::Failed(GetLastError());
  ServiceHandle service(OpenServiceW(manager.get(), L"Spooler", SERVICE_START));
  if (!service) return Status::Failed(GetLastError());
  if (StartServiceW(service.get(), 0, nullptr)) return {};
  const DWORD code = GetLastError();
  // Another start came first: as good as ours.
  return code == ERROR_SERVICE_ALREADY_RUNNING ? Status{} : Status::Failed(code);
}

std::uint64_t Win32Pause::NowMs() { return GetTickCount64(); }

void Win32Pause::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

SystemFacts Win32SystemProbe::Facts() {
  SystemFacts facts;
  const OSVERSIONINFOW version = WindowsVersionInfo();
  facts.windowsVersion = version.dwMajorVersion
                             ? FormatWide(64, u"%u.%u.%u", version.dwMajorVersion, version.dwMinorVersion,
                                          version.dwBuildNumber)
                             : u"unknown";
  HANDLE token = nullptr;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
    KernelHandle owner(token);
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    // A system without elevation (UAC off, or before Vista) cannot tell: take the token as it is.
    if (GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size)) {
      facts.elevated = elevation.TokenIsElevated != 0;
    }
    const Read<bool> system = ReadWithBuffer<bool>(
        [&](BYTE* buffer, DWORD bufferSize, DWORD* needed) {
          return GetTokenInformation(token, TokenUser, buffer, bufferSize, needed);
        },
        [](const BYTE* buffer, DWORD) {
          return IsWellKnownSid(reinterpret_cast<const TOKEN_USER*>(buffer)->User.Sid, WinLocalSystemSid) != FALSE;
        });
    facts.system = system && system.value;
  }
  if (facts.system) {
    facts.account = u"SYSTEM";
  } else {
    wchar_t name[257] = {};
    DWORD length = 257;
    facts.account = GetUserNameW(name, &length) ? U16(name) : u"unknown";
  }
  bool winRt = false;
  // Loading WinRT costs a run tens of milliseconds; a Windows before 24H2 has no such mode.
  const bool mayHaveIt = version.dwMajorVersion > 10 ||
                         (version.dwMajorVersion == 10 && version.dwBuildNumber >= kProtectedPrintBuild);
  const std::u16string how = mayHaveIt ? AskWinRt(winRt) : u"not asked: Windows before 11 24H2";
  const bool policy = PolicyTurnsProtectedPrintOn();
  facts.protectedPrint = winRt || policy;
  facts.protectedPrintSource = policy ? u"policy WindowsProtectedPrintGroupPolicyState=1, " + how : how;
  PolicyValues(L"", facts.policyValues);
  PolicyValues(L"PointAndPrint", facts.policyValues);
  PolicyValues(L"WPP", facts.policyValues);
  return facts;
}
