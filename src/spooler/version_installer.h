#pragma once
// Version installation (version.dll).
#include <cstdint>
#include <string>

constexpr std::uint32_t kViffForceInstall = 0x0001;  // VIFF_FORCEINSTALL

class VersionInstaller {
 public:
  virtual ~VersionInstaller() = default;
  // tmpFile: a zeroed buffer of tmpFileLength units is passed; receives its text and the length
  // the call leaves. Returns the VIF_* flags, 0 when the file was installed.
  virtual std::uint32_t VerInstallFileW(std::uint32_t flags, const std::u16string& srcFileName,
                                        const std::u16string& destFileName, const std::u16string& srcDir,
                                        const std::u16string& destDir, const std::u16string& curDir,
                                        std::u16string& tmpFile, std::uint32_t& tmpFileLength) = 0;
};
