#pragma once
// The running executable's path, as given by the test; calls are recorded.
#include <string>
#include <vector>

#include "config/module_path.h"

class FakeModulePath : public ModulePath {
 public:
  std::u16string exePath = u"C:\\Setup\\setup.exe";
  bool failGetModuleFileName = false;
  std::vector<std::u16string> calls;

  std::uint32_t GetModuleFileNameW(std::u16string& filename, std::uint32_t size) override {
    calls.push_back(u"GetModuleFileNameW");
    if (failGetModuleFileName || size == 0) {
      filename.clear();
      return 0;
    }
    // A path that does not fit is cut and the result is the whole buffer, as the system does.
    filename = exePath.substr(0, exePath.size() < size - 1 ? exePath.size() : size - 1);
    return exePath.size() < size ? static_cast<std::uint32_t>(filename.size()) : size;
  }

  bool PathRemoveFileSpecW(std::u16string& path) override {
    calls.push_back(u"PathRemoveFileSpecW");
    std::size_t slash = path.rfind(u'\\');
    if (slash == std::u16string::npos) {
      bool removed = !path.empty();
      path.clear();
      return removed;
    }
    // A drive root keeps its backslash ("C:\x" gives "C:\").
    std::size_t keep = (slash == 2 && path.size() > 1 && path[1] == u':') ? slash + 1 : slash;
    bool removed = keep < path.size();
    path.resize(keep);
    return removed;
  }
};
