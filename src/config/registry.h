#pragma once
// The machine's registry under HKEY_LOCAL_MACHINE, one method per operation. Keys are paths
// below HKLM ("SOFTWARE\\PrinterSetup"), in the one view the implementation was made for: the
// 64-bit view on 64-bit Windows, so that a 32-bit process writes where 64-bit tools read.
// Names of keys and values match without regard to case.
#include <cstdint>
#include <string>
#include <vector>

#include "diag/read.h"

constexpr std::uint32_t kRegistryNotFound = 2;       // ERROR_FILE_NOT_FOUND: no such key or value
constexpr std::uint32_t kRegistryAccessDenied = 5;   // ERROR_ACCESS_DENIED: also a key that has subkeys
constexpr std::uint32_t kRegistryInvalidData = 13;   // ERROR_INVALID_DATA: a value of another type

// What a key holds.
struct RegistryKeyCounts {
  std::uint32_t subkeys = 0;
  std::uint32_t values = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // A REG_SZ value; the key and the keys above it are created when missing.
  virtual Status SetString(const std::u16string& key, const std::u16string& name, const std::u16string& text) = 0;
  // A REG_MULTI_SZ value (no entry may be empty); the key is created as for SetString.
  virtual Status SetStrings(const std::u16string& key, const std::u16string& name,
                            const std::vector<std::u16string>& texts) = 0;
  // A REG_MULTI_SZ value's entries (a REG_SZ value reads as its one entry); kRegistryNotFound
  // when the key or the value is not there, kRegistryInvalidData for a value of another type.
  virtual Read<std::vector<std::u16string>> Strings(const std::u16string& key, const std::u16string& name) = 0;
  virtual Status DeleteValue(const std::u16string& key, const std::u16string& name) = 0;
  // A key without subkeys, with its values (a key with subkeys stays: kRegistryAccessDenied).
  virtual Status DeleteKey(const std::u16string& key) = 0;
  virtual Read<RegistryKeyCounts> Counts(const std::u16string& key) = 0;
};
