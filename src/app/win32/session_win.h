#pragma once
// What the entry asks of the session it runs in.
#include <windows.h>

#include "diag/win32/kernel_owners.h"

// False in a window station nobody sees (session 0, where services and deployment tools running
// as SYSTEM start the wizard): a box there would wait for ever.
bool WindowStationVisible();

// Machine-wide, one install at a time: a second wizard changes nothing and exits with 1618.
class InstallMutex {
 public:
  InstallMutex();
  InstallMutex(const InstallMutex&) = delete;
  InstallMutex& operator=(const InstallMutex&) = delete;
  // False when another wizard holds it (or it could not be made: then nothing is guarded, and
  // the install goes on rather than fail for a reason the user cannot act on).
  bool Taken() const { return taken_; }

 private:
  KernelHandle handle_;
  bool taken_ = false;
};
