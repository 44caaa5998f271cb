#include "diag/win32/diagnostics_win.h"

#include "diag/diagnostics.h"
#include "diag/win32/wide.h"

void Win32DebugOutput::OutputDebugStringW(const std::u16string& line) { ::OutputDebugStringW(W(line)); }

void Win32DebugOutput::OutputDebugStringA(const std::string& line) { ::OutputDebugStringA(line.c_str()); }

int Win32Dialogs::MessageBoxW(WindowHandle owner, const std::u16string& text,
                              const std::optional<std::u16string>& caption, std::uint32_t type) {
  return ::MessageBoxW(ToHwnd(owner), W(text), caption ? W(*caption) : nullptr, type);
}

void InstallWin32Diagnostics() {
  static Win32DebugOutput output;
  static Win32Dialogs dialogs;
  SetDebugOutput(&output);
  SetDialogs(&dialogs);
}
