#pragma once
// FileProbe on the Windows file system.
#include "config/config_file.h"

class Win32FileProbe : public FileProbe {
 public:
  FileOpening OpenForReading(const std::u16string& path) override;
  std::optional<FileIdentity> Identity(const std::u16string& path) override;
  std::u16string FullPath(const std::u16string& path) override;
};
