#pragma once
// The platform's INI reader, one method per call. Section and key names match without regard to case.
#include <cstdint>
#include <string>

class ProfileReader {
 public:
  virtual ~ProfileReader() = default;
  // returned: the value, cut by the reader to size - 1 units; the result is its length.
  virtual std::uint32_t GetPrivateProfileStringW(const std::u16string& appName, const std::u16string& keyName,
                                                 const std::u16string& defaultValue, std::u16string& returned,
                                                 std::uint32_t size, const std::u16string& fileName) = 0;
  virtual std::uint32_t GetPrivateProfileIntW(const std::u16string& appName, const std::u16string& keyName,
                                              std::int32_t defaultValue, const std::u16string& fileName) = 0;
  // returned: the size-unit buffer as the call left it (entries each ended by NUL, then an empty one).
  // The result counts the units written before the final terminator; size - 2 means the section did
  // not fit and its last entry was cut.
  virtual std::uint32_t GetPrivateProfileSectionW(const std::u16string& appName, std::u16string& returned,
                                                  std::uint32_t size, const std::u16string& fileName) = 0;
  // The file's section names in its order, as GetPrivateProfileSectionW gives entries.
  virtual std::uint32_t GetPrivateProfileSectionNamesW(std::u16string& returned, std::uint32_t size,
                                                       const std::u16string& fileName) = 0;
};
