#pragma once
#include "diag/debug_output.h"
#include "diag/dialogs.h"

class Win32DebugOutput : public DebugOutput {
 public:
  void OutputDebugStringW(const std::u16string& line) override;
  void OutputDebugStringA(const std::string& line) override;
};

class Win32Dialogs : public Dialogs {
 public:
  int MessageBoxW(WindowHandle owner, const std::u16string& text,
                  const std::optional<std::u16string>& caption, std::uint32_t type) override;
};

// Installs the Win32 trace and box sinks for the whole process.
void InstallWin32Diagnostics();
