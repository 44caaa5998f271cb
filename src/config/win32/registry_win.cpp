#include "config/win32/registry_win.h"

#include <cstring>

#include "diag/win32/two_call.h"
#include "diag/win32/wide.h"

namespace {

// An open key, closed when it goes.
class OpenKey {
 public:
  OpenKey() = default;
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  ~OpenKey() {
    if (key_) RegCloseKey(key_);
  }
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

Status StatusOf(LSTATUS status) {
  return status == ERROR_SUCCESS ? Status{} : Status::Failed(static_cast<std::uint32_t>(status));
}

Status SetValue(REGSAM view, const std::u16string& key, const std::u16string& name, DWORD type,
                const std::u16string& data) {
  OpenKey opened;
  const LSTATUS created = RegCreateKeyExW(HKEY_LOCAL_MACHINE, W(key), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          KEY_SET_VALUE | view, nullptr, opened.out(), nullptr);
  if (created != ERROR_SUCCESS) return StatusOf(created);
  return StatusOf(RegSetValueExW(opened.get(), W(name), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                 static_cast<DWORD>(data.size() * sizeof(char16_t))));
}

// A value's units up to the entry that is empty (or the end): one entry a NUL.
std::vector<std::u16string> Entries(const BYTE* bytes, DWORD size, bool multiple) {
  std::u16string units(size / sizeof(char16_t), u'\0');
  if (!units.empty()) memcpy(&units[0], bytes, units.size() * sizeof(char16_t));
  std::vector<std::u16string> entries;
  std::size_t start = 0;
  while (start < units.size()) {
    std::size_t end = units.find(u'\0', start);
    if (end == std::u16string::npos) end = units.size();
    if (end == start) break;
    entries.push_back(units.substr(start, end - start));
    if (!multiple) break;
    start = end + 1;
  }
  return entries;
}

}  // namespace

Win32Registry::Win32Registry(int osBitness) : view_(osBitness == 64 ? KEY_WOW64_64KEY : 0) {}

Status Win32Registry::SetString(const std::u16string& key, const std::u16string& name, const std::u16string& text) {
  return SetValue(view_, key, name, REG_SZ, text + u'\0');
}

Status Win32Registry::SetStrings(const std::u16string& key, const std::u16string& name,
                                 const std::vector<std::u16string>& texts) {
  std::u16string data;
  for (const std::u16string& text : texts) {
    if (!text.empty()) data += text + u'\0';
  }
  // An empty list is still ended by two NULs, as every reader expects.
  if (data.empty()) data += u'\0';
  return SetValue(view_, key, name, REG_MULTI_SZ, data + u'\0');
}

Read<std::vector<std::u16string>> Win32Registry::Strings(const std::u16string& key, const std::u16string& name) {
  using Result = Read<std::vector<std::u16string>>;
  OpenKey opened;
  const LSTATUS status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(key), 0, KEY_QUERY_VALUE | view_, opened.out());
  if (status != ERROR_SUCCESS) return Result::Failed(ReadStage::SizeQueryFailed, static_cast<std::uint32_t>(status));
  DWORD type = REG_NONE;
  DWORD filled = 0;
  // The registry answers with its code, and a size query that succeeds: both are put the way
  // the loop takes them, a buffer too small as ERROR_INSUFFICIENT_BUFFER in the last-error value.
  auto query = [&](BYTE* buffer, DWORD size, DWORD* needed) -> BOOL {
    DWORD bytes = size;
    const LSTATUS answer = RegQueryValueExW(opened.get(), W(name), nullptr, &type, buffer, &bytes);
    if (answer == ERROR_SUCCESS && (buffer || bytes == 0)) {
      filled = bytes;
      return TRUE;
    }
    *needed = bytes;
    SetLastError(answer == ERROR_SUCCESS || answer == ERROR_MORE_DATA ? ERROR_INSUFFICIENT_BUFFER
                                                                      : static_cast<DWORD>(answer));
    return FALSE;
  };
  ByteBuffer buffer;
  DWORD code = 0;
  const ReadStage stage = FillBuffer(query, buffer, code);
  if (stage != ReadStage::Done && stage != ReadStage::SizeQuerySucceeded) return Result::Failed(stage, code);
  if (type != REG_MULTI_SZ && type != REG_SZ) return Result::Failed(ReadStage::FillFailed, ERROR_INVALID_DATA);
  if (stage == ReadStage::SizeQuerySucceeded) return Result::Of({});
  return Result::Of(Entries(buffer.get(), filled, type == REG_MULTI_SZ));
}

Status Win32Registry::DeleteValue(const std::u16string& key, const std::u16string& name) {
  OpenKey opened;
  const LSTATUS status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(key), 0, KEY_SET_VALUE | view_, opened.out());
  if (status != ERROR_SUCCESS) return StatusOf(status);
  return StatusOf(RegDeleteValueW(opened.get(), W(name)));
}

Status Win32Registry::DeleteKey(const std::u16string& key) {
  return StatusOf(RegDeleteKeyExW(HKEY_LOCAL_MACHINE, W(key), view_, 0));
}

Read<RegistryKeyCounts> Win32Registry::Counts(const std::u16string& key) {
  OpenKey opened;
  LSTATUS status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(key), 0, KEY_QUERY_VALUE | view_, opened.out());
  DWORD subkeys = 0;
  DWORD values = 0;
  if (status == ERROR_SUCCESS) {
    status = RegQueryInfoKeyW(opened.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                              nullptr, nullptr, nullptr);
  }
  if (status != ERROR_SUCCESS) {
    return Read<RegistryKeyCounts>::Failed(ReadStage::FillFailed, static_cast<std::uint32_t>(status));
  }
  return Read<RegistryKeyCounts>::Of({subkeys, values});
}
