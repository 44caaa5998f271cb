#pragma once
// What the entry asks of the session it runs in.
#include <windows.h>

#include "app/install_lock.h"
#include "diag/win32/kernel_owners.h"

// False in a window station nobody sees (session 0, where services and deployment tools running
// as SYSTEM start the wizard): a box there would wait for ever.
bool WindowStationVisible();

// Machine-wide, one install at a time (TakeInstallLock): a second wizard changes nothing and
// exits with 1618, and so does a run whose lock cannot be taken for any other reason. The
// namespace calls are looked up in kernel32 at run time: systems before Vista lack them.
class InstallMutex : public LockSystem {
 public:
  InstallMutex();
  ~InstallMutex() override;
  InstallMutex(const InstallMutex&) = delete;
  InstallMutex& operator=(const InstallMutex&) = delete;
  bool Taken() const { return outcome_.verdict == LockVerdict::Taken; }
  const LockOutcome& Outcome() const { return outcome_; }

  bool MakeAdministratorsBoundary() override;
  std::uint32_t CreateNamespace() override;
  std::uint32_t OpenNamespace() override;
  std::uint32_t MakeMutex(const std::u16string& name) override;

 private:
  using CreateBoundaryDescriptorFn = HANDLE(WINAPI*)(LPCWSTR, ULONG);
  using AddSidToBoundaryDescriptorFn = BOOL(WINAPI*)(HANDLE*, PSID);
  using DeleteBoundaryDescriptorFn = VOID(WINAPI*)(HANDLE);
  using CreatePrivateNamespaceFn = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LPVOID, LPCWSTR);
  using OpenPrivateNamespaceFn = HANDLE(WINAPI*)(LPVOID, LPCWSTR);
  using ClosePrivateNamespaceFn = BOOLEAN(WINAPI*)(HANDLE, ULONG);

  // Administrators and SYSTEM only, for the namespace and the mutex in it; null when it cannot be made.
  SECURITY_ATTRIBUTES* AdministratorsOnly();

  CreateBoundaryDescriptorFn createBoundary_ = nullptr;
  AddSidToBoundaryDescriptorFn addSid_ = nullptr;
  DeleteBoundaryDescriptorFn deleteBoundary_ = nullptr;
  CreatePrivateNamespaceFn createNamespace_ = nullptr;
  OpenPrivateNamespaceFn openNamespace_ = nullptr;
  ClosePrivateNamespaceFn closeNamespace_ = nullptr;
  HANDLE boundary_ = nullptr;
  HANDLE namespace_ = nullptr;
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
  SECURITY_ATTRIBUTES attributes_ = {};
  bool inNamespace_ = false;
  KernelHandle handle_;
  LockOutcome outcome_;
};
