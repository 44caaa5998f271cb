#pragma once
// Files as a test lays them out: what opening each path finds, the identity of the existing ones,
// and the spellings the system resolves to the same full path. Unknown paths are missing.
#include <map>

#include "config/config_file.h"

class FakeFileProbe : public FileProbe {
 public:
  std::map<std::u16string, FileOpening> openings;
  std::map<std::u16string, FileIdentity> identities;
  std::map<std::u16string, std::u16string> fullPaths;  // spelling -> full path

  void AddFile(const std::u16string& path, std::uint64_t index) {
    openings[path] = {FileOpening::Kind::DiskFile, 0};
    identities[path] = {7, index};
  }

  FileOpening OpenForReading(const std::u16string& path) override {
    auto found = openings.find(path);
    return found != openings.end() ? found->second : FileOpening{FileOpening::Kind::Missing, 2};
  }
  std::optional<FileIdentity> Identity(const std::u16string& path) override {
    auto found = identities.find(path);
    if (found == identities.end()) return std::nullopt;
    return found->second;
  }
  std::u16string FullPath(const std::u16string& path) override {
    auto found = fullPaths.find(path);
    return found != fullPaths.end() ? found->second : path;
  }
};
