#pragma once
// The few file-system calls of the driver install (kernel32, shlwapi).
#include <cstdint>
#include <string>
#include <vector>

#include "diag/read.h"

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // A buffer of capacity units; returns the call's result (the length, 0 on failure, or the size
  // needed when the buffer is too small) and the NUL-terminated text in directory.
  virtual std::uint32_t GetSystemDirectoryW(std::u16string& directory, std::uint32_t capacity) = 0;
  virtual bool PathFileExistsW(const std::u16string& path) = 0;
  virtual bool CopyFileW(const std::u16string& existingFile, const std::u16string& newFile,
                         bool failIfExists) = 0;
  // The whole file, opened for reading with others allowed to read it too.
  virtual Read<std::vector<std::uint8_t>> ReadBytes(const std::u16string& path) = 0;
  // Creates or replaces the file with these bytes.
  virtual Status WriteBytes(const std::u16string& path, const std::vector<std::uint8_t>& bytes) = 0;
};
