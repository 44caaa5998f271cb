#include "config/win32/module_path_win.h"

#include <shlwapi.h>

#include <vector>

#include "diag/win32/wide.h"

std::uint32_t Win32ModulePath::GetModuleFileNameW(std::u16string& filename, std::uint32_t size) {
  // One unit more than offered: older systems leave a path that fills the buffer unterminated.
  std::vector<wchar_t> buffer(size + 1, L'\0');
  DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), size);
  if (length > size) length = size;
  filename.assign(reinterpret_cast<const char16_t*>(buffer.data()), length);
  return length;
}

bool Win32ModulePath::PathRemoveFileSpecW(std::u16string& path) {
  std::vector<wchar_t> buffer(path.size() + 1, L'\0');
  path.copy(reinterpret_cast<char16_t*>(buffer.data()), path.size());
  BOOL removed = ::PathRemoveFileSpecW(buffer.data());
  path = U16(buffer.data());
  return removed != FALSE;
}
