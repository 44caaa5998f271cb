#pragma once
#include <windows.h>

#include "config/registry.h"

// HKEY_LOCAL_MACHINE through advapi32. osBitness 64: the 64-bit view (KEY_WOW64_64KEY), where a
// 32-bit process would otherwise land in WOW6432Node; 32: the system's one view.
class Win32Registry : public Registry {
 public:
  explicit Win32Registry(int osBitness);
  Status SetString(const std::u16string& key, const std::u16string& name, const std::u16string& text) override;
  Status SetStrings(const std::u16string& key, const std::u16string& name,
                    const std::vector<std::u16string>& texts) override;
  Read<std::vector<std::u16string>> Strings(const std::u16string& key, const std::u16string& name) override;
  Status DeleteValue(const std::u16string& key, const std::u16string& name) override;
  Status DeleteKey(const std::u16string& key) override;
  Read<RegistryKeyCounts> Counts(const std::u16string& key) override;

 private:
  REGSAM view_;
};
