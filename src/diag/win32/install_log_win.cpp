#include "diag/win32/install_log_win.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "diag/win32/kernel_owners.h"
#include "diag/win32/wide.h"

namespace {

class Win32LogFile : public LogFile {
 public:
  explicit Win32LogFile(KernelHandle file) : file_(std::move(file)) {}

  bool Append(const std::string& utf8Line) override {
    // One write a line: with FILE_APPEND_DATA each write lands whole at the end, even when
    // another run appends to the same log at the same time.
    std::string data = utf8Line + "\r\n";
    if (data.size() > MAXDWORD) return false;
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(data.size());
    return WriteFile(file_.get(), data.data(), size, &written, nullptr) && written == size;
  }

 private:
  KernelHandle file_;
};

bool IsFolder(const std::u16string& path) {
  DWORD attributes = GetFileAttributesW(W(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::u16string> ShellCommonAppData() {
  wchar_t folder[MAX_PATH] = {};  // the size SHGetFolderPathW is documented to fill
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
    return std::nullopt;
  }
  folder[MAX_PATH - 1] = L'\0';
  std::u16string path = U16(folder);
  if (path.empty()) return std::nullopt;
  return path;
}

std::optional<std::u16string> EnvironmentProgramData() {
  DWORD needed = GetEnvironmentVariableW(L"ProgramData", nullptr, 0);
  if (needed == 0) return std::nullopt;
  std::vector<wchar_t> buffer(needed + 1, L'\0');
  DWORD length = GetEnvironmentVariableW(L"ProgramData", buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length == 0 || length >= buffer.size()) return std::nullopt;
  return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), length);
}

}  // namespace

LocalTime Win32Clock::Now() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

std::unique_ptr<LogFile> OpenWin32LogFile(const std::u16string& path) {
  if (path.empty()) return nullptr;
  // A link planted under the log's name is opened as itself, not followed, and refused below.
  KernelHandle file(CreateFileW(W(path), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) return nullptr;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool plainFile = GetFileInformationByHandle(file.get(), &info) &&
                         !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
                         info.nNumberOfLinks <= 1;
  if (!plainFile) return nullptr;
  return std::make_unique<Win32LogFile>(std::move(file));
}

bool CreateWin32FoldersOf(const std::u16string& filePath) {
  const std::vector<std::u16string> chain = FolderChain(filePath);
  // A level that exists, or cannot be made, is left to the check at the end: only whether the
  // file's own folder is there counts.
  for (const std::u16string& folder : chain) CreateDirectoryW(W(folder), nullptr);
  return chain.empty() || IsFolder(chain.back());
}

std::optional<std::u16string> Win32DefaultInstallLogPath() {
  std::optional<std::u16string> programData = ShellCommonAppData();
  if (!programData) programData = EnvironmentProgramData();
  if (!programData) return std::nullopt;
  return InstallLogPathUnder(*programData);
}
