#pragma once
// One install at a time, machine-wide: a named mutex, kept where standard users cannot reach it.
// Where the system has private namespaces the mutex lives in one whose boundary holds the
// Administrators SID (only an elevated administrator may create or open it); elsewhere it is
// the old "Global\" name. A lock that cannot be taken, for whatever reason, is never passed
// over: the run then changes nothing.
#include <cstdint>
#include <string>

constexpr std::uint32_t kLockAlreadyExists = 183;  // ERROR_ALREADY_EXISTS
constexpr std::uint32_t kLockAccessDenied = 5;     // ERROR_ACCESS_DENIED

// The lock's names: the namespace (its alias prefix and boundary name), the mutex inside it, and
// the name used where there are no private namespaces.
constexpr char16_t kLockNamespace[] = u"PrinterSetup";
constexpr char16_t kNamespacedLockName[] = u"PrinterSetup\\Install";
constexpr char16_t kGlobalLockName[] = u"Global\\PrinterSetup.Install";

// The system calls of the lock; each answers with the call's error (0 for success). What they
// make stays held by the implementation for the life of the process.
class LockSystem {
 public:
  virtual ~LockSystem() = default;
  // A boundary descriptor holding the Administrators SID; false where the system has no private
  // namespaces (kernel32 lacks the calls, or cannot make the descriptor).
  virtual bool MakeAdministratorsBoundary() = 0;
  // CreatePrivateNamespaceW on that boundary, administrators and SYSTEM only: 0, kLockAlreadyExists, or the error.
  virtual std::uint32_t CreateNamespace() = 0;
  // OpenPrivateNamespaceW on that boundary: 0 or the error.
  virtual std::uint32_t OpenNamespace() = 0;
  // CreateMutexW: 0 when made by this call, kLockAlreadyExists when it was there (the handle
  // is kept all the same), or the error when there is no handle.
  virtual std::uint32_t MakeMutex(const std::u16string& name) = 0;
};

enum class LockVerdict { Taken, HeldElsewhere, Unavailable };

struct LockOutcome {
  LockVerdict verdict = LockVerdict::Unavailable;
  std::uint32_t code = 0;         // the failed call's error (HeldElsewhere: why it counts as held)
  bool privateNamespace = false;  // which lock was asked for
  bool operator==(const LockOutcome& o) const {
    return verdict == o.verdict && code == o.code && privateNamespace == o.privateNamespace;
  }
};

// Takes the lock: Taken, or why not. A namespace that another run made is opened instead; one
// that went away between the two calls is made again, a few times at most.
LockOutcome TakeInstallLock(LockSystem& system);

// What a run that did not get the lock says before it exits with 1618.
std::u16string LockRefusalText(const LockOutcome& outcome);
