#include "app/install_lock.h"

#include "diag/format.h"

namespace {

constexpr int kNamespaceAttempts = 3;

LockOutcome MutexVerdict(std::uint32_t code, bool privateNamespace) {
  if (code == 0) return {LockVerdict::Taken, 0, privateNamespace};
  // Made by another account whose wizard still runs: it exists, so it is held.
  if (code == kLockAlreadyExists || code == kLockAccessDenied) return {LockVerdict::HeldElsewhere, code, privateNamespace};
  // A squatter's object of another type under the name (ERROR_INVALID_HANDLE), or any other
  // failure: nothing guards this run, so it must not go on.
  return {LockVerdict::Unavailable, code, privateNamespace};
}

}  // namespace

LockOutcome TakeInstallLock(LockSystem& system) {
  if (!system.MakeAdministratorsBoundary()) return MutexVerdict(system.MakeMutex(kGlobalLockName), false);
  std::uint32_t code = 0;
  for (int attempt = 0; attempt < kNamespaceAttempts; ++attempt) {
    code = system.CreateNamespace();
    if (code != 0 && code != kLockAlreadyExists) break;
    if (code == kLockAlreadyExists) code = system.OpenNamespace();
    if (code == 0) return MutexVerdict(system.MakeMutex(kNamespacedLockName), true);
    // Another run's namespace went away between the two calls: make it again.
  }
  return {LockVerdict::Unavailable, code, true};
}

std::u16string LockRefusalText(const LockOutcome& outcome) {
  if (outcome.verdict == LockVerdict::HeldElsewhere) {
    return u"Another printer installation is running. Nothing was changed.";
  }
  return FormatWide(192, u"The lock that keeps installations apart cannot be taken (error %u). Nothing was changed.",
                    outcome.code);
}
