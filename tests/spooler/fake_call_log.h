#pragma once
// What the print-system fakes share: one log of calls in the order they were made, and
// failures asked for by name.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>


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

// Base of the fakes: the shared log and the failure switch.
class FakeSeam {
 public:
  explicit FakeSeam(CallLog& log) : log_(log) {}
  FailureSwitch failures;
  void Fail(const std::string& method, std::uint32_t error, int onlyCall = 0) {
    failures.Fail(method, error, onlyCall);
  }

 protected:
  // Logs the call; the code it is to fail with, if it is to fail.
  std::optional<std::uint32_t> Failing(const std::string& method, const std::string& call) {
    log_.Add(call);
    return failures.Check(method);
  }
  // Logs the call; true when it is to fail.
  bool Enter(const std::string& method, const std::string& call) { return Failing(method, call).has_value(); }
  CallLog& log_;
};
