#pragma once
// Starting a tool through the shell and waiting for it (shell32, kernel32).
#include <cstdint>
#include <optional>
#include <string>

#include "diag/dialogs.h"
#include "diag/read.h"
#include "diag/scoped_handle.h"

// A process handle; 0 is "none".
using ProcessHandle = std::uintptr_t;

constexpr std::uint32_t kSeeMaskNoCloseProcess = 0x00000040;  // SEE_MASK_NOCLOSEPROCESS
constexpr std::uint32_t kSeeMaskFlagNoUi = 0x00000400;        // SEE_MASK_FLAG_NO_UI
constexpr std::int32_t kSwHide = 0;                           // SW_HIDE
constexpr std::uint32_t kInfinite = 0xFFFFFFFF;               // INFINITE

// SHELLEXECUTEINFOW with the members this program sets; cbSize is the layer's. Optional texts:
// no value is null.
struct ShellExecuteInfo {
  std::uint32_t fMask = 0;
  WindowHandle hwnd = 0;
  std::optional<std::u16string> lpVerb;
  std::u16string lpFile;
  std::optional<std::u16string> lpParameters;
  std::optional<std::u16string> lpDirectory;
  std::int32_t nShow = 0;
  // Out: the started process when fMask asks for it.
  ProcessHandle hProcess = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // Failed with the shell's error when nothing was started.
  virtual Status ShellExecuteExW(ShellExecuteInfo& info) = 0;
  virtual std::uint32_t WaitForSingleObject(ProcessHandle handle, std::uint32_t milliseconds) = 0;
  virtual bool CloseHandle(ProcessHandle handle) = 0;
};

// A started tool's process handle, closed with CloseHandle when its owner's scope ends.
using ScopedProcessHandle = ScopedHandle<Shell, ProcessHandle, &Shell::CloseHandle>;
