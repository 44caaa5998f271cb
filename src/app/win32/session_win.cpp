#include "app/win32/session_win.h"

bool WindowStationVisible() {
  USEROBJECTFLAGS flags = {};
  DWORD needed = 0;
  HWINSTA station = GetProcessWindowStation();
  // Unknown counts as visible: the interactive run is what the wizard did before it could tell.
  if (!station || !GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof(flags), &needed)) return true;
  return (flags.dwFlags & WSF_VISIBLE) != 0;
}

InstallMutex::InstallMutex() {
  // "Global\" reaches across sessions: a user's wizard and a deployment's in session 0 meet here.
  handle_.reset(CreateMutexW(nullptr, FALSE, L"Global\\PrinterSetup.Install"));
  if (!handle_) {
    // Made by another account whose wizard still runs: it exists, so it is held.
    taken_ = GetLastError() != ERROR_ACCESS_DENIED;
    return;
  }
  taken_ = GetLastError() != ERROR_ALREADY_EXISTS;
}
