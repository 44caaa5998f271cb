#pragma once
// The debugger-output channel: one finished line per call.
#include <string>

class DebugOutput {
 public:
  virtual ~DebugOutput() = default;
  virtual void OutputDebugStringW(const std::u16string& line) = 0;
  virtual void OutputDebugStringA(const std::string& line) = 0;
};
