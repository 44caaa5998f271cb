#include "app/win32/session_win.h"

#include <sddl.h>

#include "diag/win32/wide.h"

bool WindowStationVisible() {
  USEROBJECTFLAGS flags = {};
  DWORD needed = 0;
  HWINSTA station = GetProcessWindowStation();
  // Unknown counts as visible: the interactive run is what the wizard did before it could tell.
  if (!station || !GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof(flags), &needed)) return true;
  return (flags.dwFlags & WSF_VISIBLE) != 0;
}

namespace {

template <class Fn>
Fn Lookup(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace

InstallMutex::InstallMutex() {
  HMODULE kernel = GetModuleHandleW(L"kernel32");
  createBoundary_ = Lookup<CreateBoundaryDescriptorFn>(kernel, "CreateBoundaryDescriptorW");
  addSid_ = Lookup<AddSidToBoundaryDescriptorFn>(kernel, "AddSIDToBoundaryDescriptor");
  deleteBoundary_ = Lookup<DeleteBoundaryDescriptorFn>(kernel, "DeleteBoundaryDescriptor");
  createNamespace_ = Lookup<CreatePrivateNamespaceFn>(kernel, "CreatePrivateNamespaceW");
  openNamespace_ = Lookup<OpenPrivateNamespaceFn>(kernel, "OpenPrivateNamespaceW");
  closeNamespace_ = Lookup<ClosePrivateNamespaceFn>(kernel, "ClosePrivateNamespace");
  outcome_ = TakeInstallLock(*this);
}

InstallMutex::~InstallMutex() {
  // The mutex first: the namespace it lives in may go once the last handle to it is closed.
  handle_.reset();
  if (namespace_ && closeNamespace_) closeNamespace_(namespace_, 0);
  if (boundary_ && deleteBoundary_) deleteBoundary_(boundary_);
  if (descriptor_) LocalFree(descriptor_);
}

bool InstallMutex::MakeAdministratorsBoundary() {
  if (!createBoundary_ || !addSid_ || !deleteBoundary_ || !createNamespace_ || !openNamespace_ || !closeNamespace_) {
    return false;
  }
  boundary_ = createBoundary_(L"PrinterSetup", 0);
  if (!boundary_) return false;  // the calls are there but do nothing (Wine)
  BYTE sid[SECURITY_MAX_SID_SIZE] = {};
  DWORD sidSize = sizeof(sid);
  if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &sidSize) || !addSid_(&boundary_, sid)) {
    deleteBoundary_(boundary_);
    boundary_ = nullptr;
    return false;
  }
  return true;
}

SECURITY_ATTRIBUTES* InstallMutex::AdministratorsOnly() {
  if (!descriptor_ &&
      !ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;GA;;;BA)(A;;GA;;;SY)", SDDL_REVISION_1,
                                                            &descriptor_, nullptr)) {
    descriptor_ = nullptr;
    return nullptr;
  }
  attributes_.nLength = sizeof(attributes_);
  attributes_.lpSecurityDescriptor = descriptor_;
  attributes_.bInheritHandle = FALSE;
  return &attributes_;
}

std::uint32_t InstallMutex::CreateNamespace() {
  SECURITY_ATTRIBUTES* attributes = AdministratorsOnly();
  if (!attributes) return GetLastError();
  namespace_ = createNamespace_(attributes, boundary_, W(kLockNamespace));
  if (namespace_) {
    inNamespace_ = true;
    return 0;
  }
  return GetLastError();
}

std::uint32_t InstallMutex::OpenNamespace() {
  namespace_ = openNamespace_(boundary_, W(kLockNamespace));
  if (namespace_) {
    inNamespace_ = true;
    return 0;
  }
  return GetLastError();
}

std::uint32_t InstallMutex::MakeMutex(const std::u16string& name) {
  // Inside the namespace the mutex is guarded as the namespace is; the global name keeps the
  // system's default, as it always had.
  SECURITY_ATTRIBUTES* attributes = inNamespace_ ? AdministratorsOnly() : nullptr;
  handle_.reset(CreateMutexW(attributes, FALSE, W(name)));
  const DWORD code = GetLastError();
  if (!handle_) return code ? code : ERROR_INVALID_HANDLE;
  return code == ERROR_ALREADY_EXISTS ? kLockAlreadyExists : 0;
}
