#include "config/win32/profile_reader_win.h"

#include <vector>

#include "diag/win32/wide.h"

std::uint32_t Win32ProfileReader::GetPrivateProfileStringW(const std::u16string& appName,
                                                           const std::u16string& keyName,
                                                           const std::u16string& defaultValue,
                                                           std::u16string& returned, std::uint32_t size,
                                                           const std::u16string& fileName) {
  std::vector<wchar_t> buffer(size + 1, L'\0');
  DWORD length = ::GetPrivateProfileStringW(W(appName), W(keyName), W(defaultValue), buffer.data(), size,
                                            W(fileName));
  if (length > size) length = size;
  returned.assign(reinterpret_cast<const char16_t*>(buffer.data()), length);
  return length;
}

std::uint32_t Win32ProfileReader::GetPrivateProfileIntW(const std::u16string& appName,
                                                        const std::u16string& keyName, std::int32_t defaultValue,
                                                        const std::u16string& fileName) {
  return ::GetPrivateProfileIntW(W(appName), W(keyName), defaultValue, W(fileName));
}

std::uint32_t Win32ProfileReader::GetPrivateProfileSectionW(const std::u16string& appName,
                                                            std::u16string& returned, std::uint32_t size,
                                                            const std::u16string& fileName) {
  std::vector<wchar_t> buffer(size, L'\0');
  DWORD count = ::GetPrivateProfileSectionW(W(appName), buffer.data(), size, W(fileName));
  returned.assign(reinterpret_cast<const char16_t*>(buffer.data()), buffer.size());
  return count;
}

std::uint32_t Win32ProfileReader::GetPrivateProfileSectionNamesW(std::u16string& returned, std::uint32_t size,
                                                                 const std::u16string& fileName) {
  std::vector<wchar_t> buffer(size, L'\0');
  DWORD count = ::GetPrivateProfileSectionNamesW(buffer.data(), size, W(fileName));
  returned.assign(reinterpret_cast<const char16_t*>(buffer.data()), buffer.size());
  return count;
}
