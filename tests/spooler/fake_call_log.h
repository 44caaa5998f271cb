#pragma once
// What the print-system fakes share: one log of calls in the order they were made, the
// last-error value, and failures asked for by name.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "diag/last_error.h"

// UTF-16 as ASCII for the log; other units as \uXXXX.
std::string Narrow(const std::u16string& text);
// "text" quoted, or null.
std::string Quoted(const std::u16string& text);
std::string Quoted(const std::optional<std::u16string>& text);

class CallLog {
 public:
  std::vector<std::string> calls;
  void Add(std::string call) { calls.push_back(std::move(call)); }
  // The calls whose method name is this, in order.
  std::vector<std::string> Named(const std::string& method) const;
  // The method names only, in order.
  std::vector<std::string> Methods() const;
  std::size_t Count(const std::string& method) const { return Named(method).size(); }
  void Clear() { calls.clear(); }
};

// Failures on demand, by method name. Counts every call of a method.
class FailureSwitch {
 public:
  // Every call of method fails with this last-error value (or only the n-th from now, 1-based).
  void Fail(const std::string& method, std::uint32_t error, int onlyCall = 0);
  void Clear(const std::string& method) { rules_.erase(method); }
  // Counts the call; the error when it is to fail.
  std::optional<std::uint32_t> Check(const std::string& method);

 private:
  struct Rule {
    std::uint32_t error = 0;
    int onlyCall = 0;
    int seen = 0;
  };
  std::map<std::string, Rule> rules_;
};

// Base of the fakes: the shared log, the last-error value, and the failure switch.
class FakeSeam {
 public:
  FakeSeam(CallLog& log, LastError& lastError) : log_(log), lastError_(lastError) {}
  FailureSwitch failures;
  void Fail(const std::string& method, std::uint32_t error, int onlyCall = 0) {
    failures.Fail(method, error, onlyCall);
  }

 protected:
  // Logs the call; true (with the last-error value set) when it is to fail.
  bool Enter(const std::string& method, const std::string& call) {
    log_.Add(call);
    std::optional<std::uint32_t> error = failures.Check(method);
    if (error) lastError_.SetLastError(*error);
    return error.has_value();
  }
  void SetError(std::uint32_t code) { lastError_.SetLastError(code); }
  CallLog& log_;
  LastError& lastError_;
};
