#pragma once
#include "config/profile_reader.h"

class Win32ProfileReader : public ProfileReader {
 public:
  std::uint32_t GetPrivateProfileStringW(const std::u16string& appName, const std::u16string& keyName,
                                         const std::u16string& defaultValue, std::u16string& returned,
                                         std::uint32_t size, const std::u16string& fileName) override;
  std::uint32_t GetPrivateProfileIntW(const std::u16string& appName, const std::u16string& keyName,
                                      std::int32_t defaultValue, const std::u16string& fileName) override;
  std::uint32_t GetPrivateProfileSectionW(const std::u16string& appName, std::u16string& returned,
                                          std::uint32_t size, const std::u16string& fileName) override;
  std::uint32_t GetPrivateProfileSectionNamesW(std::u16string& returned, std::uint32_t size,
                                               const std::u16string& fileName) override;
};
