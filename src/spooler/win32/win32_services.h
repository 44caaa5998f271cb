#pragma once
// Version installation (version.dll, loaded from the system directory), the file calls and the
// shell: one method per platform call.
#include <windows.h>

#include "diag/win32/system_library.h"
#include "spooler/file_system.h"
#include "spooler/shell.h"
#include "spooler/version_installer.h"

class Win32VersionInstaller : public VersionInstaller {
 public:
  Win32VersionInstaller();
  // Without version.dll: VIF_CANNOTREADSRC and the last-error value 127.
  std::uint32_t VerInstallFileW(std::uint32_t flags, const std::u16string& srcFileName,
                                const std::u16string& destFileName, const std::u16string& srcDir,
                                const std::u16string& destDir, const std::u16string& curDir, std::u16string& tmpFile,
                                std::uint32_t& tmpFileLength) override;

 private:
  using VerInstallFileFn = DWORD(WINAPI*)(DWORD, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, LPWSTR, PUINT);
  SystemLibrary library_;
  VerInstallFileFn verInstallFile_;
};

class Win32FileSystem : public FileSystem {
 public:
  std::uint32_t GetSystemDirectoryW(std::u16string& directory, std::uint32_t capacity) override;
  bool PathFileExistsW(const std::u16string& path) override;
  bool CopyFileW(const std::u16string& existingFile, const std::u16string& newFile, bool failIfExists) override;
  Read<std::vector<std::uint8_t>> ReadBytes(const std::u16string& path) override;
  Status WriteBytes(const std::u16string& path, const std::vector<std::uint8_t>& bytes) override;
};

// Waits for the handle while dispatching the calling thread's messages, so that its windows
// keep answering while a tool runs (WAIT_OBJECT_0, WAIT_TIMEOUT once the limit has passed, or
// WAIT_FAILED). A WM_QUIT taken off the queue meanwhile is posted again when the wait ends.
DWORD WaitPumpingMessages(HANDLE handle, DWORD milliseconds);

class Win32Shell : public Shell {
 public:
  Status ShellExecuteExW(ShellExecuteInfo& info) override;
  // WaitPumpingMessages: the wizard's window stays alive while the tool runs.
  std::uint32_t WaitForSingleObject(ProcessHandle handle, std::uint32_t milliseconds) override;
  bool CloseHandle(ProcessHandle handle) override;
};
