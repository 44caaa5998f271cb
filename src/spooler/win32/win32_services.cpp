#include "spooler/win32/win32_services.h"

#include <shellapi.h>
#include <shlwapi.h>
#include <winver.h>

#include <algorithm>
#include <vector>

#include "diag/win32/kernel_owners.h"
#include "diag/win32/wide.h"

namespace {
constexpr LONGLONG kLargestFileRead = 64LL << 20;
const wchar_t* WOrNull(const std::optional<std::u16string>& text) { return text ? W(*text) : nullptr; }
}  // namespace

Win32VersionInstaller::Win32VersionInstaller()
    : library_(L"version.dll"), verInstallFile_(library_.Get<VerInstallFileFn>("VerInstallFileW")) {}

std::uint32_t Win32VersionInstaller::VerInstallFileW(std::uint32_t flags, const std::u16string& srcFileName,
                                                     const std::u16string& destFileName, const std::u16string& srcDir,
                                                     const std::u16string& destDir, const std::u16string& curDir,
                                                     std::u16string& tmpFile, std::uint32_t& tmpFileLength) {
  if (!verInstallFile_) {
    ::SetLastError(ERROR_PROC_NOT_FOUND);
    return VIF_CANNOTREADSRC;
  }
  std::vector<wchar_t> temp(tmpFileLength + 1, L'\0');
  UINT length = tmpFileLength;
  DWORD result = verInstallFile_(flags, W(srcFileName), W(destFileName), W(srcDir), W(destDir), W(curDir),
                                 temp.data(), &length);
  tmpFileLength = length;
  tmpFile = U16(temp.data());
  return result;
}

std::uint32_t Win32FileSystem::GetSystemDirectoryW(std::u16string& directory, std::uint32_t capacity) {
  std::vector<wchar_t> buffer(capacity + 1, L'\0');
  UINT result = ::GetSystemDirectoryW(buffer.data(), capacity);
  directory = U16(buffer.data());
  return result;
}

bool Win32FileSystem::PathFileExistsW(const std::u16string& path) { return ::PathFileExistsW(W(path)) != FALSE; }

bool Win32FileSystem::CopyFileW(const std::u16string& existingFile, const std::u16string& newFile, bool failIfExists) {
  return ::CopyFileW(W(existingFile), W(newFile), failIfExists ? TRUE : FALSE) != FALSE;
}

Read<std::vector<std::uint8_t>> Win32FileSystem::ReadBytes(const std::u16string& path) {
  using Result = Read<std::vector<std::uint8_t>>;
  KernelHandle file(::CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return Result::Failed(ReadStage::SizeQueryFailed, ::GetLastError());
  LARGE_INTEGER size = {};
  if (!::GetFileSizeEx(file.get(), &size)) return Result::Failed(ReadStage::SizeQueryFailed, ::GetLastError());
  // A driver file is a few megabytes: a larger one is not read into this 32-bit process.
  if (size.QuadPart > kLargestFileRead) return Result::Failed(ReadStage::NoMemory, ERROR_NOT_ENOUGH_MEMORY);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
    if (!::ReadFile(file.get(), bytes.data() + done, ask, &got, nullptr)) {
      return Result::Failed(ReadStage::FillFailed, ::GetLastError());
    }
    if (got == 0) break;  // shorter than its size said: what is there is the file
    done += got;
  }
  bytes.resize(done);
  return Result::Of(std::move(bytes));
}

Status Win32FileSystem::WriteBytes(const std::u16string& path, const std::vector<std::uint8_t>& bytes) {
  KernelHandle file(::CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return Status::Failed(::GetLastError());
  DWORD written = 0;
  if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    return Status::Failed(::GetLastError());
  }
  return {};
}

Status Win32Shell::ShellExecuteExW(ShellExecuteInfo& info) {
  SHELLEXECUTEINFOW shell = {};
  shell.cbSize = sizeof(shell);
  shell.fMask = info.fMask;
  shell.hwnd = ToHwnd(info.hwnd);
  shell.lpVerb = WOrNull(info.lpVerb);
  shell.lpFile = W(info.lpFile);
  shell.lpParameters = WOrNull(info.lpParameters);
  shell.lpDirectory = WOrNull(info.lpDirectory);
  shell.nShow = info.nShow;
  if (!::ShellExecuteExW(&shell)) {
    info.hProcess = 0;
    return Status::Failed(::GetLastError());
  }
  info.hProcess = reinterpret_cast<ProcessHandle>(shell.hProcess);
  return {};
}

namespace {

// Dispatches what the queue holds; remembers a WM_QUIT instead of acting on it.
void DispatchQueued(bool& quit, int& quitCode) {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      quit = true;
      quitCode = static_cast<int>(message.wParam);
      continue;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

}  // namespace

DWORD WaitPumpingMessages(HANDLE handle, DWORD milliseconds) {
  const ULONGLONG start = ::GetTickCount64();
  bool quit = false;
  int quitCode = 0;
  DWORD result = WAIT_FAILED;
  for (;;) {
    // MsgWaitForMultipleObjects wakes only for messages new since the queue was last looked at:
    // the queue is emptied before every wait so that none sits there unseen.
    DispatchQueued(quit, quitCode);
    DWORD remaining = INFINITE;
    if (milliseconds != INFINITE) {
      const ULONGLONG elapsed = ::GetTickCount64() - start;
      remaining = elapsed >= milliseconds ? 0 : static_cast<DWORD>(milliseconds - elapsed);
    }
    const DWORD woken = ::MsgWaitForMultipleObjects(1, &handle, FALSE, remaining, QS_ALLINPUT);
    if (woken == WAIT_OBJECT_0 + 1) {
      // A message, not the handle: once the limit has passed, the handle decides alone.
      if (remaining == 0) {
        result = ::WaitForSingleObject(handle, 0);
        break;
      }
      continue;
    }
    result = woken;
    break;
  }
  // The main loop must still see the quit it was asked for.
  if (quit) ::PostQuitMessage(quitCode);
  return result;
}

std::uint32_t Win32Shell::WaitForSingleObject(ProcessHandle handle, std::uint32_t milliseconds) {
  return WaitPumpingMessages(reinterpret_cast<HANDLE>(handle), milliseconds);
}

bool Win32Shell::CloseHandle(ProcessHandle handle) { return ::CloseHandle(reinterpret_cast<HANDLE>(handle)) != FALSE; }
