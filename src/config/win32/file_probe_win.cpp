#include "config/win32/file_probe_win.h"

#include <windows.h>

#include <vector>

#include "diag/win32/kernel_owners.h"
#include "diag/win32/wide.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool IsMissing(DWORD code) { return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND; }

}  // namespace

FileOpening Win32FileProbe::OpenForReading(const std::u16string& path) {
  const DWORD attributes = GetFileAttributesW(W(path));
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD code = GetLastError();
    if (IsMissing(code)) return {FileOpening::Kind::Missing, code};
  } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    return {FileOpening::Kind::Folder, 0};
  }
  // Shared with everyone: only a process that holds the file exclusively keeps this out, as it
  // would keep out the profile reader.
  KernelHandle file(CreateFileW(W(path), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD code = GetLastError();
    return {IsMissing(code) ? FileOpening::Kind::Missing : FileOpening::Kind::Failed, code};
  }
  if (GetFileType(file.get()) != FILE_TYPE_DISK) return {FileOpening::Kind::Device, 0};
  return {FileOpening::Kind::DiskFile, 0};
}

std::optional<FileIdentity> Win32FileProbe::Identity(const std::u16string& path) {
  // No access asked for: attributes and identity only, even of a file someone holds open.
  KernelHandle file(CreateFileW(W(path), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info = {};
  if (!GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
  FileIdentity identity;
  identity.volume = info.dwVolumeSerialNumber;
  identity.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return identity;
}

std::u16string Win32FileProbe::FullPath(const std::u16string& path) {
  DWORD size = GetFullPathNameW(W(path), 0, nullptr, nullptr);
  // The current folder may change between the calls: ask again while the result grows.
  for (int attempt = 0; size > 0 && attempt < 4; ++attempt) {
    std::vector<wchar_t> buffer(size, L'\0');
    const DWORD length = GetFullPathNameW(W(path), size, buffer.data(), nullptr);
    if (length == 0) break;
    if (length < size) return U16(buffer.data());
    size = length;
  }
  return path;
}
